#pragma once
// LedParams: the LED screen's size, the channels and columns it shows, its
// refresh interval, the data-table switch and the header and footer lines,
// with the 141-byte image of tunnel commands 150 (read reply) and 149 (write
// request). Offsets are counted from the first payload byte (tunnel offset
// - 2). Texts are GBK bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/bytes.h"

namespace quendra {

struct LedParams {
  static constexpr std::size_t kTextBytes = 64;

  std::uint8_t showDataTable = 0;
  std::uint8_t headerEnabled = 0;
  std::uint8_t footerEnabled = 0;
  std::uint16_t sizeX = 0;
  std::uint16_t sizeY = 0;
  std::uint16_t channelCount = 0;  // 1..32; 0 = none chosen
  std::uint16_t columnCount = 0;   // 1..5; 0 = none chosen
  std::uint16_t refreshInterval = 0;
  std::string headerText;
  std::string footerText;

  bool operator==(const LedParams&) const = default;
};

constexpr std::size_t kLedParamsSize = 141;

// Each text area is zero-filled, then takes the text cut at the last whole
// GBK character within 64 bytes (a 64-byte text travels without a zero).
Bytes encodeLedParams(const LedParams& record);
// False, with the record untouched, when the image is shorter than 141 bytes.
bool decodeLedParams(ByteView image, LedParams& record);

}  // namespace quendra
