// The window and reply path fuzz targets' seeds replayed through the window target's driver, the roster target's
// seeds through its own checks, and every fixed crasher kept in fuzz/regressions/<target>/ (where scripts/fuzz says
// one goes; one of the roster reader is there).
#include <QDir>
#include <QTest>

#include "../../fuzz/window_driver.h"
#include "app/device_list.h"

using namespace quendra;

// The roster target's checks (fuzz/fuzz_roster_csv.cpp, built into this test): a failed one traps.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

QFileInfoList inputsOf(const QString& dir) {
  return QDir(QT_TESTCASE_SOURCEDIR "/../fuzz/" + dir).entryInfoList(QDir::Files);
}

QByteArray contentOf(const QFileInfo& file) {
  QFile f(file.filePath());
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class FuzzReplayTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { driver_ = std::make_unique<fuzz::WindowDriver>(); }
  void cleanupTestCase() { driver_.reset(); }

  // Every input plays (a crash fails, and under the sanitizers any fault they see). Each window seed must be a reply
  // the window accepts, or the fuzzer would start from refused input: it leaves its mark (a listed host, a flag, an
  // answered batch record, a log line or the version warning). Seeds come first, so no other input has marked a
  // record before.
  void replays_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("seed");  // empty for inputs that are not a seed
    int seeds = 0;
    for (const QString dir : {"corpus/window_replies", "corpus/reply_path", "regressions/window_replies",
                              "regressions/reply_path"})
      for (const QFileInfo& file : inputsOf(dir)) {
        QByteArray input = contentOf(file);
        const bool seed = dir == "corpus/window_replies" && !file.fileName().startsWith("session_");
        seeds += seed;
        if (dir.endsWith("reply_path"))  // a bare datagram: one datagram operation
          input.prepend(QByteArray("\0", 1) + char(input.size() >> 8) + char(input.size() & 0xFF));
        QTest::newRow(qPrintable(dir + '/' + file.fileName())) << input << (seed ? file.fileName() : QString());
      }
    QCOMPARE(seeds, 153);  // reply_ or ack_ for tunnel commands 1..150, search_answer, network_answer, version_702
  }
  void replays() {
    QFETCH(QByteArray, input);
    QFETCH(QString, seed);
    MainDialog& d = driver_->dialog();
    const long notices = driver_->notices();
    const auto tunnel = classifyTunnelCommand(std::uint8_t(seed.section('_', 1).toInt()));
    const bool batch = tunnel && isBatchGroup(tunnel->group);
    const auto marked = [&] {
      const BatchPlanner& planner = d.session().batches().planner();
      return batch && planner.answered(batchKindOf(tunnel->group, tunnel->isWrite)) >> tunnel->index & 1;
    };
    QVERIFY(!marked());
    driver_->play(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
    if (seed.isEmpty()) return;
    QCOMPARE(driver_->notices(), notices + (seed == "version_702"));  // the version warning, no other
    const bool mark = seed == "search_answer"    ? d.findChild<DeviceList*>()->rowCount() == 1
                      : seed == "network_answer" ? d.session().flags().networkRead
                      : batch                    ? marked()
                      : seed == "version_702" || d.infoLog().text().endsWith(QStringLiteral("成功！\r\n"));
    QVERIFY2(mark, qPrintable("the log says: " + d.infoLog().text()));
  }

  void rosterInputsReplay() {
    int inputs = 0;
    for (const QString dir : {"corpus/roster_csv", "regressions/roster_csv"})
      for (const QFileInfo& file : inputsOf(dir)) {
        const QByteArray input = contentOf(file);
        QVERIFY2(!input.isEmpty(), qPrintable(file.filePath()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
        ++inputs;
      }
    QVERIFY(inputs >= 4);  // three seeds and the quoted-separator crasher
  }

 private:
  std::unique_ptr<fuzz::WindowDriver> driver_;
};

QTEST_MAIN(FuzzReplayTest)
#include "fuzz_replay_test.moc"
