// The bytes on the wire: the CRC, every request the tool sends, what the reply readers take (short replies seen through
// both readers' callers: datagram_meaning_test), and the tunnel reply's checks in order (length, CRC, start, trailer).
#include <gtest/gtest.h>

#include <random>
#include <string_view>

#include "link/frame_crc16.h"
#include "link/outer_frame.h"
#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"

namespace quendra {
namespace {

const Mac kMac{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};

Bytes withCrc(Bytes body) {
  const std::uint16_t crc = FrameCrc16::compute(body);
  body.insert(body.end(), {static_cast<std::uint8_t>(crc & 0xFF), static_cast<std::uint8_t>(crc >> 8)});
  return body;
}

TEST(FrameCrc16, StandardValuesAndTheBitwiseDefinition) {
  const std::string_view digits = "123456789";
  EXPECT_EQ(FrameCrc16::compute({reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()}), 0x4B37);
  EXPECT_EQ(FrameCrc16::compute({}), 0xFFFF);
  std::mt19937 random(1901);
  for (const std::size_t length : {1u, 2u, 7u, 255u, 1024u}) {
    Bytes data(length);
    for (auto& b : data) b = static_cast<std::uint8_t>(random());
    std::uint16_t crc = 0xFFFF;  // reflected 0xA001, one bit at a time
    for (const std::uint8_t b : data) {
      crc ^= b;
      for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    EXPECT_EQ(FrameCrc16::compute(data), crc) << length;
  }
}

TEST(Requests, EveryCommandsBytes) {
  EXPECT_EQ(OuterFrame::buildSearchRequest(), (Bytes{0xAA, 0x00, 0x01, 0x02, 0x02}));
  EXPECT_EQ(OuterFrame::buildReadNetworkRequest(kMac), (Bytes{0xAA, 0x00, 0x07, 0x03, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x02}));
  EXPECT_EQ(OuterFrame::buildFactoryResetRequest(kMac), (Bytes{0xAA, 0x00, 0x07, 0x06, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x05}));
  EXPECT_EQ(OuterFrame::buildWriteMacRequest(kMac, {0x02, 0x4B, 0x7D, 0x00, 0x00, 0x09}),
            (Bytes{0xAA, 0x00, 0x0D, 0x0F, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x02, 0x4B, 0x7D, 0x00, 0x00, 0x09, 0xE1}));
  Bytes record(kNetworkRecordSize);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes write = OuterFrame::buildWriteNetworkRequest(kMac, record);
  ASSERT_EQ(write.size(), 303u);
  EXPECT_EQ(Bytes(write.begin(), write.begin() + 4), (Bytes{0xAA, 0x01, 0x2B, 0x04}));
  EXPECT_EQ(Bytes(write.begin() + 10, write.begin() + 302), record);
  EXPECT_EQ(write[302], OuterFrame::frameSum(ByteView(write).first(302)));
  EXPECT_EQ(OuterFrame::frameSum(Bytes{0xAA, 0x01, 0x2B, 0xFF, 0x02}), 0x01);  // from offset 3, modulo 256
}

TEST(Requests, TunnelFramesAndTheirCarriage) {
  // Read requests, low CRC byte first.
  EXPECT_EQ(TunnelFrame::buildRequest(1), (Bytes{0x7E, 0x01, 0xE1, 0xD0}));
  EXPECT_EQ(TunnelFrame::buildRequest(150), (Bytes{0x7E, 0x96, 0xA0, 0x7E}));
  // Writes: relay 8 in automatic mode, 1440 min, 5 s; ModBus slot 1.
  EXPECT_EQ(TunnelFrame::buildRequest(84, Bytes{0x01, 0xA0, 0x05, 0x05, 0x00}),
            (Bytes{0x7E, 0x54, 0x01, 0xA0, 0x05, 0x05, 0x00, 0x84, 0x42}));
  EXPECT_EQ(TunnelFrame::buildRequest(117, Bytes{0x2C, 0x01, 0xFF, 0x00, 0x00, 0x0A, 0x00}),
            (Bytes{0x7E, 0x75, 0x2C, 0x01, 0xFF, 0x00, 0x00, 0x0A, 0x00, 0x1A, 0xEE}));
  for (const int command : {0, 151, 255}) EXPECT_TRUE(TunnelFrame::buildRequest(static_cast<std::uint8_t>(command)).empty());
  // In the outer frame: at offset 10, length byte L + 7, L + 11 bytes in all.
  for (const auto& [command, payload] : {std::pair{1, 0}, {2, 27}, {37, 104}, {77, 5}, {149, 141}}) {
    const Bytes tunnel = TunnelFrame::buildRequest(static_cast<std::uint8_t>(command), Bytes(payload, 0x5A));
    const Bytes d = OuterFrame::buildTunnelRequest(kMac, tunnel);
    ASSERT_EQ(d.size(), tunnel.size() + 11) << command;
    EXPECT_EQ(Bytes(d.begin(), d.begin() + 4), (Bytes{0xAA, 0x00, static_cast<std::uint8_t>(tunnel.size() + 7), 0x0A}));
    EXPECT_EQ(Bytes(d.begin() + 10, d.end() - 1), tunnel);
  }
  EXPECT_EQ(OuterFrame::buildTunnelRequest(kMac, Bytes(244, 1)).size(), 255u);
  EXPECT_TRUE(OuterFrame::buildTunnelRequest(kMac, Bytes(245, 1)).empty());
}

TEST(Replies, OuterReadersTakeOnlyWhatArrived) {
  Bytes search{0x55, 0, 0, 0x02, 0, 0, 0, 0, 0x09, 0x00, 0xA8, 0xC0, 0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC, 0xC6, 0x02, 0, 0};
  EXPECT_EQ(OuterFrame::readSearchAnswer(search)->nameGbk, "");  // an empty, unterminated name
  search.insert(search.end(), {'h', 'o', 's', 't', 0x00, 0x77});
  const auto a = OuterFrame::readSearchAnswer(search);
  ASSERT_TRUE(a);
  EXPECT_EQ(std::tie(a->ip, a->mac, a->firmwareVersion, a->nameGbk),
            std::tuple(0xC0A80009u, Mac{0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC}, 710, "host"));
  EXPECT_EQ(OuterFrame::readSearchAnswer(OuterFrame::buildSearchAnswer(*a))->nameGbk, "host");

  Bytes network(302, 0xEE);
  network[0] = 0x55;
  network[3] = 0x03;
  ASSERT_TRUE(OuterFrame::readNetworkAnswer(network));
  EXPECT_EQ(OuterFrame::readNetworkAnswer(network)->data(), network.data() + 10);
  EXPECT_FALSE(OuterFrame::replyMac(Bytes(9, 0x55)));
}

TEST(Replies, TunnelBlockIsTheLengthFieldsBytes) {
  const auto reply = [](std::uint8_t command, std::uint16_t length, std::size_t blockBytes) {
    Bytes d{0x55, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), command, 1, 2, 3, 4, 5, 6};
    for (std::size_t i = 0; i < blockBytes; ++i) d.push_back(static_cast<std::uint8_t>(i));
    return d;
  };
  const Bytes d = reply(0x0A, 9, 12);  // the outer sum after the block is not part of it
  EXPECT_EQ(OuterFrame::readTunnelBlock(d)->size(), 9u);
  EXPECT_EQ(OuterFrame::readTunnelBlock(d)->data(), d.data() + 10);
  EXPECT_EQ(OuterFrame::replyMac(d), (Mac{1, 2, 3, 4, 5, 6}));
  for (const Bytes& refused : {reply(0x0A, 0, 9), reply(0x0A, 10, 9), reply(0x0A, 0x0109, 9), reply(0x03, 9, 9),
                               Bytes{0x55, 0x00, 0x01, 0x0A, 1, 2}})
    EXPECT_FALSE(OuterFrame::readTunnelBlock(refused));
}

Bytes trailer(std::uint8_t marker, std::uint8_t high, std::uint8_t low, std::uint8_t fixed, std::uint8_t spare = 0) {
  Bytes b{0x7E, 0x01};
  b.insert(b.end(), 27, 0x11);
  b.insert(b.end(), {marker, high, low, fixed, spare});
  return withCrc(b);
}

TEST(TunnelReply, ChecksInTheirOrder) {
  using RS = ReplyStatus;
  Bytes swappedCrc = trailer(0x99, 7, 10, 0x04);
  std::swap(swappedCrc[swappedCrc.size() - 1], swappedCrc[swappedCrc.size() - 2]);
  // Name, block, status, command when accepted, payload size.
  const std::tuple<const char*, Bytes, ReplyStatus, int, std::size_t> blocks[] = {
      {"v702", trailer(0x99, 7, 2, 0x04), RS::VersionRefused, 0, 0}, {"v703", trailer(0x99, 7, 3, 0x04), RS::Accepted, 1, 27},
      {"v999", trailer(0x99, 9, 99, 0x04), RS::Accepted, 1, 27}, {"v1000", trailer(0x99, 10, 0, 0x04), RS::VersionRefused, 0, 0},
      {"high6low103", trailer(0x99, 6, 103, 0x04), RS::Accepted, 1, 27},
      {"marker98", trailer(0x98, 7, 10, 0x04), RS::VersionRefused, 0, 0},
      {"fixed05", trailer(0x99, 7, 10, 0x05), RS::VersionRefused, 0, 0},
      {"spareAny", trailer(0x99, 7, 10, 0x04, 0xFF), RS::Accepted, 1, 27}, {"swappedCrc", swappedCrc, RS::Dropped, 0, 0},
      {"startByte7F", withCrc({0x7F, 0x01, 0x99, 0x07, 0x0A, 0x04, 0x00}), RS::Dropped, 0, 0},
      {"ack703", Bytes{0x7E, 0x02, 0x99, 0x07, 0x03, 0x04, 0x00, 0x6B, 0x4D}, RS::Accepted, 2, 0},
      {"empty", Bytes{}, RS::Dropped, 0, 0}, {"n2", Bytes{0x7E, 0x01}, RS::Dropped, 0, 0},
      {"n3", withCrc({0x7E}), RS::Dropped, 0, 0}, {"n6", withCrc({0x7E, 0x99, 0x99, 0x99}), RS::Dropped, 0, 0},
      // n = 7: the marker falls on the start byte; n = 8: on the command byte.
      {"n7", withCrc({0x7E, 0x07, 0x0A, 0x04, 0x00}), RS::VersionRefused, 0, 0},
      {"n8command99", withCrc({0x7E, 0x99, 0x07, 0x03, 0x04, 0x00}), RS::Accepted, 0x99, 0},
      {"n8command01", withCrc({0x7E, 0x01, 0x07, 0x03, 0x04, 0x00}), RS::VersionRefused, 0, 0},
      {"command255", TunnelFrame::buildReply(255, {}, 7, 10), RS::Accepted, 255, 0}};
  for (const auto& [name, block, status, command, payload] : blocks) {
    const TunnelReply r = TunnelFrame::decodeReply(block);
    EXPECT_EQ(r.status, status) << name;
    EXPECT_EQ(r.command, status == ReplyStatus::Accepted ? command : 0) << name;
    EXPECT_EQ(r.payload.size(), payload) << name;
  }
}

TEST(TunnelReply, PayloadLiesBetweenCommandAndTrailer) {
  Bytes payload(104);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(200 - i);
  const Bytes b = TunnelFrame::buildReply(36, payload, 7, 10, 0x33);
  const TunnelReply r = TunnelFrame::decodeReply(b);
  EXPECT_EQ(r.hostVersion, 710);
  EXPECT_EQ(r.payload.data(), b.data() + 2);
  EXPECT_EQ(Bytes(r.payload.begin(), r.payload.end()), payload);
}

TEST(TunnelCommands, EveryNumberBelongsToOneRecordOfOneGroup) {
  using G = ParamGroup;
  // Command, group, write, record index.
  const std::tuple<int, ParamGroup, bool, int> edges[] = {
      {1, G::Base, false, 0},     {2, G::Base, true, 0},      {3, G::Gprs, false, 0},     {4, G::Gprs, true, 0},
      {5, G::Channel, false, 0},  {36, G::Channel, false, 31}, {37, G::Channel, true, 0},  {68, G::Channel, true, 31},
      {69, G::Relay, false, 0},   {76, G::Relay, false, 7},   {77, G::Relay, true, 0},    {84, G::Relay, true, 7},
      {85, G::Modbus, false, 0},  {116, G::Modbus, false, 31}, {117, G::Modbus, true, 0}, {148, G::Modbus, true, 31},
      {149, G::Led, true, 0},     {150, G::Led, false, 0}};
  for (const auto& [command, group, isWrite, index] : edges) {
    const auto c = classifyTunnelCommand(static_cast<std::uint8_t>(command));
    ASSERT_TRUE(c) << command;
    EXPECT_TRUE(c->group == group && c->isWrite == isWrite && c->index == index) << command;
    EXPECT_EQ(isWrite ? writeCommandOf(group, index) : readCommandOf(group, index), command);
  }
  for (const int c : {0, 151, 255}) EXPECT_FALSE(classifyTunnelCommand(static_cast<std::uint8_t>(c))) << c;
}

}  // namespace
}  // namespace quendra
