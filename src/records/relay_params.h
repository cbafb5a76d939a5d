#pragma once
// One of the host's 8 relays and its 5-byte image, the payload of read reply
// 69 + k and of write request 77 + k. Qt-free.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/bytes.h"

namespace quendra {

struct RelayParams {
  std::uint8_t workMode = 0;         // 0 remote, 1 automatic, 2 timed control; 0xFF = none chosen
  std::uint16_t startInterval = 0;   // minutes
  std::uint16_t startDuration = 0;   // seconds

  friend bool operator==(const RelayParams&, const RelayParams&) = default;
};

constexpr int kRelayCount = 8;
constexpr std::size_t kRelayPayloadSize = 5;

using RelayRecords = std::array<RelayParams, kRelayCount>;

// The 5 payload bytes (tunnel offsets 2..6 of the frame).
Bytes encodeRelay(const RelayParams& relay);
// nullopt when the payload is shorter than 5 bytes; later bytes are ignored.
std::optional<RelayParams> decodeRelay(ByteView payload);

}  // namespace quendra
