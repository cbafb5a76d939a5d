#pragma once
// What one datagram on port 1901 says, for the traffic view and the command
// line: the request or reply it is, the host it names, the tunnel command with
// its group and record, and for a datagram the tool drops, why. Read with the
// same codecs the dispatcher and the hosts use, so "dropped" here means dropped
// there. Numbers and enums only; front ends word them. Qt-free.
#include <cstdint>
#include <optional>

#include "link/outer_frame.h"
#include "link/tunnel_commands.h"

namespace quendra {

enum class Direction : std::uint8_t { Sent, Received };

enum class MeaningKind : std::uint8_t {
  SearchRequest,
  NetworkReadRequest,
  NetworkWriteRequest,
  FactoryResetRequest,
  MacWriteRequest,
  TunnelRequest,    // a read or write of one record through the tunnel
  SearchAnswer,
  NetworkAnswer,
  TunnelDataReply,  // a record read
  TunnelWriteAck,
  VersionRefused,   // a tunnel reply from a firmware the tool does not serve
  Malformed,        // dropped; see MalformedReason
};

enum class MalformedReason : std::uint8_t {
  None,
  TooShort,              // fewer bytes than the frame's fixed fields
  WrongMarker,           // not 0x55 nor 0xAA (a datagram the tool sent: not 0xAA)
  WrongLength,           // a request whose length field is not its size - 4
  BadFrameSum,           // a request whose 8-bit sum is wrong
  UnknownOuterCommand,
  EmptyTunnel,           // a tunnel reply whose length field is 0
  TunnelPastDatagram,    // a tunnel length that runs past the datagram
  BadCrc,
  WrongStartByte,        // a tunnel frame not starting 0x7E
  UnknownTunnelCommand,  // 0 or 151..255
  RecordTooShort,        // a data reply or write request shorter than its record
};

struct DatagramMeaning {
  MeaningKind kind = MeaningKind::Malformed;
  MalformedReason reason = MalformedReason::None;
  std::optional<std::uint8_t> outerCommand;
  // The host a request names, or the one a reply comes from (zero when the
  // datagram holds none: a search request, or one dropped before its MAC).
  Mac mac{};
  SearchAnswer search;  // a search answer's fields (its mac equals `mac`)
  Mac newMac{};         // a MAC write request's new address
  std::optional<std::uint8_t> tunnelCommand;
  std::optional<TunnelCommand> tunnel;  // group, read or write, record number
  std::uint16_t hostVersion = 0;        // tunnel replies and version refusals
};

// The tool only ever sends requests; a datagram it receives may be a reply or
// a request (its own broadcast heard back, or another PC's).
DatagramMeaning describeDatagram(ByteView datagram, Direction direction);

}  // namespace quendra
