// quendra-cli's commands in process against simulated hosts: the file a read writes takes another host to the same
// records but its identity; exit statuses; nothing is sent for a bad file, an unconfirmed command or a refused
// firmware; a silent host gets the attempts asked for; a clone in parallel under loss never calls a host verified
// whose records differ.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "cli/cli.h"
#include "config/config_file.h"
#include "support/fleet_transport.h"

using namespace quendra;
using namespace quendra::test;

namespace {

struct Run {
  int status;
  QString out, err;
};

struct Fixture {
  FleetTransport transport;
  QTemporaryDir dir;
  explicit Fixture(int hosts = 3, double dropPercent = 0, std::uint8_t trailerLow = 10)
      : transport(sim::SimOptions{.hosts = hosts, .dropPercent = dropPercent, .trailerLow = trailerLow}) {}

  Run cli(QStringList args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    cli::Environment env{o, e, false, [this](const cli::Options&) -> Transport* { return &transport; }};
    args << "--search-time" << "50" << "--timeout" << "30";
    return {cli::run(args, env), out, err};  // in this order
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  sim::SimHost& host(int i) { return transport.fleet().hosts()[i]; }
  // Requests that write something (network, MAC or a tunnel write command).
  int writesSent() const {
    int n = 0;
    for (const Bytes& r : transport.requests())
      if (r.size() > 11 && (r[3] == 4 || r[3] == 6 || r[3] == 15 || (r[3] == 10 && classifyTunnelCommand(r[11])->isWrite))) ++n;
    return n;
  }
};

}  // namespace

class CliTest : public QObject {
  Q_OBJECT
 private slots:
  void readThenWriteMakesAnotherHostTheSameButItsIdentity() {
    Fixture f;
    const Run search = f.cli({"search", "--json"});
    QCOMPARE(search.status, 0);
    const QJsonArray found = QJsonDocument::fromJson(search.out.toUtf8()).array();
    QCOMPARE(found.size(), 3);
    QCOMPARE(found[0].toObject()[QStringLiteral("localAddress")].toString(), QStringLiteral("127.0.0.1"));

    QCOMPARE(f.cli({"read", "02-4b-7d-00-00-01", "-o", f.path("h1.json"), "--capture", f.path("read.pcapng")}).status, 0);
    QFile capture(f.path("read.pcapng"));
    QVERIFY(capture.open(QIODevice::ReadOnly) && capture.read(4) == QByteArray("\x0a\x0d\x0d\x0a", 4));  // pcapng
    QVERIFY(capture.size() > 76 * 40);  // every request and reply of the read
    f.host(0).network[100] ^= 0x55;  // host 1 changes after the read: the file keeps what was read
    const Run dry = f.cli({"write", "024B7D000002", f.path("h1.json"), "--dry-run"});
    QCOMPARE(dry.status, 0);
    QVERIFY(dry.out.contains(QStringLiteral("base.terminalAddress  [基础参数 终端地址：]  20250002 -> 20250001")));
    QCOMPARE(f.writesSent(), 0);

    const Bytes identity = f.host(1).network;
    const Run clone = f.cli({"clone", f.path("h1.json"), "192.168.1.11", "02:4B:7D:00:00:03"});
    QCOMPARE(clone.status, 0);
    QVERIFY(clone.out.contains(QStringLiteral("02-4B-7D-00-00-02 192.168.1.11  verified")));
    QVERIFY(f.host(1).records == f.host(0).records && f.host(2).records == f.host(0).records);
    QCOMPARE(f.host(1).network, identity);  // a clone leaves the network settings alone

    // write includes the network settings the file holds: hidden bytes as read from host 1
    QCOMPARE(f.cli({"write", "192.168.1.11", f.path("h1.json"), "network"}).status, 0);
    Bytes expected = f.host(0).network;
    expected[100] ^= 0x55;
    QCOMPARE(f.host(1).network, expected);
  }

