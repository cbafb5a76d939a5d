// The commissioning report of a simulated host: the HTML and the PDF's text (pdftotext from poppler-utils, which
// scripts/setup installs) hold the host's identity and its values as the pages show them, no label or value broken
// inside a word, on every page a header naming the host and the page count in the report's language; the Chinese
// font is embedded, and only the enabled channels are listed unless all are asked for.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "report/host_report.h"
#include "link/gbk.h"
#include "language/interface_language.h"
#include "sim/initial_records.h"
#include "sim/sim_hosts.h"
#include "support/hostile_texts.h"

using namespace quendra;

namespace {

// The records of the first simulated host, as a read of every group gives them.
HostReport simulatedHost(bool allChannels = false) {
  const sim::SimHost h = sim::HostFleet(sim::SimOptions{.hosts = 1}).hosts()[0];
  HostReport r;
  decodeRecord(r.config, ParamGroup::Network, 0, h.network);
  for (ParamGroup g : kAllGroups)
    for (int k = 0; g != ParamGroup::Network && k < recordCountOf(g); ++k)
      decodeRecord(r.config, g, k, h.records.at(readCommandOf(g, k)));
  r.read = allRecordMasks();
  r.host = HostIdentity{h.mac, QStringLiteral("模拟主机1"), sim::hostAddress(0), h.firmwareVersion};
  r.readAt = QDateTime(QDate(2026, 12, 1), QTime(9, 30));
  r.readBy = QStringLiteral("quendra-cli 2.3.0");
  r.allChannels = allChannels;
  return r;
}

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  return p.waitForFinished(20000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// The PDF's text page by page, as pdftotext reads it.
QStringList pdfPages(const QString& pdf) {
  QStringList pages = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// The identity, then values of the network, GPRS, base, channel and relay groups, lists as their texts; each a
// cell's whole text, which a line broken inside the cell would split.
const QStringList kExpected{"模拟主机1", "02-4B-7D-00-00-01", "192.168.1.10", "710", "20250001", "iot.quendra.net",
                            "短信报警模式", "9600", "开启", "定时控制", "调试人", "湿度10", "模拟量2(湿度)控制回差",
                            "告警目标手机号码(已填写)"};

}  // namespace

class HostReportTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;

 private slots:
  void htmlHoldsTheIdentityAndTheEnabledChannels() {
    const QString html = reportHtml(simulatedHost());
    for (const QString& s : kExpected + QStringList{"<td>机载温湿度</td>", "<td>温度16</td>"})  // 16 channels enabled
      QVERIFY2(html.contains(s), qPrintable(s));
    QVERIFY(!html.contains(QStringLiteral("温度17")));
    QVERIFY(reportHtml(simulatedHost(true)).contains(QStringLiteral("<td>温度32</td>")));
    QString error;
    QVERIFY(!writeReport(dir_.filePath("r.txt"), simulatedHost(), &error) && !QFile::exists(dir_.filePath("r.txt")));
    QCOMPARE(error, QStringLiteral("报告文件名要以 .pdf 或 .html 结尾"));
  }

  void pdfPagesHoldWholeCellsUnderTheHostsNameInAnEmbeddedFont_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("longTexts");  // a GPRS address and an LED header text as long as they can be
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("footer");  // of page %1 of %2
    const QString chinese = QStringLiteral("主机名称：模拟主机1　MAC地址：02-4B-7D-00-00-01　IP地址：192.168.1.10");
    QTest::newRow("Chinese") << false << false << chinese << "第%1页，共%2页";
    QTest::newRow("long texts") << false << true << chinese << "第%1页，共%2页";
    QTest::newRow("English") << true << false
                             << "Host name: 模拟主机1   MAC address: 02-4B-7D-00-00-01   IP address: 192.168.1.10"
                             << "Page %1 of %2";
  }
  void pdfPagesHoldWholeCellsUnderTheHostsNameInAnEmbeddedFont() {
    QFETCH(bool, english);
    QFETCH(bool, longTexts);
    QFETCH(QString, header);
    QFETCH(QString, footer);
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext (poppler-utils) is required");
    if (english) QVERIFY(installEnglish(*QCoreApplication::instance()));  // the last row: it stays installed
    const QString pdf = dir_.filePath(QTest::currentDataTag() + QStringLiteral(".pdf"));
    HostReport report = simulatedHost(true);
    const QString address = QString(60, 'q') + ".net", led = QStringLiteral("监测主机").repeated(8);
    if (longTexts) {
      report.config.gprs.targetAddress = address.toStdString();
      report.config.led.headerText = *utf8ToGbk(led.toStdString());
    }
    QVERIFY(writeReport(pdf, report));
    const QStringList pages = pdfPages(pdf);
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    for (int n = 1; n <= pages.size(); ++n) {
      QVERIFY2(pages[n - 1].simplified().contains(header.simplified()), qPrintable(pages[n - 1].left(200)));
      QVERIFY2(pages[n - 1].contains(footer.arg(n).arg(pages.size())), qPrintable(QString::number(n)));
    }
    const QString text = pages.join(QLatin1Char('\n'));
    const QStringList expected = english     ? QStringList{"ModBus parameters", "温度32", "湿度10", "Host commissioning report"}
                                 : longTexts ? QStringList{address, led}
                                             : kExpected + QStringList{"温度32"};
    for (const QString& s : expected) QVERIFY2(text.contains(s), qPrintable(s));
    // Nothing runs off the page's right edge (842 pt, 12 mm margins): a cell that does not fit is cut there.
    const QRegularExpression right(QStringLiteral("xMax=\"([0-9.]+)\""));
    double widest = 0;
    for (auto it = right.globalMatch(run(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"})); it.hasNext();)
      widest = std::max(widest, it.next().captured(1).toDouble());
    QVERIFY2(widest > 421 && widest <= 842 - 34, qPrintable(QString::number(widest)));
    const QString fonts = run(QStringLiteral("pdffonts"), {pdf});
    const QRegularExpression font(QStringLiteral("\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"),
                                  QRegularExpression::MultilineOption);
    int fontsSeen = 0;
    for (auto it = font.globalMatch(fonts); it.hasNext(); ++fontsSeen) QCOMPARE(it.next().captured(1), QStringLiteral("yes"));
    QVERIFY(fontsSeen > 0);
  }

  // Markup in a host's name, channel name and GPRS target is text in the report, never a tag.
  void hostTextsAreEscaped() {
    for (const test::HostileText& h : test::hostileTexts()) {
      if (!h.markup) continue;
      HostReport r = simulatedHost();
      r.host->name = h.text();
      r.config.channels[0].name1 = *h.gbk();
      r.config.gprs.targetAddress = *h.gbk();
      const QString html = reportHtml(r);
      QVERIFY2(!html.contains(h.text().left(5)), h.what);  // the channel name is cut to 20 bytes
      QVERIFY2(html.count(h.text().toHtmlEscaped()) >= 2, h.what);
    }
  }
};

QTEST_MAIN(HostReportTest)
#include "host_report_test.moc"
