#include "sim_hosts.h"

#include "initial_records.h"
#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"

namespace quendra::sim {
namespace {

Bytes searchAnswer(const SimHost& h) {
  SearchAnswer a;
  a.ip = getU32LE(h.network, 1);
  a.mac = h.mac;
  a.firmwareVersion = h.firmwareVersion;
  a.nameGbk = h.nameGbk;
  return OuterFrame::buildSearchAnswer(a, getU32LE(h.network, 9));  // offsets 4..7 (not read by the tool): the mask
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
    h.nameGbk = options.names.count(i) ? options.names.at(i) : hostNameGbk(i);
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

bool HostFleet::cutOff(SimHost& h) {
  if (options_.stopAfter <= 0) return false;
  if (h.requestsHeard < options_.stopAfter) {
    ++h.requestsHeard;
    return false;
  }
  const auto now = std::chrono::steady_clock::now();
  if (!h.cutAt) h.cutAt = now;
  return options_.stopForMs == 0 || now - *h.cutAt < std::chrono::milliseconds(options_.stopForMs);
}

std::vector<Bytes> HostFleet::handle(ByteView datagram) {
  std::vector<Bytes> replies;
  const OuterRequest request = OuterFrame::readRequest(datagram);
  if (request.fault != RequestFault::None) return replies;
  if (request.command == kSearch) {
    for (SimHost& h : hosts_)
      if (!cutOff(h) && heard()) replies.push_back(searchAnswer(h));
    return replies;
  }
  for (SimHost& h : hosts_) {
    if (h.mac != *request.target) continue;
    if (!cutOff(h) && heard()) handleOne(h, request, replies);
  }
  return replies;
}

void HostFleet::handleOne(SimHost& h, const OuterRequest& request, std::vector<Bytes>& replies) {
  const ByteView payload = request.payload;
  switch (request.command) {
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
  const TunnelRequest request = TunnelFrame::decodeRequest(block);
  if (request.fault != FrameFault::None) return;
  const std::uint8_t command = request.command;
  const auto kind = classifyTunnelCommand(command);
  if (!kind) return;
  if (options_.silent.count(command) || h.silent.count(command)) return;
  const int attempt = ++h.attempts[command];
  if (auto late = options_.late.find(command); late != options_.late.end() && attempt < late->second) return;

  const ByteView payload = request.payload;
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
