#include "records/modbus_params.h"

namespace quendra {
namespace {

// Payload offsets (the tunnel frame puts the payload after 7E and the command).
constexpr std::size_t kSlaveAddress = 0;
constexpr std::size_t kSlotEnabled = 1;
constexpr std::size_t kDeviceType = 2;
constexpr std::size_t kRegisterStart = 3;
constexpr std::size_t kRegisterCount = 5;

}  // namespace

Bytes encodeModbusSlot(const ModbusSlotParams& slot) {
  Bytes out(kModbusSlotPayloadSize, 0);
  out[kSlaveAddress] = slot.slaveAddress;
  out[kSlotEnabled] = slot.slotEnabled;
  out[kDeviceType] = slot.deviceType;
  putU16LE(out, kRegisterStart, slot.registerStart);
  putU16LE(out, kRegisterCount, slot.registerCount);
  return out;
}

std::optional<ModbusSlotParams> decodeModbusSlot(ByteView payload) {
  if (payload.size() < kModbusSlotPayloadSize) return std::nullopt;
  ModbusSlotParams slot;
  slot.slaveAddress = payload[kSlaveAddress];
  slot.slotEnabled = payload[kSlotEnabled];
  slot.deviceType = payload[kDeviceType];
  slot.registerStart = getU16LE(payload, kRegisterStart);
  slot.registerCount = getU16LE(payload, kRegisterCount);
  return slot;
}

}  // namespace quendra
