#include "link/pcapng.h"

#include <algorithm>

namespace quendra::pcapng {
namespace {

constexpr std::uint32_t kSectionHeader = 0x0A0D0D0A;
constexpr std::uint32_t kInterfaceDescription = 1;
constexpr std::uint32_t kEnhancedPacket = 6;
constexpr std::uint32_t kByteOrderMagic = 0x1A2B3C4D;
constexpr std::uint32_t kSnapLength = 0xFFFF;
constexpr std::uint8_t kProtocolUdp = 17;

// A block: type, total length, body (padded to 32 bits), total length again.
void appendBlock(Bytes& out, std::uint32_t type, const Bytes& body) {
  const std::size_t padded = (body.size() + 3) & ~std::size_t{3};
  const auto total = static_cast<std::uint32_t>(12 + padded);
  const std::size_t at = out.size();
  out.resize(at + total, 0);
  const MutableBytes block(out.data() + at, total);
  putU32LE(block, 0, type);
  putU32LE(block, 4, total);
  std::copy(body.begin(), body.end(), block.begin() + 8);
  putU32LE(block, total - 4, total);
}

Bytes sectionHeader() {
  Bytes body(16, 0);
  putU32LE(body, 0, kByteOrderMagic);
  putU16LE(body, 4, 1);  // version 1.0
  putU16LE(body, 6, 0);
  putU32LE(body, 8, 0xFFFFFFFF);  // section length not given (-1)
  putU32LE(body, 12, 0xFFFFFFFF);
  return body;
}

Bytes interfaceDescription() {
  Bytes body(8, 0);
  putU16LE(body, 0, kLinkTypeIpv4);
  putU32LE(body, 4, kSnapLength);
  return body;  // no if_tsresol option: microseconds
}

Bytes enhancedPacket(const CapturedDatagram& d) {
  const Bytes packet = ipv4UdpPacket(d);
  const auto micros = static_cast<std::uint64_t>(std::max<std::int64_t>(d.timeMicros, 0));
  Bytes body(20, 0);
  putU32LE(body, 0, 0);  // interface 0
  putU32LE(body, 4, static_cast<std::uint32_t>(micros >> 32));
  putU32LE(body, 8, static_cast<std::uint32_t>(micros & 0xFFFFFFFF));
  putU32LE(body, 12, static_cast<std::uint32_t>(packet.size()));  // captured
  putU32LE(body, 16, static_cast<std::uint32_t>(packet.size()));  // on the wire
  body.insert(body.end(), packet.begin(), packet.end());
  return body;
}

}  // namespace

std::uint16_t ipv4HeaderChecksum(ByteView header) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < header.size(); i += 2) sum += getU16BE(header, i);
  if (header.size() % 2) sum += static_cast<std::uint32_t>(header.back() << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

Bytes ipv4UdpPacket(const CapturedDatagram& d) {
  const ByteView payload = d.payload.first(std::min(d.payload.size(), kMaxPayload));
  const std::size_t udpLength = kUdpHeaderSize + payload.size();
  Bytes p(kIpv4HeaderSize + udpLength, 0);
  p[0] = 0x45;  // version 4, 5 words of header
  putU16BE(p, 2, static_cast<std::uint16_t>(kIpv4HeaderSize + udpLength));
  p[8] = 64;  // time to live
  p[9] = kProtocolUdp;
  putU32BE(p, 12, d.sourceAddress);
  putU32BE(p, 16, d.destinationAddress);
  putU16BE(p, 10, ipv4HeaderChecksum(ByteView(p).first(kIpv4HeaderSize)));
  putU16BE(p, 20, d.sourcePort);
  putU16BE(p, 22, d.destinationPort);
  putU16BE(p, 24, static_cast<std::uint16_t>(udpLength));
  std::copy(payload.begin(), payload.end(), p.begin() + kIpv4HeaderSize + kUdpHeaderSize);
  return p;
}

Bytes file(std::span<const CapturedDatagram> datagrams) {
  Bytes out;
  appendBlock(out, kSectionHeader, sectionHeader());
  appendBlock(out, kInterfaceDescription, interfaceDescription());
  for (const CapturedDatagram& d : datagrams) appendBlock(out, kEnhancedPacket, enhancedPacket(d));
  return out;
}

}  // namespace quendra::pcapng
