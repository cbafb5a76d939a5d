// Host sessions over links that lose requests or go away, against simulated hosts in process: batches get every
// record through with learned waits, one request at a time, none sent again once its answer came, and a resend goes
// out after a learned wait, not the policy's (a kind the host has not answered yet starts from its other answers); a
// slow host is not hurried; a host that stops answering ends the batch at once, naming what was and was not done,
// while an outage shorter than a record's time, or one silent record, costs no more than before.
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "session/traffic_log.h"
#include "support/session_harness.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

class LossyLinkTest : public QObject {
  Q_OBJECT
 private slots:
  void everyRecordArrivesOneRequestAtATime() {
    SessionHarness f({.hosts = 1, .dropPercent = 30}, 300ms);
    QCOMPARE(f.read(ParamGroup::Network).outcome, Outcome::Done);
    f.transport.fleet().seedRandom(23);
    TrafficLog log(f.transport);
    // At each request: its record's answer has not come, and the request before was answered or is this one again.
    QSet<int> answered;
    int previous = -1;
    QElapsedTimer clock;
    clock.start();
    QList<qint64> resendAfter;  // ms since the request before, of each resend
    qint64 previousAt = 0;
    connect(&f.transport, &Transport::received, this, [&](const Datagram& d) {
      answered << describeDatagram(d.view(), Direction::Received).tunnelCommand.value_or(0);
    });
    connect(&f.session, &HostSession::batchEvent, this, [&](const BatchEvent& e) {
      const int command = commandOf(e.kind, e.record);
      if (e.stage != BatchEvent::Stage::Sending) return;
      QVERIFY2(!answered.contains(command), qPrintable(QStringLiteral("%1 sent after its answer").arg(command)));
      QVERIFY2(previous < 0 || previous == command || answered.contains(previous),
               qPrintable(QStringLiteral("%1 sent while %2 was outstanding").arg(command).arg(previous)));
      if (e.attempt > 1) resendAfter << clock.elapsed() - previousAt;
      previousAt = clock.elapsed();
      previous = command;
    });
    QVERIFY(f.allDone({{ParamGroup::Channel, false}, {ParamGroup::Relay, false}, {ParamGroup::Modbus, false},
                       {ParamGroup::Channel, true}}));
    QCOMPARE(f.session.config().knownRecords(ParamGroup::Modbus), allRecordsOf(ParamGroup::Modbus));
    QVERIFY(resendAfter.size() > 10);  // 30 % of some 100 requests were lost
    QCOMPARE(log.counters()[0].resent, std::uint64_t(resendAfter.size()));
    // Most resends waited the learned 31 ms, a few a doubled wait: far below the policy's 300 ms.
    std::sort(resendAfter.begin(), resendAfter.end());
    QVERIFY2(resendAfter[resendAfter.size() / 2] < 150, qPrintable(QStringLiteral("median %1 ms").arg(resendAfter[resendAfter.size() / 2])));
  }

  void aRecordAnsweredOnItsSecondAttemptIsDone_data() {
    QTest::addColumn<ParamGroup>("group");
    QTest::addColumn<int>("command");
    QTest::newRow("relay 1, the first relay") << ParamGroup::Relay << int(readCommandOf(ParamGroup::Relay, 0));
    QTest::newRow("relay 3") << ParamGroup::Relay << int(readCommandOf(ParamGroup::Relay, 2));
    QTest::newRow("ModBus slot 1, the first") << ParamGroup::Modbus << int(readCommandOf(ParamGroup::Modbus, 0));
    QTest::newRow("base parameters") << ParamGroup::Base << int(readCommandOf(ParamGroup::Base));
  }
  // The window's waits (8010 ms for relays and ModBus slots): the resend still goes out after the wait the host's
  // earlier answers call for, the network read's for a kind it has not answered yet.
  void aRecordAnsweredOnItsSecondAttemptIsDone() {
    QFETCH(ParamGroup, group);
    QFETCH(int, command);
    SessionHarness f({.hosts = 1, .late = {{std::uint8_t(command), 2}}});
    int failed = 0;  // what the window would show a failure line for
    connect(&f.session, &HostSession::batchEvent, this,
            [&](const BatchEvent& e) { failed += e.stage == BatchEvent::Stage::Failed || e.failed != 0; });
    QList<qint64> sentAt;
    QElapsedTimer clock;
    clock.start();
    connect(&f.transport, &Transport::sent, this, [&] {
      if (f.transport.tunnelCommands().constLast() == command) sentAt << clock.elapsed();
    });
    QVERIFY(f.allDone({{ParamGroup::Network, false}, {group, false}}));
    QCOMPARE(failed, 0);
    QCOMPARE(sentAt.size(), 2);
    QVERIFY2(sentAt[1] - sentAt[0] < 300, qPrintable(QStringLiteral("resent after %1 ms").arg(sentAt[1] - sentAt[0])));
  }

