// Host sessions against simulated hosts in process: every group read from and written to its host, replies of other
// hosts never applied, reads that end when no answer comes, the gates.
#include <QSignalSpy>
#include <QTest>

#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"
#include "session/config_job.h"
#include "support/image_bytes.h"
#include "support/sent_request.h"
#include "support/session_harness.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;
Q_DECLARE_METATYPE(quendra::RecordMasks)

namespace {

sim::SimOptions hosts(int n, int delayMs = 0, std::uint8_t trailerLow = 10) {
  return {.hosts = n, .delayMs = delayMs, .trailerLow = trailerLow};
}

// Tests where every request is answered wait long, so no resend races a reply.
struct Fixture : SessionHarness {
  explicit Fixture(const sim::SimOptions& options = hosts(2), Millis wait = 20ms) : SessionHarness(options, wait) {}
};

// The tunnel commands sent from `from` on, but for a read of the base parameters that the host never answers, once
// that read has spent all its waits: time for any late resend of what went before.
QList<int> othersSentUntilASilentReadEnds(Fixture& f, qsizetype from) {
  const int base = readCommandOf(ParamGroup::Base);
  f.host(0).silent.insert(std::uint8_t(base));
  if (f.read(ParamGroup::Base).outcome != Outcome::NoAnswer) qFatal("the silent read was answered");
  QList<int> others = f.transport.tunnelCommands().mid(from);
  others.removeAll(base);
  return others;
}

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
    f.session.setPolicy(SessionPolicy::windowDefaults());  // a single write is done once sent, its answer not awaited
    const Bytes slot = image(f.host(0), ParamGroup::Modbus, 6), base = image(f.host(0), ParamGroup::Base),
                network = image(f.host(0), ParamGroup::Network);
    f.session.config().modbus[6].registerCount = 300;
    f.session.config().base.loginInterval = 61;
    f.session.config().network.setListenPort(0, 4000);
    for (ParamGroup g : {ParamGroup::Modbus, ParamGroup::Base, ParamGroup::Network}) QCOMPARE(f.write(g).outcome, Outcome::Done);
    // Only the edited field changes on the host, little-endian at its place in the record.
    QCOMPARE(image(f.host(0), ParamGroup::Modbus, 6), over(slot, 5, {0x2C, 0x01}));
    QCOMPARE(image(f.host(0), ParamGroup::Base), over(base, 5, {61, 0}));
    QCOMPARE(image(f.host(0), ParamGroup::Network), over(network, 22, {0xA0, 0x0F}));
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
    which[int(ParamGroup::Network)] = 1;  // never acknowledged: done once sent
    job.start([](HostConfig c) {
      c.network.setListenPort(0, 4001);
      return c.channels[4].alarmDelay += 9, c.channels[5].alarmDelay += 9, c;
    }, which, ConfigJobOptions{.own = allRecordMasks()});
    QVERIFY(QTest::qWaitFor([&] { return result.has_value(); }, 10000));
    QCOMPARE(result->verdict(), JobVerdict::ReadBackDiffers);
    QCOMPARE(result->verified[int(ParamGroup::Network)], 1u);
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

  // A batch belongs to the host it started with: choosing another host cancels it at once, and the reply of the
  // record in flight, coming late from the former host, is dropped.
  void anotherHostChosenDuringABatchCancelsIt() {
    Fixture f(hosts(2, 50), 500ms);
    for (int k = 0; k < 32; ++k) f.host(1).records[readCommandOf(ParamGroup::Channel, k)][0] ^= 0x40;
    f.read(ParamGroup::Network);
    QVERIFY(!f.session.read(ParamGroup::Channel));
    const int channel5 = readCommandOf(ParamGroup::Channel, 4);  // asked; host 1 answers it 50 ms later
    QVERIFY(QTest::qWaitFor([&] { return f.transport.tunnelCommands().contains(channel5); }, 10000));
    f.session.setTarget(f.mac(1));
    const OperationResult r = f.finished.last().at(0).value<OperationResult>();
    QVERIFY(r.group == ParamGroup::Channel && r.outcome == Outcome::Cancelled);
    QVERIFY(!f.session.batches().running() && !f.session.flags().channelRead);
    QSignalSpy delivered(&f.transport, &Transport::received);
    QVERIFY(delivered.wait(1000));  // channel 5's answer, handed to the router before the spy hears it
    QCOMPARE(f.session.config().knownRecords(ParamGroup::Channel), 0b1111u);
    QCOMPARE(f.read(ParamGroup::Network).outcome, Outcome::Done);  // the next request goes to host 2...
    for (const Bytes& d : f.transport.requests())                   // ... and no channel of the batch ever did
      QVERIFY(readSent(d).target != f.mac(1) || readSent(d).command != kTunnel);
    for (int k = 0; k < 32; ++k)
      QVERIFY(encodeRecord(f.session.config(), ParamGroup::Channel, k) != image(f.host(1), ParamGroup::Channel, k));
  }

