// quendra-cli as other programs use it, in process against simulated hosts: the live JSON lines of a write against
// their documented schema, FILE "-" through pipes, a closed standard output, SIGTERM in the middle of a write, and
// one writer per host across processes (a second waits then is refused with the holder named, reads pass, a killed
// holder leaves the host writable).
#include <QBuffer>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <map>
#include <unistd.h>

#include "config/config_file.h"
#include "records/field_text.h"
#include "session/host_lock.h"
#include "support/cli_run.h"

using namespace quendra;
using namespace quendra::test;

namespace {

// Host 2 differs from host 1's file in channels 1 to 4 and relay 3.
void prepare(CliFleet& f) {
  QCOMPARE(f.cli({"read", "02-4B-7D-00-00-01", "-o", f.path("h1.json")}).status, 0);
  for (int k = 0; k < 4; ++k) f.host(1).records[readCommandOf(ParamGroup::Channel, k)][4] ^= 0x01;
  f.host(1).records[readCommandOf(ParamGroup::Relay, 2)][1] ^= 0x01;
}

// Every event and the fields it has, as the manual page lists them.
const QStringList kRecordEvent{"host", "stage", "group", "index", "record"};
const std::map<QString, QStringList> kSchema = {
    {"started", {"command", "pid"}}, {"host-started", {"host"}}, {"host-waiting", {"host", "heldBy"}},
    {"stage", {"host", "stage", "group"}}, {"record-read", kRecordEvent}, {"record-written", kRecordEvent},
    {"record-resent", kRecordEvent}, {"record-failed", kRecordEvent}, {"cancelled", {"signal"}},
    {"host-finished", {"host", "status", "verified", "failed", "mismatched", "written", "unconfirmed", "differing"}},
};

void checkSchema(const QList<QJsonObject>& events) {
  for (const QJsonObject& e : events) {
    const auto schema = kSchema.find(e[QLatin1String("event")].toString());
    QVERIFY2(schema != kSchema.end(), QJsonDocument(e).toJson());
    QStringList keys = schema->second + QStringList{"event"};
    if (e.contains(QLatin1String("heldBy")) && schema->first == QLatin1String("host-finished")) keys << "heldBy";
    QCOMPARE(QStringList(e.keys()).size(), keys.size());
    for (const QString& k : keys) QVERIFY2(e.contains(k), qPrintable(schema->first + ": " + k));
    const QString group = e[QLatin1String("group")].toString(), index = QStringLiteral("[%1]").arg(e[QLatin1String("index")].toInt());
    if (e.contains(QLatin1String("record")))  // a record of a batch group is named with its index
      QCOMPARE(e[QLatin1String("record")].toString(), group + (QStringList{"channels", "relays", "modbus"}.contains(group) ? index : QString()));
  }
}

QStringList eventsOf(const QList<QJsonObject>& lines, const QString& record) {
  QStringList seen;
  for (const QJsonObject& e : lines)
    if (e[QLatin1String("record")] == record) seen << e[QLatin1String("stage")].toString() + ' ' + e[QLatin1String("event")].toString();
  return seen;
}

}  // namespace

class CliInterfaceTest : public QObject {
  Q_OBJECT
 private slots:
  void aWriteWithASilentRecordSaysEachStepAsItGoes() {
    CliFleet f;
    prepare(f);
    f.host(1).silent.insert(writeCommandOf(ParamGroup::Relay, 2));
    const CliRun run = f.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json"), "--json", "--attempts", "3"});
    QCOMPARE(run.status, 3);
    QList<QJsonObject> lines = run.lines();
    const QJsonObject result = lines.takeLast();  // the result, as --json gives it
    QCOMPARE(result[QLatin1String("status")].toString(), QStringLiteral("failed"));
    QCOMPARE(result[QLatin1String("failed")].toString(), QStringLiteral("relays[2]"));
    checkSchema(lines);
    QCOMPARE(lines.takeFirst()[QLatin1String("pid")].toInteger(), QCoreApplication::applicationPid());
    QCOMPARE(lines.first()[QLatin1String("event")].toString(), QStringLiteral("host-started"));
    QCOMPARE(lines.last()[QLatin1String("event")].toString(), QStringLiteral("host-finished"));
    QCOMPARE(lines.last()[QLatin1String("written")].toString(), QStringLiteral("gprs, channels[0], channels[1], channels[2], channels[3]"));
    QCOMPARE(lines.last()[QLatin1String("unconfirmed")].toString(), QStringLiteral("relays[2]"));
    QCOMPARE(eventsOf(lines, "relays[2]"), (QStringList{"reading record-read", "writing record-resent",
                                                        "writing record-resent", "writing record-failed"}));
    QCOMPARE(eventsOf(lines, "channels[1]"), (QStringList{"reading record-read", "writing record-written",
                                                          "verifying record-read"}));
  }

