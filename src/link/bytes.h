#pragma once
// Little-endian field access for byte images. Every codec checks the length of
// its buffer before it calls these; the helpers themselves assume the offsets
// lie inside the span they are given.
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace quendra {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;
using MutableBytes = std::span<std::uint8_t>;

inline std::uint16_t getU16LE(ByteView b, std::size_t off) {
  assert(off + 2 <= b.size());
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}

inline std::uint32_t getU32LE(ByteView b, std::size_t off) {
  assert(off + 4 <= b.size());
  return static_cast<std::uint32_t>(b[off]) | (static_cast<std::uint32_t>(b[off + 1]) << 8) |
         (static_cast<std::uint32_t>(b[off + 2]) << 16) | (static_cast<std::uint32_t>(b[off + 3]) << 24);
}

inline float getF32LE(ByteView b, std::size_t off) {
  const std::uint32_t bits = getU32LE(b, off);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

inline void putU16LE(MutableBytes b, std::size_t off, std::uint16_t v) {
  assert(off + 2 <= b.size());
  b[off] = static_cast<std::uint8_t>(v & 0xFF);
  b[off + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void putU32LE(MutableBytes b, std::size_t off, std::uint32_t v) {
  assert(off + 4 <= b.size());
  for (int i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void putF32LE(MutableBytes b, std::size_t off, float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  putU32LE(b, off, bits);
}

inline std::uint16_t getU16BE(ByteView b, std::size_t off) {
  assert(off + 2 <= b.size());
  return static_cast<std::uint16_t>((b[off] << 8) | b[off + 1]);
}

// Network byte order, for the IPv4 and UDP headers of captures.
inline void putU16BE(MutableBytes b, std::size_t off, std::uint16_t v) {
  assert(off + 2 <= b.size());
  b[off] = static_cast<std::uint8_t>(v >> 8);
  b[off + 1] = static_cast<std::uint8_t>(v & 0xFF);
}

inline void putU32BE(MutableBytes b, std::size_t off, std::uint32_t v) {
  assert(off + 4 <= b.size());
  for (int i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

}  // namespace quendra
