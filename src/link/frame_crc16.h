#pragma once
// CRC-16 of the ModBus RTU standard (reflected 0xA001, preset 0xFFFF, no final
// XOR) that protects every tunnel frame. The low byte travels first.
#include <cstdint>

#include "link/bytes.h"

namespace quendra {

struct FrameCrc16 {
  static std::uint16_t compute(ByteView bytes);
};

}  // namespace quendra
