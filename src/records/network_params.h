#pragma once
// The host's network settings as the 292-byte image it sends in answer to a
// read (outer command 3) and takes in a write (command 4). The record is kept
// whole: the bytes the page does not show (13..18 and 88..291) travel back to
// the host exactly as it last reported them. Qt-free.
//
//   0      address mode, bit 7 set = static address (a write stores 0x80 / 0x00)
//   1..4   host address      5..8 gateway      9..12 subnet mask
//   19     maximum number of connections
//   20/22  server 1 source / listen port   24..53 server 1 address (GBK, zero-ended)
//   54/56  server 2 source / listen port   58..87 server 2 address
// Addresses are 32-bit little-endian numbers whose most significant byte is the
// first octet of the dotted text (09 00 A8 C0 is 192.168.0.9).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/bytes.h"

namespace quendra {

struct NetworkParams {
  static constexpr std::size_t kSize = 292;
  static constexpr int kServerCount = 2;
  // A server address area is 30 bytes: at most 29 text bytes and the zero.
  static constexpr std::size_t kServerAddressArea = 30;
  static constexpr std::size_t kServerAddressMaxText = kServerAddressArea - 1;

  std::array<std::uint8_t, kSize> bytes{};

  // The record of a network answer; nullopt when fewer than 292 bytes.
  static std::optional<NetworkParams> fromRecord(ByteView record);

  bool staticAddress() const { return (bytes[0] & 0x80) != 0; }
  void setStaticAddress(bool isStatic) { bytes[0] = isStatic ? 0x80 : 0x00; }

  std::uint32_t hostAddress() const { return getU32LE(bytes, 1); }
  std::uint32_t gateway() const { return getU32LE(bytes, 5); }
  std::uint32_t subnetMask() const { return getU32LE(bytes, 9); }
  void setHostAddress(std::uint32_t a) { putU32LE(bytes, 1, a); }
  void setGateway(std::uint32_t a) { putU32LE(bytes, 5, a); }
  void setSubnetMask(std::uint32_t a) { putU32LE(bytes, 9, a); }

  std::uint8_t maxConnections() const { return bytes[19]; }
  void setMaxConnections(std::uint8_t n) { bytes[19] = n; }

  // server is 0 or 1.
  std::uint16_t sourcePort(int server) const { return getU16LE(bytes, serverBase(server)); }
  std::uint16_t listenPort(int server) const { return getU16LE(bytes, serverBase(server) + 2); }
  void setSourcePort(int server, std::uint16_t port) { putU16LE(bytes, serverBase(server), port); }
  void setListenPort(int server, std::uint16_t port) { putU16LE(bytes, serverBase(server) + 2, port); }

  // The GBK text up to its zero (or the whole area when it has none).
  std::string serverAddress(int server) const;
  // Copies the text and a terminating zero into the area; the bytes after the
  // zero stay as they were. Returns false, changing nothing, when the text is
  // longer than 29 bytes.
  bool setServerAddress(int server, std::string_view gbk);

 private:
  static std::size_t serverBase(int server) { return server == 0 ? 20 : 54; }
  static std::size_t serverAddressOffset(int server) { return serverBase(server) + 4; }
};

}  // namespace quendra
