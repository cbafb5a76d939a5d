// Fleet rosters: tables as spreadsheets save them (each encoding, separator and quoting), columns named as
// configuration files name fields, every bad file refused with its line or its row and column before anything is
// used, and a table written from read hosts that gives each host its own values back.
#include <QTest>

#include "config/fleet_roster.h"
#include "link/gbk.h"
#include "sim/sim_hosts.h"

using namespace quendra;
using Problem = RosterError::Problem;

namespace {

// [cell][cell]|[cell]...: rows and cells visible, line breaks inside cells too.
QString shown(const CsvResult& r) {
  if (const auto* e = std::get_if<CsvError>(&r)) return QStringLiteral("refused %1 at line %2").arg(int(e->problem)).arg(e->line);
  QStringList rows;
  for (const QStringList& row : std::get<CsvTable>(r)) rows.append('[' + row.join(QStringLiteral("][")) + ']');
  return rows.join('|');
}
QString refused(CsvError::Problem p, int line) { return shown(CsvError{p, line}); }
QByteArray gbk(const char* utf8) { return QByteArray::fromStdString(*utf8ToGbk(utf8)); }

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
  void spreadsheetFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("read");
    using P = CsvError::Problem;
    QTest::newRow("UTF-8 with mark, CRLF") << QByteArray("\xEF\xBB\xBFmac,name\r\n1,仓库\r\n") << "[mac][name]|[1][仓库]";
    QTest::newRow("UTF-8 without mark, LF, no last line end") << QByteArray("mac,name\n1,仓库") << "[mac][name]|[1][仓库]";
    QTest::newRow("GBK") << gbk("mac,name\r\n1,温度传感器\r\n") << "[mac][name]|[1][温度传感器]";
    QTest::newRow("CR line ends") << QByteArray("a\rb\r") << "[a]|[b]";
    QTest::newRow("semicolons, commas inside cells") << QByteArray("mac;name\r\n1;a,b\r\n") << "[mac][name]|[1][a,b]";
    QTest::newRow("quoted separator does not decide") << QByteArray("\"a;b;c\",d\r\n") << "[a;b;c][d]";
    QTest::newRow("quoted commas, quotes, line breaks")
        << QByteArray("a,b\r\n\"x,y\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",z") << "[a][b]|[x,y][say \"hi\"]|[two\r\nlines][z]";
    QTest::newRow("empty cells and lines") << QByteArray("a,b,c\r\n,,\r\n\r\n\"\"") << "[a][b][c]|[][][]|[]|[]";
    QTest::newRow("quote inside a cell kept") << QByteArray("a,5\"x, \"y\"") << "[a][5\"x][ \"y\"]";
    QTest::newRow("quote never closes") << QByteArray("a,b\r\n1,\"open\r\n2,3\r\n") << refused(P::UnterminatedQuote, 2);
    QTest::newRow("neither UTF-8 nor GBK") << QByteArray("a,b\n1,2\n\xFF\xFF,3\n") << refused(P::NotText, 3);
    // GBK would read this file, as other characters: line 2 says it is UTF-8.
    QTest::newRow("UTF-8 with a stray byte") << QByteArray("a,b\r\n仓库,1\r\n\x80x,2\r\n") << refused(P::NotText, 3);
    QTest::newRow("marked UTF-8 holding GBK") << QByteArray("\xEF\xBB\xBF" "a\r\n") + gbk("测试") << refused(P::NotText, 2);
    QTest::newRow("too large") << QByteArray(kMaxCsvBytes + 1, 'a') << refused(P::TooLarge, 0);
  }
  void spreadsheetFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, read);
    QCOMPARE(shown(parseCsv(bytes)), read);
  }

  void writtenTablesQuoteOnlyWhatNeedsItAndReadBack() {
    const CsvTable table{{"mac", "name", "x"}, {"a,b", " lead", "say \"hi\""}, {"x;y", "two\nlines", "温度"}, {"", "", ""}};
    const QByteArray bytes = csvBytes(table);
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBFmac,name,x\r\n\"a,b\",\" lead\",\"say \"\"hi\"\"\"\r\n"
                               "\"x;y\",\"two\nlines\",温度\r\n,,\r\n"));
    QCOMPARE(shown(parseCsv(bytes)), shown(table));
  }

  void fieldPaths() {
    for (const char* good : {"network.hostAddress", "base.terminalAddress", "channels[31].name2", "relays[7].workMode"})
      QCOMPARE(fieldPathText(std::get<FieldPath>(parseFieldPath(QString::fromLatin1(good)))), QString::fromLatin1(good));
    using P = FieldPathProblem;
    const std::pair<const char*, P> bad[] = {{"network", P::Malformed},          {"channels[x].name1", P::Malformed},
                                             {"Network.hostAddress", P::UnknownGroup}, {"channels.upperLimit1", P::MissingIndex},
                                             {"base[0].dataInterval", P::UnexpectedIndex}, {"relays[8].workMode", P::IndexOutOfRange},
                                             {"led.brightness", P::UnknownField}};
    for (const auto& [text, problem] : bad) QCOMPARE(std::get<P>(parseFieldPath(QString::fromLatin1(text))), problem);
    const std::vector<FieldPath> paths = fieldPathsOf({ParamGroup::Base, ParamGroup::Relay});
    QCOMPARE(paths.size(), fieldsOf(ParamGroup::Base).size() + 8 * fieldsOf(ParamGroup::Relay).size());
    QCOMPARE(fieldPathText(paths.front()), QStringLiteral("base.terminalAddress"));
    QCOMPARE(fieldPathText(paths.back()), QStringLiteral("relays[7].startDuration"));
  }

  void badRostersAreRefusedWithRowAndColumn_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("where");  // problem row:column, the earlier row
    const auto row = [](const char* name, const QByteArray& csv, Problem p, int row, int column, int other = 0) {
      QTest::newRow(name) << csv << QStringLiteral("%1 %2:%3 %4").arg(int(p)).arg(row).arg(column).arg(other);
    };
    row("unknown column", "mac,channels[32].upperLimit1\r\n", Problem::UnknownColumn, 1, 2);
    row("column twice", "mac,network.hostAddress,MAC\r\n", Problem::DuplicateColumn, 1, 3);
    row("no mac column", "ip,name\r\n", Problem::MissingMacColumn, 1, 0);
    row("bad MAC", kHeader + kRow2 + "02-4B-7D-00-00,,,,,\r\n", Problem::BadMac, 3, 1);
    row("bad value after a blank row", kHeader + kRow2 + "\r\n02-4B-7D-00-00-02,,,,1234567G,\r\n", Problem::BadValue, 4, 5);
    row("MAC twice", kHeader + kRow2 + "02:4b:7d:00:00:01,,,,,\r\n", Problem::DuplicateMac, 3, 1, 2);
    row("one address", kHeader + kRow2 + "024B7D000002,,,192.168.1.21,,\r\n", Problem::SharedHostAddress, 3, 4, 2);
    row("one terminal address", kHeader + kRow2 + "024B7D000002,,,,00000021,\r\n", Problem::SharedTerminalAddress, 3, 5, 2);
    row("cell under no header", kHeader + kRow2 + "024B7D000002,,,,,,x\r\n", Problem::CellWithoutColumn, 3, 7);
    row("quote never closes", kHeader + "\"02-4B-7D-00-00-01,\r\n", Problem::UnterminatedQuote, 0, 0);
  }
  void badRostersAreRefusedWithRowAndColumn() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, where);
    const RosterError e = std::get<RosterError>(parseRoster(csv, QStringLiteral("fleet.csv")));
    QCOMPARE(e.file, QStringLiteral("fleet.csv"));
    QCOMPARE(QStringLiteral("%1 %2:%3 %4").arg(int(e.problem)).arg(e.row).arg(e.column).arg(e.otherRow), where);
  }

  void aRowSetsItsCellsAndLeavesEmptyOnes() {
    const auto r = parseRoster(kHeader + "\r\n02:4b:7d:00:00:02 , 10.0.0.9,,, 0000abcd ,\r\n", QStringLiteral("f"));
    const RosterRow& row = std::get<Roster>(r).rows.at(0);
    QCOMPARE(row.row, 3);
    QCOMPARE(row.mac, sim::hostMac(1));
    const HostConfig host = filled(1);
    const HostConfig applied = applyRosterRow(row, host);
    QCOMPARE(applied.base.terminalAddress, 0xABCDu);
    RecordMasks base{};
    base[int(ParamGroup::Base)] = 1;
    QVERIFY(rosterRecords(row) == base);
    QVERIFY(differingRecords(applied, host, allRecordMasks()) == base);
  }

  // Every value a cell can hold comes back; blank texts, a float that is not a number and a text GBK cannot decode
  // stay empty and leave another host's value; a host nothing was read from gets its MAC alone.
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
