// The relay page alone, with a real batch sequencer and a test host: replies
// shown, the golden write frame, refusals, a retried relay, the version gate
// during a write, and the relay selector storing the relay on screen.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "batch_page_harness.h"
#include "pages/relay_page.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

namespace {

// Relay k of the test host: mode k % 3, interval 10 (k + 1), duration k + 1.
Bytes hostRelay(int k) {
  return encodeRelay({static_cast<std::uint8_t>(k % 3), static_cast<std::uint16_t>(10 * (k + 1)),
                      static_cast<std::uint16_t>(k + 1)});
}

std::optional<Bytes> promptHost(const Bytes& frame) {
  return answerFrom(frame, [](TunnelCommand c) { return hostRelay(c.index); });
}

struct Fixture : BatchPageFixture<RelayPage, ParamGroup::Relay> {
  QComboBox* selector = findByAccessibleName<QComboBox>(&page, QStringLiteral("继电器编号："));
  QComboBox* mode = findByAccessibleName<QComboBox>(&page, QStringLiteral("继电器工作模式："));
  QLineEdit* interval = findByAccessibleName<QLineEdit>(&page, QStringLiteral("继电器启动间隔："));
  QLineEdit* duration = findByAccessibleName<QLineEdit>(&page, QStringLiteral("继电器启动时长："));
};

}  // namespace

class RelayPageTest : public QObject {
  Q_OBJECT
 private slots:
  void fieldsCarryTheirLabels() {
    Fixture f;
    QVERIFY(f.selector && f.mode && f.interval && f.duration);
    QCOMPARE(f.selector->count(), 8);
    QCOMPARE(f.selector->itemText(7), QStringLiteral("继电器8"));
    QCOMPARE(f.mode->count(), 3);
    QCOMPARE(f.selector->currentIndex(), -1);
    QCOMPARE(f.mode->currentIndex(), -1);
  }

  void replyShowsItsRelay() {
    Fixture f;
    f.reply(2, {0x02, 0x3C, 0x00, 0x1E, 0x00});
    QCOMPARE(f.selector->currentText(), QStringLiteral("继电器3"));
    QCOMPARE(f.mode->currentText(), QStringLiteral("定时控制"));
    QCOMPARE(f.interval->text(), QStringLiteral("60"));
    QCOMPARE(f.duration->text(), QStringLiteral("30"));
  }

  void writeOfRelayEightSendsTheTypedRecord() {
    Fixture f;
    f.h.flags.relayRead = true;
    f.reply(7, hostRelay(7));
    f.mode->setCurrentIndex(1);  // 自动控制
    f.interval->setText(QStringLiteral("1440"));
    f.duration->setText(QStringLiteral("5"));
    f.h.host = promptHost;
    QVERIFY(f.runBatch(QStringLiteral("下载参数")));
    QCOMPARE(f.writtenFrame(7), (Bytes{0x7E, 0x54, 0x01, 0xA0, 0x05, 0x05, 0x00, 0x84, 0x42}));
    QCOMPARE(f.h.tunnelFramesSent().size(), 8);
    QCOMPARE(f.h.progress.last(), QStringLiteral("---继电器参数写入成功!---"));
    QCOMPARE(f.h.waitBoxes, 1);
  }

  void typedValuesKeepTheirLow16BitsAndNoModeGoesAsFF() {
    Fixture f;
    f.h.flags.relayRead = true;
    f.reply(0, hostRelay(0));
    f.mode->setCurrentIndex(-1);
    f.interval->setText(QStringLiteral("70000"));
    f.duration->setText(QStringLiteral("-1"));
    f.h.host = promptHost;
    QVERIFY(f.runBatch(QStringLiteral("下载参数")));
    const Bytes frame = f.writtenFrame(0);
    QCOMPARE(Bytes(frame.begin() + 2, frame.end() - 2), (Bytes{0xFF, 0x70, 0x11, 0xFF, 0xFF}));
  }

