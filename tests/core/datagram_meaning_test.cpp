// What the traffic view says of a datagram: every request and reply kind, and
// each reason a datagram is dropped, on frames built by the codecs and then
// broken one byte at a time.
#include <gtest/gtest.h>

#include "link/datagram_meaning.h"
#include "link/frame_crc16.h"
#include "link/tunnel_frame.h"

namespace quendra {
namespace {

const Mac kHost{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x03};

Bytes tunnelReply(std::uint8_t command, std::size_t payload, std::uint8_t high = 7, std::uint8_t low = 10) {
  return OuterFrame::buildTunnelReply(kHost, TunnelFrame::buildReply(command, Bytes(payload, 0x11), high, low));
}
Bytes tunnelRequest(std::uint8_t command, std::size_t payload = 0) {
  return OuterFrame::buildTunnelRequest(kHost, TunnelFrame::buildRequest(command, Bytes(payload, 0x22)));
}
Bytes changed(Bytes d, std::size_t at, std::uint8_t value) {
  d.at(at) = value;
  return d;
}
Bytes cut(Bytes d, std::size_t size) {
  d.resize(size);
  return d;
}
// A base data reply whose block starts with `start`, its CRC made right again.
Bytes replyStartingWith(std::uint8_t start) {
  Bytes block = TunnelFrame::buildReply(1, Bytes(27), 7, 10);
  block[0] = start;
  const std::uint16_t crc = FrameCrc16::compute(ByteView(block).first(block.size() - 2));
  block[block.size() - 2] = static_cast<std::uint8_t>(crc & 0xFF);
  block[block.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
  return OuterFrame::buildTunnelReply(kHost, block);
}

struct Case {
  const char* name;
  Bytes datagram;
  Direction direction;
  MeaningKind kind;
  MalformedReason reason;
};

const Direction S = Direction::Sent, R = Direction::Received;
using K = MeaningKind;
using M = MalformedReason;

class Meaning : public testing::TestWithParam<Case> {};

TEST_P(Meaning, KindAndReason) {
  const Case& c = GetParam();
  const DatagramMeaning m = describeDatagram(c.datagram, c.direction);
  EXPECT_EQ(m.kind, c.kind);
  EXPECT_EQ(m.reason, c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, Meaning,
    testing::Values(
        Case{"search", OuterFrame::buildSearchRequest(), S, K::SearchRequest, M::None},
        Case{"ownSearchHeardBack", OuterFrame::buildSearchRequest(), R, K::SearchRequest, M::None},
        Case{"readNetwork", OuterFrame::buildReadNetworkRequest(kHost), S, K::NetworkReadRequest, M::None},
        Case{"writeNetwork", OuterFrame::buildWriteNetworkRequest(kHost, Bytes(292)), S, K::NetworkWriteRequest, M::None},
        Case{"factoryReset", OuterFrame::buildFactoryResetRequest(kHost), S, K::FactoryResetRequest, M::None},
        Case{"writeMac", OuterFrame::buildWriteMacRequest(kHost, Mac{2, 0, 0, 0, 0, 9}), S, K::MacWriteRequest, M::None},
        Case{"tunnelRead", tunnelRequest(1), S, K::TunnelRequest, M::None},
        Case{"tunnelWrite", tunnelRequest(37 + 4, 104), S, K::TunnelRequest, M::None},
        Case{"searchAnswer", OuterFrame::buildSearchAnswer({0xC0A8010A, kHost, 712, "h"}), R, K::SearchAnswer, M::None},
        Case{"networkAnswer", OuterFrame::buildNetworkAnswer(kHost, Bytes(292)), R, K::NetworkAnswer, M::None},
        Case{"dataReply", tunnelReply(5, 104), R, K::TunnelDataReply, M::None},
        Case{"writeAckAsCommand11", changed(tunnelReply(149, 0), 3, 11), R, K::TunnelWriteAck, M::None},
        Case{"version702", tunnelReply(1, 27, 7, 2), R, K::VersionRefused, M::None},
        Case{"empty", {}, R, K::Malformed, M::TooShort},
        Case{"threeBytes", {0x55, 0, 1}, R, K::Malformed, M::TooShort},
        Case{"replySent", tunnelReply(1, 27), S, K::Malformed, M::WrongMarker},
        Case{"noMarker", changed(tunnelReply(1, 27), 0, 0x12), R, K::Malformed, M::WrongMarker},
        Case{"requestLength", changed(OuterFrame::buildReadNetworkRequest(kHost), 2, 8), S, K::Malformed, M::WrongLength},
        Case{"requestSum", changed(OuterFrame::buildReadNetworkRequest(kHost), 10, 0), S, K::Malformed, M::BadFrameSum},
        Case{"requestCommand5", OuterFrame::buildRequest(5, kHost, {}), S, K::Malformed, M::UnknownOuterCommand},
        Case{"replyCommand5", changed(tunnelReply(1, 27), 3, 5), R, K::Malformed, M::UnknownOuterCommand},
        Case{"shortSearchAnswer", cut(OuterFrame::buildSearchAnswer({1, kHost, 712, ""}), 21), R, K::Malformed, M::TooShort},
        Case{"shortNetworkAnswer", cut(OuterFrame::buildNetworkAnswer(kHost, Bytes(292)), 301), R, K::Malformed, M::TooShort},
        Case{"tunnelLength0", changed(changed(tunnelReply(1, 27), 1, 0), 2, 0), R, K::Malformed, M::EmptyTunnel},
        Case{"tunnelPastEnd", changed(tunnelReply(1, 27), 1, 1), R, K::Malformed, M::TunnelPastDatagram},
        Case{"replyCrc", changed(tunnelReply(1, 27), 20, 0xEE), R, K::Malformed, M::BadCrc},
        Case{"requestCrc", OuterFrame::buildTunnelRequest(kHost, Bytes{0x7E, 1, 0, 0}), S, K::Malformed, M::BadCrc},
        Case{"startByte", replyStartingWith(0x7F), R, K::Malformed, M::WrongStartByte},
        Case{"tunnelCommand151", tunnelReply(151, 0), R, K::Malformed, M::UnknownTunnelCommand},
        Case{"requestCommand0", OuterFrame::buildTunnelRequest(kHost, Bytes{0x7E, 0, 0x20, 0x10}), S, K::Malformed,
             M::UnknownTunnelCommand},
        Case{"shortDataReply", tunnelReply(5, 103), R, K::Malformed, M::RecordTooShort},
        Case{"shortWriteRequest", tunnelRequest(2, 26), S, K::Malformed, M::RecordTooShort}),
    [](const testing::TestParamInfo<Case>& i) { return i.param.name; });

TEST(MeaningFields, HostRecordAndVersion) {
  const DatagramMeaning answer = describeDatagram(OuterFrame::buildSearchAnswer({0xC0A8010A, kHost, 712, "n"}), R);
  EXPECT_EQ(answer.mac, kHost);
  EXPECT_EQ(answer.search.firmwareVersion, 712);
  const DatagramMeaning request = describeDatagram(tunnelRequest(117 + 3, 7), S);  // ModBus slot 4 write
  ASSERT_TRUE(request.tunnel);
  EXPECT_EQ(request.mac, kHost);
  EXPECT_EQ(request.tunnel->group, ParamGroup::Modbus);
  EXPECT_TRUE(request.tunnel->isWrite);
  EXPECT_EQ(request.tunnel->index, 3);
  EXPECT_EQ(describeDatagram(tunnelReply(76, 5, 6, 103), R).hostVersion, 703);  // relay 8, 6 * 100 + 103
  EXPECT_EQ(describeDatagram(tunnelReply(1, 27, 7, 2), R).hostVersion, 702);    // refused, still told
}

}  // namespace
}  // namespace quendra
