// The commissioning report of a simulated host made by quendra-cli: the HTML and the PDF's text (pdftotext, where
// poppler-utils is installed) hold the host's identity and its values as the pages show them, the Chinese font is
// embedded, and only the enabled channels are listed unless --all-channels asks for all.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "cli/cli.h"
#include "support/fleet_transport.h"
#include "support/hostile_texts.h"

using namespace quendra;
using namespace quendra::test;

namespace {

struct Fixture {
  FleetTransport transport{sim::SimOptions{.hosts = 1}};
  QTemporaryDir dir;
  int report(const QString& file, QStringList more = {}) {
    QString out, err;
    QTextStream o(&out), e(&err);
    cli::Environment env{o, e, false, [this](const cli::Options&) -> Transport* { return &transport; }};
    return cli::run(QStringList{"report", "02-4B-7D-00-00-01", "-o", dir.filePath(file), "--search-time", "50"} + more, env);
  }
  QString html(const QString& file) {
    QFile f(dir.filePath(file));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  QString tool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(20000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
  }
};

// The identity, then values of the network, GPRS, base, channel and relay groups, lists as their texts.
const QStringList kExpected{"模拟主机1", "02-4B-7D-00-00-01", "192.168.1.10", "710", "20250001",
                            "iot.quendra.net", "短信报警模式", "9600", "开启", "定时控制", "调试人"};

}  // namespace

class HostReportTest : public QObject {
  Q_OBJECT
 private slots:
  void htmlHoldsTheIdentityAndTheEnabledChannels() {
    Fixture f;
    QCOMPARE(f.report("r.html"), 0);
    const QString html = f.html("r.html");
    for (const QString& s : kExpected) QVERIFY2(html.contains(s), qPrintable(s));
    QVERIFY(html.contains(QStringLiteral("<td>机载温湿度</td>")));
    QVERIFY(html.contains(QStringLiteral("<td>温度16</td>")));  // 16 channels enabled
    QVERIFY(!html.contains(QStringLiteral("温度17")));
    QCOMPARE(f.report("all.html", {"--all-channels"}), 0);
    QVERIFY(f.html("all.html").contains(QStringLiteral("<td>温度32</td>")));
    QCOMPARE(f.report("r.txt"), int(cli::kUsage));
  }

  void pdfTextHoldsTheIdentityInAnEmbeddedFont() {
    Fixture f;
    QCOMPARE(f.report("r.pdf"), 0);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
    const QString text = f.tool("pdftotext", {f.dir.filePath("r.pdf"), "-"});
    for (const QString& s : kExpected) QVERIFY2(text.contains(s), qPrintable(s));
    const QString fonts = f.tool("pdffonts", {f.dir.filePath("r.pdf")});
    const QRegularExpression font(QStringLiteral("\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"),
                                  QRegularExpression::MultilineOption);
    int fontsSeen = 0;
    for (auto it = font.globalMatch(fonts); it.hasNext(); ++fontsSeen) QCOMPARE(it.next().captured(1), QStringLiteral("yes"));
    QVERIFY(fontsSeen > 0);
  }

  // Markup in a host's name, channel name and GPRS target is text in the report, never a tag.
  void hostTextsAreEscaped() {
    for (const HostileText& h : hostileTexts()) {
      if (!h.markup) continue;
      Fixture f;
      holdTexts(f.transport.fleet().hosts()[0], *h.gbk());
      QCOMPARE(f.report("r.html"), 0);
      const QString html = f.html("r.html");
      QVERIFY2(!html.contains(h.text().left(5)), h.what);  // the channel name is cut to 20 bytes
      QVERIFY2(html.count(h.text().toHtmlEscaped()) >= 2, h.what);
    }
  }
};

QTEST_MAIN(HostReportTest)
#include "host_report_test.moc"
