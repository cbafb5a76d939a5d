#include "link/response_dispatcher.h"

namespace quendra {

void ResponseDispatcher::onDeviceDatagram(ByteView datagram) const {
  switch (OuterFrame::replyCommand(datagram).value_or(0)) {
    case kSearch:
      if (auto answer = OuterFrame::readSearchAnswer(datagram); answer && search_) search_(*answer);
      break;
    case kReadNetwork:
      if (auto record = OuterFrame::readNetworkAnswer(datagram); record && network_)
        network_(*OuterFrame::replyMac(datagram), *record);
      break;
    case kTunnel:
    case kTunnelAlt:
      if (auto block = OuterFrame::readTunnelBlock(datagram)) dispatchTunnel(*OuterFrame::replyMac(datagram), *block);
      break;
    default:
      break;
  }
}

void ResponseDispatcher::dispatchTunnel(const Mac& from, ByteView block) const {
  const TunnelReply reply = TunnelFrame::decodeReply(block);
  if (reply.status == ReplyStatus::VersionRefused) {
    if (versionRefused_) versionRefused_(from);
    return;
  }
  if (reply.status != ReplyStatus::Accepted) return;
  const auto command = classifyTunnelCommand(reply.command);
  if (!command) return;
  // A data reply too short for its record is refused whole: storing part of
  // it would mix two hosts' values in one record.
  if (lacksRecord(*command, true, reply.payload.size())) return;
  if (tunnel_) tunnel_(from, *command, reply.payload);
}

}  // namespace quendra