  // A host whose reads pass and whose first write acknowledgement fails the version gate: the job ends there.
  void aWriteRefusedByTheVersionGateEndsTheJob_data() {
    QTest::addColumn<RecordMasks>("which");
    QTest::addColumn<int>("firstWrite");
    RecordMasks single{}, batch{};  // a batch's last record refused is its pass refused too
    single[int(ParamGroup::Base)] = batch[int(ParamGroup::Relay)] = 1;
    single[int(ParamGroup::Channel)] = batch[int(ParamGroup::Channel)] = 0b11;
    QTest::newRow("single record first") << single << int(writeCommandOf(ParamGroup::Base));
    QTest::newRow("batch first") << batch << int(writeCommandOf(ParamGroup::Channel, 0));
  }
  void aWriteRefusedByTheVersionGateEndsTheJob() {
    QFETCH(RecordMasks, which);
    QFETCH(int, firstWrite);
    Fixture f(hosts(1), 500ms);
    f.transport.acknowledgeWritesAs(7, 2);
    QSignalSpy refused(&f.session, &HostSession::versionRefused);
    ConfigJob job(f.session);
    std::optional<ConfigJobResult> result;
    connect(&job, &ConfigJob::finished, this, [&](const ConfigJobResult& r) { result = r; });
    job.start([](HostConfig c) { return c.base.loginInterval += 1, c.relays[0].startDuration += 1, c.channels[0].alarmDelay += 1,
                                        c.channels[1].alarmDelay += 1, c; }, which);
    QVERIFY(QTest::qWaitFor([&] { return result.has_value(); }, 10000));
    QCOMPARE(result->outcome, Outcome::VersionRefused);
    QCOMPARE(refused.size(), 1);
    const QList<int> sent = f.transport.tunnelCommands();
    QCOMPARE(othersSentUntilASilentReadEnds(f, sent.indexOf(firstWrite)), QList<int>{firstWrite});  // nothing after it
    // What the job says it sent is that one write: the records it only read, and those queued behind, were not.
    RecordMasks onlyFirst{};
    const auto first = classifyTunnelCommand(std::uint8_t(firstWrite));
    onlyFirst[int(first->group)] = 1u << first->index;
    QVERIFY(result->sent == onlyFirst);
  }

  // While a job waits for its channel read, a read of another group gives up; once the job has compared, the front
  // end writes the network settings (done once sent). Neither result is the job's.
  void aJobTakesOnlyTheResultsOfItsOwnOperations() {
    Fixture f(hosts(1, 100), 500ms);  // the host answers 100 ms late; the other read gives up after 20 ms
    SessionPolicy policy = f.session.policy();
    policy.readOf(ParamGroup::Led) = {20ms, 1};
    f.session.setPolicy(policy);
    f.host(0).silent = {readCommandOf(ParamGroup::Led)};
    ConfigJob job(f.session);
    connect(&job, &ConfigJob::stageChanged, this, [&](ConfigJob::Stage stage, ParamGroup g) {
      if (stage == ConfigJob::Stage::Reading && g == ParamGroup::Channel) f.session.read(ParamGroup::Led);
    });
    connect(&job, &ConfigJob::compared, this, [&] { f.session.write(ParamGroup::Network); });
    std::optional<ConfigJobResult> result;
    connect(&job, &ConfigJob::finished, this, [&](const ConfigJobResult& r) { result = r; });
    RecordMasks which{};
    which[int(ParamGroup::Channel)] = 1;
    job.start([](HostConfig c) { return c.channels[0].alarmDelay += 1, c; }, which);
    QVERIFY(QTest::qWaitFor([&] { return result.has_value(); }, 10000));
    QCOMPARE(result->verdict(), JobVerdict::Done);
    QCOMPARE(result->verified[int(ParamGroup::Channel)], 1u);
  }

