// What the traffic view says of a datagram: every request and reply kind, and each reason a datagram is dropped, on
// frames built by the codecs and then broken one byte at a time.
#include <gtest/gtest.h>

#include "link/datagram_meaning.h"
#include "link/tunnel_frame.h"

namespace quendra {
namespace {

const Mac kHost{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x03};
const Direction S = Direction::Sent, R = Direction::Received;
using K = MeaningKind;
using M = MalformedReason;

Bytes tunnelReply(std::uint8_t command, std::size_t payload, std::uint8_t high = 7, std::uint8_t low = 10) {
  return OuterFrame::buildTunnelReply(kHost, TunnelFrame::buildReply(command, Bytes(payload, 0x11), high, low));
}
Bytes tunnelRequest(std::uint8_t command, std::size_t payload = 0) {
  return OuterFrame::buildTunnelRequest(kHost, TunnelFrame::buildRequest(command, Bytes(payload, 0x22)));
}
// The datagram with byte `at` set to `value`, or with only its first `at` bytes when value is negative.
Bytes changed(Bytes d, std::size_t at, int value) {
  if (value < 0) d.resize(at);
  else d.at(at) = static_cast<std::uint8_t>(value);
  return d;
}

TEST(Meaning, KindAndReason) {
  const std::tuple<const char*, Bytes, Direction, MeaningKind, MalformedReason> cases[] = {
      {"search", OuterFrame::buildSearchRequest(), S, K::SearchRequest, M::None},
      {"own search heard back", OuterFrame::buildSearchRequest(), R, K::SearchRequest, M::None},
      {"read network", OuterFrame::buildReadNetworkRequest(kHost), S, K::NetworkReadRequest, M::None},
      {"write network", OuterFrame::buildWriteNetworkRequest(kHost, Bytes(292)), S, K::NetworkWriteRequest, M::None},
      {"factory reset", OuterFrame::buildFactoryResetRequest(kHost), S, K::FactoryResetRequest, M::None},
      {"write MAC", OuterFrame::buildWriteMacRequest(kHost, Mac{2, 0, 0, 0, 0, 9}), S, K::MacWriteRequest, M::None},
      {"tunnel read", tunnelRequest(1), S, K::TunnelRequest, M::None},
      {"search answer", OuterFrame::buildSearchAnswer({0xC0A8010A, kHost, 712, "h"}), R, K::SearchAnswer, M::None},
      {"network answer", OuterFrame::buildNetworkAnswer(kHost, Bytes(292)), R, K::NetworkAnswer, M::None},
      {"data reply", tunnelReply(5, 104), R, K::TunnelDataReply, M::None},
      {"write ack as command 11", changed(tunnelReply(149, 0), 3, 11), R, K::TunnelWriteAck, M::None},
      {"version 702", tunnelReply(1, 27, 7, 2), R, K::VersionRefused, M::None},
      {"empty", {}, R, K::Malformed, M::TooShort},
      {"three bytes", {0x55, 0, 1}, R, K::Malformed, M::TooShort},
      {"reply sent", tunnelReply(1, 27), S, K::Malformed, M::WrongMarker},
      {"no marker", changed(tunnelReply(1, 27), 0, 0x12), R, K::Malformed, M::WrongMarker},
      {"request length", changed(OuterFrame::buildReadNetworkRequest(kHost), 2, 8), S, K::Malformed, M::WrongLength},
      {"request sum", changed(OuterFrame::buildReadNetworkRequest(kHost), 10, 0), S, K::Malformed, M::BadFrameSum},
      {"request command 5", OuterFrame::buildRequest(5, kHost, {}), S, K::Malformed, M::UnknownOuterCommand},
      {"reply command 5", changed(tunnelReply(1, 27), 3, 5), R, K::Malformed, M::UnknownOuterCommand},
      {"search answer of 21", changed(OuterFrame::buildSearchAnswer({}), 21, -1), R, K::Malformed, M::TooShort},
      {"network answer of 301", changed(OuterFrame::buildNetworkAnswer(kHost, Bytes(292)), 301, -1), R, K::Malformed,
       M::TooShort},
      {"tunnel length 0", changed(changed(tunnelReply(1, 27), 1, 0), 2, 0), R, K::Malformed, M::EmptyTunnel},
      {"tunnel past end", changed(tunnelReply(1, 27), 1, 1), R, K::Malformed, M::TunnelPastDatagram},
      {"reply CRC", changed(tunnelReply(1, 27), 20, 0xEE), R, K::Malformed, M::BadCrc},
      {"request CRC", OuterFrame::buildTunnelRequest(kHost, Bytes{0x7E, 1, 0, 0}), S, K::Malformed, M::BadCrc},
      {"start byte", OuterFrame::buildTunnelRequest(kHost, Bytes{0x7F, 1, 0xE0, 0x40}), S, K::Malformed,
       M::WrongStartByte},
      {"tunnel command 151", tunnelReply(151, 0), R, K::Malformed, M::UnknownTunnelCommand},
      {"short data reply", tunnelReply(5, 103), R, K::Malformed, M::RecordTooShort},
      {"short write request", tunnelRequest(2, 26), S, K::Malformed, M::RecordTooShort}};
  for (const auto& [name, datagram, direction, kind, reason] : cases) {
    const DatagramMeaning m = describeDatagram(datagram, direction);
    EXPECT_EQ(m.kind, kind) << name;
    EXPECT_EQ(m.reason, reason) << name;
    EXPECT_TRUE(reason != M::None || kind == K::SearchRequest || m.mac == kHost) << name << ": the host it names";
  }
}

}  // namespace
}  // namespace quendra