  void exitStatusesSayWhatHappened() {
    Fixture f;
    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-01", "-o", f.path("h1.json")}).status, 0);
    QVERIFY(writeConfigFile(f.path("bad.json"),
                            R"({"format": "quendra-host-config", "formatVersion": 1, "base": {"fields": {"loginInterval": "x"}}})"));
    f.transport.clearRequests();
    const Run refused = f.cli({"write", "02-4B-7D-00-00-02", f.path("bad.json")});
    QCOMPARE(refused.status, 1);
    QVERIFY(refused.err.contains(QStringLiteral("bad.json: base.fields.loginInterval: wrong type of value")));
    QCOMPARE(f.cli({"clone", f.path("missing.json"), "--all"}).status, 1);
    QCOMPARE(f.cli({"reset-network", "02-4B-7D-00-00-02"}).status, 1);
    QCOMPARE(f.cli({"set-mac", "02-4B-7D-00-00-02", "01-00-5E-00-00-01", "--yes"}).status, 4);
    QCOMPARE(f.cli({"frobnicate"}).status, 1);
    QVERIFY(f.transport.requests().isEmpty());  // nothing was sent for any of them

    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-09"}).status, 2);  // no such host
    f.host(1).silent.insert(readCommandOf(ParamGroup::Relay, 2));
    const Run partly = f.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json")});
    QCOMPARE(partly.status, 3);
    QVERIFY(partly.out.contains(QStringLiteral("failed: relays[2]")));
    QCOMPARE(f.cli({"set-mac", "02-4B-7D-00-00-03", "02:4b:7d:00:00:33", "--yes"}).status, 0);
    QCOMPARE(f.host(2).mac, (Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x33}));
    Fixture old(2, 0, 2);  // version 702: nothing is written to it
    QCOMPARE(old.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json")}).status, 4);
    QCOMPARE(old.writesSent(), 0);
  }

  void anAbsentHostGetsExactlyTheAttemptsAskedFor() {  // it answers the search and nothing else
    for (const auto& [options, reads] :
         {std::pair{QStringList{"--attempts", "3"}, 3}, {{"--attempts", "2", "--fixed-waits"}, 2}}) {
      Fixture f(1);
      f.transport.responder = [&](ByteView d) {
        return d[3] == kSearch ? f.transport.fleet().handle(d) : std::vector<Bytes>{};
      };
      QCOMPARE(f.cli(QStringList{"read", "02-4B-7D-00-00-01"} + options).status, 2);
      QCOMPARE(f.transport.requests().count(OuterFrame::buildReadNetworkRequest(f.host(0).mac)), reads);
    }
  }

  void cloneUnderLossNeverCallsAHostVerifiedThatDiffers() {
    Fixture f(20, 30);
    f.transport.fleet().seedRandom(3);
    // The file of host 1, read without loss (a fleet's hosts start alike); the other hosts differ from it.
    QCOMPARE(Fixture(1).cli({"read", "02-4B-7D-00-00-01", "-o", f.path("h1.json")}).status, 0);
    for (int i = 1; i < 20; ++i) f.host(i).records[readCommandOf(ParamGroup::Base)][5] = static_cast<std::uint8_t>(i);
    const Run clone = f.cli({"clone", f.path("h1.json"), "--all"});
    QCOMPARE(clone.status, 3);
    const QStringList lines = clone.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 20);
    int verified = 0;
    for (const QString& line : lines) {
      const int i = line.mid(15, 2).toInt(nullptr, 16) - 1;  // 02-4B-7D-00-00-<i + 1>
      QVERIFY2(line.startsWith("02-4B-7D-00-00-") && i >= 0 && i < 20, qPrintable(line));
      QVERIFY2(line.contains("verified") ? f.host(i).records == f.host(0).records : line.contains("failed: "), qPrintable(line));
      verified += line.contains("verified");
    }
    QVERIFY(verified > 0);
  }
};

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
