// quendra-cli's commands in process against simulated hosts: the file a read writes takes other hosts to the same
// records but their identity; exit statuses; nothing is sent for a bad file, an unconfirmed command or a refused
// firmware; a silent host gets the attempts asked for; one that stops answering mid-write is named with what was
// written; a clone in parallel under loss never calls a host verified
// whose records differ.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "config/config_file.h"
#include "config/csv.h"
#include "config/fleet_roster.h"
#include "config/history_store.h"
#include "support/cli_run.h"
#include "support/hostile_texts.h"

using namespace quendra;
using namespace quendra::test;

class CliTest : public QObject {
  Q_OBJECT
 private slots:
  void searchReadCaptureAndADryRun() {
    CliFleet f;
    const CliRun search = f.cli({"search", "--json"});
    QCOMPARE(search.status, 0);
    const QJsonArray found = QJsonDocument::fromJson(search.out.toUtf8()).array();
    QCOMPARE(found.size(), 3);
    QCOMPARE(found[0].toObject()[QStringLiteral("localAddress")].toString(), QStringLiteral("127.0.0.1"));

    QCOMPARE(f.cli({"read", "02-4b-7d-00-00-01", "-o", f.path("h1.json"), "--capture", f.path("read.pcapng")}).status, 0);
    QFile capture(f.path("read.pcapng"));
    QVERIFY(capture.open(QIODevice::ReadOnly) && capture.read(4) == QByteArray("\x0a\x0d\x0d\x0a", 4));  // pcapng
    QVERIFY(capture.size() > 76 * 40);  // every request and reply of the read
    f.host(0).network[100] ^= 0x55;  // host 1 changes after the read: the file keeps what was read
    const CliRun dry = f.cli({"write", "024B7D000002", f.path("h1.json"), "--dry-run"});
    QCOMPARE(dry.status, 0);
    QVERIFY(dry.out.contains(
        QStringLiteral("base.terminalAddress  [基础参数 终端地址：]  20250002 kept (not 20250001): the host's identity")));
    QCOMPARE(f.writesSent(), 0);
  }

