#include "link/frame_crc16.h"

#include <array>

namespace quendra {
namespace {

// T[i] is the CRC of the single byte i run from a zero register.
constexpr std::array<std::uint16_t, 256> makeTable() {
  std::array<std::uint16_t, 256> t{};
  for (unsigned i = 0; i < 256; ++i) {
    std::uint16_t r = static_cast<std::uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? static_cast<std::uint16_t>((r >> 1) ^ 0xA001) : static_cast<std::uint16_t>(r >> 1);
    t[i] = r;
  }
  return t;
}

constexpr auto kTable = makeTable();

}  // namespace

std::uint16_t FrameCrc16::compute(ByteView bytes) {
  std::uint8_t a = 0xFF;  // low register, sent first
  std::uint8_t b = 0xFF;  // high register
  for (const std::uint8_t x : bytes) {
    const std::uint8_t i = x ^ a;
    a = static_cast<std::uint8_t>((kTable[i] & 0xFF) ^ b);
    b = static_cast<std::uint8_t>(kTable[i] >> 8);
  }
  return static_cast<std::uint16_t>((b << 8) | a);
}

}  // namespace quendra