  void filesThroughPipes_data() {
    QTest::addColumn<QByteArray>("input");  // on standard input; "FILE": host 1's file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("written");
    QTest::newRow("a file") << QByteArray("FILE") << 0 << QString() << true;
    QTest::newRow("malformed JSON") << QByteArray(R"({"format": "quendra-host-config",)") << 1
                                    << "standard input is not JSON (fault at byte 33)" << false;
    QTest::newRow("nothing") << QByteArray() << 1 << "standard input is not JSON" << false;
  }
  void filesThroughPipes() {
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(bool, written);
    CliFleet f;
    const CliRun read = f.cli({"read", "02-4B-7D-00-00-01", "-o", "-"});
    QCOMPARE(read.status, 0);
    QVERIFY(std::holds_alternative<ConfigFile>(parseConfigFile(read.out.toUtf8(), "out")));
    prepare(f);
    f.transport.clearRequests();
    QBuffer in;
    in.setData(input == "FILE" ? read.out.toUtf8() : input);
    in.open(QIODevice::ReadOnly);
    const CliRun write = f.cli({"write", "02-4B-7D-00-00-02", "-"}, &in);
    QCOMPARE(write.status, status);
    QVERIFY2(write.err.contains(said), qPrintable(write.err));
    QCOMPARE(f.writesSent() > 0, written);
    if (!written) QVERIFY(f.transport.requests().isEmpty());  // not even a search
  }

