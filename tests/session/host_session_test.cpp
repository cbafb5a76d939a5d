// Host sessions against simulated hosts in process: every group read from and written to its host, replies of other
// hosts never applied, reads that end when no answer comes, the gates.
#include <QSignalSpy>
#include <QTest>

#include "link/tunnel_frame.h"
#include "session/config_job.h"
#include "session/host_session.h"
#include "session/reply_router.h"
#include "support/fleet_transport.h"
#include "support/sent_request.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

namespace {

sim::SimOptions hosts(int n, int delayMs = 0, std::uint8_t trailerLow = 10) {
  return {.hosts = n, .delayMs = delayMs, .trailerLow = trailerLow};
}

struct Fixture {
  FleetTransport transport;
  ReplyRouter router{transport};
  HostSession session{router};
  QSignalSpy finished{&session, &HostSession::finished};

  explicit Fixture(const sim::SimOptions& options = hosts(2)) : transport(options) {
    SessionPolicy fast = SessionPolicy::windowDefaults();
    for (ParamGroup g : kAllGroups) fast.readOf(g).timeout = fast.writeOf(g).timeout = 20ms;
    session.setPolicy(fast);
    session.setTarget(mac(0));
  }
  Mac mac(int host) const { return transport.fleetHosts()[host].mac; }
  sim::SimHost& host(int i) { return transport.fleet().hosts()[i]; }

  // Starts the operation and waits for its one result.
  OperationResult run(const std::function<std::optional<Refusal>()>& start) {
    const qsizetype before = finished.size();
    if (const auto refusal = start()) qFatal("refused: %d", int(*refusal));
    if (!QTest::qWaitFor([&] { return finished.size() > before; }, 10000) || finished.size() != before + 1)
      qFatal("not one result");
    return finished.last().at(0).value<OperationResult>();
  }
  OperationResult read(ParamGroup g) { return run([&] { return session.read(g); }); }
  OperationResult write(ParamGroup g) { return run([&] { return session.write(g); }); }
};

Bytes image(const sim::SimHost& h, ParamGroup g, int k = 0) {
  return g == ParamGroup::Network ? h.network : h.records.at(readCommandOf(g, k));
}

}  // namespace

class HostSessionTest : public QObject {
  Q_OBJECT
 private slots:
  void everyGroupComesFromItsHostAndGoesBackAsTheConfigHoldsIt() {
    Fixture f;
    for (ParamGroup g : kAllGroups) {
      const OperationResult r = f.read(g);
      QCOMPARE(r.outcome, Outcome::Done);
      QCOMPARE(r.failedRecords, 0u);
      QVERIFY(f.session.config().groupKnown(g));
      for (int k = 0; k < recordCountOf(g); ++k) QCOMPARE(encodeRecord(f.session.config(), g, k), image(f.host(0), g, k));
    }
    const ReadFlags& flags = f.session.flags();
    QVERIFY(flags.networkRead && flags.baseRead && flags.gprsRead && flags.ledRead && flags.channelRead &&
            flags.modbusRead && flags.relayRead);
    f.session.config().modbus[6].registerCount = 300;
    f.session.config().network.setListenPort(0, 4000);
    QCOMPARE(f.write(ParamGroup::Modbus).outcome, Outcome::Done);
    QCOMPARE(f.write(ParamGroup::Network).outcome, Outcome::Done);
    QTest::qWait(10);  // hosts do not acknowledge the network settings
    QCOMPARE(f.host(0).records.at(readCommandOf(ParamGroup::Modbus, 6)), encodeModbusSlot(f.session.config().modbus[6]));
    QCOMPARE(f.host(0).network, encodeRecord(f.session.config(), ParamGroup::Network));
  }

  void aJobCallsVerifiedOnlyWhatReadsBackAsWritten() {  // the host acknowledges channel 5 but keeps it
    Fixture f(hosts(1));
    const Bytes kept = image(f.host(0), ParamGroup::Channel, 4);
    connect(&f.session, &HostSession::writeAcknowledged, this, [&](ParamGroup g, int k) {
      if (g == ParamGroup::Channel && k == 4) f.host(0).records[readCommandOf(g, k)] = kept;
    });
    ConfigJob job(f.session);
    std::optional<ConfigJobResult> result;
    connect(&job, &ConfigJob::finished, this, [&](const ConfigJobResult& r) { result = r; });
    RecordMasks which{};
    which[int(ParamGroup::Channel)] = 0b110000;
    job.start([](HostConfig c) { return c.channels[4].alarmDelay += 9, c.channels[5].alarmDelay += 9, c; }, which);
    QVERIFY(QTest::qWaitFor([&] { return result.has_value(); }, 10000));
    QCOMPARE(result->verdict(), JobVerdict::ReadBackDiffers);
    QCOMPARE(result->verified[int(ParamGroup::Channel)], 0b100000u);
    QCOMPARE(result->mismatched[int(ParamGroup::Channel)], 0b10000u);
    QCOMPARE(result->failed[int(ParamGroup::Channel)], 0u);
  }

  // Another PC reads the same host: its replies reach this tool too, and a late duplicate of a record already read
  // must not replace it, also while a job goes on with other records.
  void repliesNobodyHereAskedForChangeNothing() {
    Fixture f(hosts(1));
    ConfigJob job(f.session);
    QSignalSpy finished(&job, &ConfigJob::finished);
    BaseParams fake;
    fake.terminalAddress = 0x0BADC0DE;
    connect(&f.session, &HostSession::recordArrived, this, [&](ParamGroup g, int) {
      if (g == ParamGroup::Base)
        f.transport.inject(OuterFrame::buildTunnelReply(f.mac(0), TunnelFrame::buildReply(1, encodeBaseParams(fake), 7, 10)));
    });
    RecordMasks which{};
    which[int(ParamGroup::Base)] = which[int(ParamGroup::Channel)] = 1;
    job.start([](const HostConfig& c) { return c; }, which, ConfigJobOptions{.dryRun = true});
    QVERIFY(finished.wait(10000));
    QCOMPARE(encodeRecord(job.current(), ParamGroup::Base), image(f.host(0), ParamGroup::Base));
    QCOMPARE(encodeRecord(f.session.config(), ParamGroup::Base), image(f.host(0), ParamGroup::Base));
  }

