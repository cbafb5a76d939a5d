#pragma once
// The 32 channel records and the 104-byte payload that carries one of them in
// a channel read reply (command 5 + k) and a channel write request (37 + k).
// Offsets below are payload offsets: tunnel-frame offset minus 2. Texts are
// GBK bytes; names travel in 20 bytes, units in 6, zero-padded, cut at a whole
// GBK character. Qt-free.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "link/bytes.h"

namespace quendra {

constexpr int kChannelCount = 32;
constexpr std::size_t kChannelPayloadSize = 104;
constexpr std::size_t kChannelNameBytes = 20;
constexpr std::size_t kChannelUnitBytes = 6;
constexpr int kDataSourceRows = 147;    // rows of the data source list
constexpr int kDataPropertyRows = 7;    // rows of the data property list
constexpr int kLinkedRelayRows = 9;     // "无" and relays 1..8

struct ChannelParams {
  std::int32_t dataSource = 0;  // list row; -1 (no selection) travels as 0xFF
  float upperLimit1 = 0;
  float lowerLimit1 = 0;
  float hysteresis1 = 0;
  float hysteresis2 = 0;
  float upperLimit2 = 0;
  float lowerLimit2 = 0;
  float coefA1 = 0;
  float coefB1 = 0;
  float coefA2 = 0;
  float coefB2 = 0;
  std::uint8_t relayUpper1 = 0;  // 0 none, 1..8 relay; no selection 0xFF
  std::uint8_t relayLower1 = 0;
  std::uint8_t relayUpper2 = 0;
  std::uint8_t relayLower2 = 0;
  std::int32_t dataProperty = 0;  // list row; -1 travels as 0xFF
  std::uint16_t alarmDelay = 0;   // seconds
  std::uint8_t smsOnAlarm1 = 0;
  std::uint8_t smsOnAlarm2 = 0;
  std::uint8_t smsOnRestore1 = 0;
  std::uint8_t smsOnRestore2 = 0;
  std::string name1;  // GBK, at most 20 bytes
  std::string name2;
  std::string unit1;  // GBK, at most 6 bytes (switch channels: alarm text)
  std::string unit2;  // (switch channels: restore text)

  bool operator==(const ChannelParams&) const = default;
};

using ChannelRecords = std::array<ChannelParams, kChannelCount>;

// The 104 payload bytes of a write request.
Bytes encodeChannelPayload(const ChannelParams& record);

// A read reply's payload (the bytes after 7E and the command number).
// nullopt when it holds fewer than 104 bytes; bytes beyond are ignored.
std::optional<ChannelParams> decodeChannelPayload(ByteView payload);

// `gbk` cut to at most `maxBytes` without splitting a double-byte character.
std::string cutGbkText(const std::string& gbk, std::size_t maxBytes);

}  // namespace quendra
