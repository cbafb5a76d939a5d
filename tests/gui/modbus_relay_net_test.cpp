// The ModBus and relay pages through the real window against quendra-hostsim
// (inside a private network namespace): read all records, edit one, write all
// back, spoil the copy in memory, read again and see the edit come back from
// the host. Also checks the exact write requests the simulator heard.
#include <QTest>

#include "app/wait_dialog.h"
#include "pages/modbus_page.h"
#include "pages/relay_page.h"
#include "support/simulated_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

constexpr int kBatchWaitMs = 60000;

}  // namespace

class ModbusRelayNetTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    w_ = std::make_unique<SimulatedWindow>();
    QVERIFY(w_->searchAndSelect());
  }

  void cleanupTestCase() { w_.reset(); }

  void modbusReadEditWriteReadBack() {
    QWidget* page = w_->dialog.modbusPage();
    auto* selector = findByAccessibleName<QComboBox>(page, QStringLiteral("ModBus槽位："));
    auto* address = findByAccessibleName<QLineEdit>(page, QStringLiteral("ModBus从站地址："));
    auto* enabled = findByAccessibleName<QCheckBox>(page, QStringLiteral("启用"));
    auto* type = findByAccessibleName<QComboBox>(page, QStringLiteral("ModBus设备类型："));
    auto* start = findByAccessibleName<QLineEdit>(page, QStringLiteral("寄存器起始地址："));
    auto* count = findByAccessibleName<QLineEdit>(page, QStringLiteral("寄存器个数："));
    QVERIFY(selector && address && enabled && type && start && count);
    w_->dialog.tabs()->setCurrentIndex(MainDialog::ModbusTab);

    QTest::mouseClick(buttonByText(page, QStringLiteral("写入ModBus参数")), Qt::LeftButton);
    QCOMPARE(w_->notifier.notices.size(), 1);
    QCOMPARE(w_->notifier.notices.last().text, QStringLiteral("请先读取ModBus参数，再配置!"));

    runBatch(page, QStringLiteral("读取ModBus参数"), QStringLiteral("---ModBus参数读取成功!---"));
    QVERIFY(w_->dialog.flags().modbusRead);
    QCOMPARE(selector->currentText(), QStringLiteral("槽位32"));
    QVERIFY(!address->text().isEmpty());

    // Slot 7: address 300 (goes out as 0x2C), enabled, 通用采集设备, 1234, 56.
    selector->setCurrentIndex(6);
    address->setText(QStringLiteral("300"));
    enabled->setChecked(true);
    type->setCurrentIndex(4);
    start->setText(QStringLiteral("1234"));
    count->setText(QStringLiteral("56"));
    const Bytes slot7{0x2C, 0x01, 0x04, 0xD2, 0x04, 0x38, 0x00};
    runBatch(page, QStringLiteral("写入ModBus参数"), QStringLiteral("---ModBus参数写入成功!---"));
    QVERIFY(w_->sim.requestLog().contains(requestHex(w_->dialog.selectedDevice(), 123, slot7)));

    // Spoil slot 7 in memory (switching away stores it), then read it back.
    selector->setCurrentIndex(6);
    address->setText(QStringLiteral("9"));
    type->setCurrentIndex(-1);
    selector->setCurrentIndex(0);
    QCOMPARE(w_->dialog.modbusPage()->recordPayload(6)[0], 9);
    runBatch(page, QStringLiteral("读取ModBus参数"), QStringLiteral("---ModBus参数读取成功!---"));
    QCOMPARE(w_->dialog.modbusPage()->recordPayload(6), slot7);
    selector->setCurrentIndex(6);
    QCOMPARE(address->text(), QStringLiteral("44"));
    QVERIFY(enabled->isChecked());
    QCOMPARE(type->currentText(), QStringLiteral("通用采集设备"));
    QCOMPARE(start->text(), QStringLiteral("1234"));
    QCOMPARE(count->text(), QStringLiteral("56"));
  }

  void relayReadEditWriteReadBack() {
    QWidget* page = w_->dialog.relayPage();
    auto* selector = findByAccessibleName<QComboBox>(page, QStringLiteral("继电器编号："));
    auto* mode = findByAccessibleName<QComboBox>(page, QStringLiteral("继电器工作模式："));
    auto* interval = findByAccessibleName<QLineEdit>(page, QStringLiteral("继电器启动间隔："));
    auto* duration = findByAccessibleName<QLineEdit>(page, QStringLiteral("继电器启动时长："));
    QVERIFY(selector && mode && interval && duration);
    w_->dialog.tabs()->setCurrentIndex(MainDialog::RelayTab);

    QTest::mouseClick(buttonByText(page, QStringLiteral("下载参数")), Qt::LeftButton);
    QCOMPARE(w_->notifier.notices.last().text, QStringLiteral("请先读取继电器参数，再配置!"));

    runBatch(page, QStringLiteral("读取参数"), QStringLiteral("---继电器参数读取成功!---"));
    QVERIFY(w_->dialog.flags().relayRead);
    QCOMPARE(selector->currentText(), QStringLiteral("继电器8"));

    // Relay 8 as it is shown after the read: 自动控制, 1440 min, 5 s.
    mode->setCurrentIndex(1);
    interval->setText(QStringLiteral("1440"));
    duration->setText(QStringLiteral("5"));
    runBatch(page, QStringLiteral("下载参数"), QStringLiteral("---继电器参数写入成功!---"));
    const Bytes relay8{0x01, 0xA0, 0x05, 0x05, 0x00};
    QVERIFY(w_->sim.requestLog().contains(requestHex(w_->dialog.selectedDevice(), 0x54, relay8)));

    selector->setCurrentIndex(7);
    interval->setText(QStringLiteral("1"));
    selector->setCurrentIndex(0);
    QCOMPARE(w_->dialog.relayPage()->recordPayload(7)[1], 1);
    runBatch(page, QStringLiteral("读取参数"), QStringLiteral("---继电器参数读取成功!---"));
    QCOMPARE(selector->currentText(), QStringLiteral("继电器8"));
    QCOMPARE(mode->currentText(), QStringLiteral("自动控制"));
    QCOMPARE(interval->text(), QStringLiteral("1440"));
    QCOMPARE(duration->text(), QStringLiteral("5"));
    QCOMPARE(w_->notifier.notices.size(), 2);  // only the two refusals
  }

 private:
  // Presses the button, waits for the summary, then closes the wait box as
  // the operator would (it is modal for the window).
  void runBatch(QWidget* page, const QString& button, const QString& summary) {
    QTest::mouseClick(buttonByText(page, button), Qt::LeftButton);
    WaitDialog* box = w_->dialog.waitDialog();
    QVERIFY(box->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(box->text(), summary, kBatchWaitMs);
    box->reject();
    QTRY_VERIFY(!box->isVisible());
  }

  std::unique_ptr<SimulatedWindow> w_;
};

QTEST_MAIN(ModbusRelayNetTest)
#include "modbus_relay_net_test.moc"
