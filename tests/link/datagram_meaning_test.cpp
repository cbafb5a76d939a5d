// What a datagram means and where it goes: the traffic view's reading of every request and reply kind and each
// reason a datagram is dropped, on frames built by the codecs and then broken one byte at a time; and the reply
// entry, which hands each reply to its handler whole and drops, without a trace, every datagram the view calls
// malformed on receipt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/datagram_meaning.h"
#include "link/response_dispatcher.h"

namespace quendra {
namespace {

const Mac kHost{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};
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

const std::tuple<const char*, Bytes, Direction, MeaningKind, MalformedReason> kCases[] = {
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
    {"empty", {}, R, K::Malformed, M::TooShort}, {"three bytes", {0x55, 0, 1}, R, K::Malformed, M::TooShort},
    {"reply sent", tunnelReply(1, 27), S, K::Malformed, M::WrongMarker},
    {"no marker", changed(tunnelReply(1, 27), 0, 0x12), R, K::Malformed, M::WrongMarker},
    {"request length", changed(OuterFrame::buildReadNetworkRequest(kHost), 2, 8), S, K::Malformed, M::WrongLength},
    {"request sum", changed(OuterFrame::buildReadNetworkRequest(kHost), 10, 0), S, K::Malformed, M::BadFrameSum},
    {"request command 5", OuterFrame::buildRequest(5, kHost, {}), S, K::Malformed, M::UnknownOuterCommand},
    {"reply command 5", changed(tunnelReply(1, 27), 3, 5), R, K::Malformed, M::UnknownOuterCommand},
    {"search answer of 21", changed(OuterFrame::buildSearchAnswer({}), 21, -1), R, K::Malformed, M::TooShort},
    {"network answer of 301", changed(OuterFrame::buildNetworkAnswer(kHost, Bytes(292)), 301, -1), R, K::Malformed, M::TooShort},
    {"tunnel length 0", changed(changed(tunnelReply(1, 27), 1, 0), 2, 0), R, K::Malformed, M::EmptyTunnel},
    {"tunnel past end", changed(tunnelReply(1, 27), 1, 1), R, K::Malformed, M::TunnelPastDatagram},
    {"reply CRC", changed(tunnelReply(1, 27), 20, 0xEE), R, K::Malformed, M::BadCrc},
    {"request CRC", OuterFrame::buildTunnelRequest(kHost, Bytes{0x7E, 1, 0, 0}), S, K::Malformed, M::BadCrc},
    {"start byte", OuterFrame::buildTunnelRequest(kHost, Bytes{0x7F, 1, 0xE0, 0x40}), S, K::Malformed, M::WrongStartByte},
    {"tunnel command 151", tunnelReply(151, 0), R, K::Malformed, M::UnknownTunnelCommand},
    {"short data reply", tunnelReply(5, 103), R, K::Malformed, M::RecordTooShort},
    {"short write request", tunnelRequest(2, 26), S, K::Malformed, M::RecordTooShort}};

TEST(Meaning, KindAndReason) {
  for (const auto& [name, datagram, direction, kind, reason] : kCases) {
    const DatagramMeaning m = describeDatagram(datagram, direction);
    EXPECT_EQ(m.kind, kind) << name;
    EXPECT_EQ(m.reason, reason) << name;
    EXPECT_TRUE(reason != M::None || kind == K::SearchRequest || m.mac == kHost) << name << ": the host it names";
  }
}

using Calls = std::vector<std::string>;

// Records every call as one line, in order; " from another host" when the sender is not kHost.
class DispatcherTest : public testing::Test {
 protected:
  void SetUp() override {
    static const char* names[] = {"network", "base", "gprs", "led", "channel", "modbus", "relay"};
    const auto from = [](const Mac& mac) { return mac == kHost ? "" : " from another host"; };
    d.onSearchAnswer([this](const SearchAnswer& a) { calls.push_back("search " + a.nameGbk); });
    d.onNetworkAnswer([=, this](const Mac& m, ByteView r) { calls.push_back("network " + std::to_string(r.size()) + from(m)); });
    d.onTunnelReply([=, this](const Mac& m, const TunnelCommand& c, ByteView p) {
      calls.push_back(std::string(c.isWrite ? "ack " : "data ") + names[int(c.group)] + " k" + std::to_string(c.index) +
                      " p" + std::to_string(p.size()) + from(m));
    });
    d.onVersionRefused([=, this](const Mac& m) { calls.push_back(std::string("refused") + from(m)); });
  }
  Calls dispatch(const Bytes& datagram) {
    calls.clear();
    d.onDeviceDatagram(datagram);
    return calls;
  }

