#pragma once
// The most recent datagrams a transport sent and received, kept for the
// traffic view and for captures (--capture and the view's export): a bounded
// ring of copies with their time and addresses, and counters per local
// address, resends among them. Attached for the whole run; when no view is open
// it costs the ring and the counters (each datagram is read once more to count
// a drop or a resend, and the requests still unanswered are kept as host and
// command), nothing more: meanings are worded only by the view.
#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <set>
#include <utility>
#include <vector>

#include "link/datagram_meaning.h"
#include "session/transport.h"

namespace quendra {

struct TrafficEntry {
  std::int64_t timeMicros = 0;  // since 1970-01-01 UTC
  Direction direction = Direction::Sent;
  Datagram datagram;  // local address, peer address and port, bytes
};

struct TrafficCounters {
  std::uint32_t localAddress = 0;  // host byte order
  std::uint64_t sent = 0;
  std::uint64_t resent = 0;  // requests sent again: the same host and command while it was unanswered
  std::uint64_t received = 0;
  std::uint64_t malformed = 0;  // received and dropped as malformed
};

class TrafficLog : public QObject {
  Q_OBJECT
 public:
  static constexpr std::size_t kDefaultCapacity = 10000;

  explicit TrafficLog(Transport& transport, std::size_t capacity = kDefaultCapacity, QObject* parent = nullptr);

  // Oldest first; at most capacity() entries.
  const std::deque<TrafficEntry>& entries() const { return entries_; }
  std::size_t capacity() const { return capacity_; }
  // How many entries were ever recorded; entries().front() is number
  // recordedCount() - entries().size() (views follow the ring with it).
  std::uint64_t recordedCount() const { return recorded_; }
  // Since the log was attached, one per local address in the order first seen.
  const std::vector<TrafficCounters>& counters() const { return counters_; }

  // The entries as pcapng (QSaveFile: the file is replaced whole or not at all).
  bool writePcapng(const QString& path) const;
  // The same bytes, for callers that write elsewhere.
  Bytes pcapngBytes() const;

 signals:
  // After each datagram recorded.
  void recorded();

 private:
  void record(Direction direction, const Datagram& datagram);
  TrafficCounters& countersOf(std::uint32_t localAddress);
  // Whether a request sent from `localAddress` repeats one still unanswered.
  bool isResend(std::uint32_t localAddress, const DatagramMeaning& request);
  void noteAnswer(const DatagramMeaning& reply);

  std::size_t capacity_;
  std::deque<TrafficEntry> entries_;
  std::uint64_t recorded_ = 0;
  std::vector<TrafficCounters> counters_;
  // Requests awaiting their answer: local address, then host and command.
  std::set<std::pair<std::uint32_t, std::uint64_t>> unanswered_;
};

}  // namespace quendra
