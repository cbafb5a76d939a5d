#include "records/relay_params.h"

namespace quendra {
namespace {

// Payload offsets (the tunnel frame puts the payload after 7E and the command).
constexpr std::size_t kWorkMode = 0;
constexpr std::size_t kStartInterval = 1;
constexpr std::size_t kStartDuration = 3;

}  // namespace

Bytes encodeRelay(const RelayParams& relay) {
  Bytes out(kRelayPayloadSize, 0);
  out[kWorkMode] = relay.workMode;
  putU16LE(out, kStartInterval, relay.startInterval);
  putU16LE(out, kStartDuration, relay.startDuration);
  return out;
}

std::optional<RelayParams> decodeRelay(ByteView payload) {
  if (payload.size() < kRelayPayloadSize) return std::nullopt;
  RelayParams relay;
  relay.workMode = payload[kWorkMode];
  relay.startInterval = getU16LE(payload, kStartInterval);
  relay.startDuration = getU16LE(payload, kStartDuration);
  return relay;
}

}  // namespace quendra
