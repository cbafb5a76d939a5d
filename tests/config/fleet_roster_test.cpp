// Fleet rosters: columns named as configuration files name fields, every kind of bad roster refused with its row and
// column before anything is used, and a table written from read hosts gives each host its own values back.
#include <QTest>
#include <cmath>

#include "config/fleet_roster.h"
#include "sim/sim_hosts.h"

using namespace quendra;
using Problem = RosterError::Problem;

namespace {

HostConfig filled(int host, std::uint8_t byte = 0) {
  const sim::SimHost h = sim::HostFleet(sim::SimOptions{.hosts = 2}).hosts()[host];
  HostConfig c;
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k)
      decodeRecord(c, g, k, byte ? Bytes(payloadSizeOf(g), byte) : g == ParamGroup::Network ? h.network : h.records.at(readCommandOf(g, k)));
  return c;
}

const QByteArray kHeader = "mac,ip,name,network.hostAddress,base.terminalAddress,channels[0].upperLimit1\r\n";
const QByteArray kRow2 = "02-4B-7D-00-00-01,192.168.1.10,仓库1,192.168.1.21,00000021,40\r\n";

}  // namespace

class FleetRosterTest : public QObject {
  Q_OBJECT
 private slots:
  void fieldPaths_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("problem");  // -1: a good path
    for (const char* good : {"network.hostAddress", "base.terminalAddress", "channels[31].name2", "relays[7].workMode"})
      QTest::newRow(good) << good << -1;
    QTest::newRow("no key") << "network" << int(FieldPathProblem::Malformed);
    QTest::newRow("bad index") << "channels[x].name1" << int(FieldPathProblem::Malformed);
    QTest::newRow("group in capitals") << "Network.hostAddress" << int(FieldPathProblem::UnknownGroup);
    QTest::newRow("no index") << "channels.upperLimit1" << int(FieldPathProblem::MissingIndex);
    QTest::newRow("index on a single") << "base[0].dataInterval" << int(FieldPathProblem::UnexpectedIndex);
    QTest::newRow("ninth relay") << "relays[8].workMode" << int(FieldPathProblem::IndexOutOfRange);
    QTest::newRow("unknown key") << "led.brightness" << int(FieldPathProblem::UnknownField);
  }
  void fieldPaths() {
    QFETCH(QString, text);
    QFETCH(int, problem);
    const auto parsed = parseFieldPath(text);
    if (problem >= 0) {
      QCOMPARE(int(std::get<FieldPathProblem>(parsed)), problem);
    } else {
      QCOMPARE(fieldPathText(std::get<FieldPath>(parsed)), text);
    }
  }
  void columnsOfGroupsInRecordOrder() {
    const std::vector<FieldPath> paths = fieldPathsOf({ParamGroup::Base, ParamGroup::Relay});
    QCOMPARE(paths.size(), fieldsOf(ParamGroup::Base).size() + 8 * fieldsOf(ParamGroup::Relay).size());
    QCOMPARE(fieldPathText(paths.front()), QStringLiteral("base.terminalAddress"));
    QCOMPARE(fieldPathText(paths.back()), QStringLiteral("relays[7].startDuration"));
  }

  void badRostersAreRefusedWithRowAndColumn_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("otherRow");
    const auto row = [](const char* name, const QByteArray& csv, Problem p, int row, int column, int other = 0) {
      QTest::newRow(name) << csv << int(p) << row << column << other;
    };
    row("unknown column", "mac,channels[32].upperLimit1\r\n", Problem::UnknownColumn, 1, 2);
    row("column twice", "mac,network.hostAddress,MAC\r\n", Problem::DuplicateColumn, 1, 3);
    row("no mac column", "ip,name\r\n", Problem::MissingMacColumn, 1, 0);
    row("bad MAC", kHeader + kRow2 + "02-4B-7D-00-00,,,,,\r\n", Problem::BadMac, 3, 1);
    row("bad value", kHeader + kRow2 + "\r\n02-4B-7D-00-00-02,,,,1234567G,\r\n", Problem::BadValue, 4, 5);
    row("MAC twice", kHeader + kRow2 + "02:4b:7d:00:00:01,,,,,\r\n", Problem::DuplicateMac, 3, 1, 2);
    row("one address", kHeader + kRow2 + "024B7D000002,,,192.168.1.21,,\r\n", Problem::SharedHostAddress, 3, 4, 2);
    row("one terminal address", kHeader + kRow2 + "024B7D000002,,,,00000021,\r\n", Problem::SharedTerminalAddress, 3, 5, 2);
    row("cell under no header", kHeader + kRow2 + "024B7D000002,,,,,,x\r\n", Problem::CellWithoutColumn, 3, 7);
    row("quote never closes", kHeader + "\"02-4B-7D-00-00-01,\r\n", Problem::UnterminatedQuote, 0, 0);
  }
  void badRostersAreRefusedWithRowAndColumn() {
    QFETCH(QByteArray, csv);
    QFETCH(int, problem);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, otherRow);
    const RosterResult r = parseRoster(csv, QStringLiteral("fleet.csv"));
    QVERIFY(std::holds_alternative<RosterError>(r));
    const RosterError& e = std::get<RosterError>(r);
    QCOMPARE(int(e.problem), problem);
    QCOMPARE(e.file, QStringLiteral("fleet.csv"));
    QCOMPARE(e.row, row);
    QCOMPARE(e.column, column);
    QCOMPARE(e.otherRow, otherRow);
  }

  void aRowSetsItsCellsAndLeavesEmptyOnes() {
    const auto r = parseRoster(kHeader + "\r\n02:4b:7d:00:00:02 , 10.0.0.9,,, 0000abcd ,\r\n", QStringLiteral("f"));
    const RosterRow& row = std::get<Roster>(r).rows.at(0);
    QCOMPARE(row.row, 3);
    QCOMPARE(row.mac, sim::hostMac(1));
    const HostConfig host = filled(1);
    const HostConfig applied = applyRosterRow(row, host);
    QCOMPARE(applied.base.terminalAddress, 0xABCDu);
    QCOMPARE(applied.network.hostAddress(), host.network.hostAddress());
    RecordMasks base{};
    base[int(ParamGroup::Base)] = 1;
    QVERIFY(rosterRecords(row) == base);
    QVERIFY(differingRecords(applied, host, allRecordMasks()) == base);
  }

  // Every value a cell can hold comes back; a float that is not a number and a text GBK cannot decode stay empty
  // and leave the other host's value; a host nothing was read from gets its MAC alone.
  void aWrittenTableGivesEachHostItsValuesBack() {
    HostConfig original = filled(0);
    original.channels[2].coefA2 = std::nanf("");
    original.channels[3].name1 = "ab\xB7";
    const std::vector<FieldPath> columns = fieldPathsOf(std::vector<ParamGroup>(kAllGroups.begin(), kAllGroups.end()));
    const QByteArray csv = csvBytes(rosterTable(
        columns, {{{sim::hostMac(0), "仓库1", 0x0A000001}, original, allRecordMasks()}, {{sim::hostMac(1)}, filled(1), {}}}));
    const Roster roster = std::get<Roster>(parseRoster(csv, QStringLiteral("f")));
    QCOMPARE(roster.rows.size(), 2u);
    QCOMPARE(roster.rows[0].name, QStringLiteral("仓库1"));
    QVERIFY(roster.rows[1].cells.empty());
    const HostConfig other = filled(0, 0x5A);
    const HostConfig applied = applyRosterRow(roster.rows[0], other);
    std::size_t emptyCells = 0;
    for (const FieldPath& p : columns) {
      const FieldValue value = p.field->get(original, p.index);
      const bool blankText = p.field->kind == FieldKind::Text && std::get<std::string>(value).find_first_not_of(' ') == std::string::npos;
      const bool empty = blankText || fieldPathText(p) == "channels[2].coefA2" || fieldPathText(p) == "channels[3].name1";
      emptyCells += empty;
      QVERIFY2(sameValue(p.field->get(applied, p.index), empty ? p.field->get(other, p.index) : value), qPrintable(fieldPathText(p)));
    }
    QCOMPARE(roster.rows[0].cells.size(), columns.size() - emptyCells);
  }
};

QTEST_GUILESS_MAIN(FleetRosterTest)
#include "fleet_roster_test.moc"
