#include "link/outer_frame.h"

#include <algorithm>

namespace quendra {
namespace {

// Marker, big-endian length field, command, the two parts, sum. The buffer is
// reserved at its final size before the parts go in: GCC 12 reports a false
// -Warray-bounds for a range insert into a vector built from a braced list.
Bytes assembleFrame(std::uint8_t marker, std::size_t lengthField, std::uint8_t command, ByteView first,
                    ByteView second = {}) {
  Bytes frame;
  frame.reserve(4 + first.size() + second.size() + 1);
  frame.push_back(marker);
  frame.push_back(static_cast<std::uint8_t>(lengthField >> 8));
  frame.push_back(static_cast<std::uint8_t>(lengthField & 0xFF));
  frame.push_back(command);
  frame.insert(frame.end(), first.begin(), first.end());
  frame.insert(frame.end(), second.begin(), second.end());
  frame.push_back(OuterFrame::frameSum(frame));
  return frame;
}

}  // namespace

std::uint8_t OuterFrame::frameSum(ByteView frame) {
  std::uint8_t sum = 0;
  for (std::size_t i = 3; i < frame.size(); ++i) sum = static_cast<std::uint8_t>(sum + frame[i]);
  return sum;
}

Bytes OuterFrame::buildSearchRequest() { return {kRequestMarker, 0x00, 0x01, kSearch, kSearch}; }

Bytes OuterFrame::buildRequest(std::uint8_t command, const Mac& target, ByteView payload) {
  return assembleFrame(kRequestMarker, 1 + target.size() + payload.size(), command, target, payload);
}

Bytes OuterFrame::buildReadNetworkRequest(const Mac& target) { return buildRequest(kReadNetwork, target, {}); }

Bytes OuterFrame::buildWriteNetworkRequest(const Mac& target, ByteView record292) {
  return buildRequest(kWriteNetwork, target, record292);
}

Bytes OuterFrame::buildFactoryResetRequest(const Mac& target) { return buildRequest(kFactoryReset, target, {}); }

Bytes OuterFrame::buildWriteMacRequest(const Mac& target, const Mac& newMac) {
  return buildRequest(kWriteMac, target, newMac);
}

Bytes OuterFrame::buildTunnelRequest(const Mac& target, ByteView tunnelFrame) {
  if (tunnelFrame.size() > kMaxTunnelInRequest) return {};
  return buildRequest(kTunnel, target, tunnelFrame);
}

OuterRequest OuterFrame::readRequest(ByteView d) {
  OuterRequest r;
  if (d.size() < 5) return r;  // marker, length, command, sum
  if (d[0] != kRequestMarker) {
    r.fault = RequestFault::WrongMarker;
    return r;
  }
  if (getU16BE(d, 1) != d.size() - 4) {
    r.fault = RequestFault::WrongLength;
    return r;
  }
  if (frameSum(d.first(d.size() - 1)) != d.back()) {
    r.fault = RequestFault::BadSum;
    return r;
  }
  r.command = d[3];
  if (r.command == kSearch) {
    r.payload = d.subspan(4, d.size() - 5);
  } else {
    if (d.size() < 11) return r;  // no room for the MAC
    Mac mac;
    std::copy_n(d.begin() + 4, mac.size(), mac.begin());
    r.target = mac;
    r.payload = d.subspan(10, d.size() - 11);
  }
  r.fault = RequestFault::None;
  return r;
}

std::optional<std::uint8_t> OuterFrame::replyCommand(ByteView d) {
  if (d.size() < 4 || d[0] != kReplyMarker) return std::nullopt;
  return d[3];
}

std::optional<SearchAnswer> OuterFrame::readSearchAnswer(ByteView d) {
  if (replyCommand(d) != kSearch || d.size() < 22) return std::nullopt;
  SearchAnswer a;
  a.ip = static_cast<std::uint32_t>(getU32LE(d, 8));
  for (std::size_t i = 0; i < 6; ++i) a.mac[i] = d[12 + i];
  a.firmwareVersion = getU16LE(d, 18);
  for (std::size_t i = 22; i < d.size() && d[i] != 0; ++i) a.nameGbk.push_back(static_cast<char>(d[i]));
  return a;
}

std::optional<ByteView> OuterFrame::readNetworkAnswer(ByteView d) {
  if (replyCommand(d) != kReadNetwork || d.size() < 10 + kNetworkRecordSize) return std::nullopt;
  return d.subspan(10, kNetworkRecordSize);
}

std::optional<Mac> OuterFrame::replyMac(ByteView d) {
  if (d.size() < 10) return std::nullopt;
  Mac mac;
  std::copy_n(d.begin() + 4, mac.size(), mac.begin());
  return mac;
}

Bytes OuterFrame::buildSearchAnswer(const SearchAnswer& a, std::uint32_t notRead) {
  Bytes body(18, 0);  // offsets 4 .. 21
  putU32LE(body, 0, notRead);
  putU32LE(body, 4, a.ip);
  std::copy(a.mac.begin(), a.mac.end(), body.begin() + 8);
  putU16LE(body, 14, a.firmwareVersion);
  body.insert(body.end(), a.nameGbk.begin(), a.nameGbk.end());
  body.push_back(0);
  return assembleFrame(kReplyMarker, 1 + body.size(), kSearch, body);
}

Bytes OuterFrame::buildNetworkAnswer(const Mac& mac, ByteView record292) {
  return assembleFrame(kReplyMarker, 1 + mac.size() + record292.size(), kReadNetwork, mac, record292);
}

Bytes OuterFrame::buildTunnelReply(const Mac& mac, ByteView block) {
  return assembleFrame(kReplyMarker, block.size(), kTunnel, mac, block);  // the length counts the block alone
}

std::optional<ByteView> OuterFrame::readTunnelBlock(ByteView d) {
  const auto command = replyCommand(d);
  if (command != kTunnel && command != kTunnelAlt) return std::nullopt;
  const std::size_t n = getU16BE(d, 1);
  if (n == 0 || d.size() < 10 || n > d.size() - 10) return std::nullopt;
  return d.subspan(10, n);
}

}  // namespace quendra
