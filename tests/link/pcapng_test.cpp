// Captures: the IPv4 header of one known datagram byte for byte (checksum worked out by hand), and the block layout
// of a file with two datagrams.
#include <gtest/gtest.h>

#include "link/outer_frame.h"
#include "link/pcapng.h"

namespace quendra {
namespace {

const Bytes kSearch = OuterFrame::buildSearchRequest();  // 5 bytes
// 192.168.1.10:1901 -> 255.255.255.255:1901 at 1 s + 2 us.
const CapturedDatagram kSent{1'000'002, 0xC0A8010A, 1901, 0xFFFFFFFF, 1901, kSearch};

TEST(Pcapng, Ipv4AndUdpHeadersOfTheSearchRequest) {
  const Bytes expected{0x45, 0x00, 0x00, 0x21, 0x00, 0x00, 0x00, 0x00, 0x40, 0x11, 0xB9, 0x1A,  // checksum B91A
                       0xC0, 0xA8, 0x01, 0x0A, 0xFF, 0xFF, 0xFF, 0xFF,                          // addresses
                       0x07, 0x6D, 0x07, 0x6D, 0x00, 0x0D, 0x00, 0x00,                          // UDP, length 13
                       0xAA, 0x00, 0x01, 0x02, 0x02};
  EXPECT_EQ(pcapng::ipv4UdpPacket(kSent), expected);
  // A header with its checksum in place sums to zero.
  EXPECT_EQ(pcapng::ipv4HeaderChecksum(ByteView(expected).first(20)), 0);
}

TEST(Pcapng, BlocksAndTheirLengths) {
  const CapturedDatagram received{0x1'0000'0003, 0xC0A8010B, 1901, 0xC0A8010A, 1901, kSearch};
  const CapturedDatagram both[] = {kSent, received};
  const Bytes f = pcapng::file(both);
  // Section header 28, interface 20, two packets of 32 + 36 (33 bytes padded).
  ASSERT_EQ(f.size(), 28u + 20u + 2 * 68u);
  struct Block {
    std::size_t at;
    std::uint32_t type, length;
  } const blocks[] = {{0, 0x0A0D0D0A, 28}, {28, 1, 20}, {48, 6, 68}, {116, 6, 68}};
  for (const Block& b : blocks) {
    EXPECT_EQ(getU32LE(f, b.at), b.type);
    EXPECT_EQ(getU32LE(f, b.at + 4), b.length);
    EXPECT_EQ(getU32LE(f, b.at + b.length - 4), b.length);
  }
  EXPECT_EQ(getU16LE(f, 36), pcapng::kLinkTypeIpv4);
  // The byte-order magic; the second packet's time in microseconds, high word first, captured and original length 33.
  for (const auto& [at, value] : {std::pair{8, 0x1A2B3C4Du}, {116 + 12, 1u}, {116 + 16, 3u}, {116 + 20, 33u}, {116 + 24, 33u}})
    EXPECT_EQ(getU32LE(f, at), value) << at;
  EXPECT_EQ(f[116 + 28 + 19], 0x0A);  // the received one goes to .10
}

}  // namespace
}  // namespace quendra
