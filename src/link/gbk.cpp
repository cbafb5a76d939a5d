#include "link/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace quendra {
namespace {

// Converts with iconv. `onInvalid` decides what an unconvertible input
// sequence does: return false to fail, or append a replacement and skip.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Returns false when the input holds a sequence that cannot be converted
  // and `replacement` is null; with a replacement, such bytes are replaced
  // one at a time and conversion goes on.
  bool convert(std::string_view in, std::string& out, const char* replacement) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buf[256];
    while (srcLeft > 0) {
      char* dst = buf;
      std::size_t dstLeft = sizeof buf;
      const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<std::size_t>(dst - buf));
      if (r != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      if (!replacement) return false;
      out += replacement;  // EILSEQ or EINVAL (truncated sequence): skip one byte
      ++src;
      --srcLeft;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
  Converter c("GBK", "UTF-8");
  std::string out;
  if (!c.convert(utf8, out, nullptr)) return std::nullopt;
  return out;
}

std::string gbkToUtf8(std::string_view gbk) {
  Converter c("UTF-8", "GBK");
  std::string out;
  c.convert(gbk, out, "\xEF\xBF\xBD");
  return out;
}

std::size_t gbkCutLength(std::string_view gbk, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < gbk.size()) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    const std::size_t width = (lead >= 0x81 && lead <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
    if (i + width > maxBytes) break;
    i += width;
  }
  return i;
}

void writeTextArea(MutableBytes area, std::string_view gbk, std::size_t maxTextBytes) {
  std::fill(area.begin(), area.end(), 0);
  const std::size_t n = gbkCutLength(gbk, std::min(maxTextBytes, area.size()));
  std::copy_n(gbk.begin(), n, area.begin());
}

std::string readTextArea(ByteView area) {
  const auto end = std::find(area.begin(), area.end(), 0);
  return std::string(area.begin(), end);
}

}  // namespace quendra
