// Tables as spreadsheets save them: each encoding, separator and quoting a spreadsheet writes reads as the cells it
// shows; bytes that are no text and a quote that never closes are refused at their line; what is written reads back.
#include <QTest>

#include "config/csv.h"
#include "link/gbk.h"

using namespace quendra;
using Problem = CsvError::Problem;

namespace {

// [cell][cell]|[cell]...: rows and cells visible, line breaks inside cells too.
QString shown(const CsvTable& table) {
  QStringList rows;
  for (const QStringList& row : table) rows.append('[' + row.join(QStringLiteral("][")) + ']');
  return rows.join('|');
}

QByteArray gbk(const char* utf8) { return QByteArray::fromStdString(*utf8ToGbk(utf8)); }

}  // namespace

class CsvTest : public QObject {
  Q_OBJECT
 private slots:
  void spreadsheetFilesReadAsTheirCells_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cells");
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
  }
  void spreadsheetFilesReadAsTheirCells() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cells);
    const CsvResult r = parseCsv(bytes);
    QVERIFY(std::holds_alternative<CsvTable>(r));
    QCOMPARE(shown(std::get<CsvTable>(r)), cells);
  }

  void badFilesAreRefusedAtTheirLine_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("line");
    QTest::newRow("quote never closes") << QByteArray("a,b\r\n1,\"open\r\n2,3\r\n") << int(Problem::UnterminatedQuote) << 2;
    QTest::newRow("neither UTF-8 nor GBK") << QByteArray("a,b\n1,2\n\xFF\xFF,3\n") << int(Problem::NotText) << 3;
    // Line 2 is UTF-8 that GBK also decodes; line 3 is neither.
    QTest::newRow("UTF-8 with a stray byte") << QByteArray("a,b\r\n仓库,1\r\n\x80x,2\r\n") << int(Problem::NotText) << 3;
    QTest::newRow("marked UTF-8 holding GBK") << QByteArray("\xEF\xBB\xBF" "a\r\n") + gbk("测试") << int(Problem::NotText) << 2;
    QTest::newRow("too large") << QByteArray(kMaxCsvBytes + 1, 'a') << int(Problem::TooLarge) << 0;
  }
  void badFilesAreRefusedAtTheirLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, problem);
    QFETCH(int, line);
    const CsvResult r = parseCsv(bytes);
    QVERIFY(std::holds_alternative<CsvError>(r));
    QCOMPARE(int(std::get<CsvError>(r).problem), problem);
    QCOMPARE(std::get<CsvError>(r).line, line);
  }

  void writtenTablesQuoteOnlyWhatNeedsItAndReadBack() {
    const CsvTable table{{"mac", "name", "x"}, {"a,b", " lead", "say \"hi\""}, {"x;y", "two\nlines", "温度"}, {"", "", ""}};
    const QByteArray bytes = csvBytes(table);
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBFmac,name,x\r\n\"a,b\",\" lead\",\"say \"\"hi\"\"\"\r\n"
                               "\"x;y\",\"two\nlines\",温度\r\n,,\r\n"));
    QCOMPARE(shown(std::get<CsvTable>(parseCsv(bytes))), shown(table));
  }
};

QTEST_GUILESS_MAIN(CsvTest)
#include "csv_test.moc"
