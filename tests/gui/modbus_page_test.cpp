// The ModBus page alone, with a real batch sequencer and a test host: replies
// shown, typed values encoded, refusals, and the slot selector storing the
// slot on screen (or nothing).
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "batch_page_harness.h"
#include "pages/modbus_page.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

namespace {

const Bytes kSlot6{0x01, 0x01, 0x05, 0x00, 0x00, 0x0A, 0x00};

// Slot k of the test host: address k + 1, enabled, type k % 6, start 100 k, count k + 1.
Bytes hostSlot(int k) {
  return encodeModbusSlot({static_cast<std::uint8_t>(k + 1), 1, static_cast<std::uint8_t>(k % 6),
                           static_cast<std::uint16_t>(100 * k), static_cast<std::uint16_t>(k + 1)});
}

std::optional<Bytes> promptHost(const Bytes& frame) {
  return answerFrom(frame, [](TunnelCommand c) { return hostSlot(c.index); });
}

struct Fixture : BatchPageFixture<ModbusPage, ParamGroup::Modbus> {
  QComboBox* selector = findByAccessibleName<QComboBox>(&page, QStringLiteral("ModBus槽位："));
  QLineEdit* address = findByAccessibleName<QLineEdit>(&page, QStringLiteral("ModBus从站地址："));
  QCheckBox* enabled = findByAccessibleName<QCheckBox>(&page, QStringLiteral("启用"));
  QComboBox* type = findByAccessibleName<QComboBox>(&page, QStringLiteral("ModBus设备类型："));
  QLineEdit* start = findByAccessibleName<QLineEdit>(&page, QStringLiteral("寄存器起始地址："));
  QLineEdit* count = findByAccessibleName<QLineEdit>(&page, QStringLiteral("寄存器个数："));
};

}  // namespace

class ModbusPageTest : public QObject {
  Q_OBJECT
 private slots:
  void fieldsCarryTheirLabels() {
    Fixture f;
    QVERIFY(f.selector && f.address && f.enabled && f.type && f.start && f.count);
    QCOMPARE(f.selector->count(), 32);
    QCOMPARE(f.selector->itemText(31), QStringLiteral("槽位32"));
    QCOMPARE(f.selector->currentIndex(), -1);
    QCOMPARE(f.type->count(), 6);
    QCOMPARE(f.type->currentIndex(), -1);
  }

  void replyShowsItsSlot() {
    Fixture f;
    f.reply(5, kSlot6);
    QCOMPARE(f.selector->currentText(), QStringLiteral("槽位6"));
    QCOMPARE(f.address->text(), QStringLiteral("1"));
    QVERIFY(f.enabled->isChecked());
    QCOMPARE(f.type->currentText(), QStringLiteral("通用控制器"));
    QCOMPARE(f.start->text(), QStringLiteral("0"));
    QCOMPARE(f.count->text(), QStringLiteral("10"));
    QCOMPARE(f.page.recordPayload(5), kSlot6);
  }

  void unknownDeviceTypeSelectsNothingAndGoesBackAsFF() {
    Fixture f;
    f.h.flags.modbusRead = true;
    f.reply(0, {0x01, 0x00, 0x09, 0x10, 0x00, 0x02, 0x00});
    QCOMPARE(f.type->currentIndex(), -1);
    f.h.host = promptHost;
    QVERIFY(f.runBatch(QStringLiteral("写入ModBus参数")));
    QCOMPARE(f.writtenPayload(0), (Bytes{0x01, 0x00, 0xFF, 0x10, 0x00, 0x02, 0x00}));
  }

