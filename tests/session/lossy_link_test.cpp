// Host sessions over links that lose requests, against simulated hosts in process: batches get every record through
// with learned waits, one request at a time, none sent again once its answer came; a record answered on its second
// attempt is done, without a failure line.
#include <QSignalSpy>
#include <QTest>

#include "app/batch_progress.h"
#include "pages/info_log.h"
#include "session/host_session.h"
#include "session/reply_router.h"
#include "session/traffic_log.h"
#include "support/fleet_transport.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

class LossyLinkTest : public QObject {
  Q_OBJECT
  // Runs each operation to its result, with every policy wait `policyWait`; the results, in order.
  static QList<OperationResult> run(FleetTransport& transport, HostSession& session, Millis policyWait,
                                    const QList<std::pair<ParamGroup, bool>>& operations) {
    SessionPolicy p = SessionPolicy::windowDefaults();
    for (ParamGroup g : kAllGroups) p.readOf(g).timeout = p.writeOf(g).timeout = policyWait;
    session.setPolicy(p);
    session.setTarget(transport.fleetHosts()[0].mac);
    session.flagsForTesting().networkRead = true;
    QSignalSpy finished(&session, &HostSession::finished);
    QList<OperationResult> results;
    for (const auto& [group, write] : operations) {
      if (write ? session.write(group) : session.read(group)) qFatal("refused");
      if (!finished.wait(60000)) qFatal("no result");
      results << finished.takeFirst().at(0).value<OperationResult>();
    }
    return results;
  }

 private slots:
  void everyRecordArrivesOneRequestAtATime() {
    FleetTransport transport({.hosts = 1, .dropPercent = 30});
    transport.fleet().seedRandom(23);
    ReplyRouter router(transport);
    HostSession session(router);
    TrafficLog log(transport);
    // At each request: its record's answer has not come, and the request before was answered or is this one again
    // (its wait ran out).
    QSet<int> answered;
    int previous = -1, resends = 0;
    connect(&transport, &Transport::received, this, [&](const Datagram& d) {
      answered << describeDatagram(d.view(), Direction::Received).tunnelCommand.value_or(0);
    });
    connect(&session, &HostSession::batchEvent, this, [&](const BatchEvent& e) {
      const int command = commandOf(e.kind, e.record);
      if (e.stage != BatchEvent::Stage::Sending) return;
      QVERIFY2(!answered.contains(command), qPrintable(QStringLiteral("%1 sent after its answer").arg(command)));
      QVERIFY2(previous < 0 || previous == command || answered.contains(previous),
               qPrintable(QStringLiteral("%1 sent while %2 was outstanding").arg(command).arg(previous)));
      resends += e.attempt > 1;
      previous = command;
    });
    const auto results = run(transport, session, 300ms,
                             {{ParamGroup::Channel, false}, {ParamGroup::Relay, false}, {ParamGroup::Modbus, false},
                              {ParamGroup::Channel, true}});
    for (const OperationResult& r : results) QVERIFY(r.outcome == Outcome::Done && r.failedRecords == 0);
    for (ParamGroup g : {ParamGroup::Channel, ParamGroup::Relay, ParamGroup::Modbus})
      for (int k = 0; k < recordCountOf(g); ++k)
        QCOMPARE(encodeRecord(session.config(), g, k), transport.fleetHosts()[0].records.at(readCommandOf(g, k)));
    QVERIFY(resends > 10);  // 30 % of some 100 requests were lost
    QCOMPARE(log.counters()[0].resent, std::uint64_t(resends));
  }

  void aRecordAnsweredOnItsSecondAttemptIsDone() {  // relay 3 and the base parameters
    FleetTransport transport({.hosts = 1, .late = {{71, 2}, {readCommandOf(ParamGroup::Base), 2}}});
    ReplyRouter router(transport);
    HostSession session(router);
    InfoLog infoLog;
    BatchProgress words(infoLog, [](const QString&) {});
    connect(&session, &HostSession::batchEvent, &words, &BatchProgress::show);
    const auto results =
        run(transport, session, 801ms, {{ParamGroup::Network, false}, {ParamGroup::Relay, false}, {ParamGroup::Base, false}});
    for (const OperationResult& r : results) QCOMPARE(r.outcome, Outcome::Done);
    QVERIFY(session.flags().relayRead && session.flags().baseRead);
    QCOMPARE(infoLog.text(), QString());  // no failure line
    QCOMPARE(transport.tunnelCommands().count(71), 2);
    QCOMPARE(transport.tunnelCommands().count(readCommandOf(ParamGroup::Base)), 2);
  }
};

QTEST_GUILESS_MAIN(LossyLinkTest)
#include "lossy_link_test.moc"
