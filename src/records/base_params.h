#pragma once
// BaseParams: the host's terminal address, server count, frame intervals,
// channel count, ModBus baud rate, recording settings and calibrated
// coordinates, with the 27-byte image of tunnel commands 1 (read reply) and
// 2 (write request). Offsets are counted from the first payload byte, i.e.
// the tunnel frame offset minus 2. Note the server count precedes the
// terminal address on the wire.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/bytes.h"

namespace quendra {

struct BaseParams {
  std::uint32_t terminalAddress = 0;
  std::uint8_t serverCount = 0;  // index of the server-count list, 0..8
  std::uint16_t loginInterval = 0;
  std::uint16_t heartbeatInterval = 0;
  std::uint16_t dataInterval = 0;
  std::uint8_t modbusBaud = 0;           // 0 = 2400, 1 = 4800, 2 = 9600
  std::uint8_t enabledChannelCount = 0;  // 0..32
  std::uint16_t normalRecordInterval = 0;
  std::uint16_t alarmRecordInterval = 0;
  std::uint8_t storageType = 0;
  std::uint8_t coordinateEnabled = 0;
  float longitude = 0.0f;
  float latitude = 0.0f;

  bool operator==(const BaseParams&) const = default;
};

constexpr std::size_t kBaseParamsSize = 27;

Bytes encodeBaseParams(const BaseParams& record);
// False, with the record untouched, when the image is shorter than 27 bytes.
bool decodeBaseParams(ByteView image, BaseParams& record);

// The terminal address as typed: exactly 8 hexadecimal digits (GBK bytes),
// most significant byte first.
enum class TerminalAddressError { WrongLength, NotHex };
struct TerminalAddressParse {
  std::optional<std::uint32_t> value;
  TerminalAddressError error = TerminalAddressError::WrongLength;
};
TerminalAddressParse parseTerminalAddress(std::string_view gbk);
// "%08x": eight lower-case digits.
std::string formatTerminalAddress(std::uint32_t address);

}  // namespace quendra
