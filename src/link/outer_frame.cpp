#include "link/outer_frame.h"

#include <algorithm>

namespace quendra {

std::uint8_t OuterFrame::frameSum(ByteView frame) {
  std::uint8_t sum = 0;
  for (std::size_t i = 3; i < frame.size(); ++i) sum = static_cast<std::uint8_t>(sum + frame[i]);
  return sum;
}

Bytes OuterFrame::buildSearchRequest() { return {kRequestMarker, 0x00, 0x01, kSearch, kSearch}; }

Bytes OuterFrame::buildRequest(std::uint8_t command, const Mac& target, ByteView payload) {
  const std::size_t length = 1 + target.size() + payload.size();  // command .. last payload byte
  Bytes frame;
  frame.reserve(length + 4);
  frame.push_back(kRequestMarker);
  frame.push_back(static_cast<std::uint8_t>(length >> 8));
  frame.push_back(static_cast<std::uint8_t>(length & 0xFF));
  frame.push_back(command);
  frame.insert(frame.end(), target.begin(), target.end());
  frame.insert(frame.end(), payload.begin(), payload.end());
  frame.push_back(frameSum(frame));
  return frame;
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

namespace {

// 0x55, length, command, body, sum; the length counts offsets 3 .. the last body byte.
Bytes buildReply(std::uint8_t command, ByteView body) {
  Bytes frame{OuterFrame::kReplyMarker, 0, 0, command};
  frame.insert(frame.end(), body.begin(), body.end());
  const std::size_t length = frame.size() - 3;
  frame[1] = static_cast<std::uint8_t>(length >> 8);
  frame[2] = static_cast<std::uint8_t>(length & 0xFF);
  frame.push_back(OuterFrame::frameSum(frame));
  return frame;
}

}  // namespace

Bytes OuterFrame::buildSearchAnswer(const SearchAnswer& a, std::uint32_t notRead) {
  Bytes body(18, 0);  // offsets 4 .. 21
  putU32LE(body, 0, notRead);
  putU32LE(body, 4, a.ip);
  std::copy(a.mac.begin(), a.mac.end(), body.begin() + 8);
  putU16LE(body, 14, a.firmwareVersion);
  body.insert(body.end(), a.nameGbk.begin(), a.nameGbk.end());
  body.push_back(0);
  return buildReply(kSearch, body);
}

Bytes OuterFrame::buildNetworkAnswer(const Mac& mac, ByteView record292) {
  Bytes body(mac.begin(), mac.end());
  body.insert(body.end(), record292.begin(), record292.end());
  return buildReply(kReadNetwork, body);
}

Bytes OuterFrame::buildTunnelReply(const Mac& mac, ByteView block) {
  Bytes frame{kReplyMarker, static_cast<std::uint8_t>(block.size() >> 8),
              static_cast<std::uint8_t>(block.size() & 0xFF), kTunnel};
  frame.insert(frame.end(), mac.begin(), mac.end());
  frame.insert(frame.end(), block.begin(), block.end());
  frame.push_back(frameSum(frame));
  return frame;
}

std::optional<ByteView> OuterFrame::readTunnelBlock(ByteView d) {
  const auto command = replyCommand(d);
  if (command != kTunnel && command != kTunnelAlt) return std::nullopt;
  const std::size_t n = getU16BE(d, 1);
  if (n == 0 || d.size() < 10 || n > d.size() - 10) return std::nullopt;
  return d.subspan(10, n);
}

}  // namespace quendra
