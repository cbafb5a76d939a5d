#pragma once
// The inner frame of every parameter group but the network settings:
//   request  7E, command, payload, CRC (low byte first)
//   reply    7E, command, payload, 99 verHigh verLow 04 spare, CRC
// Replies pass only from hosts whose version (high * 100 + low) is 703..999.
#include <cstdint>

#include "link/bytes.h"

namespace quendra {

enum class ReplyStatus {
  Accepted,        // command and payload are valid
  Dropped,         // too short, bad length, bad CRC or start byte: ignore silently
  VersionRefused,  // trailer marker, version or fixed byte wrong: stop batches, warn
};

// Why a frame is not taken, in the order the checks run.
enum class FrameFault : std::uint8_t { None, TooShort, BadCrc, WrongStartByte };

struct TunnelReply {
  ReplyStatus status = ReplyStatus::Dropped;
  FrameFault fault = FrameFault::TooShort;  // None unless Dropped
  std::uint8_t command = 0;  // 0 unless Accepted
  ByteView payload;          // bytes 2 .. n - 8: what lies between command and trailer
  std::uint16_t hostVersion = 0;  // high * 100 + low, also when the gate refused it
};

// A request frame as a host reads it.
struct TunnelRequest {
  FrameFault fault = FrameFault::TooShort;
  std::uint8_t command = 0;  // 0 unless fault is None
  ByteView payload;          // bytes 2 .. L - 3
};

struct TunnelFrame {
  static constexpr std::uint8_t kStartByte = 0x7E;
  static constexpr std::uint8_t kTrailerMarker = 0x99;
  static constexpr std::uint8_t kTrailerFixed = 0x04;
  static constexpr std::size_t kTrailerSize = 7;
  static constexpr std::uint16_t kLowestVersion = 703;
  static constexpr std::uint16_t kHighestVersion = 999;

  // 7E, command, payload, CRC. Empty for a command outside 1..150. The caller
  // passes the group's encoded record for write commands and nothing for reads.
  static Bytes buildRequest(std::uint8_t command, ByteView payload = {});

  static TunnelReply decodeReply(ByteView block);
  // Checks length, CRC and start byte; the command is not looked up.
  static TunnelRequest decodeRequest(ByteView frame);

  // A reply block as a host sends it (used by the simulator and by tests).
  static Bytes buildReply(std::uint8_t command, ByteView payload, std::uint8_t versionHigh,
                          std::uint8_t versionLow, std::uint8_t spare = 0);
};

}  // namespace quendra
