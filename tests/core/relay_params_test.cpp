// Relay image: field positions, little-endian 16-bit values, short payloads,
// and the frames that carry it.
#include <gtest/gtest.h>

#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"
#include "records/field_text.h"
#include "records/relay_params.h"

namespace quendra {
namespace {

struct RelayCase {
  const char* what;
  RelayParams relay;
  Bytes image;
};

const RelayCase kRelayCases[] = {
    {"all zero", {}, {0, 0, 0, 0, 0}},
    {"timed control, 60 min, 30 s", {2, 60, 30}, {0x02, 0x3C, 0x00, 0x1E, 0x00}},
    {"automatic control, one day, 5 s", {1, 1440, 5}, {0x01, 0xA0, 0x05, 0x05, 0x00}},
    {"no mode chosen, widest values", {0xFF, 0xFFFF, 0x8001}, {0xFF, 0xFF, 0xFF, 0x01, 0x80}},
};

TEST(RelayParams, EncodesEachFieldAtItsOffset) {
  for (const auto& c : kRelayCases) EXPECT_EQ(encodeRelay(c.relay), c.image) << c.what;
}

TEST(RelayParams, DecodesEachFieldFromItsOffset) {
  for (const auto& c : kRelayCases) {
    const auto relay = decodeRelay(c.image);
    ASSERT_TRUE(relay) << c.what;
    EXPECT_EQ(*relay, c.relay) << c.what;
  }
}

TEST(RelayParams, RefusesAShortPayload) {
  const Bytes four{2, 0x3C, 0, 0x1E};
  EXPECT_FALSE(decodeRelay(four));
  EXPECT_FALSE(decodeRelay({}));
}

TEST(RelayParams, TypedIntervalKeepsItsLow16Bits) {
  RelayParams relay;
  relay.startInterval = parseU16Field("70000");
  const Bytes image = encodeRelay(relay);
  EXPECT_EQ(image[1], 0x70);
  EXPECT_EQ(image[2], 0x11);
}

TEST(RelayParams, WriteRequestOfRelayEight) {
  const RelayParams relay{1, 1440, 5};
  const Bytes frame = TunnelFrame::buildRequest(writeCommandOf(ParamGroup::Relay, 7), encodeRelay(relay));
  EXPECT_EQ(frame, (Bytes{0x7E, 0x54, 0x01, 0xA0, 0x05, 0x05, 0x00, 0x84, 0x42}));
}

TEST(RelayParams, ReadReplyOfRelayThreeCarriesTheRecord) {
  const Bytes payload{0x02, 0x3C, 0x00, 0x1E, 0x00};
  const Bytes block = TunnelFrame::buildReply(71, payload, 9, 99);
  const TunnelReply reply = TunnelFrame::decodeReply(block);
  ASSERT_EQ(reply.status, ReplyStatus::Accepted);
  const auto command = classifyTunnelCommand(reply.command);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->group, ParamGroup::Relay);
  EXPECT_EQ(command->index, 2);
  EXPECT_EQ(decodeRelay(reply.payload), (RelayParams{2, 60, 30}));
}

}  // namespace
}  // namespace quendra