  void readBeforeTheHostIsChosenIsRefused() {
    Fixture f;
    f.h.flags.networkRead = false;
    QTest::mouseClick(f.button(QStringLiteral("读取ModBus参数")), Qt::LeftButton);
    QCOMPARE(f.h.notifier.notices.size(), 1);
    QCOMPARE(f.h.notifier.notices[0].title, QStringLiteral("警告"));
    QCOMPARE(f.h.notifier.notices[0].text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    QCOMPARE(f.h.notifier.notices[0].icon, NoticeIcon::Exclamation);
    QCOMPARE(f.h.waitBoxes, 0);
    QVERIFY(!f.h.batch.running());
  }

  void writeBeforeACompleteReadIsRefused() {
    Fixture f;
    f.h.batch.setAttemptTimeout(BatchKind::ModbusRead, 5ms);
    // Slot 20 never answers: the read is incomplete and the flag stays clear.
    f.h.host = [](const Bytes& frame) -> std::optional<Bytes> {
      if (frame[1] == readCommandOf(ParamGroup::Modbus, 19)) return std::nullopt;
      return promptHost(frame);
    };
    QVERIFY(f.runBatch(QStringLiteral("读取ModBus参数")));
    QCOMPARE(f.h.progress.last(), QStringLiteral("ModBus参数读取失败......"));
    QVERIFY(f.h.log.text().contains(QStringLiteral("读取ModBus20参数失败\r\n")));
    QVERIFY(!f.h.flags.modbusRead);
    const int sent = f.h.tunnelFramesSent().size();
    QTest::mouseClick(f.button(QStringLiteral("写入ModBus参数")), Qt::LeftButton);
    QCOMPARE(f.h.notifier.notices.size(), 1);
    QCOMPARE(f.h.notifier.notices[0].title, QStringLiteral("警告"));
    QCOMPARE(f.h.notifier.notices[0].text, QStringLiteral("请先读取ModBus参数，再配置!"));
    QCOMPARE(f.h.notifier.notices[0].icon, NoticeIcon::Exclamation);
    QCOMPARE(f.h.tunnelFramesSent().size(), sent);
    QCOMPARE(f.h.waitBoxes, 1);
  }

  void completeReadShowsTheLastSlotAndAllowsWrites() {
    Fixture f;
    f.h.host = promptHost;
    QVERIFY(f.runBatch(QStringLiteral("读取ModBus参数")));
    QList<int> expected;
    for (int k = 0; k < 32; ++k) expected << 85 + k;
    QCOMPARE(f.h.commandsSent(), expected);
    QCOMPARE(f.h.progress.last(), QStringLiteral("---ModBus参数读取成功!---"));
    QVERIFY(f.h.flags.modbusRead);
    QCOMPARE(f.selector->currentText(), QStringLiteral("槽位32"));
    QCOMPARE(f.address->text(), QStringLiteral("32"));
    QCOMPARE(f.page.recordPayload(17), hostSlot(17));

    // A later incomplete read leaves the flag set.
    f.h.batch.setAttemptTimeout(BatchKind::ModbusRead, 5ms);
    f.h.host = [](const Bytes&) { return std::nullopt; };
    QVERIFY(f.runBatch(QStringLiteral("读取ModBus参数")));
    QVERIFY(f.h.flags.modbusRead);
    QCOMPARE(f.page.recordPayload(17), hostSlot(17));
  }

  void writeStoresTheShownSlotThenSendsAll32() {
    Fixture f;
    f.h.flags.modbusRead = true;
    f.reply(2, hostSlot(2));
    f.address->setText(QStringLiteral("300"));
    f.enabled->setChecked(false);
    f.type->setCurrentIndex(-1);
    f.start->setText(QStringLiteral("70000"));
    f.count->setText(QStringLiteral("abc"));
    f.h.host = promptHost;
    QVERIFY(f.runBatch(QStringLiteral("写入ModBus参数")));
    QCOMPARE(f.h.waitBoxes, 1);
    QCOMPARE(f.h.tunnelFramesSent().size(), 32);
    QCOMPARE(f.h.tunnelFramesSent()[0].size(), std::size_t{11});
    QCOMPARE(f.writtenPayload(2), (Bytes{0x2C, 0x00, 0xFF, 0x70, 0x11, 0x00, 0x00}));
    QCOMPARE(f.writtenPayload(3), Bytes(7, 0));
    QCOMPARE(f.h.progress.last(), QStringLiteral("---ModBus参数写入成功!---"));
  }

  void writeWithNoSlotShownStoresNothing() {
    Fixture f;
    f.h.flags.modbusRead = true;
    f.address->setText(QStringLiteral("7"));  // on screen, but belongs to no slot
    f.h.host = promptHost;
    QVERIFY(f.runBatch(QStringLiteral("写入ModBus参数")));
    QCOMPARE(f.h.tunnelFramesSent().size(), 32);
    for (int k = 0; k < 32; ++k) QCOMPARE(f.writtenPayload(k), Bytes(7, 0));
  }

  void pickingAnotherSlotStoresTheShownOne() {
    Fixture f;
    f.reply(0, hostSlot(0));
    f.reply(4, hostSlot(4));
    f.reply(0, hostSlot(0));
    f.address->setText(QStringLiteral("9"));
    f.selector->setCurrentIndex(4);
    QCOMPARE(f.page.recordPayload(0)[0], 9);
    QCOMPARE(f.address->text(), QStringLiteral("5"));
    QCOMPARE(f.start->text(), QStringLiteral("400"));
    f.selector->setCurrentIndex(0);
    QCOMPARE(f.address->text(), QStringLiteral("9"));
  }

  void aReplyDoesNotStoreTheSlotOnScreen() {
    Fixture f;
    f.reply(0, hostSlot(0));
    f.address->setText(QStringLiteral("9"));
    f.reply(1, hostSlot(1));
    QCOMPARE(f.page.recordPayload(0), hostSlot(0));
    QCOMPARE(f.address->text(), QStringLiteral("2"));
  }

  void pickingWhenTheSelectorNamesNoSlotStoresNothing() {
    Fixture f;
    // Nothing shown yet: the first pick loads the slot and stores nothing.
    f.address->setText(QStringLiteral("9"));
    f.selector->setCurrentIndex(2);
    for (int k = 0; k < 32; ++k) QCOMPARE(f.page.recordPayload(k), Bytes(7, 0));
    QCOMPARE(f.address->text(), QStringLiteral("0"));

    // Text typed over the selector that names no slot.
    f.reply(1, hostSlot(1));
    f.address->setText(QStringLiteral("9"));
    f.selector->lineEdit()->selectAll();
    QTest::keyClicks(f.selector->lineEdit(), QStringLiteral("xyz"));
    f.selector->setCurrentIndex(3);
    QCOMPARE(f.page.recordPayload(1), hostSlot(1));
    QCOMPARE(f.selector->currentText(), QStringLiteral("槽位4"));
    QCOMPARE(f.selector->count(), 32);
  }
};

QTEST_MAIN(ModbusPageTest)
#include "modbus_page_test.moc"
