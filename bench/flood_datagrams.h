#pragma once
// The flood both the flood benchmark and the window's flood test send: one datagram in 50 is a version-refused
// reply of the selected host (the window must warn once, not once per datagram); the rest are random bytes of 0 to
// 1100 bytes, a third of them starting with the reply marker so that they reach the reply parsers.
#include <random>

#include "link/outer_frame.h"
#include "link/tunnel_frame.h"

namespace quendra::flood {

inline const Mac kHost{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};

inline Bytes nextDatagram(std::mt19937& random, int i) {
  if (i % 50 == 0) return OuterFrame::buildTunnelReply(kHost, TunnelFrame::buildReply(1, Bytes(27), 7, 2));
  Bytes d(std::uniform_int_distribution<std::size_t>(0, 1100)(random));
  for (auto& b : d) b = static_cast<std::uint8_t>(random());
  if (!d.empty() && i % 3 == 0) d[0] = OuterFrame::kReplyMarker;
  return d;
}

}  // namespace quendra::flood