  // Answer times come from records the host answered: a write sent once and stopped unanswered teaches nothing.
  void answerTimesAreLearnedFromAnsweredRecordsOnly() {
    Fixture f(hosts(1), 500ms);
    f.read(ParamGroup::Network), f.read(ParamGroup::Base);
    const AnswerTimeEstimator& writes = f.session.answerTimes().of(ParamGroup::Base, true);
    f.host(0).silent = {writeCommandOf(ParamGroup::Base)};
    const auto sentAndStopped = [&] {
      const auto refusal = f.session.write(ParamGroup::Base);
      return f.session.stop(), refusal;
    };
    QCOMPARE(f.run(sentAndStopped).outcome, Outcome::Cancelled);
    QVERIFY(!writes.learned());
    f.host(0).silent.clear();
    QCOMPARE(f.write(ParamGroup::Base).outcome, Outcome::Done);
    QVERIFY(writes.learned());
  }

  // A network factory reset and a new MAC are done once the host answers a read of its network record afterwards.
  void aResetAndANewMacAreVerifiedByReadingTheNetworkRecordBack() {
    Fixture f(hosts(1), 500ms);
    const Mac old = f.mac(0), renamed{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x33};
    f.session.factoryReset();
    QVERIFY(QTest::qWaitFor([&] { return f.finished.size() == 2; }, 10000));
    QVERIFY(!f.session.writeMac(renamed));
    QVERIFY(QTest::qWaitFor([&] { return f.finished.size() == 4; }, 10000));
    for (const auto& [i, operation] : {std::pair{1, Operation::FactoryReset}, {3, Operation::WriteMac}}) {
      QCOMPARE(f.finished[i][0].value<OperationResult>().operation, operation);
      QCOMPARE(f.finished[i][0].value<OperationResult>().outcome, Outcome::Done);
    }
    QList<std::pair<int, bool>> sent;  // command, to the new MAC
    for (const Bytes& d : f.transport.requests()) sent << std::pair{readSent(d).command, readSent(d).target == renamed};
    QCOMPARE(sent, (QList<std::pair<int, bool>>{
                       {kFactoryReset, false}, {kReadNetwork, false}, {kWriteMac, false}, {kReadNetwork, true}}));
    QVERIFY(readSent(f.transport.requests()[2]).target == old);
  }

  // A reset through a job after the network settings were read since the host was chosen: the reset goes out first
  // (nothing is read again before it), then the read that verifies it.
  void aJobResetsWithoutReadingFirst() {
    Fixture f(hosts(1), 500ms);
    f.read(ParamGroup::Network);
    f.transport.clearRequests();
    ConfigJob job(f.session);
    QSignalSpy ended(&job, &ConfigJob::finished);
    job.startFactoryReset({});
    QVERIFY(ended.wait(10000));
    QList<int> sent;
    for (const Bytes& d : f.transport.requests()) sent << readSent(d).command;
    QCOMPARE(sent, (QList<int>{kFactoryReset, kReadNetwork}));
  }

  // Records written from values read on another host are this host's own once it acknowledged them (so their
  // identity goes back whole next time): every one, not only the first.
  void acknowledgedRecordsBecomeTheHostsOwn() {
    Fixture f;
    f.read(ParamGroup::Network), f.read(ParamGroup::Relay);
    f.session.setTarget(f.mac(1));
    f.read(ParamGroup::Network);
    QCOMPARE(f.session.ownRecords()[int(ParamGroup::Relay)], 0u);
    QCOMPARE(f.write(ParamGroup::Relay).outcome, Outcome::Done);
    QCOMPARE(f.session.ownRecords()[int(ParamGroup::Relay)], 0xFFu);
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
    QCOMPARE(f.transport.tunnelCommands().count(150), 4);
    QVERIFY(!f.session.config().isKnown(ParamGroup::Led));
    QVERIFY(!f.session.flags().ledRead && !f.session.flags().channelRead);
  }

