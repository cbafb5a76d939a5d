// Tunnel frames: request building, and the reply checks in their order
// (length, CRC, start byte, version trailer).
#include <gtest/gtest.h>

#include "link/frame_crc16.h"
#include "link/tunnel_frame.h"

namespace quendra {
namespace {

// A block with a correct CRC over whatever the other bytes are.
Bytes withCrc(Bytes body) {
  const std::uint16_t crc = FrameCrc16::compute(body);
  body.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  body.push_back(static_cast<std::uint8_t>(crc >> 8));
  return body;
}

Bytes reply(std::uint8_t command, Bytes payload, std::uint8_t marker, std::uint8_t high, std::uint8_t low,
            std::uint8_t fixed, std::uint8_t spare = 0) {
  Bytes b{0x7E, command};
  b.insert(b.end(), payload.begin(), payload.end());
  b.insert(b.end(), {marker, high, low, fixed, spare});
  return withCrc(b);
}

TEST(TunnelFrameRequest, CommandsOutsideTheTableBuildNothing) {
  for (const int command : {0, 151, 255}) EXPECT_TRUE(TunnelFrame::buildRequest(static_cast<std::uint8_t>(command)).empty());
}

TEST(TunnelFrameRequest, WriteCarriesPayloadThenCrc) {
  Bytes payload(27);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i + 1);
  const Bytes frame = TunnelFrame::buildRequest(2, payload);
  ASSERT_EQ(frame.size(), 31u);
  Bytes expected{0x7E, 0x02};
  expected.insert(expected.end(), payload.begin(), payload.end());
  EXPECT_EQ(frame, withCrc(expected));
}

struct GateCase {
  const char* name;
  std::uint8_t marker, high, low, fixed, spare;
  ReplyStatus status;
};

class VersionGate : public testing::TestWithParam<GateCase> {};

TEST_P(VersionGate, TrailerDecides) {
  const GateCase& c = GetParam();
  const TunnelReply r = TunnelFrame::decodeReply(reply(1, Bytes(27, 0x11), c.marker, c.high, c.low, c.fixed, c.spare));
  EXPECT_EQ(r.status, c.status);
  if (c.status == ReplyStatus::Accepted) {
    EXPECT_EQ(r.command, 1);
    EXPECT_EQ(r.payload.size(), 27u);
    EXPECT_EQ(r.hostVersion, c.high * 100 + c.low);
  } else {
    EXPECT_EQ(r.command, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Trailers, VersionGate,
    testing::Values(GateCase{"v702", 0x99, 7, 2, 0x04, 0, ReplyStatus::VersionRefused},
                    GateCase{"v703", 0x99, 7, 3, 0x04, 0, ReplyStatus::Accepted},
                    GateCase{"v999", 0x99, 9, 99, 0x04, 0, ReplyStatus::Accepted},
                    GateCase{"v1000", 0x99, 10, 0, 0x04, 0, ReplyStatus::VersionRefused},
                    GateCase{"high6low103", 0x99, 6, 103, 0x04, 0, ReplyStatus::Accepted},
                    GateCase{"highest", 0x99, 255, 255, 0x04, 0, ReplyStatus::VersionRefused},
                    GateCase{"marker98", 0x98, 7, 10, 0x04, 0, ReplyStatus::VersionRefused},
                    GateCase{"fixed05", 0x99, 7, 10, 0x05, 0, ReplyStatus::VersionRefused},
                    GateCase{"spareAny", 0x99, 7, 10, 0x04, 0xFF, ReplyStatus::Accepted}),
    [](const testing::TestParamInfo<GateCase>& i) { return i.param.name; });

TEST(TunnelFrameReply, SwappedCrcBytesAreDroppedSilently) {
  Bytes b = reply(1, Bytes(27, 0x11), 0x99, 7, 10, 0x04);
  const std::size_t n = b.size();
  ASSERT_NE(b[n - 1], b[n - 2]);
  std::swap(b[n - 1], b[n - 2]);
  EXPECT_EQ(TunnelFrame::decodeReply(b).status, ReplyStatus::Dropped);
}

TEST(TunnelFrameReply, WrongStartByteWithGoodCrcIsDropped) {
  Bytes b{0x7F, 0x01, 0x99, 0x07, 0x0A, 0x04, 0x00};
  EXPECT_EQ(TunnelFrame::decodeReply(withCrc(b)).status, ReplyStatus::Dropped);
}

TEST(TunnelFrameReply, ShortBlocksAreDropped) {
  // n <= 2 has no CRC; n = 3..6 would put the trailer before the block. Each
  // of these carries a correct CRC, so only the length refuses them.
  EXPECT_EQ(TunnelFrame::decodeReply({}).status, ReplyStatus::Dropped);
  EXPECT_EQ(TunnelFrame::decodeReply(Bytes{0x7E, 0x01}).status, ReplyStatus::Dropped);
  for (std::size_t body = 1; body <= 4; ++body) {
    Bytes b(body, 0x99);
    b[0] = 0x7E;
    EXPECT_EQ(TunnelFrame::decodeReply(withCrc(b)).status, ReplyStatus::Dropped) << "n = " << body + 2;
  }
}

TEST(TunnelFrameReply, SevenBytesPutTheMarkerOnTheStartByte) {
  // n = 7: the marker position is byte 0, which must be 0x7E, so the gate refuses.
  const Bytes b = withCrc({0x7E, 0x07, 0x0A, 0x04, 0x00});
  EXPECT_EQ(TunnelFrame::decodeReply(b).status, ReplyStatus::VersionRefused);
}

TEST(TunnelFrameReply, EightBytesPutTheMarkerOnTheCommandByte) {
  // n = 8: the command byte doubles as the marker, so only command 0x99 passes.
  const TunnelReply r = TunnelFrame::decodeReply(withCrc({0x7E, 0x99, 0x07, 0x03, 0x04, 0x00}));
  EXPECT_EQ(r.status, ReplyStatus::Accepted);
  EXPECT_EQ(r.command, 0x99);
  EXPECT_TRUE(r.payload.empty());
  EXPECT_EQ(TunnelFrame::decodeReply(withCrc({0x7E, 0x01, 0x07, 0x03, 0x04, 0x00})).status,
            ReplyStatus::VersionRefused);
}

TEST(TunnelFrameReply, AcknowledgementHasNoPayload) {
  const TunnelReply r = TunnelFrame::decodeReply(Bytes{0x7E, 0x02, 0x99, 0x07, 0x03, 0x04, 0x00, 0x6B, 0x4D});
  EXPECT_EQ(r.status, ReplyStatus::Accepted);
  EXPECT_EQ(r.command, 2);
  EXPECT_TRUE(r.payload.empty());
  EXPECT_EQ(r.hostVersion, 703);
}

TEST(TunnelFrameReply, PayloadIsWhatLiesBetweenCommandAndTrailer) {
  Bytes payload(104);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(200 - i);
  const Bytes b = TunnelFrame::buildReply(36, payload, 7, 10, 0x33);
  const TunnelReply r = TunnelFrame::decodeReply(b);
  ASSERT_EQ(r.status, ReplyStatus::Accepted);
  EXPECT_EQ(r.command, 36);
  EXPECT_EQ(Bytes(r.payload.begin(), r.payload.end()), payload);
  EXPECT_EQ(r.payload.data(), b.data() + 2);
}

TEST(TunnelFrameReply, CommandsOutsideTheTablePassTheChecksUnchanged) {
  for (const int command : {0, 151, 255}) {
    const TunnelReply r = TunnelFrame::decodeReply(TunnelFrame::buildReply(static_cast<std::uint8_t>(command), {}, 7, 10));
    EXPECT_EQ(r.status, ReplyStatus::Accepted);
    EXPECT_EQ(r.command, command);
  }
}

}  // namespace
}  // namespace quendra
