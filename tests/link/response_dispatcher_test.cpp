// The reply entry: which datagrams reach which handler, and which are dropped without a trace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/response_dispatcher.h"

namespace quendra {
namespace {

const Mac kHost{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};
using Calls = std::vector<std::string>;

Bytes dataReply(std::uint8_t command, std::size_t payloadSize, std::uint8_t high = 7, std::uint8_t low = 10) {
  return OuterFrame::buildTunnelReply(kHost, TunnelFrame::buildReply(command, Bytes(payloadSize, 0x11), high, low));
}
Bytes changed(Bytes d, std::size_t at, std::uint8_t value) {
  d.at(at) = value;
  return d;
}

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
  const std::pair<const char*, Bytes> ignored[] = {
      {"three bytes", {0x55, 0x00, 0x09}},
      {"request marker on a tunnel reply", changed(dataReply(1, 27), 0, 0xAA)},
      {"unknown outer command 4", changed(dataReply(1, 27), 3, 0x04)},
      {"tunnel length past the datagram", changed(dataReply(1, 27), 2, 0xFF)},
      {"search answer of 21 bytes", Bytes{0x55, 0, 0, 0x02, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
      {"network answer of 301 bytes", [] { Bytes b(301, 1); b[0] = 0x55; b[3] = 0x03; return b; }()},
      {"bad CRC", changed(dataReply(1, 27), 12, 0x12)},
      {"tunnel command 151", dataReply(151, 0)},
  };
  for (const auto& [name, datagram] : ignored) EXPECT_EQ(dispatch(datagram), Calls{}) << name;
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
    EXPECT_EQ(dispatch(dataReply(command, payload)), Calls{call});
    EXPECT_TRUE(payload == 0 || dispatch(dataReply(command, payload - 1)).empty()) << call << ": one byte short";
  }
  EXPECT_EQ(dispatch(dataReply(1, 30)), Calls{"data base k0 p30"}) << "longer: the codecs read their offsets";
  EXPECT_EQ(dispatch(changed(dataReply(69, 5), 3, kTunnelAlt)), Calls{"data relay k0 p5"}) << "outer command 11";
  EXPECT_EQ(dispatch(OuterFrame::buildTunnelReply(Mac{2, 0, 0, 0, 0, 9}, TunnelFrame::buildReply(2, {}, 7, 10))),
            Calls{"ack base k0 p0 from another host"});
}

TEST_F(DispatcherTest, VersionGateCallsOnlyItsHook) { EXPECT_EQ(dispatch(dataReply(1, 27, 7, 2)), Calls{"refused"}); }

// A handler left unset is skipped (calling an empty std::function throws), and the ones set still get theirs.
TEST(Dispatcher, HandlersLeftUnsetAreSkipped) {
  const ResponseDispatcher none;
  ResponseDispatcher tunnelOnly;
  Calls calls;
  tunnelOnly.onTunnelReply([&](const Mac&, const TunnelCommand& c, ByteView) { calls.push_back(c.isWrite ? "ack" : "data"); });
  for (const Bytes& d : {OuterFrame::buildSearchAnswer({1, kHost, 710, "h"}), OuterFrame::buildNetworkAnswer(kHost, Bytes(292)),
                         dataReply(1, 27), dataReply(2, 0), dataReply(1, 27, 7, 2)}) {
    EXPECT_NO_THROW(none.onDeviceDatagram(d));
    EXPECT_NO_THROW(tunnelOnly.onDeviceDatagram(d));
  }
  EXPECT_EQ(calls, (Calls{"data", "ack"}));
}

}  // namespace
}  // namespace quendra