  // What a write of host 1's file leaves of the target's identity (address, terminal address, unnamed network
  // bytes) and what it takes of the shared settings (the gateway, the data interval).
  void identityStaysWithItsHost_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QList<int>>("targets");  // hosts written
    QTest::addColumn<bool>("sharedNetwork");  // the file's gateway written
    QTest::addColumn<bool>("base");           // the file's data interval written
    QTest::addColumn<bool>("identity");       // the file's address and terminal address written
    const QString file = QStringLiteral("FILE");
    QTest::newRow("write") << QStringList{"write", "192.168.1.11", file} << QList<int>{1} << false << true << false;
    QTest::newRow("--with-network") << QStringList{"write", "192.168.1.11", file, "--with-network"} << QList<int>{1}
                                    << true << true << false;
    QTest::newRow("network named") << QStringList{"write", "192.168.1.11", file, "network"} << QList<int>{1} << true
                                   << false << false;
    QTest::newRow("--with-identity") << QStringList{"write", "192.168.1.11", file, "--with-identity"} << QList<int>{1}
                                     << true << true << true;
    QTest::newRow("clone --with-network") << QStringList{"clone", file, "192.168.1.11", "192.168.1.12", "--with-network"}
                                          << QList<int>{1, 2} << true << true << false;
    QTest::newRow("its own file") << QStringList{"write", "02-4B-7D-00-00-01", file} << QList<int>{0} << true << true << true;
  }
  void identityStaysWithItsHost() {
    QFETCH(QStringList, args);
    QFETCH(QList<int>, targets);
    QFETCH(bool, sharedNetwork);
    QFETCH(bool, base);
    QFETCH(bool, identity);
    CliFleet f;
    putU32LE(f.host(0).network, 5, 0xC0A801FE);  // gateway 192.168.1.254
    putU16LE(f.host(0).records[1], 9, 600);      // data interval
    QCOMPARE(f.cli({"read", "192.168.1.10", "-o", f.path("h1.json")}).status, 0);
    const std::vector<sim::SimHost> before = f.transport.fleetHosts();
    // Host 1 is changed after it was read: its own file takes it back.
    for (std::size_t o : {1u, 13u, 200u}) f.host(0).network[o] ^= 0x0F;
    putU32LE(f.host(0).records[1], 1, 0x99999999);
    for (QString& a : args) a.replace(QStringLiteral("FILE"), f.path("h1.json"));
    const CliRun run = f.cli(args);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    for (int i : targets) {
      const sim::SimHost& now = f.host(i);
      const sim::SimHost& was = before[std::size_t(i)];
      const sim::SimHost& from = before[0];
      QCOMPARE(getU32LE(now.network, 1), getU32LE((identity ? from : was).network, 1));                    // address
      QCOMPARE(getU32LE(now.records.at(1), 1), getU32LE((identity ? from : was).records.at(1), 1));        // terminal address
      QCOMPARE(getU32LE(now.network, 5), getU32LE((sharedNetwork ? from : was).network, 5));               // gateway
      QCOMPARE(getU32LE(now.records.at(1), 9), getU32LE((base ? from : was).records.at(1), 9));            // intervals
      for (std::size_t o = 88; o < now.network.size(); ++o) QCOMPARE(now.network[o], was.network[o]);  // unnamed
      QVERIFY(now.mac == was.mac);
      QCOMPARE(HistoryStore(f.path("history")).entries(now.mac).size(), std::size_t{1});  // what it held, kept first
    }
  }

  // Three hosts fresh from the factory (one address, one terminal address) commissioned from a roster and a
  // template, then read back as a table.
  void aRosterCommissionsAFleetAndTheTableReadsItBack() {
    CliFleet f;
    for (int i = 0; i < 3; ++i) {
      putU32LE(f.host(i).network, 1, 0xC0A801C8);  // 192.168.1.200
      putU32LE(f.host(i).records[1], 1, 1);
    }
    const CliRun search = f.cli({"search", "--json"});
    for (const QJsonValue& host : QJsonDocument::fromJson(search.out.toUtf8()).array())
      QCOMPARE(host[QStringLiteral("conflicts")].toArray().first().toString(), QStringLiteral("address shared with another host"));
    putU16LE(f.host(0).records[1], 9, 600);  // the template's data interval
    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-01", "base", "-o", f.path("template.json")}).status, 0);
    const std::vector<sim::SimHost> before = f.transport.fleetHosts();
    QFile roster(f.path("roster.csv"));
    QVERIFY(roster.open(QIODevice::WriteOnly));
    roster.write("mac;network.hostAddress;base.terminalAddress;channels[0].name1\r\n"
                 "02-4B-7D-00-00-01;192.168.1.21;00000021;\xce\xc2\xb6\xc8\r\n"  // GBK, as Excel saves it
                 "024b7d000002;192.168.1.22;00000022;\r\n02:4B:7D:00:00:03;192.168.1.23;00000023;x\r\n");
    roster.close();
    f.transport.clearRequests();
    const CliRun apply = f.cli({"apply", f.path("roster.csv"), "--template", f.path("template.json")});
    QVERIFY2(apply.status == 0, qPrintable(apply.out + apply.err));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(getU32LE(f.host(i).network, 1), 0xC0A80115u + unsigned(i));
      QCOMPARE(getU32LE(f.host(i).records.at(1), 1), 0x21u + unsigned(i));
      QCOMPARE(getU16LE(f.host(i).records.at(1), 9), std::uint16_t{600});
      QVERIFY(std::equal(before[i].network.begin() + 88, before[i].network.end(), f.host(i).network.begin() + 88));
      QCOMPARE(HistoryStore(f.path("history")).entries(f.host(i).mac).size(), std::size_t{1});
    }
    QCOMPARE(f.writesSent(), 3 + 3 + 2);  // network and base of each, channel 1 where a name was given
    QCOMPARE(f.cli({"table", "--all", "base.terminalAddress", "channels[0].name1", "-o", f.path("table.csv")}).status, 0);
    const Roster table = std::get<Roster>(readRoster(f.path("table.csv")));
    QCOMPARE(table.rows.size(), std::size_t{3});
    for (const RosterRow& row : table.rows) {
      const int i = row.mac[5] - 1;
      QCOMPARE(std::get<std::uint32_t>(row.cells[0].value), 0x21u + unsigned(i));
      const std::string untouched = decodeChannelPayload(before[1].records.at(5))->name1;  // an empty cell leaves it
      QCOMPARE(std::get<std::string>(row.cells[1].value), i == 0 ? std::string("\xce\xc2\xb6\xc8") : i == 2 ? "x" : untouched);
    }
  }

  void oneGroupTravelsAsARecordTable() {
    CliFleet f(1);
    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-01", "relays", "--csv", "-o", f.path("r.csv")}).status, 0);
    CsvTable t = std::get<CsvTable>(readCsvFile(f.path("r.csv")));
    QCOMPARE(t.size(), std::size_t{9});
    QCOMPARE(t[0], (QStringList{"record", "workMode", "startInterval", "startDuration"}));
    QCOMPARE(t[3][0], QStringLiteral("relays[2]"));
    t[3][2] = QStringLiteral("77");  // relay 3's start interval; relay 4 names no value
    t[4] = QStringList{QStringLiteral("relays[3]"), {}, {}, {}};
    QVERIFY(writeCsvFile(f.path("r.csv"), csvBytes(t)));
    f.transport.clearRequests();
    QCOMPARE(f.cli({"write", "02-4B-7D-00-00-01", f.path("r.csv")}).status, 0);
    QCOMPARE(f.writesSent(), 1);
    QCOMPARE(getU16LE(f.host(0).records.at(readCommandOf(ParamGroup::Relay, 2)), 1), std::uint16_t{77});
    t[5][3] = QStringLiteral("x");
    QVERIFY(writeCsvFile(f.path("r.csv"), csvBytes(t)));
    const CliRun bad = f.cli({"write", "02-4B-7D-00-00-01", f.path("r.csv")});
    QCOMPARE(bad.status, 1);
    QVERIFY(bad.err.contains(QStringLiteral("r.csv: row 6, column startDuration: wrong type of value")));
  }

  void networkCommandsSucceedOnlyWhenTheHostAnswersAfterwards() {
    CliFleet f;
    putU32LE(f.host(0).network, 1, 0x0A000005);  // a changed address: the reset restores 192.168.1.10
    const CliRun reset = f.cli({"reset-network", "02-4B-7D-00-00-01", "--yes"});
    QCOMPARE(reset.status, 0);
    QVERIFY2(reset.out.contains(QStringLiteral("it answers at 192.168.1.10")), qPrintable(reset.out + reset.err));
    const auto kept = HistoryStore(f.path("history")).entries(f.host(0).mac);  // its settings before, kept first
    QVERIFY(kept.size() == 1 && kept[0].records == RecordMasks{1});
    bool wasReset = false;
    f.transport.responder = [&f, &wasReset](ByteView d) {  // a host that takes the reset and answers no read afterwards
      wasReset = wasReset || readSent(d).command == kFactoryReset;
      return readSent(d).command == kReadNetwork && wasReset ? std::vector<Bytes>{} : f.transport.fleet().handle(d);
    };
    QCOMPARE(f.cli({"reset-network", "02-4B-7D-00-00-02", "--yes"}).status, 2);
    f.transport.responder = nullptr;
    f.transport.clearRequests();
    QCOMPARE(f.cli({"set-mac", "02-4B-7D-00-00-02", "01-00-5E-00-00-01", "--yes"}).status, 4);  // refused by the session
    QCOMPARE(f.writesSent(), 0);
    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-01", "-o", f.path("h1.json")}).status, 0);
    QCOMPARE(f.cli({"diff", f.path("h1.json"), "02-4B-7D-00-00-01", "--exit-code"}).status, 0);
    QCOMPARE(f.cli({"diff", f.path("h1.json"), "02-4B-7D-00-00-02", "--exit-code"}).status, 5);
  }

  void exitStatusesSayWhatHappened() {
    CliFleet f;
    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-01", "-o", f.path("h1.json")}).status, 0);
    QVERIFY(writeConfigFile(f.path("bad.json"),
                            R"({"format": "quendra-host-config", "formatVersion": 1, "base": {"fields": {"loginInterval": "x"}}})"));
    f.transport.clearRequests();
    const CliRun refused = f.cli({"write", "02-4B-7D-00-00-02", f.path("bad.json")});
    QCOMPARE(refused.status, 1);
    QVERIFY(refused.err.contains(QStringLiteral("bad.json: base.fields.loginInterval: wrong type of value")));
    QCOMPARE(f.cli({"clone", f.path("missing.json"), "--all"}).status, 1);
    QCOMPARE(f.cli({"reset-network", "02-4B-7D-00-00-02"}).status, 1);
    QCOMPARE(f.cli({"frobnicate"}).status, 1);
    const QString roster = f.path("roster.csv");  // a roster's error names its file, and its row and column if any
    for (const auto& [csv, error] : {std::pair{"name\r\nx\r\n", roster + ": row 1: has no \"mac\" column"},
                                     {"mac,name\r\n024B7D000001,a\r\n02-4b-7d-00-00-01,b\r\n",
                                      roster + ": row 3, column 1 (mac): the host is named again (first in row 2)"}}) {
      QVERIFY(writeCsvFile(roster, csv));
      const CliRun apply = f.cli({"apply", roster});
      QCOMPARE(apply.status, 1);
      QVERIFY2(apply.err.contains(error), qPrintable(apply.err));
    }
    QVERIFY(f.transport.requests().isEmpty());  // nothing was sent for any of them

    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-09"}).status, 2);  // no such host
    f.host(1).silent.insert(readCommandOf(ParamGroup::Relay, 2));
    const CliRun partly = f.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json")});
    QCOMPARE(partly.status, 3);
    QVERIFY(partly.out.contains(QStringLiteral("failed: no answer for relays[2]")));
    QCOMPARE(f.cli({"set-mac", "02-4B-7D-00-00-03", "02:4b:7d:00:00:33", "--yes"}).status, 0);
    QCOMPARE(f.host(2).mac, (Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x33}));
    CliFleet old(2, 0, 2);  // version 702: nothing is written to it
    QCOMPARE(old.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json")}).status, 4);
    QCOMPARE(old.writesSent(), 0);
    CliFleet gated(2);  // reads pass; the first write's acknowledgement fails the gate: nothing more is written
    gated.transport.acknowledgeWritesAs(7, 2);
    const CliRun refusedWrite = gated.cli({"write", "02-4B-7D-00-00-02", f.path("h1.json")});
    QCOMPARE(refusedWrite.status, 4);
    QVERIFY(refusedWrite.out.contains(QStringLiteral("refused: its firmware version is not supported")));
    QCOMPARE(gated.writesSent(), 1);
  }

  void anAbsentHostGetsExactlyTheAttemptsAskedFor() {  // it answers the search and nothing else
    for (const auto& [options, reads] :
         {std::pair{QStringList{"--attempts", "3"}, 3}, {{"--attempts", "2", "--fixed-waits"}, 2}}) {
      CliFleet f(1);
      f.transport.responder = [&](ByteView d) {
        return d[3] == kSearch ? f.transport.fleet().handle(d) : std::vector<Bytes>{};
      };
      QCOMPARE(f.cli(QStringList{"read", "02-4B-7D-00-00-01"} + options).status, 2);
      QCOMPARE(f.transport.requests().count(OuterFrame::buildReadNetworkRequest(f.host(0).mac)), reads);
    }
  }

  void aHostThatStopsAnsweringMidWriteNamesWhatWasWritten() {
    CliFleet f(1);
    QCOMPARE(f.cli({"read", "02-4B-7D-00-00-01", "-o", f.path("h1.json")}).status, 0);
    for (int k = 0; k < kChannelCount; ++k) {  // every channel now differs from the file
      HostConfig c;
      Bytes& record = f.host(0).records[readCommandOf(ParamGroup::Channel, k)];
      decodeRecord(c, ParamGroup::Channel, k, record);
      c.channels[std::size_t(k)].alarmDelay += 1;
      record = encodeRecord(c, ParamGroup::Channel, k);
    }
    bool cut = false;  // from the fourth channel's write on, the host hears nothing
    f.transport.responder = [&](ByteView d) {
      cut = cut || readSent(d).tunnelCommand == writeCommandOf(ParamGroup::Channel, 3);
      return cut ? std::vector<Bytes>{} : f.transport.fleet().handle(d);
    };
    const CliRun r = f.cli({"write", "02-4B-7D-00-00-01", f.path("h1.json")});
    QCOMPARE(r.status, 2);
    QVERIFY2(r.out.contains("stopped answering; written: channels[0], channels[1], channels[2]; not written: "
                            "channels[3], channels[4]"), qPrintable(r.out));
  }

  void cloneUnderLossNeverCallsAHostVerifiedThatDiffers() {
    CliFleet f(20, 30);
    f.transport.fleet().seedRandom(3);
    // The file of host 1, read without loss (a fleet's hosts start alike); the other hosts differ from it.
    QCOMPARE(CliFleet(1).cli({"read", "02-4B-7D-00-00-01", "-o", f.path("h1.json")}).status, 0);
    for (int i = 1; i < 20; ++i) f.host(i).records[readCommandOf(ParamGroup::Base)][5] = static_cast<std::uint8_t>(i);
    const HostConfig asked = applyConfigFile(std::get<ConfigFile>(readConfigFile(f.path("h1.json"))), HostConfig{});
    const std::vector<sim::SimHost> before = f.transport.fleetHosts();
    const CliRun clone = f.cli({"clone", f.path("h1.json"), "--all"});
    QCOMPARE(clone.status, 3);
    const QStringList lines = clone.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 20);
    int verified = 0;
    for (const QString& line : lines) {
      const int i = line.mid(15, 2).toInt(nullptr, 16) - 1;  // 02-4B-7D-00-00-<i + 1>
      QVERIFY2(line.startsWith("02-4B-7D-00-00-") && i >= 0 && i < 20, qPrintable(line));
      if (!line.contains("verified")) {
        QVERIFY2(line.contains("failed: "), qPrintable(line));
        continue;
      }
      ++verified;
      QVERIFY2(f.host(i).network == before[std::size_t(i)].network, qPrintable(line));  // a clone leaves it alone
      HostConfig expected = asked;  // every record the file holds, as the file has it, but the host's identity
      expected.base.terminalAddress = 0x20250001u + unsigned(i);
      for (ParamGroup g : kAllGroups)
        for (int k = 0; g != ParamGroup::Network && k < recordCountOf(g); ++k)
          QVERIFY2(f.host(i).records.at(readCommandOf(g, k)) == encodeRecord(expected, g, k), qPrintable(line));
    }
    QVERIFY(verified > 0);
  }

  // A text a spreadsheet would run as a formula is written as text (a leading apostrophe), numbers as they are; read
  // back, each text is what was written, an apostrophe of its own included.
  void hostileTextsStayTextInASpreadsheetAndComeBackExactly() {
    QCOMPARE(csvBytes({{"-5", "+1.5", "-2e3", "'x", "a=b"}}), QByteArray("\xEF\xBB\xBF-5,+1.5,-2e3,'x,a=b\r\n"));
    for (const HostileText& h : hostileTexts()) {
      QString written = QString::fromUtf8(csvBytes({{h.text()}}).mid(3));  // after the byte-order mark
      if (written.startsWith('"')) written.remove(0, 1);
      QVERIFY2(!QStringLiteral("=+-@\t\r").contains(written.front()), h.what);
      const CsvTable table{{h.text(), '\'' + h.text(), "''" + h.text()}};
      QVERIFY2(std::get<CsvTable>(parseCsv(csvBytes(table))) == table, h.what);
    }
  }

  // A host's name, channel name and GPRS target whatever anyone typed: text output shows their control characters as
  // escapes (nothing drives the terminal), --json and the table's cells keep them exact.
  void hostileTextsNeverDriveTheTerminal() {
    const auto drivesTerminal = [](const QString& out) {
      return std::any_of(out.begin(), out.end(), [](QChar c) {
        return (c < QChar(0x20) && c != QChar('\n')) || (c >= QChar(0x7F) && c <= QChar(0x9F)) || c == QChar(0x202E);
      });
    };
    for (const HostileText& h : hostileTexts()) {
      const auto gbk = h.gbk();
      if (!gbk) continue;  // GBK cannot hold it: no host sends it
      CliFleet f(1);
      const QString mac = QStringLiteral("02-4B-7D-00-00-01");
      holdTexts(f.host(0), *gbk);
      const std::uint8_t channel = readCommandOf(ParamGroup::Channel, 0);
      QCOMPARE(f.cli({"read", mac, "channels", "-o", f.path("was.json")}).status, 0);
      ChannelParams c = *decodeChannelPayload(f.host(0).records.at(channel));
      c.name1 = "x";
      f.host(0).records[channel] = encodeChannelPayload(c);

      const CliRun search = f.cli({"search"}), diff = f.cli({"diff", mac, f.path("was.json")});
      QVERIFY2(search.out.contains(mac) && !drivesTerminal(search.out), h.what);
      QVERIFY2(diff.out.contains("channels[0].name1") && !drivesTerminal(diff.out), h.what);
      const QJsonArray found = QJsonDocument::fromJson(f.cli({"search", "--json"}).out.toUtf8()).array();
      QCOMPARE(found.at(0)[QLatin1String("name")].toString(), h.text());
      if (!h.rawGbk.empty()) continue;  // a text GBK cannot decode leaves its cell empty
      const auto table = parseCsv(f.cli({"table", mac, "gprs.targetAddress"}).out.toUtf8());
      QCOMPARE(std::get<CsvTable>(table).at(1).last(), h.text());
    }
  }
};

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