  // What `fields` says a field takes is what a write takes: the limit itself passes, one past it is refused
  // before anything is sent, naming the field (a form built from the description checks as the tool does).
  void fieldDescriptionsAgreeWithWhatAWriteTakes_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::newRow("integer") << "base" << "dataInterval";
    QTest::newRow("narrow integer") << "gprs" << "smsInterval";
    QTest::newRow("text") << "gprs" << "targetAddress";
    QTest::newRow("LED text") << "led" << "headerText";
  }
  void fieldDescriptionsAgreeWithWhatAWriteTakes() {
    QFETCH(QString, group);
    QFETCH(QString, key);
    CliFleet f;
    const CliRun described = f.cli({"fields", group, "--json"});
    QCOMPARE(described.status, 0);
    QJsonObject field;
    for (const auto v : QJsonDocument::fromJson(described.out.toUtf8()).array()[0].toObject()["fields"].toArray())
      if (v.toObject()["key"] == key) field = v.toObject();
    QCOMPARE(field["path"].toString(), group + '.' + key);
    const bool text = field["kind"] == QStringLiteral("text");
    const int limit = text ? field["maxBytes"].toInt() : field["max"].toInt();
    QVERIFY(limit > 0);
    const QJsonObject read = QJsonDocument::fromJson(f.cli({"read", "02-4B-7D-00-00-01", group, "-o", "-"}).out.toUtf8()).object();
    for (const int value : {limit, limit + 1}) {
      QJsonObject file = read, record = file[group].toObject(), fields = record["fields"].toObject();
      fields[key] = text ? QJsonValue(QString(value, 'a')) : QJsonValue(value);
      record["fields"] = fields;
      file[group] = record;
      QBuffer in;
      in.setData(QJsonDocument(file).toJson());
      in.open(QIODevice::ReadOnly);
      f.transport.clearRequests();
      const CliRun write = f.cli({"write", "02-4B-7D-00-00-01", "-", group, "--dry-run"}, &in);
      QCOMPARE(write.status, value == limit ? 0 : 1);
      if (value > limit) QVERIFY2(write.err.contains(key) && f.transport.requests().isEmpty(), qPrintable(write.err));
    }
  }

  // Labels in both languages as the pages show them; identity and the channel page's greying said per field.
  void fieldDescriptionsCarryLabelsIdentityAndGreying() {
    CliFleet f;
    const QJsonArray groups = QJsonDocument::fromJson(f.cli({"fields", "base", "channels", "--json"}).out.toUtf8()).array();
    QCOMPARE(groups.size(), 2);
    std::map<QString, QJsonObject> byPath;
    for (const auto g : groups)
      for (const auto v : g.toObject()["fields"].toArray()) byPath[v.toObject()["path"].toString()] = v.toObject();
    const QJsonObject terminal = byPath["base.terminalAddress"];
    QCOMPARE(terminal["label"].toObject()["zh"].toString(), QStringLiteral("终端地址："));
    QCOMPARE(terminal["label"].toObject()["en"].toString(), QStringLiteral("Terminal address:"));
    QVERIFY(terminal["identity"].toBool() && !byPath["base.dataInterval"]["identity"].toBool());
    QCOMPARE(byPath["base.modbusBaud"]["choices"].toArray()[2].toObject()["zh"].toString(), QStringLiteral("9600"));
    // The coefficients wait for "允许编辑所有参数"; the limits do not, and a switch channel uses no second limit.
    QVERIFY(byPath["channels[k].coefA1"]["enabled"].toObject()["needsAllowAll"].toBool());
    const QJsonObject upper = byPath["channels[k].upperLimit1"]["enabled"].toObject();
    QVERIFY(!upper["needsAllowAll"].toBool() && upper["dataPropertyRows"].toArray().contains(0));
    QCOMPARE(groups[1].toObject()["records"].toInt(), 32);
  }

  void aClosedStandardOutputStopsTheCommand() {
    CliFleet f;
    prepare(f);
    int ends[2];
    QVERIFY(::pipe(ends) == 0);
    ::close(ends[0]);  // nobody reads
    QFile pipe;
    QVERIFY(pipe.open(ends[1], QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle));
    QTextStream out(&pipe);
    f.transport.clearRequests();
    const CliRun run = f.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json"), "--json"}, nullptr, &out);  // alive: no SIGPIPE
    QCOMPARE(run.status, 8);
    QVERIFY(run.err.contains(QStringLiteral("standard output is closed")));
    QCOMPARE(f.writesSent(), 0);
  }

  void sigtermStopsSendingAndSaysWhatWasWritten() {
    CliFleet f;
    prepare(f);
    const std::vector<sim::SimHost> before = f.transport.fleetHosts();
    qsizetype stoppedAt = -1;
    f.transport.responder = [&](ByteView d) {
      const SentRequest r = readSent(d);
      if (r.tunnelCommand == writeCommandOf(ParamGroup::Channel, 1) && stoppedAt < 0) {
        stoppedAt = f.transport.requests().size();
        ::raise(SIGTERM);  // as a front end's cancel button
      }
      return f.transport.fleet().handle(d);
    };
    const CliRun run = f.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json"), "--json"});
    QCOMPARE(run.status, 7);
    QList<QJsonObject> lines = run.lines();
    lines.removeLast();
    checkSchema(lines);
    QVERIFY(std::any_of(lines.begin(), lines.end(), [](const QJsonObject& e) { return e[QLatin1String("signal")] == QLatin1String("SIGTERM"); }));
    const QJsonObject finished = lines.last();
    QCOMPARE(finished[QLatin1String("status")].toString(), QStringLiteral("cancelled"));
    QVERIFY(f.writesSent(stoppedAt) <= 1);  // at most the request already on its way
    // Every record the host now holds otherwise is named written or sent without acknowledgement; every one
    // named written changed.
    const QStringList written = finished[QLatin1String("written")].toString().split(", ", Qt::SkipEmptyParts);
    const QStringList unconfirmed = finished[QLatin1String("unconfirmed")].toString().split(", ", Qt::SkipEmptyParts);
    QStringList changed;
    for (ParamGroup g : {ParamGroup::Base, ParamGroup::Gprs, ParamGroup::Led, ParamGroup::Channel, ParamGroup::Relay})
      for (int k = 0; k < recordCountOf(g); ++k)
        if (f.host(1).records[readCommandOf(g, k)] != before[1].records.at(readCommandOf(g, k)))
          changed << QString::fromLatin1(configGroupKey(g)) + (isBatchGroup(g) ? QStringLiteral("[%1]").arg(k) : QString());
    QVERIFY(!written.isEmpty());
    for (const QString& r : written) QVERIFY2(changed.contains(r), qPrintable(r));
    for (const QString& r : changed) QVERIFY2(written.contains(r) || unconfirmed.contains(r), qPrintable(r));
    QVERIFY(!changed.contains(QStringLiteral("relays[2]")));
  }

  void historyListsTheEntriesAndShowsEachAsAFile() {
    CliFleet f;
    prepare(f);
    const HostConfig before = applyConfigFile(std::get<ConfigFile>(parseConfigFile(f.cli({"read", "02-4B-7D-00-00-02", "channels"}).out.toUtf8(), "before")), {});
    QCOMPARE(f.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json")}).status, 0);
    const CliRun list = f.cli({"history", "02:4b:7d:00:00:02", "--json"});
    QCOMPARE(list.status, 0);
    const QJsonArray entries = QJsonDocument::fromJson(list.out.toUtf8()).array();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0][QLatin1String("groups")].toString(), QStringLiteral("gprs, channels, relays"));
    QCOMPARE(entries[0][QLatin1String("user")].toString(), operatingSystemUser());  // who wrote, beside the program
    const QString entry = entries[0][QLatin1String("entry")].toString();
    const CliRun show = f.cli({"history", "show", entry});
    QCOMPARE(show.status, 0);
    const HostConfig kept = applyConfigFile(std::get<ConfigFile>(parseConfigFile(show.out.toUtf8(), "entry")), {});
    for (int k = 0; k < recordCountOf(ParamGroup::Channel); ++k)  // what the host held before the write
      QCOMPARE(encodeRecord(kept, ParamGroup::Channel, k), encodeRecord(before, ParamGroup::Channel, k));
    for (const QString& bad : {QStringLiteral("024B7D000002/none.json"), QStringLiteral("../h1.json"), entry.chopped(5)}) {
      QCOMPARE(f.cli({"history", "show", bad}).status, 1);
      QCOMPARE(f.cli({"restore", "02-4B-7D-00-00-02", bad}).status, 1);
    }
    // Restored: the host holds again what it held before, and the write it undid is kept in turn.
    QCOMPARE(f.cli({"restore", "02-4B-7D-00-00-02", entry}).status, 0);
    const HostConfig now = applyConfigFile(std::get<ConfigFile>(parseConfigFile(f.cli({"read", "02-4B-7D-00-00-02", "channels"}).out.toUtf8(), "now")), {});
    for (int k = 0; k < recordCountOf(ParamGroup::Channel); ++k)
      QCOMPARE(encodeRecord(now, ParamGroup::Channel, k), encodeRecord(before, ParamGroup::Channel, k));
    QCOMPARE(QJsonDocument::fromJson(f.cli({"history", "02-4B-7D-00-00-02", "--json"}).out.toUtf8()).array().size(), 2);
  }

  void oneWriterPerHostAcrossPrograms() {
    CliFleet f;
    prepare(f);
    QProcess holder;  // another program writing host 2, then killed
    holder.start(QCoreApplication::applicationFilePath(), {"--hold-lock", f.path("locks"), "02-4B-7D-00-00-02"});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readAll(), QByteArray("held\n"));
    f.transport.clearRequests();
    QElapsedTimer waited;
    waited.start();
    const CliRun refused = f.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json"), "--lock-wait", "300", "--json"});
    QVERIFY(waited.elapsed() >= 300);
    QCOMPARE(refused.status, 6);
    QCOMPARE(f.writesSent(), 0);
    const QList<QJsonObject> lines = refused.lines();
    const QJsonObject heldBy = lines.last()[QLatin1String("heldBy")].toObject();
    QCOMPARE(heldBy[QLatin1String("program")].toString(), QStringLiteral("holder"));
    QCOMPARE(heldBy[QLatin1String("pid")].toInteger(), holder.processId());
    QVERIFY(!heldBy[QLatin1String("user")].toString().isEmpty());
    QVERIFY(std::any_of(lines.begin(), lines.end(), [](const QJsonObject& e) { return e[QLatin1String("event")] == QLatin1String("host-waiting"); }));
    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-02", "--lock-wait", "0"}).status, 0);  // reads never wait
    QCOMPARE(f.cli({"write", "02-4B-7D-00-00-01", f.path("h1.json"), "--lock-wait", "0"}).status, 0);  // another host
    holder.kill();
    QVERIFY(holder.waitForFinished());
    QCOMPARE(f.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json"), "--lock-wait", "0"}).status, 0);
  }
};

// The test also plays the other program: it holds a host's lock until it is killed.
int main(int argc, char** argv) {
  if (argc == 4 && qstrcmp(argv[1], "--hold-lock") == 0) {
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("holder"));
    const auto mac = parseMacAnySpelling(argv[3]);
    HostLock::Taken lock = HostLock::tryTake(*mac, HostLockPlace{{QString::fromLocal8Bit(argv[2])}, {}});
    if (!std::holds_alternative<std::unique_ptr<HostLock>>(lock)) return 1;
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    return app.exec();
  }
  QCoreApplication app(argc, argv);
  CliInterfaceTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}
#include "cli_interface_test.moc"
