#include "link/response_dispatcher.h"

namespace quendra {

void ResponseDispatcher::routeGroup(ParamGroup group, TunnelHandler dataReply, TunnelHandler acknowledgement) {
  routes_[group] = Route{std::move(dataReply), std::move(acknowledgement)};
}

void ResponseDispatcher::onDeviceDatagram(ByteView datagram) {
  switch (OuterFrame::replyCommand(datagram).value_or(0)) {
    case kSearch:
      if (auto answer = OuterFrame::readSearchAnswer(datagram); answer && search_) search_(*answer);
      break;
    case kReadNetwork:
      if (auto record = OuterFrame::readNetworkAnswer(datagram); record && network_) network_(*record);
      break;
    case kTunnel:
    case kTunnelAlt:
      if (auto block = OuterFrame::readTunnelBlock(datagram)) dispatchTunnel(*block);
      break;
    default:
      break;
  }
  if (done_) done_();
}

void ResponseDispatcher::dispatchTunnel(ByteView block) {
  const TunnelReply reply = TunnelFrame::decodeReply(block);
  if (reply.status == ReplyStatus::VersionRefused) {
    if (versionRefused_) versionRefused_();
    return;
  }
  if (reply.status != ReplyStatus::Accepted) return;
  const auto command = classifyTunnelCommand(reply.command);
  if (!command) return;
  // A data reply too short for its record is refused whole: storing part of
  // it would mix two hosts' values in one record.
  if (!command->isWrite && reply.payload.size() < payloadSizeOf(command->group)) return;
  if (auto route = routes_.find(command->group); route != routes_.end()) {
    const TunnelHandler& handler = command->isWrite ? route->second.acknowledgement : route->second.dataReply;
    if (handler) handler(*command, reply.payload);
  }
  if (answered_) answered_(*command, reply.payload);
}

}  // namespace quendra
