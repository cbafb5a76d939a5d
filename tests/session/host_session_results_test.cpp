// Which ends count for what: answer times are learned only from records the host answered; a network factory reset
// and a new MAC are done once the host answers a read of its network record afterwards; a job takes only the
// results of its own operations, whatever else the session does meanwhile.
#include <QTest>

#include "session/config_job.h"
#include "session/reply_router.h"
#include "support/fleet_transport.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

namespace {

struct Fixture {
  FleetTransport transport;
  ReplyRouter router{transport};
  HostSession session{router};

  explicit Fixture(int delayMs = 0) : transport(sim::SimOptions{.delayMs = delayMs}) {
    SessionPolicy policy = SessionPolicy::windowDefaults();
    for (ParamGroup g : kAllGroups) policy.readOf(g).timeout = policy.writeOf(g).timeout = 500ms;
    session.setPolicy(policy);
    session.setTarget(host().mac);
  }
  sim::SimHost& host() { return transport.fleet().hosts()[0]; }
  // How the first operation of that kind to end after `start` ends.
  Outcome end(Operation operation, const std::function<void()>& start) {
    std::optional<Outcome> outcome;
    QObject scope;
    QObject::connect(&session, &HostSession::finished, &scope, [&](const OperationResult& r) {
      if (r.operation == operation && !outcome) outcome = r.outcome;
    });
    start();
    if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 10000)) qFatal("the operation did not end");
    return *outcome;
  }
};

}  // namespace

class HostSessionResultsTest : public QObject {
  Q_OBJECT
 private slots:
  void answerTimesAreLearnedFromAnsweredRecordsOnly() {
    Fixture f;
    QCOMPARE(f.end(Operation::Read, [&] { f.session.read(ParamGroup::Network); }), Outcome::Done);
    QCOMPARE(f.end(Operation::Read, [&] { f.session.read(ParamGroup::Base); }), Outcome::Done);
    const AnswerTimeEstimator& writes = f.session.answerTimes().of(ParamGroup::Base, true);
    f.host().silent = {writeCommandOf(ParamGroup::Base)};
    QCOMPARE(f.end(Operation::Write, [&] { f.session.write(ParamGroup::Base), f.session.stop(); }), Outcome::Cancelled);
    QVERIFY(!writes.learned());  // sent once and stopped unanswered: no answer time
    f.host().silent.clear();
    QCOMPARE(f.end(Operation::Write, [&] { f.session.write(ParamGroup::Base); }), Outcome::Done);
    QVERIFY(writes.learned());
  }

  void aResetAndANewMacAreVerifiedByReadingTheNetworkRecordBack() {
    Fixture f;
    const Mac old = f.host().mac, renamed{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x33};
    QCOMPARE(f.end(Operation::FactoryReset, [&] { f.session.factoryReset(); }), Outcome::Done);
    QCOMPARE(f.end(Operation::WriteMac, [&] { f.session.writeMac(renamed); }), Outcome::Done);
    QList<int> commands;
    for (const Bytes& d : f.transport.requests()) commands << readSent(d).command;
    QCOMPARE(commands, (QList<int>{kFactoryReset, kReadNetwork, kWriteMac, kReadNetwork}));
    QCOMPARE(readSent(f.transport.requests()[2]).target, old);
    QCOMPARE(readSent(f.transport.requests()[3]).target, renamed);
  }

  // While the job waits for its channel read, a read of another group fails; once it has compared, the front end
  // writes the network settings, done once sent. Neither is the job's.
  void aJobTakesOnlyTheResultsOfItsOwnOperations() {
    Fixture f(100);  // the host answers 100 ms late; the other read gives up after 20 ms
    SessionPolicy policy = f.session.policy();
    policy.readOf(ParamGroup::Led) = {20ms, 1};
    f.session.setPolicy(policy);
    f.host().silent = {readCommandOf(ParamGroup::Led)};
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
};

QTEST_GUILESS_MAIN(HostSessionResultsTest)
#include "host_session_results_test.moc"
