#include "link/datagram_meaning.h"

#include <algorithm>

#include "link/tunnel_frame.h"

namespace quendra {
namespace {

DatagramMeaning& malformed(DatagramMeaning& m, MalformedReason reason) {
  m.kind = MeaningKind::Malformed;
  m.reason = reason;
  return m;
}

MalformedReason reasonOf(FrameFault fault) {
  switch (fault) {
    case FrameFault::TooShort: return MalformedReason::TooShort;
    case FrameFault::BadCrc: return MalformedReason::BadCrc;
    case FrameFault::WrongStartByte: return MalformedReason::WrongStartByte;
    case FrameFault::None: break;
  }
  return MalformedReason::None;
}

MalformedReason reasonOf(RequestFault fault) {
  switch (fault) {
    case RequestFault::TooShort: return MalformedReason::TooShort;
    case RequestFault::WrongMarker: return MalformedReason::WrongMarker;
    case RequestFault::WrongLength: return MalformedReason::WrongLength;
    case RequestFault::BadSum: return MalformedReason::BadFrameSum;
    case RequestFault::None: break;
  }
  return MalformedReason::None;
}

// The tunnel command's group and record, or why a host would not act on it.
bool classify(DatagramMeaning& m, std::uint8_t command, bool isReply, std::size_t payloadBytes) {
  m.tunnelCommand = command;
  m.tunnel = classifyTunnelCommand(command);
  const MalformedReason why = !m.tunnel ? MalformedReason::UnknownTunnelCommand
                              : lacksRecord(*m.tunnel, isReply, payloadBytes) ? MalformedReason::RecordTooShort
                                                                               : MalformedReason::None;
  if (why != MalformedReason::None) malformed(m, why);
  return why == MalformedReason::None;
}

DatagramMeaning describeRequest(ByteView d) {
  DatagramMeaning m;
  const OuterRequest request = OuterFrame::readRequest(d);
  if (request.fault != RequestFault::None) return malformed(m, reasonOf(request.fault));
  m.outerCommand = request.command;
  if (request.target) m.mac = *request.target;
  const ByteView payload = request.payload;
  switch (request.command) {
    case kSearch:
      m.kind = MeaningKind::SearchRequest;
      return m;
    case kReadNetwork:
      m.kind = MeaningKind::NetworkReadRequest;
      return m;
    case kWriteNetwork:
      if (payload.size() < kNetworkRecordSize) return malformed(m, MalformedReason::RecordTooShort);
      m.kind = MeaningKind::NetworkWriteRequest;
      return m;
    case kFactoryReset:
      m.kind = MeaningKind::FactoryResetRequest;
      return m;
    case kWriteMac:
      if (payload.size() < m.newMac.size()) return malformed(m, MalformedReason::TooShort);
      std::copy_n(payload.begin(), m.newMac.size(), m.newMac.begin());
      m.kind = MeaningKind::MacWriteRequest;
      return m;
    case kTunnel: {
      const TunnelRequest tunnel = TunnelFrame::decodeRequest(payload);
      if (tunnel.fault != FrameFault::None) return malformed(m, reasonOf(tunnel.fault));
      if (classify(m, tunnel.command, false, tunnel.payload.size())) m.kind = MeaningKind::TunnelRequest;
      return m;
    }
    default:
      return malformed(m, MalformedReason::UnknownOuterCommand);
  }
}

DatagramMeaning describeTunnelReply(DatagramMeaning m, ByteView d) {
  const auto block = OuterFrame::readTunnelBlock(d);
  if (!block) {
    if (d.size() < 10) return malformed(m, MalformedReason::TooShort);
    return malformed(m, getU16BE(d, 1) == 0 ? MalformedReason::EmptyTunnel : MalformedReason::TunnelPastDatagram);
  }
  const TunnelReply reply = TunnelFrame::decodeReply(*block);
  m.hostVersion = reply.hostVersion;
  switch (reply.status) {
    case ReplyStatus::Dropped:
      return malformed(m, reasonOf(reply.fault));
    case ReplyStatus::VersionRefused:
      m.kind = MeaningKind::VersionRefused;
      return m;
    case ReplyStatus::Accepted:
      break;
  }
  if (classify(m, reply.command, true, reply.payload.size()))
    m.kind = m.tunnel->isWrite ? MeaningKind::TunnelWriteAck : MeaningKind::TunnelDataReply;
  return m;
}

DatagramMeaning describeReply(ByteView d) {
  DatagramMeaning m;
  m.outerCommand = OuterFrame::replyCommand(d);
  if (!m.outerCommand) return malformed(m, MalformedReason::TooShort);
  if (*m.outerCommand == kSearch) {
    const auto answer = OuterFrame::readSearchAnswer(d);
    if (!answer) return malformed(m, MalformedReason::TooShort);
    m.kind = MeaningKind::SearchAnswer;
    m.search = *answer;
    m.mac = answer->mac;
    return m;
  }
  // Network and tunnel replies carry the sender's MAC at offsets 4..9.
  if (const auto mac = OuterFrame::replyMac(d)) m.mac = *mac;
  switch (*m.outerCommand) {
    case kReadNetwork:
      if (!OuterFrame::readNetworkAnswer(d)) return malformed(m, MalformedReason::TooShort);
      m.kind = MeaningKind::NetworkAnswer;
      return m;
    case kTunnel:
    case kTunnelAlt:
      return describeTunnelReply(m, d);
    default:
      return malformed(m, MalformedReason::UnknownOuterCommand);
  }
}

}  // namespace

DatagramMeaning describeDatagram(ByteView d, Direction direction) {
  if (d.empty()) {
    DatagramMeaning m;
    return malformed(m, MalformedReason::TooShort);
  }
  if (d[0] == OuterFrame::kRequestMarker) return describeRequest(d);
  DatagramMeaning m;
  if (direction == Direction::Sent || d[0] != OuterFrame::kReplyMarker)
    return malformed(m, MalformedReason::WrongMarker);
  return describeReply(d);
}

}  // namespace quendra