  // The channel flag falls at the first record that fails (writes are refused from then on) and stays down after the
  // incomplete pass; another kind's failure, or a write's, leaves it up.
  void channelFlagFallsAtTheFirstFailure() {
    Fixture f(hosts(1));
    f.read(ParamGroup::Network);
    QCOMPARE(f.read(ParamGroup::Channel).outcome, Outcome::Done);
    QList<std::optional<Refusal>> atRecord6;  // a channel write's refusal while record 6 goes out
    connect(&f.session, &HostSession::batchEvent, this, [&](const BatchEvent& e) {
      if (e.kind == BatchKind::ChannelRead && e.stage == BatchEvent::Stage::Sending && e.record == 5)
        atRecord6 << f.session.writeRefusal(ParamGroup::Channel);
    });
    QCOMPARE(f.read(ParamGroup::Channel).outcome, Outcome::Done);
    f.host(0).silent = {readCommandOf(ParamGroup::Relay, 0), writeCommandOf(ParamGroup::Channel, 4)};
    QCOMPARE(f.read(ParamGroup::Relay).outcome, Outcome::NoAnswer);
    QCOMPARE(f.write(ParamGroup::Channel).outcome, Outcome::NoAnswer);  // short by silence, not refused
    QVERIFY(f.session.flags().channelRead);
    f.host(0).silent = {readCommandOf(ParamGroup::Channel, 4)};
    QCOMPARE(f.read(ParamGroup::Channel).outcome, Outcome::NoAnswer);
    QCOMPARE(atRecord6, (QList<std::optional<Refusal>>{std::nullopt, Refusal::GroupNotRead}));
    QVERIFY(!f.session.flags().channelRead);
  }

  // A job cancelled while it reads ends once, Cancelled, and the end of the read it waited for changes nothing; a job
  // for a host that is not there says so.
  void aJobCancelledWhileReadingEndsOnce() {
    Fixture f(hosts(1), 200ms);
    f.host(0).silent = {readCommandOf(ParamGroup::Relay, 3)};
    ConfigJob job(f.session);
    QSignalSpy ended(&job, &ConfigJob::finished);
    job.start([](HostConfig c) { return c; }, allRecordMasks());
    QVERIFY(QTest::qWaitFor([&] { return f.transport.tunnelCommands().contains(readCommandOf(ParamGroup::Relay, 3)); }, 10000));
    job.cancel();
    const qsizetype asked = f.transport.tunnelCommands().size();
    QVERIFY(QTest::qWaitFor([&] { return f.session.idle(); }, 5000));
    QCOMPARE(ended.size(), 1);
    QCOMPARE(ended[0][0].value<ConfigJobResult>().outcome, Outcome::Cancelled);
    QCOMPARE(othersSentUntilASilentReadEnds(f, asked), QList<int>{});  // no late resend of the cancelled record
    f.session.setTarget(Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x09});  // a host that is not there
    job.start([](HostConfig c) { return c; }, allRecordMasks());
    QVERIFY(QTest::qWaitFor([&] { return ended.size() == 2; }, 10000));
    QVERIFY(!ended[1][0].value<ConfigJobResult>().hostAnswered);
  }

  void gatesRefuseBeforeAnythingIsSentAndTheVersionGateStopsAll() {
    Fixture f(hosts(1, 0, 2), 500ms);  // version 702; network answers carry no version
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
    const qsizetype before = f.finished.size();
    QVERIFY(!f.session.read(ParamGroup::Relay) && !f.session.read(ParamGroup::Modbus));  // ModBus waits its turn
    QCOMPARE(f.session.read(ParamGroup::Relay), Refusal::Busy);
    QVERIFY(QTest::qWaitFor([&] { return f.finished.size() == before + 2; }, 10000));  // each ends refused
    for (const QList<QVariant>& r : f.finished.mid(before)) QCOMPARE(r[0].value<OperationResult>().outcome, Outcome::VersionRefused);
    QCOMPARE(othersSentUntilASilentReadEnds(f, 0), QList<int>{69});  // the relay read's first reply stops both
  }
};

QTEST_GUILESS_MAIN(HostSessionTest)
#include "host_session_test.moc"
