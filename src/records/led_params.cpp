#include "records/led_params.h"

#include "link/gbk.h"

namespace quendra {
namespace {

// Offsets inside the payload (tunnel offset - 2).
constexpr std::size_t kShowDataTable = 0;
constexpr std::size_t kHeaderEnabled = 1;
constexpr std::size_t kFooterEnabled = 2;
constexpr std::size_t kSizeX = 3;
constexpr std::size_t kSizeY = 5;
constexpr std::size_t kChannelCount = 7;
constexpr std::size_t kColumnCount = 9;
constexpr std::size_t kRefreshInterval = 11;
constexpr std::size_t kHeaderText = 13;
constexpr std::size_t kFooterText = 77;
static_assert(kHeaderText + LedParams::kTextBytes == kFooterText);
static_assert(kFooterText + LedParams::kTextBytes == kLedParamsSize);

}  // namespace

Bytes encodeLedParams(const LedParams& r) {
  Bytes image(kLedParamsSize, 0);
  const MutableBytes out(image);
  image[kShowDataTable] = r.showDataTable;
  image[kHeaderEnabled] = r.headerEnabled;
  image[kFooterEnabled] = r.footerEnabled;
  putU16LE(out, kSizeX, r.sizeX);
  putU16LE(out, kSizeY, r.sizeY);
  putU16LE(out, kChannelCount, r.channelCount);
  putU16LE(out, kColumnCount, r.columnCount);
  putU16LE(out, kRefreshInterval, r.refreshInterval);
  writeTextArea(out.subspan(kHeaderText, LedParams::kTextBytes), r.headerText, LedParams::kTextBytes);
  writeTextArea(out.subspan(kFooterText, LedParams::kTextBytes), r.footerText, LedParams::kTextBytes);
  return image;
}

bool decodeLedParams(ByteView image, LedParams& r) {
  if (image.size() < kLedParamsSize) return false;
  r.showDataTable = image[kShowDataTable];
  r.headerEnabled = image[kHeaderEnabled];
  r.footerEnabled = image[kFooterEnabled];
  r.sizeX = getU16LE(image, kSizeX);
  r.sizeY = getU16LE(image, kSizeY);
  r.channelCount = getU16LE(image, kChannelCount);
  r.columnCount = getU16LE(image, kColumnCount);
  r.refreshInterval = getU16LE(image, kRefreshInterval);
  r.headerText = readTextArea(image.subspan(kHeaderText, LedParams::kTextBytes));
  r.footerText = readTextArea(image.subspan(kFooterText, LedParams::kTextBytes));
  return true;
}

}  // namespace quendra
