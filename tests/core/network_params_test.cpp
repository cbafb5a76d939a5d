#include "records/network_params.h"

#include <gtest/gtest.h>

#include <numeric>

namespace quendra {
namespace {

// A record as a host might send it: every byte different, so a field read at
// the wrong offset shows.
Bytes countingRecord() {
  Bytes r(NetworkParams::kSize);
  std::iota(r.begin(), r.end(), std::uint8_t{1});
  return r;
}

TEST(NetworkParams, ShortRecordIsRefused) {
  EXPECT_FALSE(NetworkParams::fromRecord(Bytes(291)).has_value());
  EXPECT_TRUE(NetworkParams::fromRecord(Bytes(292)).has_value());
}

TEST(NetworkParams, FieldsSitAtTheHostOffsets) {
  Bytes r(NetworkParams::kSize);
  const Bytes head = {0x80, 0x09, 0x00, 0xA8, 0xC0,  // static, 192.168.0.9
                      0x01, 0x00, 0xA8, 0xC0,        // gateway 192.168.0.1
                      0x00, 0xFF, 0xFF, 0xFF};       // mask 255.255.255.0
  std::copy(head.begin(), head.end(), r.begin());
  r[19] = 8;
  r[20] = 0xD0, r[21] = 0x07;  // server 1 source port 2000
  r[22] = 0x64, r[23] = 0x09;  // server 1 listen port 2404
  const std::string server1 = "192.168.0.166";
  std::copy(server1.begin(), server1.end(), r.begin() + 24);
  r[54] = 0x01, r[55] = 0x02;  // server 2 source port 0x0201
  r[56] = 0xFF, r[57] = 0xFF;  // server 2 listen port 65535
  r[58] = 'a';

  const NetworkParams p = *NetworkParams::fromRecord(r);
  EXPECT_TRUE(p.staticAddress());
  EXPECT_EQ(p.hostAddress(), 0xC0A80009u);
  EXPECT_EQ(p.gateway(), 0xC0A80001u);
  EXPECT_EQ(p.subnetMask(), 0xFFFFFF00u);
  EXPECT_EQ(p.maxConnections(), 8);
  EXPECT_EQ(p.sourcePort(0), 2000);
  EXPECT_EQ(p.listenPort(0), 2404);
  EXPECT_EQ(p.serverAddress(0), server1);
  EXPECT_EQ(p.sourcePort(1), 0x0201);
  EXPECT_EQ(p.listenPort(1), 65535);
  EXPECT_EQ(p.serverAddress(1), "a");
}

TEST(NetworkParams, AddressModeKeepsOnlyTheStaticBit) {
  Bytes r = countingRecord();
  r[0] = 0x7F;  // bit 7 clear: automatic, whatever the other bits say
  NetworkParams p = *NetworkParams::fromRecord(r);
  EXPECT_FALSE(p.staticAddress());
  p.setStaticAddress(true);
  EXPECT_EQ(p.bytes[0], 0x80);
  p.setStaticAddress(false);
  EXPECT_EQ(p.bytes[0], 0x00);
}

TEST(NetworkParams, SettersChangeOnlyTheirBytes) {
  const Bytes original = countingRecord();
  NetworkParams p = *NetworkParams::fromRecord(original);
  p.setHostAddress(0xC0A80009);
  p.setGateway(0x0A000001);
  p.setSubnetMask(0xFFFF0000);
  p.setMaxConnections(3);
  p.setSourcePort(0, 1), p.setListenPort(0, 2), p.setSourcePort(1, 3), p.setListenPort(1, 4);
  ASSERT_TRUE(p.setServerAddress(0, "host"));
  ASSERT_TRUE(p.setServerAddress(1, ""));

  for (std::size_t i = 0; i < NetworkParams::kSize; ++i) {
    const bool shown = (i >= 1 && i <= 12) || (i >= 19 && i <= 23) || (i >= 24 && i <= 28) ||
                       (i >= 54 && i <= 58);
    if (!shown) {
      EXPECT_EQ(p.bytes[i], original[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(p.bytes[1], 0x09);
  EXPECT_EQ(p.bytes[4], 0xC0);
  EXPECT_EQ(p.bytes[5], 0x01);
  EXPECT_EQ(p.bytes[8], 0x0A);
  EXPECT_EQ(p.bytes[9], 0x00);
  EXPECT_EQ(p.bytes[12], 0xFF);
  EXPECT_EQ(p.bytes[28], 0x00);  // the terminating zero after "host"
  EXPECT_EQ(p.bytes[58], 0x00);
}

TEST(NetworkParams, ServerAddressOfTwentyNineBytesFillsTheArea) {
  NetworkParams p;
  p.bytes.fill(0xEE);
  const std::string longest(29, 'x');
  ASSERT_TRUE(p.setServerAddress(0, longest));
  EXPECT_EQ(p.bytes[24 + 29], 0x00);
  EXPECT_EQ(p.bytes[54], 0xEE);  // server 2 untouched
  EXPECT_EQ(p.serverAddress(0), longest);
}

TEST(NetworkParams, ServerAddressLongerThanItsAreaIsRefusedWhole) {
  NetworkParams p;
  p.bytes.fill(0xEE);
  const auto before = p.bytes;
  EXPECT_FALSE(p.setServerAddress(0, std::string(30, 'x')));
  EXPECT_FALSE(p.setServerAddress(1, std::string(31, 'y')));
  EXPECT_EQ(p.bytes, before);
}

TEST(NetworkParams, UnterminatedServerAddressEndsWithItsArea) {
  NetworkParams p;
  std::fill(p.bytes.begin() + 58, p.bytes.begin() + 88, 'z');
  p.bytes[88] = 'n';  // the hidden byte after the area is not part of the text
  EXPECT_EQ(p.serverAddress(1), std::string(30, 'z'));
}

}  // namespace
}  // namespace quendra
