#pragma once
// A request the tool sent, read the way a host reads it (OuterFrame::readRequest, TunnelFrame::decodeRequest, both
// checked byte for byte in tests/link), so tests name its parts instead of counting positions in the datagram.
#include "link/outer_frame.h"
#include "link/tunnel_frame.h"

namespace quendra::test {

struct SentRequest {
  int command = 0;  // the outer command; 0 for a datagram no host would take
  Mac target{};
  Bytes payload;          // after the MAC: a network record, a new MAC, a tunnel frame
  int tunnelCommand = 0;  // of a tunnel request whose frame is whole, else 0
  Bytes tunnelPayload;    // between the tunnel command and the frame's CRC
};

inline SentRequest readSent(ByteView datagram) {
  SentRequest s;
  const OuterRequest r = OuterFrame::readRequest(datagram);
  if (r.fault != RequestFault::None) return s;
  s.command = r.command;
  s.target = r.target.value_or(Mac{});
  s.payload.assign(r.payload.begin(), r.payload.end());
  if (const TunnelRequest t = TunnelFrame::decodeRequest(r.payload); r.command == kTunnel && t.fault == FrameFault::None) {
    s.tunnelCommand = t.command;
    s.tunnelPayload.assign(t.payload.begin(), t.payload.end());
  }
  return s;
}

}  // namespace quendra::test
