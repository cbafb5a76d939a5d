// Host sessions over links that lose requests, against simulated hosts in process: batches get every record through
// with learned waits, one request at a time, none sent again once its answer came; a record answered on its second
// attempt is done, with no record failed.
#include <QSignalSpy>
#include <QTest>

#include "session/host_session.h"
#include "session/reply_router.h"
#include "session/traffic_log.h"
#include "support/fleet_transport.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

namespace {

// A session on host 1 of `options`, every policy wait `policyWait`.
struct Fixture {
  FleetTransport transport;
  ReplyRouter router{transport};
  HostSession session{router};
  Fixture(const sim::SimOptions& options, Millis policyWait) : transport(options) {
    SessionPolicy p = SessionPolicy::windowDefaults();
    for (ParamGroup g : kAllGroups) p.readOf(g).timeout = p.writeOf(g).timeout = policyWait;
    session.setPolicy(p);
    session.setTarget(transport.fleetHosts()[0].mac);
    session.flagsForTesting().networkRead = true;
  }
  // Runs each operation (group, write) to its end; true when every one was Done.
  bool allDone(const QList<std::pair<ParamGroup, bool>>& operations) {
    QSignalSpy finished(&session, &HostSession::finished);
    bool done = true;
    for (const auto& [group, write] : operations)
      done = !(write ? session.write(group) : session.read(group)) && finished.wait(60000) &&
             finished.takeFirst().at(0).value<OperationResult>().outcome == Outcome::Done && done;
    return done;
  }
};

}  // namespace

class LossyLinkTest : public QObject {
  Q_OBJECT
 private slots:
  void everyRecordArrivesOneRequestAtATime() {
    Fixture f({.hosts = 1, .dropPercent = 30}, 300ms);
    f.transport.fleet().seedRandom(23);
    TrafficLog log(f.transport);
    // At each request: its record's answer has not come, and the request before was answered or is this one again.
    QSet<int> answered;
    int previous = -1, resends = 0;
    connect(&f.transport, &Transport::received, this, [&](const Datagram& d) {
      answered << describeDatagram(d.view(), Direction::Received).tunnelCommand.value_or(0);
    });
    connect(&f.session, &HostSession::batchEvent, this, [&](const BatchEvent& e) {
      const int command = commandOf(e.kind, e.record);
      if (e.stage != BatchEvent::Stage::Sending) return;
      QVERIFY2(!answered.contains(command), qPrintable(QStringLiteral("%1 sent after its answer").arg(command)));
      QVERIFY2(previous < 0 || previous == command || answered.contains(previous),
               qPrintable(QStringLiteral("%1 sent while %2 was outstanding").arg(command).arg(previous)));
      resends += e.attempt > 1;
      previous = command;
    });
    QVERIFY(f.allDone({{ParamGroup::Channel, false}, {ParamGroup::Relay, false}, {ParamGroup::Modbus, false},
                       {ParamGroup::Channel, true}}));
    QCOMPARE(f.session.config().knownRecords(ParamGroup::Modbus), allRecordsOf(ParamGroup::Modbus));
    QVERIFY(resends > 10);  // 30 % of some 100 requests were lost
    QCOMPARE(log.counters()[0].resent, std::uint64_t(resends));
  }

  void aRecordAnsweredOnItsSecondAttemptIsDone() {  // relay 3 and the base parameters
    Fixture f({.hosts = 1, .late = {{71, 2}, {readCommandOf(ParamGroup::Base), 2}}}, 801ms);
    int failed = 0;  // what the window would show a failure line for
    connect(&f.session, &HostSession::batchEvent, this,
            [&](const BatchEvent& e) { failed += e.stage == BatchEvent::Stage::Failed || e.failed != 0; });
    QVERIFY(f.allDone({{ParamGroup::Network, false}, {ParamGroup::Relay, false}, {ParamGroup::Base, false}}));
    QVERIFY(f.session.flags().relayRead && f.session.flags().baseRead);
    QCOMPARE(failed, 0);
    QCOMPARE(f.transport.tunnelCommands().count(71), 2);
    QCOMPARE(f.transport.tunnelCommands().count(readCommandOf(ParamGroup::Base)), 2);
  }
};

QTEST_GUILESS_MAIN(LossyLinkTest)
#include "lossy_link_test.moc"
