// CRC-16 of the tunnel frames: the standard check value, the table form
// against the bitwise definition, and the complete frames the hosts know.
#include <gtest/gtest.h>

#include <random>
#include <string_view>

#include "link/frame_crc16.h"
#include "link/tunnel_frame.h"

namespace quendra {
namespace {

std::uint16_t bitwiseCrc(ByteView data) {
  std::uint16_t crc = 0xFFFF;
  for (const std::uint8_t b : data) {
    crc ^= b;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

ByteView ascii(std::string_view s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

TEST(FrameCrc16, CheckValueOverDigitsOneToNine) { EXPECT_EQ(FrameCrc16::compute(ascii("123456789")), 0x4B37); }

TEST(FrameCrc16, EmptyInputLeavesThePreset) { EXPECT_EQ(FrameCrc16::compute({}), 0xFFFF); }

TEST(FrameCrc16, TableFormEqualsBitwiseDefinition) {
  std::mt19937 random(1901);
  for (const std::size_t length : {1u, 2u, 7u, 64u, 255u, 1024u}) {
    for (int round = 0; round < 20; ++round) {
      Bytes data(length);
      for (auto& b : data) b = static_cast<std::uint8_t>(random());
      ASSERT_EQ(FrameCrc16::compute(data), bitwiseCrc(data)) << "length " << length;
    }
  }
  for (int b = 0; b < 256; ++b) {
    const Bytes one{static_cast<std::uint8_t>(b)};
    ASSERT_EQ(FrameCrc16::compute(one), bitwiseCrc(one)) << "byte " << b;
  }
}

struct GoldenRequest {
  std::uint8_t command;
  Bytes frame;
};

class ReadRequestGolden : public testing::TestWithParam<GoldenRequest> {};

TEST_P(ReadRequestGolden, LowCrcByteFirst) { EXPECT_EQ(TunnelFrame::buildRequest(GetParam().command), GetParam().frame); }

INSTANTIATE_TEST_SUITE_P(KnownFrames, ReadRequestGolden,
                         testing::Values(GoldenRequest{1, {0x7E, 0x01, 0xE1, 0xD0}},     // base
                                         GoldenRequest{3, {0x7E, 0x03, 0x60, 0x11}},     // GPRS
                                         GoldenRequest{5, {0x7E, 0x05, 0xE0, 0x13}},     // channel 1
                                         GoldenRequest{150, {0x7E, 0x96, 0xA0, 0x7E}}));  // LED screen

TEST(FrameCrc16, NineByteAcknowledgementOfVersion703) {
  const Bytes ack{0x7E, 0x02, 0x99, 0x07, 0x03, 0x04, 0x00, 0x6B, 0x4D};
  EXPECT_EQ(TunnelFrame::buildReply(2, {}, 7, 3), ack);
}

}  // namespace
}  // namespace quendra
