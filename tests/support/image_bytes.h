#pragma once
// Writing golden byte images in tests: hex text, text areas, concatenation.
#include <algorithm>
#include <string>
#include <string_view>

#include "link/bytes.h"

namespace quendra::test {

// "08 4d3c" -> bytes; blanks are for reading.
inline Bytes hex(std::string_view text) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < text.size(); i += text[i] == ' ' ? 1 : 2)
    if (text[i] != ' ') out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
  return out;
}
// A text area of `width` bytes: the text, then zeros.
inline Bytes area(std::string_view text, std::size_t width) {
  Bytes b(text.begin(), text.end());
  b.resize(width, 0);
  return b;
}
// `b` with `part` written over it from byte `at` on.
inline Bytes over(Bytes b, std::size_t at, const Bytes& part) {
  std::copy(part.begin(), part.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
  return b;
}
inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace quendra::test
