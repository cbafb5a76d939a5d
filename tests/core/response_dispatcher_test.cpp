// The reply entry: which datagrams reach which handler, and which are
// dropped without a trace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/response_dispatcher.h"
#include "link/tunnel_frame.h"

namespace quendra {
namespace {

Bytes tunnelDatagram(const Bytes& block, std::uint8_t outerCommand = kTunnel) {
  Bytes d{0x55, static_cast<std::uint8_t>(block.size() >> 8), static_cast<std::uint8_t>(block.size()), outerCommand,
          0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};
  d.insert(d.end(), block.begin(), block.end());
  d.push_back(0x00);  // outer sum, not examined
  return d;
}

Bytes dataReply(std::uint8_t command, std::size_t payloadSize, std::uint8_t high = 7, std::uint8_t low = 10) {
  Bytes payload(payloadSize);
  for (std::size_t i = 0; i < payloadSize; ++i) payload[i] = static_cast<std::uint8_t>(command + i);
  return tunnelDatagram(TunnelFrame::buildReply(command, payload, high, low));
}

// Records every call as one line, in order.
class DispatcherTest : public testing::Test {
 protected:
  void SetUp() override {
    d.onSearchAnswer([this](const SearchAnswer& a) { calls.push_back("search " + a.nameGbk); });
    d.onNetworkAnswer([this](ByteView r) { calls.push_back("network " + std::to_string(r.size())); });
    for (const ParamGroup g : {ParamGroup::Base, ParamGroup::Gprs, ParamGroup::Channel, ParamGroup::Relay,
                               ParamGroup::Modbus, ParamGroup::Led}) {
      d.routeGroup(
          g, [this](const TunnelCommand& c, ByteView p) { calls.push_back(describe("data", c, p)); },
          [this](const TunnelCommand& c, ByteView p) { calls.push_back(describe("ack", c, p)); });
    }
    d.onAnswered([this](const TunnelCommand& c, ByteView p) { calls.push_back(describe("answered", c, p)); });
    d.onVersionRefused([this] { calls.push_back("refused"); });
    d.onDatagramDone([this] { ++done; });
  }

  static std::string describe(const char* what, const TunnelCommand& c, ByteView p) {
    return std::string(what) + " g" + std::to_string(static_cast<int>(c.group)) + " k" + std::to_string(c.index) +
           " p" + std::to_string(p.size());
  }

  std::vector<std::string> dispatch(const Bytes& datagram) {
    calls.clear();
    const int before = done;
    d.onDeviceDatagram(datagram);
    EXPECT_EQ(done, before + 1) << "the window refreshes after every datagram";
    return calls;
  }

