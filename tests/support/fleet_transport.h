#pragma once
// Simulated hosts behind the session's transport interface, in process: what the tool sends goes to the simulator's
// host logic, and the hosts' replies come back on the event loop, as the network would deliver them. Session and
// window tests run on it without sockets or root.
#include <QList>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "session/transport.h"
#include "sim/sim_hosts.h"
#include "support/sent_request.h"

namespace quendra::test {

class FleetTransport : public Transport {
  Q_OBJECT
 public:
  static constexpr std::uint32_t kLocalAddress = 0x7F000001;  // 127.0.0.1

  explicit FleetTransport(const sim::SimOptions& options = {});

  sim::HostFleet& fleet() { return fleet_; }
  const std::vector<sim::SimHost>& fleetHosts() const { return fleet_.hosts(); }
  int sendToAll(ByteView datagram) override;
  // A datagram as if heard from the LAN, delivered on the event loop in turn.
  void inject(const Bytes& datagram);
  // A datagram heard from the LAN, handed over before this returns.
  void deliverNow(const Bytes& datagram);
  // Answers in place of the simulated hosts (tests that script a host).
  std::function<std::vector<Bytes>(ByteView datagram)> responder;
  // The hosts acknowledge writes with this firmware version in the trailer, whatever their reads carry.
  void acknowledgeWritesAs(std::uint8_t versionHigh, std::uint8_t versionLow);
  // Every datagram the tool sent, in order.
  const QList<Bytes>& requests() const { return requests_; }
  void clearRequests() { requests_.clear(); }
  // Tunnel commands of the requests sent, in order (0 for other requests).
  QList<int> tunnelCommands() const;

 private:
  void deliverDue();

  sim::HostFleet fleet_;
  int delayMs_ = 0;
  QList<Bytes> requests_;
  std::deque<Bytes> queue_;
  QTimer timer_;
};

}  // namespace quendra::test
