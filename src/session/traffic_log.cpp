#include "session/traffic_log.h"

#include <chrono>

#include "config/atomic_file.h"
#include "link/pcapng.h"

namespace quendra {
namespace {

std::int64_t nowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// The host and command of a request that its host answers (the network
// settings, a tunnel record), or of the reply that answers it; nullopt for
// other datagrams (a search is answered by every host, the other requests
// never), and for requests heard back or sent by another PC.
std::optional<std::uint64_t> exchangeKey(const DatagramMeaning& m, Direction direction) {
  const bool sent = direction == Direction::Sent;
  std::uint64_t command = 0;
  if (m.kind == (sent ? MeaningKind::NetworkReadRequest : MeaningKind::NetworkAnswer))
    command = 0x100;
  else if (sent ? m.kind == MeaningKind::TunnelRequest
                : m.kind == MeaningKind::TunnelDataReply || m.kind == MeaningKind::TunnelWriteAck)
    command = *m.tunnelCommand;
  else
    return std::nullopt;
  for (std::uint8_t b : m.mac) command = command << 8 | b;
  return command;
}

}  // namespace

TrafficLog::TrafficLog(Transport& transport, std::size_t capacity, QObject* parent)
    : QObject(parent), capacity_(capacity) {
  connect(&transport, &Transport::sent, this, [this](const Datagram& d) { record(Direction::Sent, d); });
  connect(&transport, &Transport::received, this, [this](const Datagram& d) { record(Direction::Received, d); });
}

void TrafficLog::record(Direction direction, const Datagram& datagram) {
  if (capacity_ == 0) return;
  if (entries_.size() == capacity_) entries_.pop_front();
  entries_.push_back(TrafficEntry{nowMicros(), direction, datagram});
  ++recorded_;
  TrafficCounters& c = countersOf(datagram.localAddress);
  const DatagramMeaning meaning = describeDatagram(datagram.view(), direction);
  if (direction == Direction::Sent) {
    ++c.sent;
    if (isResend(datagram.localAddress, meaning)) ++c.resent;
  } else {
    ++c.received;
    if (meaning.kind == MeaningKind::Malformed) ++c.malformed;
    noteAnswer(meaning);
  }
  emit recorded();
}

bool TrafficLog::isResend(std::uint32_t localAddress, const DatagramMeaning& request) {
  const auto key = exchangeKey(request, Direction::Sent);
  return key && !unanswered_.emplace(localAddress, *key).second;
}

void TrafficLog::noteAnswer(const DatagramMeaning& reply) {
  // An answer heard on one local address answers the request wherever it was sent from.
  if (const auto key = exchangeKey(reply, Direction::Received))
    for (const TrafficCounters& c : counters_) unanswered_.erase({c.localAddress, *key});
}

TrafficCounters& TrafficLog::countersOf(std::uint32_t localAddress) {
  for (TrafficCounters& c : counters_)
    if (c.localAddress == localAddress) return c;
  counters_.push_back(TrafficCounters{localAddress});
  return counters_.back();
}

Bytes TrafficLog::pcapngBytes() const {
  std::vector<CapturedDatagram> captured;
  captured.reserve(entries_.size());
  for (const TrafficEntry& e : entries_) {
    const Datagram& d = e.datagram;
    CapturedDatagram c{e.timeMicros, d.localAddress, kDevicePort, d.peerAddress, d.peerPort, d.view()};
    if (e.direction == Direction::Received) {
      c.sourceAddress = d.peerAddress;
      c.sourcePort = d.peerPort;
      c.destinationAddress = d.localAddress;
      c.destinationPort = kDevicePort;
    }
    captured.push_back(c);
  }
  return pcapng::file(captured);
}

bool TrafficLog::writePcapng(const QString& path) const {
  const Bytes bytes = pcapngBytes();
  return writeFileAtomically(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

}  // namespace quendra