  ResponseDispatcher d;
  std::vector<std::string> calls;
  int done = 0;
};

using Calls = std::vector<std::string>;

TEST_F(DispatcherTest, IgnoredDatagrams) {
  const std::vector<std::pair<const char*, Bytes>> ignored = {
      {"empty", {}},
      {"one byte", {0x55}},
      {"three bytes", {0x55, 0x00, 0x09}},
      {"own search request", {0xAA, 0x00, 0x01, 0x02, 0x02}},
      {"request marker on a tunnel reply", [] { Bytes b = dataReply(1, 27); b[0] = 0xAA; return b; }()},
      {"unknown outer command 4", [] { Bytes b = dataReply(1, 27); b[3] = 0x04; return b; }()},
      {"tunnel length 00 00", [] { Bytes b = dataReply(1, 27); b[1] = 0; b[2] = 0; return b; }()},
      {"tunnel length past the datagram", [] { Bytes b = dataReply(1, 27); b[2] += 2; return b; }()},
      {"search answer of 21 bytes", Bytes{0x55, 0, 0, 0x02, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
      {"network answer of 301 bytes", [] { Bytes b(301, 1); b[0] = 0x55; b[3] = 0x03; return b; }()},
      {"bad CRC", [] { Bytes b = dataReply(1, 27); b[12] ^= 0x01; return b; }()},
      {"tunnel command 0", tunnelDatagram(TunnelFrame::buildReply(0, {}, 7, 10))},
      {"tunnel command 151", tunnelDatagram(TunnelFrame::buildReply(151, {}, 7, 10))},
      {"tunnel command 255", tunnelDatagram(TunnelFrame::buildReply(255, Bytes(27), 7, 10))},
      {"base reply one byte short", dataReply(1, 26)},
      {"channel reply one byte short", dataReply(5, 103)},
      {"LED reply without payload", dataReply(150, 0)},
  };
  for (const auto& [name, datagram] : ignored) EXPECT_EQ(dispatch(datagram), Calls{}) << name;
}

TEST_F(DispatcherTest, SearchAndNetworkAnswers) {
  const Bytes search{0x55, 0, 0, 0x02, 0, 0, 0, 0, 1, 0, 168, 192, 2, 0x4B, 0x7D, 0, 0, 1, 0xC6, 2, 0, 0, 'h', 'o', 0};
  EXPECT_EQ(dispatch(search), Calls{"search ho"});
  Bytes network(303, 0x80);
  network[0] = 0x55;
  network[3] = 0x03;
  EXPECT_EQ(dispatch(network), Calls{"network 292"});
}

struct Routed {
  std::uint8_t command;
  std::size_t payload;
  std::vector<std::string> calls;
};

class DispatcherRouting : public DispatcherTest, public testing::WithParamInterface<Routed> {};

TEST_P(DispatcherRouting, PageHandlerThenAnswered) {
  EXPECT_EQ(dispatch(dataReply(GetParam().command, GetParam().payload)), GetParam().calls);
}

// Groups: 0 base, 1 GPRS, 2 channel, 3 relay, 4 ModBus, 5 LED.
INSTANTIATE_TEST_SUITE_P(
    Commands, DispatcherRouting,
    testing::Values(Routed{1, 27, {"data g0 k0 p27", "answered g0 k0 p27"}},
                    Routed{1, 30, {"data g0 k0 p30", "answered g0 k0 p30"}},  // longer: extra bytes ignored by codecs
                    Routed{2, 0, {"ack g0 k0 p0", "answered g0 k0 p0"}},
                    Routed{3, 137, {"data g1 k0 p137", "answered g1 k0 p137"}},
                    Routed{4, 0, {"ack g1 k0 p0", "answered g1 k0 p0"}},
                    Routed{36, 104, {"data g2 k31 p104", "answered g2 k31 p104"}},
                    Routed{37, 0, {"ack g2 k0 p0", "answered g2 k0 p0"}},
                    Routed{76, 5, {"data g3 k7 p5", "answered g3 k7 p5"}},
                    Routed{84, 0, {"ack g3 k7 p0", "answered g3 k7 p0"}},
                    Routed{85, 7, {"data g4 k0 p7", "answered g4 k0 p7"}},
                    Routed{148, 0, {"ack g4 k31 p0", "answered g4 k31 p0"}},
                    Routed{149, 0, {"ack g5 k0 p0", "answered g5 k0 p0"}},
                    Routed{150, 141, {"data g5 k0 p141", "answered g5 k0 p141"}}));

TEST_F(DispatcherTest, OuterCommandElevenIsLikeTen) {
  const Bytes block = TunnelFrame::buildReply(69, Bytes(5, 1), 7, 10);
  EXPECT_EQ(dispatch(tunnelDatagram(block, kTunnelAlt)), dispatch(tunnelDatagram(block, kTunnel)));
  EXPECT_EQ(calls, (Calls{"data g3 k0 p5", "answered g3 k0 p5"}));
}

TEST_F(DispatcherTest, VersionGateCallsOnlyItsHook) {
  EXPECT_EQ(dispatch(dataReply(1, 27, 7, 2)), Calls{"refused"});
  EXPECT_EQ(dispatch(dataReply(37, 0, 10, 0)), Calls{"refused"});
}

TEST_F(DispatcherTest, GroupWithoutRouteIsStillAnswered) {
  ResponseDispatcher bare;
  std::vector<std::string> seen;
  bare.onAnswered([&](const TunnelCommand& c, ByteView) { seen.push_back(std::to_string(c.index)); });
  bare.onDeviceDatagram(dataReply(40, 0));
  bare.onDeviceDatagram(dataReply(1, 27));  // no handlers at all: nothing breaks
  EXPECT_EQ(seen, (std::vector<std::string>{"3", "0"}));
}

}  // namespace
}  // namespace quendra
