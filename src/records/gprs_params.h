#pragma once
// GprsParams: where the host's GPRS modem connects to, its frame intervals,
// the five SMS alarm numbers, the SMS repeat interval and the work type, with
// the 137-byte image of tunnel commands 3 (read reply) and 4 (write request).
// Offsets are counted from the first payload byte (tunnel offset - 2). Texts
// are GBK bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/bytes.h"

namespace quendra {

struct GprsParams {
  static constexpr int kPhoneCount = 5;
  static constexpr std::size_t kAddressBytes = 64;  // in a 65-byte area, last byte always 0
  static constexpr std::size_t kPortBytes = 7;      // in an 8-byte area, last byte always 0
  static constexpr std::size_t kPhoneBytes = 11;    // no terminator on the wire

  std::uint16_t loginInterval = 0;
  std::uint16_t heartbeatInterval = 0;
  std::uint16_t dataInterval = 0;
  std::uint8_t workType = 0;  // 0 transmission, 1 SMS alarm, 2 both
  std::string targetAddress;
  std::string targetPort;  // decimal text, not a number
  std::array<std::string, kPhoneCount> alarmPhones;
  std::uint8_t alarmPhoneMask = 0;  // bit k: number k + 1 is given
  std::uint8_t smsInterval = 0;     // minutes

  bool operator==(const GprsParams&) const = default;
};

constexpr std::size_t kGprsParamsSize = 137;

// Texts longer than their areas are cut at the last whole GBK character.
Bytes encodeGprsParams(const GprsParams& record);
// False, with the record untouched, when the image is shorter than 137 bytes.
// Each text ends at its first zero; the phone slots are taken whatever the
// mask says.
bool decodeGprsParams(ByteView image, GprsParams& record);

// Alarm number `number` (1..5) as typed: blanks around it are dropped; a text
// of at least 11 bytes sets the number's mask bit and its first 11 bytes
// (whole characters) become the slot; a shorter one is a number not given:
// its bit is cleared and the slot keeps what it held.
void takeAlarmPhone(GprsParams& record, int number, std::string_view gbk);

// The SMS interval as typed: atoi-style, sign dropped. nullopt when the value
// does not fit the one byte it travels in.
std::optional<std::uint8_t> parseSmsInterval(std::string_view text);

}  // namespace quendra
