#pragma once
// One host session on simulated hosts in process (support/fleet_transport): the transport, its reply router and the
// session, working with the first host, and operations run to their one result. Every wait ends on an event, with a
// deadline only as the bound of a failure.
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <optional>

#include "session/host_session.h"
#include "session/reply_router.h"
#include "support/fleet_transport.h"

namespace quendra::test {

struct SessionHarness {
  FleetTransport transport;
  ReplyRouter router{transport};
  HostSession session{router};
  QSignalSpy finished{&session, &HostSession::finished};

  // Every wait of the policy `wait`; nullopt keeps the window's (801 and 8010 ms).
  explicit SessionHarness(const sim::SimOptions& options = {}, std::optional<Millis> wait = std::nullopt)
      : transport(options) {
    SessionPolicy policy = SessionPolicy::windowDefaults();
    for (ParamGroup g : kAllGroups)
      if (wait) policy.readOf(g).timeout = policy.writeOf(g).timeout = *wait;
    session.setPolicy(policy);
    if (!transport.fleetHosts().empty()) session.setTarget(mac(0));
  }
  Mac mac(int host) const { return transport.fleetHosts()[std::size_t(host)].mac; }
  sim::SimHost& host(int i) { return transport.fleet().hosts()[std::size_t(i)]; }

  // Starts the operation and waits for its one result; a refusal or any other count of results is fatal.
  OperationResult run(const std::function<std::optional<Refusal>()>& start) {
    const qsizetype before = finished.size();
    if (const auto refusal = start()) qFatal("refused: %d", int(*refusal));
    if (!QTest::qWaitFor([&] { return finished.size() > before; }, 60000) || finished.size() != before + 1)
      qFatal("not one result");
    return finished.last().at(0).value<OperationResult>();
  }
  OperationResult read(ParamGroup g, std::uint32_t records = 0xFFFFFFFFu) {
    return run([&] {
      const auto refusal = session.read(g, records);
      if (!refusal && session.idle()) qFatal("idle while a read waits");
      return refusal;
    });
  }
  OperationResult write(ParamGroup g, std::uint32_t records = 0xFFFFFFFFu) {
    return run([&] { return session.write(g, records); });
  }
  // Runs each operation (group, write) to its end; true when every one was Done.
  bool allDone(const QList<std::pair<ParamGroup, bool>>& operations) {
    bool done = true;
    for (const auto& [group, isWrite] : operations) done = (isWrite ? write(group) : read(group)).outcome == Outcome::Done && done;
    return done;
  }
};

}  // namespace quendra::test
