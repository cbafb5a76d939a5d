// The channel page through the real window, transport and sequencer against
// quendra-hostsim (inside a private network namespace): a prompt read of all
// 32 channels, a host that never answers channel 5, and editing channel 7,
// writing all 32 back and reading them again. The simulator's request log
// shows what went on the wire.
#include <QTest>

#include "app/wait_dialog.h"
#include "link/tunnel_frame.h"
#include "pages/channel_page.h"
#include "support/simulated_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

constexpr int kBatchWaitMs = 60000;

// The tool and one simulator, with the simulated host found and selected.
struct Session : SimulatedWindow {
  ChannelPage* page = nullptr;

  using SimulatedWindow::SimulatedWindow;

  bool open() {
    if (!searchAndSelect()) return false;
    page = dialog.channelPage();
    dialog.tabs()->setCurrentIndex(MainDialog::ChannelTab);
    return true;
  }

  QPushButton* button(const QString& text) const { return buttonByText(page, text); }

  // Presses the button and waits for the summary; the operator then closes
  // the wait box. False when the summary does not come.
  bool runBatch(const QString& buttonText, const QString& summary) {
    QTest::mouseClick(button(buttonText), Qt::LeftButton);
    WaitDialog* box = dialog.waitDialog();
    if (!box->isVisible()) return false;
    const bool done = QTest::qWaitFor([&] { return box->text() == summary; }, kBatchWaitMs);
    box->reject();
    return done;
  }

  // The tunnel command numbers the simulator heard, in order.
  QList<int> tunnelCommandsHeard() const {
    QList<int> out;
    for (const QString& line : sim.requestLog()) {
      const QByteArray d = QByteArray::fromHex(line.toLatin1());
      if (d.size() > 11 && static_cast<std::uint8_t>(d[3]) == kTunnel) out << static_cast<std::uint8_t>(d[11]);
    }
    return out;
  }
};

QList<int> range(int first, int last) {
  QList<int> out;
  for (int c = first; c <= last; ++c) out << c;
  return out;
}

}  // namespace

class ChannelBatchNetTest : public QObject {
  Q_OBJECT
 private slots:
  void promptReadSendsEachChannelOnce() {
    Session s;
    QVERIFY(s.open());
    QVERIFY(s.runBatch(QStringLiteral("读取通道参数"), QStringLiteral("---通道参数读取成功!---")));
    QCOMPARE(s.tunnelCommandsHeard(), range(5, 36));
    QVERIFY(s.dialog.flags().channelRead);
    QCOMPARE(findByAccessibleName<QComboBox>(s.page, QStringLiteral("通道号："))->currentText(),
             QStringLiteral("通道32"));
    QVERIFY(s.notifier.notices.isEmpty());
  }

  void silentChannel5IsAskedFourTimes() {
    Session s({QStringLiteral("--silent"), QStringLiteral("9")});
    QVERIFY(s.open());
    QVERIFY(s.runBatch(QStringLiteral("读取通道参数"), QStringLiteral("通道参数读取失败......")));
    QCOMPARE(s.tunnelCommandsHeard(), range(5, 8) + QList<int>({9, 9, 9}) + range(9, 36));
    QCOMPARE(s.dialog.infoLog().text(), QStringLiteral("通道5参数读取失败\r\n"));
    QVERIFY(!s.dialog.flags().channelRead);
    QTest::mouseClick(s.button(QStringLiteral("设置通道参数")), Qt::LeftButton);
    QCOMPARE(s.notifier.notices.size(), 1);
    QCOMPARE(s.notifier.notices[0].text, QStringLiteral("请先读取通道参数，再配置!"));
  }

  void editChannel7WriteAllAndReadItBack() {
    Session s;
    QVERIFY(s.open());
    auto* selector = findByAccessibleName<QComboBox>(s.page, QStringLiteral("通道号："));
    auto* upper = findByAccessibleName<QLineEdit>(s.page, QStringLiteral("模拟量1(温度)上限："));
    auto* delay = findByAccessibleName<QLineEdit>(s.page, QStringLiteral("报警延时(S)："));
    auto* name = findByAccessibleName<QLineEdit>(s.page, QStringLiteral("模拟量1名称："));
    QVERIFY(selector && upper && delay && name);
    QVERIFY(s.runBatch(QStringLiteral("读取通道参数"), QStringLiteral("---通道参数读取成功!---")));

    selector->setCurrentIndex(6);
    upper->setText(QStringLiteral("25.5"));
    delay->setText(QStringLiteral("300"));
    name->setText(QStringLiteral("七号温度"));
    QVERIFY(s.runBatch(QStringLiteral("设置通道参数"), QStringLiteral("---通道参数写入成功!---")));
    QCOMPARE(s.tunnelCommandsHeard().mid(32), range(37, 68));
    const Bytes sent7 = s.page->recordPayload(6);
    QCOMPARE(sent7[98], 0x2C);
    QCOMPARE(sent7[99], 0x01);

    // Spoil channel 7 in memory (switching away stores it), then read it back.
    selector->setCurrentIndex(6);
    upper->setText(QStringLiteral("1"));
    name->clear();
    selector->setCurrentIndex(0);
    QVERIFY(s.page->recordPayload(6) != sent7);
    QVERIFY(s.runBatch(QStringLiteral("读取通道参数"), QStringLiteral("---通道参数读取成功!---")));
    QCOMPARE(s.page->recordPayload(6), sent7);
    selector->setCurrentIndex(6);
    QCOMPARE(upper->text(), QStringLiteral("25.5"));
    QCOMPARE(delay->text(), QStringLiteral("300"));
    QCOMPARE(name->text(), QStringLiteral("七号温度"));
  }
};

QTEST_MAIN(ChannelBatchNetTest)
#include "channel_batch_net_test.moc"
