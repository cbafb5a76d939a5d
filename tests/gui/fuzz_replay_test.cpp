// The fuzz inputs, replayed through the same window driver as the window fuzz
// target. The regressions (fuzz/regressions/, inputs that once crashed the
// window) and the seed corpora must all pass; and every seed must still be a reply the window
// accepts, or the fuzzer would start from refused input and reach little.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "../../fuzz/window_driver.h"
#include "app/device_list.h"

using namespace quendra;

namespace {

const QString kFuzzDir = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../fuzz");

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// fuzz_reply_path inputs are bare datagrams: one datagram operation.
QByteArray asWindowInput(const QByteArray& datagram) {
  QByteArray input;
  input.append(char(0));
  input.append(char(datagram.size() >> 8));
  input.append(char(datagram.size() & 0xFF));
  return input + datagram;
}

void addRows(const QString& dir, bool bareDatagrams) {
  const QDir d(kFuzzDir + QLatin1Char('/') + dir);
  for (const QString& name : d.entryList(QDir::Files, QDir::Name)) {
    const QByteArray bytes = readAll(d.filePath(name));
    QTest::newRow(qPrintable(dir + QLatin1Char('/') + name)) << (bareDatagrams ? asWindowInput(bytes) : bytes);
  }
}

void play(fuzz::WindowDriver& driver, const QByteArray& input) {
  driver.play(reinterpret_cast<const std::uint8_t*>(input.constData()), static_cast<std::size_t>(input.size()));
}

}  // namespace

class FuzzReplayTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { driver_ = std::make_unique<fuzz::WindowDriver>(); }
  void cleanupTestCase() { driver_.reset(); }

  // Each seed's mark on the window: a listed host, a flag, a log line, an
  // answered batch record, or the version warning. Runs first, so no other
  // input has marked a batch record before.
  void everySeedIsAccepted_data() {
    QTest::addColumn<QString>("seed");
    const QDir d(kFuzzDir + QStringLiteral("/corpus/window_replies"));
    const QStringList tunnel = d.entryList({QStringLiteral("reply_*"), QStringLiteral("ack_*")}, QDir::Files);
    QCOMPARE(tunnel.size(), 150);  // tunnel commands 1..150
    for (const QString& s : tunnel + QStringList{QStringLiteral("search_answer"), QStringLiteral("network_answer"),
                                                  QStringLiteral("version_702")})
      QTest::newRow(qPrintable(s)) << s;
  }
  void everySeedIsAccepted() {
    QFETCH(QString, seed);
    const QByteArray input = readAll(kFuzzDir + QStringLiteral("/corpus/window_replies/") + seed);
    QVERIFY(!input.isEmpty());
    fuzz::WindowDriver& driver = *driver_;
    MainDialog& d = driver.dialog();
    const long noticesBefore = driver.notices();

    // reply_<command> and ack_<command> of the batch groups mark their record.
    const int command = seed.section(QLatin1Char('_'), 1).toInt();
    const auto tunnel = classifyTunnelCommand(static_cast<std::uint8_t>(command));
    std::optional<BatchKind> kind;
    if (tunnel && isBatchGroup(tunnel->group)) kind = batchKindOf(tunnel->group, tunnel->isWrite);
    const std::uint32_t bit = tunnel ? 1u << tunnel->index : 0;
    if (kind) QVERIFY(!(d.session().batches().planner().answered(*kind) & bit));

    play(driver, input);

    if (seed == QLatin1String("version_702")) {
      QCOMPARE(driver.notices(), noticesBefore + 1);
      return;
    }
    QCOMPARE(driver.notices(), noticesBefore);
    if (seed == QLatin1String("search_answer"))
      QCOMPARE(d.deviceList()->rowCount(), 1);
    else if (seed == QLatin1String("network_answer"))
      QVERIFY(d.flags().networkRead);
    else if (kind)
      QVERIFY(d.session().batches().planner().answered(*kind) & bit);
    else
      QVERIFY2(d.infoLog().text().endsWith(QStringLiteral("成功！\r\n")), qPrintable(d.infoLog().text()));
  }

  void replaysWithoutFault_data() {
    QTest::addColumn<QByteArray>("input");
    addRows(QStringLiteral("regressions/window_replies"), false);
    addRows(QStringLiteral("regressions/reply_path"), true);
    addRows(QStringLiteral("corpus/window_replies"), false);
    addRows(QStringLiteral("corpus/reply_path"), true);
  }
  void replaysWithoutFault() {
    QFETCH(QByteArray, input);
    play(*driver_, input);  // a fault ends the process under the sanitizers
  }

 private:
  std::unique_ptr<fuzz::WindowDriver> driver_;
};

QTEST_MAIN(FuzzReplayTest)
#include "fuzz_replay_test.moc"
