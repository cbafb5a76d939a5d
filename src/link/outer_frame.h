#pragma once
// The LAN frame around every datagram: requests start 0xAA, replies 0x55; a
// big-endian length; the command; the target host's MAC; the payload; an
// 8-bit sum over command..payload.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/bytes.h"

namespace quendra {

constexpr std::uint16_t kDevicePort = 1901;
constexpr std::size_t kNetworkRecordSize = 292;

using Mac = std::array<std::uint8_t, 6>;

enum OuterCommand : std::uint8_t {
  kSearch = 2,
  kReadNetwork = 3,
  kWriteNetwork = 4,
  kFactoryReset = 6,
  kTunnel = 10,
  kTunnelAlt = 11,
  kWriteMac = 15,
};

// One host's answer to a search.
struct SearchAnswer {
  std::uint32_t ip = 0;  // first octet in the most significant byte
  Mac mac{};
  std::uint16_t firmwareVersion = 0;
  std::string nameGbk;  // up to the first zero, or to the end of the datagram
};

// Why a request is not one a host acts on.
enum class RequestFault : std::uint8_t { None, TooShort, WrongMarker, WrongLength, BadSum };

// A request as a host reads it.
struct OuterRequest {
  RequestFault fault = RequestFault::TooShort;
  std::uint8_t command = 0;
  std::optional<Mac> target;  // every request but the search names its host
  ByteView payload;           // after the MAC (after the command in a search)
};

struct OuterFrame {
  static constexpr std::uint8_t kRequestMarker = 0xAA;
  static constexpr std::uint8_t kReplyMarker = 0x55;
  // A tunnel frame inside a request may be at most this long (length byte n + 7).
  static constexpr std::size_t kMaxTunnelInRequest = 244;

  // Sum modulo 256 of every byte from offset 3 to the last payload byte.
  static std::uint8_t frameSum(ByteView frameWithoutSum);

  // AA 00 01 02 02
  static Bytes buildSearchRequest();
  // AA, length, command, target MAC, payload, sum.
  static Bytes buildRequest(std::uint8_t command, const Mac& target, ByteView payload);
  static Bytes buildReadNetworkRequest(const Mac& target);
  static Bytes buildWriteNetworkRequest(const Mac& target, ByteView record292);
  static Bytes buildFactoryResetRequest(const Mac& target);
  static Bytes buildWriteMacRequest(const Mac& target, const Mac& newMac);
  // Empty when the tunnel frame is longer than kMaxTunnelInRequest.
  static Bytes buildTunnelRequest(const Mac& target, ByteView tunnelFrame);

  // Request reading: marker 0xAA, a length field of L - 4 and a right sum;
  // every command but the search needs room for the MAC.
  static OuterRequest readRequest(ByteView datagram);

  // Reply reading. Each returns nullopt when the datagram is not that reply or
  // is too short to hold the fields that the tool reads.
  static std::optional<std::uint8_t> replyCommand(ByteView datagram);  // needs 0x55 and >= 4 bytes
  static std::optional<SearchAnswer> readSearchAnswer(ByteView datagram);  // >= 22 bytes
  static std::optional<ByteView> readNetworkAnswer(ByteView datagram);    // the 292-byte record
  // The tunnel block at offset 10 whose length is bytes 1..2 (big-endian).
  // nullopt for length 0 or a length that runs past the datagram.
  static std::optional<ByteView> readTunnelBlock(ByteView datagram);
  // The MAC a host puts at offsets 4..9 of its network and tunnel replies;
  // nullopt when the datagram is shorter than 10 bytes.
  static std::optional<Mac> replyMac(ByteView datagram);

  // Replies as a host sends them (the simulator and tests): 55, length,
  // command, body, sum. The search answer's length counts offsets 3 .. the
  // last body byte; a tunnel reply's length is the tunnel block's.
  static Bytes buildSearchAnswer(const SearchAnswer& answer, std::uint32_t notRead = 0);
  static Bytes buildNetworkAnswer(const Mac& mac, ByteView record292);
  static Bytes buildTunnelReply(const Mac& mac, ByteView tunnelBlock);
};

}  // namespace quendra
