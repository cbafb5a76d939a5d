#include "support/fleet_transport.h"

#include "link/tunnel_commands.h"

namespace quendra::test {

FleetTransport::FleetTransport(const sim::SimOptions& options) : fleet_(options), delayMs_(options.delayMs) {
  fleet_.seedRandom(1);
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire 5 % early: a reply before its --delay
  connect(&timer_, &QTimer::timeout, this, &FleetTransport::deliverDue);
}

int FleetTransport::sendToAll(ByteView datagram) {
  requests_.append(Bytes(datagram.begin(), datagram.end()));
  emit sent(Datagram{QByteArray(reinterpret_cast<const char*>(datagram.data()), qsizetype(datagram.size())),
                     kLocalAddress, 0xFFFFFFFF, kDevicePort});
  for (Bytes& reply : responder ? responder(datagram) : fleet_.handle(datagram)) inject(reply);
  return 1;
}

void FleetTransport::inject(const Bytes& datagram) {
  queue_.push_back(datagram);
  if (!timer_.isActive()) timer_.start(delayMs_);
}

void FleetTransport::deliverNow(const Bytes& d) {
  emit received(Datagram{QByteArray(reinterpret_cast<const char*>(d.data()), qsizetype(d.size())), kLocalAddress,
                         0x0A000001, kDevicePort});
}

void FleetTransport::deliverDue() {
  // Everything queued so far arrives now; what the deliveries cause waits its turn.
  std::deque<Bytes> due;
  due.swap(queue_);
  for (const Bytes& d : due) deliverNow(d);
}

void FleetTransport::acknowledgeWritesAs(std::uint8_t versionHigh, std::uint8_t versionLow) {
  responder = [this, versionHigh, versionLow](ByteView datagram) {
    std::vector<Bytes> replies = fleet_.handle(datagram);
    const SentRequest r = readSent(datagram);
    if (const auto c = classifyTunnelCommand(std::uint8_t(r.tunnelCommand)); c && c->isWrite)
      for (Bytes& ack : replies)
        ack = OuterFrame::buildTunnelReply(r.target, TunnelFrame::buildReply(std::uint8_t(r.tunnelCommand), {}, versionHigh, versionLow));
    return replies;
  };
}

QList<int> FleetTransport::tunnelCommands() const {
  QList<int> out;
  for (const Bytes& r : requests_) out << readSent(r).tunnelCommand;
  return out;
}

}  // namespace quendra::test
