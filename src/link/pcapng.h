#pragma once
// Captures of the tool's traffic that Wireshark and tshark open: a pcapng
// file with one raw-IPv4 interface and one packet per datagram, the IPv4 and
// UDP headers made here around the bytes the tool sent or received. Qt-free.
#include <cstdint>
#include <span>

#include "link/bytes.h"

namespace quendra {

// One UDP datagram as the tool saw it go out or come in.
struct CapturedDatagram {
  std::int64_t timeMicros = 0;  // since 1970-01-01 UTC
  std::uint32_t sourceAddress = 0;  // IPv4 addresses in host byte order
  std::uint16_t sourcePort = 0;
  std::uint32_t destinationAddress = 0;
  std::uint16_t destinationPort = 0;
  ByteView payload;
};

namespace pcapng {

constexpr std::uint16_t kLinkTypeIpv4 = 228;  // raw IPv4, no link layer
constexpr std::size_t kIpv4HeaderSize = 20;
constexpr std::size_t kUdpHeaderSize = 8;
// What one IPv4 packet can carry; longer payloads are cut there.
constexpr std::size_t kMaxPayload = 0xFFFF - kIpv4HeaderSize - kUdpHeaderSize;

// The ones' complement sum of the header's 16-bit words, complemented.
std::uint16_t ipv4HeaderChecksum(ByteView header);

// IPv4 header (no options, TTL 64, protocol UDP, checksum set), UDP header
// (checksum 0: none, as IPv4 allows) and the payload.
Bytes ipv4UdpPacket(const CapturedDatagram& datagram);

// Section header, one interface description (raw IPv4, microseconds) and an
// enhanced packet block per datagram, all little-endian.
Bytes file(std::span<const CapturedDatagram> datagrams);

}  // namespace pcapng
}  // namespace quendra