  void refusalsBeforeAHostAndBeforeACompleteRead() {
    Fixture f;
    f.h.flags.networkRead = false;
    QTest::mouseClick(f.button(QStringLiteral("读取参数")), Qt::LeftButton);
    QTest::mouseClick(f.button(QStringLiteral("下载参数")), Qt::LeftButton);
    QCOMPARE(f.h.notifier.notices.size(), 2);
    QCOMPARE(f.h.notifier.notices[0].text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    QCOMPARE(f.h.notifier.notices[1].title, QStringLiteral("警告"));
    QCOMPARE(f.h.notifier.notices[1].text, QStringLiteral("请先读取继电器参数，再配置!"));
    QCOMPARE(f.h.notifier.notices[1].icon, NoticeIcon::Exclamation);
    QVERIFY(f.h.tunnelFramesSent().isEmpty());
    QCOMPARE(f.h.waitBoxes, 0);
  }

  void incompleteReadLeavesTheFlagAsItWas() {
    Fixture f;
    f.h.batch.setAttemptTimeout(BatchKind::RelayRead, 5ms);
    f.h.host = [](const Bytes& frame) -> std::optional<Bytes> {
      if (frame[1] == readCommandOf(ParamGroup::Relay, 5)) return std::nullopt;
      return promptHost(frame);
    };
    QVERIFY(f.runBatch(QStringLiteral("读取参数")));
    QVERIFY(!f.h.flags.relayRead);
    QCOMPARE(f.h.commandsSent().count(74), 4);
    QCOMPARE(f.h.log.text(), QStringLiteral("读取继电器6参数失败\r\n"));
    QCOMPARE(f.h.progress.last(), QStringLiteral("继电器参数读取失败......"));
    QTest::mouseClick(f.button(QStringLiteral("下载参数")), Qt::LeftButton);
    QCOMPARE(f.h.notifier.notices.size(), 1);
    QCOMPARE(f.h.notifier.notices[0].text, QStringLiteral("请先读取继电器参数，再配置!"));
  }

  void relayAnsweredOnItsSecondAttempt() {
    Fixture f;
    f.h.batch.setAttemptTimeout(BatchKind::RelayRead, 50ms);
    int asked71 = 0;
    f.h.host = [&asked71](const Bytes& frame) -> std::optional<Bytes> {
      if (frame[1] == 71 && ++asked71 == 1) return std::nullopt;
      return promptHost(frame);
    };
    QVERIFY(f.runBatch(QStringLiteral("读取参数")));
    QCOMPARE(f.h.commandsSent(), (QList<int>{69, 70, 71, 71, 72, 73, 74, 75, 76}));
    QVERIFY(f.h.progress.contains(QStringLiteral("正在读取继电器3参数")));
    QVERIFY(!f.h.log.text().contains(QStringLiteral("失败")));
    QCOMPARE(f.h.progress.last(), QStringLiteral("---继电器参数读取成功!---"));
    QVERIFY(f.h.flags.relayRead);
    QCOMPARE(f.selector->currentText(), QStringLiteral("继电器8"));
    QCOMPARE(f.page.recordPayload(2), hostRelay(2));
  }

  void versionGateDuringAWriteEndsTheBatch() {
    Fixture f;
    f.h.flags.relayRead = true;
    f.h.batch.setAttemptTimeout(BatchKind::RelayWrite, 50ms);
    // Relay 3's acknowledgement comes from a host of version 7.02.
    f.h.host = [](const Bytes& frame) -> std::optional<Bytes> {
      if (frame[1] == writeCommandOf(ParamGroup::Relay, 2)) return TunnelFrame::buildReply(frame[1], {}, 7, 2);
      return promptHost(frame);
    };
    QVERIFY(f.runBatch(QStringLiteral("下载参数")));
    QCOMPARE(f.h.commandsSent(), (QList<int>{77, 78, 79}));
    QCOMPARE(f.h.progress.last(), QStringLiteral("继电器参数写入失败......"));
  }

  void pickingAnotherRelayStoresTheShownOne() {
    Fixture f;
    f.reply(1, hostRelay(1));
    f.reply(0, hostRelay(0));
    f.interval->setText(QStringLiteral("77"));
    f.selector->setCurrentIndex(1);
    QCOMPARE(f.page.recordPayload(0), encodeRelay({0, 77, 1}));
    QCOMPARE(f.interval->text(), QStringLiteral("20"));
    QCOMPARE(f.mode->currentText(), QStringLiteral("自动控制"));
    QCOMPARE(f.selector->currentIndex(), 1);
  }

  void pickingWhenTheSelectorNamesNoRelayStoresNothing() {
    Fixture f;
    f.interval->setText(QStringLiteral("77"));
    f.selector->setCurrentIndex(3);  // nothing shown before
    for (int k = 0; k < 8; ++k) QCOMPARE(f.page.recordPayload(k), Bytes(5, 0));

    f.reply(6, hostRelay(6));
    f.reply(4, hostRelay(4));
    f.interval->setText(QStringLiteral("77"));
    f.selector->lineEdit()->selectAll();
    QTest::keyClicks(f.selector->lineEdit(), QStringLiteral("R9"));
    f.selector->setCurrentIndex(6);
    QCOMPARE(f.page.recordPayload(4), hostRelay(4));
    QCOMPARE(f.interval->text(), QStringLiteral("70"));
  }
};

QTEST_MAIN(RelayPageTest)
#include "relay_page_test.moc"
