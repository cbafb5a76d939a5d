#include "sim_hosts.h"

#include "initial_records.h"
#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"
#include "link/frame_crc16.h"

namespace quendra::sim {
namespace {

Bytes searchAnswer(const SimHost& h) {
  SearchAnswer a;
  a.ip = getU32LE(h.network, 1);
  a.mac = h.mac;
  a.firmwareVersion = h.firmwareVersion;
  a.nameGbk = hostNameGbk(h.index);
  return OuterFrame::buildSearchAnswer(a, getU32LE(h.network, 9));  // offsets 4..7 (not read by the tool): the mask
}

// A well-formed request: marker, length field L - 4, and the sum.
bool wellFormedRequest(ByteView d) {
  if (d.size() < 5 || d[0] != OuterFrame::kRequestMarker) return false;
  if (getU16BE(d, 1) != d.size() - 4) return false;
  return OuterFrame::frameSum(d.first(d.size() - 1)) == d.back();
}

}  // namespace

Mac hostMac(int host) {
  const auto n = static_cast<std::uint32_t>(host + 1);
  return Mac{0x02, 0x4B, 0x7D, static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8),
             static_cast<std::uint8_t>(n)};
}

HostFleet::HostFleet(const SimOptions& options) : options_(options), random_(std::random_device{}()) {
  hosts_.resize(static_cast<std::size_t>(options.hosts));
  for (int i = 0; i < options.hosts; ++i) {
    SimHost& h = hosts_[static_cast<std::size_t>(i)];
    h.index = i;
    h.mac = hostMac(i);
    h.firmwareVersion = static_cast<std::uint16_t>(710 + i);
    h.network = initialNetworkRecord(i);
    h.factoryNetwork = h.network;
    h.records[readCommandOf(ParamGroup::Base)] = initialBaseRecord(i);
    h.records[readCommandOf(ParamGroup::Gprs)] = initialGprsRecord(i);
    for (int k = 0; k < recordCountOf(ParamGroup::Channel); ++k)
      h.records[readCommandOf(ParamGroup::Channel, k)] = initialChannelRecord(k);
    for (int k = 0; k < recordCountOf(ParamGroup::Relay); ++k)
      h.records[readCommandOf(ParamGroup::Relay, k)] = initialRelayRecord(k);
    for (int k = 0; k < recordCountOf(ParamGroup::Modbus); ++k)
      h.records[readCommandOf(ParamGroup::Modbus, k)] = initialModbusRecord(k);
    h.records[readCommandOf(ParamGroup::Led)] = initialLedRecord();
  }
}

bool HostFleet::heard() {
  if (options_.dropPercent <= 0) return true;
  return std::uniform_real_distribution<double>(0, 100)(random_) >= options_.dropPercent;
}

std::vector<Bytes> HostFleet::handle(ByteView datagram) {
  std::vector<Bytes> replies;
  if (!wellFormedRequest(datagram)) return replies;
  if (datagram[3] == kSearch) {
    for (SimHost& h : hosts_)
      if (heard()) replies.push_back(searchAnswer(h));
    return replies;
  }
  if (datagram.size() < 11) return replies;  // no room for the MAC
  for (SimHost& h : hosts_) {
    if (!std::equal(h.mac.begin(), h.mac.end(), datagram.begin() + 4)) continue;
    if (heard()) handleOne(h, datagram, replies);
  }
  return replies;
}

void HostFleet::handleOne(SimHost& h, ByteView d, std::vector<Bytes>& replies) {
  const ByteView payload = d.subspan(10, d.size() - 11);
  switch (d[3]) {
    case kReadNetwork:
      if (payload.empty()) replies.push_back(OuterFrame::buildNetworkAnswer(h.mac, h.network));
      break;
    case kWriteNetwork:
      if (payload.size() == kNetworkRecordSize) h.network.assign(payload.begin(), payload.end());
      break;
    case kFactoryReset:
      if (payload.empty()) h.network = h.factoryNetwork;
      break;
    case kWriteMac:
      if (payload.size() == h.mac.size()) std::copy(payload.begin(), payload.end(), h.mac.begin());
      break;
    case kTunnel:
      handleTunnel(h, payload, replies);
      break;
    default:
      break;
  }
}

void HostFleet::handleTunnel(SimHost& h, ByteView block, std::vector<Bytes>& replies) {
  if (block.size() < 4 || block[0] != TunnelFrame::kStartByte) return;
  const std::size_t n = block.size();
  if (FrameCrc16::compute(block.first(n - 2)) != (block[n - 2] | (block[n - 1] << 8))) return;
  const std::uint8_t command = block[1];
  const auto kind = classifyTunnelCommand(command);
  if (!kind) return;
  if (options_.silent.count(command) || h.silent.count(command)) return;
  const int attempt = ++h.attempts[command];
  if (auto late = options_.late.find(command); late != options_.late.end() && attempt < late->second) return;

  const ByteView payload = block.subspan(2, n - 4);
  Bytes answerPayload;
  if (kind->isWrite) {
    if (payload.size() != payloadSizeOf(kind->group)) return;
    h.records[readCommandOf(kind->group, kind->index)].assign(payload.begin(), payload.end());
  } else {
    if (!payload.empty()) return;
    answerPayload = h.records[command];
  }
  const Bytes reply = TunnelFrame::buildReply(command, answerPayload, options_.trailerHigh, options_.trailerLow);
  replies.push_back(OuterFrame::buildTunnelReply(h.mac, reply));
}

}  // namespace quendra::sim
