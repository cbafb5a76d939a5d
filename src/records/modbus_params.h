#pragma once
// One ModBus-RTU master slot of the host (32 of them) and its 7-byte image,
// the payload of read reply 85 + k and of write request 117 + k. Qt-free.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/bytes.h"

namespace quendra {

struct ModbusSlotParams {
  std::uint8_t slaveAddress = 0;
  std::uint8_t slotEnabled = 0;  // 1 = slot in use
  std::uint8_t deviceType = 0;   // row of the device type list; 0xFF = none chosen
  std::uint16_t registerStart = 0;
  std::uint16_t registerCount = 0;

  friend bool operator==(const ModbusSlotParams&, const ModbusSlotParams&) = default;
};

constexpr int kModbusSlotCount = 32;
constexpr std::size_t kModbusSlotPayloadSize = 7;

using ModbusSlotRecords = std::array<ModbusSlotParams, kModbusSlotCount>;

// The 7 payload bytes (tunnel offsets 2..8 of the frame).
Bytes encodeModbusSlot(const ModbusSlotParams& slot);
// nullopt when the payload is shorter than 7 bytes; later bytes are ignored.
std::optional<ModbusSlotParams> decodeModbusSlot(ByteView payload);

}  // namespace quendra