  // Every answer 300 ms late: the first ModBus slots wait what the network read took, with its margin, and none is
  // sent twice.
  void aSlowHostIsNotHurried() {
    SessionHarness f({.hosts = 1, .delayMs = 300});
    QCOMPARE(f.read(ParamGroup::Network).outcome, Outcome::Done);
    QCOMPARE(f.read(ParamGroup::Modbus, 0xFu).outcome, Outcome::Done);
    QCOMPARE(f.transport.tunnelCommands().count(readCommandOf(ParamGroup::Modbus, 0)), 1);
    QCOMPARE(f.transport.requests().size(), 1 + 4);
  }

  void aHostThatStopsAnsweringEndsTheBatch_data() {
    QTest::addColumn<ParamGroup>("group");
    QTest::addColumn<int>("outageMs");  // 0: for good
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("channels, cut for good") << ParamGroup::Channel << 0 << Outcome::HostGone;
    QTest::newRow("ModBus slots, cut for good") << ParamGroup::Modbus << 0 << Outcome::HostGone;
    QTest::newRow("ModBus slots, a 2 s outage") << ParamGroup::Modbus << 2000 << Outcome::Done;
  }
  // The window's waits; the host hears the network read, the group's read and three records' writes, then nothing.
  void aHostThatStopsAnsweringEndsTheBatch() {
    QFETCH(ParamGroup, group);
    QFETCH(int, outageMs);
    QFETCH(Outcome, outcome);
    SessionHarness f({.hosts = 1, .stopAfter = 1 + 32 + 3, .stopForMs = outageMs});
    QVERIFY(f.allDone({{ParamGroup::Network, false}, {group, false}}));
    const OperationResult r = f.write(group);
    const auto sinceCut = std::chrono::steady_clock::now() - *f.transport.fleetHosts()[0].cutAt;
    QCOMPARE(r.outcome, outcome);
    QCOMPARE(r.failedRecords, outcome == Outcome::Done ? 0u : allRecordsOf(group) & ~0x7u);  // all but the three
    if (outcome == Outcome::HostGone) QVERIFY(sinceCut < 8s);
  }

  // Channel 5 is never answered, the rest at once: the probe when its 3204 ms are spent is answered, and channel 5
  // costs no more than its own time.
  void aSilentRecordCostsOnlyItsOwnTime() {
    SessionHarness f({.hosts = 1, .silent = {readCommandOf(ParamGroup::Channel, 4)}});
    QCOMPARE(f.read(ParamGroup::Network).outcome, Outcome::Done);
    QElapsedTimer clock;
    clock.start();
    qint64 fifthSent = 0, sixthSent = 0;
    connect(&f.session, &HostSession::batchEvent, this, [&](const BatchEvent& e) {
      if (e.stage != BatchEvent::Stage::Sending || e.attempt != 1) return;
      if (e.record == 4) fifthSent = clock.elapsed();
      if (e.record == 5) sixthSent = clock.elapsed();
    });
    const OperationResult r = f.read(ParamGroup::Channel, 0x3Fu);
    QCOMPARE(r.outcome, Outcome::NoAnswer);
    QCOMPARE(r.failedRecords, 1u << 4);
    QVERIFY(f.transport.requests().count(OuterFrame::buildReadNetworkRequest(f.transport.fleetHosts()[0].mac)) >= 2);
    QVERIFY2(sixthSent - fifthSent < 3204 + 250, qPrintable(QStringLiteral("%1 ms").arg(sixthSent - fifthSent)));
  }
};

QTEST_GUILESS_MAIN(LossyLinkTest)
#include "lossy_link_test.moc"
