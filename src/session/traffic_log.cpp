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
  if (direction == Direction::Sent) {
    ++c.sent;
  } else {
    ++c.received;
    if (describeDatagram(datagram.view(), direction).kind == MeaningKind::Malformed) ++c.malformed;
  }
  emit recorded();
}

TrafficCounters& TrafficLog::countersOf(std::uint32_t localAddress) {
  for (TrafficCounters& c : counters_)
    if (c.localAddress == localAddress) return c;
  counters_.push_back(TrafficCounters{localAddress, 0, 0, 0});
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
