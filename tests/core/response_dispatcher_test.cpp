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

const char* nameOf(ParamGroup g) {
  static const char* names[] = {"network", "base", "gprs", "led", "channel", "modbus", "relay"};
  return names[static_cast<int>(g)];
}

// Records every call as one line, in order.
class DispatcherTest : public testing::Test {
 protected:
  void SetUp() override {
    d.onSearchAnswer([this](const SearchAnswer& a) { calls.push_back("search " + a.nameGbk); });
    d.onNetworkAnswer([this](const Mac& from, ByteView r) { calls.push_back("network " + std::to_string(r.size()) + from_(from)); });
    d.onTunnelReply([this](const Mac& from, const TunnelCommand& c, ByteView p) {
      calls.push_back(std::string(c.isWrite ? "ack " : "data ") + nameOf(c.group) + " k" + std::to_string(c.index) +
                      " p" + std::to_string(p.size()) + from_(from));
    });
    d.onVersionRefused([this](const Mac& from) { calls.push_back("refused" + from_(from)); });
  }

  // The sender, when it is not the host all these datagrams come from.
  static std::string from_(const Mac& mac) {
    return mac == Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01} ? "" : " from another host";
  }

  std::vector<std::string> dispatch(const Bytes& datagram) {
    calls.clear();
    d.onDeviceDatagram(datagram);
    return calls;
  }

  ResponseDispatcher d;
  std::vector<std::string> calls;
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
      // A data reply shorter than its record is refused whole, in every group.
      {"base reply one byte short", dataReply(1, 26)},
      {"GPRS reply one byte short", dataReply(3, 136)},
      {"channel reply one byte short", dataReply(5, 103)},
      {"relay reply one byte short", dataReply(76, 4)},
      {"ModBus reply one byte short", dataReply(116, 6)},
      {"LED reply one byte short", dataReply(150, 140)},
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
  EXPECT_EQ(dispatch(network), Calls{"network 292 from another host"});
  std::copy_n(Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01}.begin(), 6, network.begin() + 4);
  EXPECT_EQ(dispatch(network), Calls{"network 292"});
}

struct Routed {
  std::uint8_t command;
  std::size_t payload;
  const char* call;
};

class DispatcherRouting : public DispatcherTest, public testing::WithParamInterface<Routed> {};

TEST_P(DispatcherRouting, EveryCommandReachesItsGroupAndRecord) {
  EXPECT_EQ(dispatch(dataReply(GetParam().command, GetParam().payload)), Calls{GetParam().call});
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DispatcherRouting,
    testing::Values(Routed{1, 27, "data base k0 p27"},
                    Routed{1, 30, "data base k0 p30"},  // longer: extra bytes ignored by codecs
                    Routed{2, 0, "ack base k0 p0"}, Routed{3, 137, "data gprs k0 p137"},
                    Routed{4, 0, "ack gprs k0 p0"}, Routed{5, 104, "data channel k0 p104"},
                    Routed{36, 104, "data channel k31 p104"}, Routed{37, 0, "ack channel k0 p0"},
                    Routed{68, 0, "ack channel k31 p0"}, Routed{69, 5, "data relay k0 p5"},
                    Routed{76, 5, "data relay k7 p5"}, Routed{77, 0, "ack relay k0 p0"},
                    Routed{84, 0, "ack relay k7 p0"}, Routed{85, 7, "data modbus k0 p7"},
                    Routed{116, 7, "data modbus k31 p7"}, Routed{117, 0, "ack modbus k0 p0"},
                    Routed{148, 0, "ack modbus k31 p0"}, Routed{149, 0, "ack led k0 p0"},
                    Routed{150, 141, "data led k0 p141"}));

TEST_F(DispatcherTest, OuterCommandElevenIsLikeTen) {
  const Bytes block = TunnelFrame::buildReply(69, Bytes(5, 1), 7, 10);
  EXPECT_EQ(dispatch(tunnelDatagram(block, kTunnelAlt)), dispatch(tunnelDatagram(block, kTunnel)));
  EXPECT_EQ(calls, (Calls{"data relay k0 p5"}));
}

TEST_F(DispatcherTest, VersionGateCallsOnlyItsHook) {
  EXPECT_EQ(dispatch(dataReply(1, 27, 7, 2)), Calls{"refused"});
  EXPECT_EQ(dispatch(dataReply(37, 0, 10, 0)), Calls{"refused"});
}

TEST_F(DispatcherTest, NoHandlersNothingBreaks) {
  const ResponseDispatcher bare;
  bare.onDeviceDatagram(dataReply(1, 27));
  bare.onDeviceDatagram(dataReply(1, 27, 7, 2));
}

}  // namespace
}  // namespace quendra
