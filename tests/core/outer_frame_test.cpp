// The LAN frame: request bytes for every command the tool sends, and the
// reply readers with their length checks.
#include <gtest/gtest.h>

#include "link/outer_frame.h"
#include "link/tunnel_frame.h"

namespace quendra {
namespace {

const Mac kMac{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};

TEST(OuterFrameRequest, SearchIsFiveFixedBytes) {
  EXPECT_EQ(OuterFrame::buildSearchRequest(), (Bytes{0xAA, 0x00, 0x01, 0x02, 0x02}));
}

TEST(OuterFrameRequest, ReadNetworkForKnownMac) {
  EXPECT_EQ(OuterFrame::buildReadNetworkRequest(kMac),
            (Bytes{0xAA, 0x00, 0x07, 0x03, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x02}));
}

TEST(OuterFrameRequest, FactoryResetAndWriteMac) {
  EXPECT_EQ(OuterFrame::buildFactoryResetRequest(kMac),
            (Bytes{0xAA, 0x00, 0x07, 0x06, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x05}));
  const Mac newMac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x09};
  const Bytes r = OuterFrame::buildWriteMacRequest(kMac, newMac);
  ASSERT_EQ(r.size(), 17u);
  EXPECT_EQ(Bytes(r.begin(), r.begin() + 4), (Bytes{0xAA, 0x00, 0x0D, 0x0F}));
  EXPECT_EQ(Bytes(r.begin() + 10, r.begin() + 16), Bytes(newMac.begin(), newMac.end()));
  EXPECT_EQ(r[16], static_cast<std::uint8_t>(0x0F + 0xFF + 0x02 + 0x4B + 0x7D + 0x09));
}

TEST(OuterFrameRequest, WriteNetworkIs303BytesWithLength012B) {
  Bytes record(kNetworkRecordSize);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes r = OuterFrame::buildWriteNetworkRequest(kMac, record);
  ASSERT_EQ(r.size(), 303u);
  EXPECT_EQ(r[0], 0xAA);
  EXPECT_EQ(r[1], 0x01);
  EXPECT_EQ(r[2], 0x2B);
  EXPECT_EQ(r[3], 0x04);
  EXPECT_EQ(Bytes(r.begin() + 10, r.begin() + 302), record);
  std::uint8_t sum = 0;
  for (std::size_t i = 3; i < 302; ++i) sum = static_cast<std::uint8_t>(sum + r[i]);
  EXPECT_EQ(r[302], sum);
}

struct TunnelCarriage {
  std::uint8_t command;
  std::size_t payload;
  std::size_t datagram;  // L + 11
};

class TunnelRequestLength : public testing::TestWithParam<TunnelCarriage> {};

TEST_P(TunnelRequestLength, FrameAtOffsetTenLengthLPlusSeven) {
  const auto [command, payloadSize, datagramSize] = GetParam();
  const Bytes tunnel = TunnelFrame::buildRequest(command, Bytes(payloadSize, 0x5A));
  const Bytes r = OuterFrame::buildTunnelRequest(kMac, tunnel);
  ASSERT_EQ(r.size(), datagramSize);
  EXPECT_EQ(r[1], 0x00);
  EXPECT_EQ(r[2], tunnel.size() + 7);
  EXPECT_EQ(r[3], 0x0A);
  EXPECT_EQ(Bytes(r.begin() + 10, r.end() - 1), tunnel);
}

INSTANTIATE_TEST_SUITE_P(Commands, TunnelRequestLength,
                         testing::Values(TunnelCarriage{1, 0, 15},      // base read: 7E 01 E1 D0
                                         TunnelCarriage{2, 27, 42},     // base write
                                         TunnelCarriage{4, 137, 152},   // GPRS write
                                         TunnelCarriage{37, 104, 119},  // channel write
                                         TunnelCarriage{77, 5, 20},     // relay write
                                         TunnelCarriage{117, 7, 22},    // ModBus write
                                         TunnelCarriage{149, 141, 156}  // LED write, the longest
                                         ));

TEST(OuterFrameRequest, TunnelFrameLongerThan244IsNotBuilt) {
  EXPECT_EQ(OuterFrame::buildTunnelRequest(kMac, Bytes(244, 1)).size(), 255u);
  EXPECT_TRUE(OuterFrame::buildTunnelRequest(kMac, Bytes(245, 1)).empty());
}

Bytes searchAnswer(std::string_view name, bool terminated) {
  Bytes d{0x55, 0x00, 0x00, 0x02, 0, 0, 0, 0, 0x09, 0x00, 0xA8, 0xC0, 0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC, 0xC6, 0x02, 0, 0};
  d.insert(d.end(), name.begin(), name.end());
  if (terminated) d.insert(d.end(), {0x00, 0x77});  // what follows the zero is not part of the name
  return d;
}

TEST(OuterFrameReply, SearchAnswerFields) {
  const auto a = OuterFrame::readSearchAnswer(searchAnswer("host", true));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->ip, 0xC0A80009u);
  EXPECT_EQ(a->mac, (Mac{0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(a->firmwareVersion, 710);
  EXPECT_EQ(a->nameGbk, "host");
}

TEST(OuterFrameReply, SearchAnswerNameEndsAtZeroOrDatagramEnd) {
  EXPECT_EQ(OuterFrame::readSearchAnswer(searchAnswer("abc", false))->nameGbk, "abc");
  EXPECT_EQ(OuterFrame::readSearchAnswer(searchAnswer("", false))->nameGbk, "");
  EXPECT_EQ(OuterFrame::readSearchAnswer(searchAnswer("", true))->nameGbk, "");
}

TEST(OuterFrameReply, SearchAnswerShorterThan22IsRefused) {
  Bytes d = searchAnswer("", false);
  d.pop_back();
  EXPECT_FALSE(OuterFrame::readSearchAnswer(d));
}

TEST(OuterFrameReply, NetworkAnswerNeeds302Bytes) {
  Bytes d(302, 0xEE);
  d[0] = 0x55;
  d[3] = 0x03;
  const auto record = OuterFrame::readNetworkAnswer(d);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->size(), kNetworkRecordSize);
  EXPECT_EQ(record->data(), d.data() + 10);
  d.pop_back();
  EXPECT_FALSE(OuterFrame::readNetworkAnswer(d));
}

struct ReplyHeader {
  Bytes datagram;
  std::optional<std::uint8_t> command;
};

class ReplyCommand : public testing::TestWithParam<ReplyHeader> {};

TEST_P(ReplyCommand, NeedsMarkerAndFourBytes) { EXPECT_EQ(OuterFrame::replyCommand(GetParam().datagram), GetParam().command); }

INSTANTIATE_TEST_SUITE_P(Headers, ReplyCommand,
                         testing::Values(ReplyHeader{{}, std::nullopt}, ReplyHeader{{0x55}, std::nullopt},
                                         ReplyHeader{{0x55, 0x00, 0x09}, std::nullopt},
                                         ReplyHeader{{0x55, 0x00, 0x09, 0x0A}, 0x0A},
                                         ReplyHeader{{0xAA, 0x00, 0x01, 0x02, 0x02}, std::nullopt}));

Bytes tunnelReply(std::uint8_t command, std::uint16_t length, std::size_t blockBytes) {
  Bytes d{0x55, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), command, 1, 2, 3, 4, 5, 6};
  for (std::size_t i = 0; i < blockBytes; ++i) d.push_back(static_cast<std::uint8_t>(i));
  return d;
}

TEST(OuterFrameReply, TunnelBlockUsesTheLengthField) {
  const Bytes d = tunnelReply(0x0A, 9, 12);  // three trailing bytes (e.g. the sum) are not part of it
  const auto block = OuterFrame::readTunnelBlock(d);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->size(), 9u);
  EXPECT_EQ(block->data(), d.data() + 10);
  EXPECT_TRUE(OuterFrame::readTunnelBlock(tunnelReply(0x0B, 9, 9)));
}

TEST(OuterFrameReply, TunnelBlockRefusals) {
  EXPECT_FALSE(OuterFrame::readTunnelBlock(tunnelReply(0x0A, 0, 9)));    // length 0
  EXPECT_FALSE(OuterFrame::readTunnelBlock(tunnelReply(0x0A, 10, 9)));   // past the datagram
  EXPECT_FALSE(OuterFrame::readTunnelBlock(tunnelReply(0x0A, 0x0100 + 9, 9)));  // high byte counts
  EXPECT_FALSE(OuterFrame::readTunnelBlock(tunnelReply(0x03, 9, 9)));    // not a tunnel reply
  Bytes headerOnly = tunnelReply(0x0A, 1, 0);
  headerOnly.resize(6);
  EXPECT_FALSE(OuterFrame::readTunnelBlock(headerOnly));
}

}  // namespace
}  // namespace quendra