  // A batch belongs to the host it started with: choosing another host cancels it at once.
  void anotherHostChosenDuringABatchCancelsIt() {
    Fixture f(hosts(2, 5));
    for (int k = 0; k < 32; ++k) f.host(1).records[readCommandOf(ParamGroup::Channel, k)][0] ^= 0x40;
    f.read(ParamGroup::Network);
    QSignalSpy arrived(&f.session, &HostSession::recordArrived);
    QVERIFY(!f.session.read(ParamGroup::Channel));
    QVERIFY(QTest::qWaitFor([&] { return arrived.size() >= 4; }, 10000));
    f.session.setTarget(f.mac(1));
    const OperationResult r = f.finished.last().at(0).value<OperationResult>();
    QVERIFY(r.group == ParamGroup::Channel && r.outcome == Outcome::Cancelled);
    QVERIFY(!f.session.batches().running() && !f.session.flags().channelRead);
    QCOMPARE(f.read(ParamGroup::Network).outcome, Outcome::Done);  // the next request goes to host 2...
    for (const Bytes& d : f.transport.requests())                   // ... and no channel of the batch ever did
      QVERIFY(readSent(d).target != f.mac(1) || readSent(d).command != kTunnel);
    for (int k = 0; k < 32; ++k)
      QVERIFY(encodeRecord(f.session.config(), ParamGroup::Channel, k) != image(f.host(1), ParamGroup::Channel, k));
  }

  void anotherHostsRepliesAreNeverApplied() {
    Fixture f;
    f.read(ParamGroup::Network);
    f.host(0).silent = {readCommandOf(ParamGroup::Channel, 4), readCommandOf(ParamGroup::Led)};
    const auto fromHost2 = [&](std::uint8_t command, const Bytes& payload) {
      f.transport.inject(OuterFrame::buildTunnelReply(f.mac(1), TunnelFrame::buildReply(command, payload, 7, 10)));
    };
    ChannelParams foreign;
    foreign.name1 = "other";
    fromHost2(readCommandOf(ParamGroup::Channel, 4), encodeChannelPayload(foreign));
    const OperationResult r = f.read(ParamGroup::Channel);
    QCOMPARE(r.outcome, Outcome::NoAnswer);
    QCOMPARE(r.failedRecords, 1u << 4);
    QVERIFY(f.session.config().channels[4].name1 != "other");
    // A single read ends after its attempts, whatever another host answers meanwhile.
    fromHost2(readCommandOf(ParamGroup::Led), image(f.host(1), ParamGroup::Led));
    f.transport.clearRequests();
    QCOMPARE(f.read(ParamGroup::Led).outcome, Outcome::NoAnswer);
    QCOMPARE(f.transport.tunnelCommands(), (QList<int>{150, 150, 150, 150}));
    QVERIFY(!f.session.config().isKnown(ParamGroup::Led));
    QVERIFY(!f.session.flags().ledRead && !f.session.flags().channelRead);
  }

  void lateRepliesOfTheFormerHostAreDroppedAfterReselection() {
    Fixture f(hosts(2, 50));
    f.read(ParamGroup::Network);
    QVERIFY(!f.session.read(ParamGroup::Base));  // host 1 answers in 50 ms
    f.session.setTarget(f.mac(1));
    QCOMPARE(f.finished.last().at(0).value<OperationResult>().outcome, Outcome::Cancelled);
    QTest::qWait(150);
    QVERIFY(!f.session.config().isKnown(ParamGroup::Base));
    QCOMPARE(f.read(ParamGroup::Base).outcome, Outcome::Done);
    QCOMPARE(encodeRecord(f.session.config(), ParamGroup::Base), image(f.host(1), ParamGroup::Base));
  }

  void gatesRefuseBeforeAnythingIsSentAndTheVersionGateStopsAll() {
    Fixture f(hosts(1, 0, 2));  // version 702; network answers carry no version
    QCOMPARE(f.session.read(ParamGroup::Base), Refusal::NetworkNotRead);
    QCOMPARE(f.session.write(ParamGroup::Network), Refusal::NetworkNotRead);
    QVERIFY(f.transport.requests().isEmpty());
    f.read(ParamGroup::Network);
    f.transport.clearRequests();
    for (ParamGroup g : kAllGroups)
      if (g != ParamGroup::Network) QCOMPARE(f.session.write(g), Refusal::GroupNotRead);
    QVERIFY(f.transport.requests().isEmpty());
    QSignalSpy refused(&f.session, &HostSession::versionRefused);
    QCOMPARE(f.read(ParamGroup::Base).outcome, Outcome::VersionRefused);
    QCOMPARE(refused.size(), 1);
    f.transport.clearRequests();
    QVERIFY(!f.session.read(ParamGroup::Relay));
    QCOMPARE(f.session.read(ParamGroup::Relay), Refusal::Busy);
    QCOMPARE(f.run([] { return std::optional<Refusal>(); }).outcome, Outcome::VersionRefused);  // of that read
    QCOMPARE(f.transport.tunnelCommands(), QList<int>{69});  // its first reply stops the batch
  }
};

QTEST_GUILESS_MAIN(HostSessionTest)
#include "host_session_test.moc"