  ResponseDispatcher d;
  Calls calls;
};

TEST_F(DispatcherTest, IgnoredDatagrams) {
  for (const auto& [name, datagram, direction, kind, reason] : kCases)
    EXPECT_TRUE(direction == S || kind != K::Malformed || dispatch(datagram).empty()) << name;
  // Outer frames of requests: the marker, and the network write's command, on a tunnel reply.
  EXPECT_EQ(dispatch(changed(tunnelReply(1, 27), 0, 0xAA)), Calls{});
  EXPECT_EQ(dispatch(changed(tunnelReply(1, 27), 3, kWriteNetwork)), Calls{});
}

TEST_F(DispatcherTest, EveryReplyReachesItsHandlerWhole) {
  EXPECT_EQ(dispatch(OuterFrame::buildSearchAnswer({0xC0A8010A, kHost, 710, "ho"})), Calls{"search ho"});
  EXPECT_EQ(dispatch(OuterFrame::buildNetworkAnswer(kHost, Bytes(292))), Calls{"network 292"});
  EXPECT_EQ(dispatch(OuterFrame::buildNetworkAnswer(Mac{2, 0, 0, 0, 0, 9}, Bytes(292))), Calls{"network 292 from another host"});
  const std::tuple<int, std::size_t, const char*> routed[] = {
      {1, 27, "data base k0 p27"},       {2, 0, "ack base k0 p0"},       {3, 137, "data gprs k0 p137"},
      {36, 104, "data channel k31 p104"}, {68, 0, "ack channel k31 p0"},  {69, 5, "data relay k0 p5"},
      {84, 0, "ack relay k7 p0"},         {116, 7, "data modbus k31 p7"}, {117, 0, "ack modbus k0 p0"},
      {149, 0, "ack led k0 p0"},          {150, 141, "data led k0 p141"}};
  for (const auto& [command, payload, call] : routed) {
    EXPECT_EQ(dispatch(tunnelReply(command, payload)), Calls{call});
    EXPECT_TRUE(payload == 0 || dispatch(tunnelReply(command, payload - 1)).empty()) << call << ": one byte short";
  }
  EXPECT_EQ(dispatch(tunnelReply(1, 30)), Calls{"data base k0 p30"}) << "longer: the codecs read their offsets";
  EXPECT_EQ(dispatch(changed(tunnelReply(69, 5), 3, kTunnelAlt)), Calls{"data relay k0 p5"}) << "outer command 11";
  EXPECT_EQ(dispatch(OuterFrame::buildTunnelReply(Mac{2, 0, 0, 0, 0, 9}, TunnelFrame::buildReply(2, {}, 7, 10))),
            Calls{"ack base k0 p0 from another host"});
}

TEST_F(DispatcherTest, VersionGateCallsOnlyItsHook) { EXPECT_EQ(dispatch(tunnelReply(1, 27, 7, 2)), Calls{"refused"}); }

// A handler left unset is skipped (calling an empty std::function throws), and the ones set still get theirs.
TEST(Dispatcher, HandlersLeftUnsetAreSkipped) {
  const ResponseDispatcher none;
  ResponseDispatcher tunnelOnly;
  Calls calls;
  tunnelOnly.onTunnelReply([&](const Mac&, const TunnelCommand& c, ByteView) { calls.push_back(c.isWrite ? "ack" : "data"); });
  for (const Bytes& d : {OuterFrame::buildSearchAnswer({1, kHost, 710, "h"}), OuterFrame::buildNetworkAnswer(kHost, Bytes(292)),
                         tunnelReply(1, 27), tunnelReply(2, 0), tunnelReply(1, 27, 7, 2)}) {
    EXPECT_NO_THROW(none.onDeviceDatagram(d));
    EXPECT_NO_THROW(tunnelOnly.onDeviceDatagram(d));
  }
  EXPECT_EQ(calls, (Calls{"data", "ack"}));
}

}  // namespace
}  // namespace quendra
