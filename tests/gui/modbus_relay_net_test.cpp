// The ModBus and relay pages through the real window against quendra-hostsim
// (inside a private network namespace): read all records, edit one, write all
// back, spoil the copy in memory, read again and see the edit come back from
// the host. Also checks the exact write requests the simulator heard.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/device_list.h"
#include "app/main_dialog.h"
#include "app/wait_dialog.h"
#include "link/tunnel_frame.h"
#include "pages/modbus_page.h"
#include "pages/relay_page.h"
#include "support/test_support.h"

using namespace quendra;
using namespace quendra::test;

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr int kBatchWaitMs = 60000;

QPushButton* buttonOn(QWidget* page, const QString& text) {
  for (auto* b : page->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

QString requestHex(const Mac& mac, std::uint8_t command, const Bytes& payload) {
  const Bytes d = OuterFrame::buildTunnelRequest(mac, TunnelFrame::buildRequest(command, payload));
  return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(d.data()), d.size()).toHex());
}

}  // namespace

class ModbusRelayNetTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(sim_.started());
    dialog_ = std::make_unique<MainDialog>(notifier_, [] { return std::vector<std::uint32_t>{kLoopback}; });
    dialog_->show();
    dialog_->search();
    QTRY_VERIFY_WITH_TIMEOUT(dialog_->deviceList()->topLevelItemCount() == 1, 10000);
    dialog_->deviceList()->setCurrentItem(dialog_->deviceList()->topLevelItem(0));
    dialog_->selectDevice();
    QTRY_VERIFY_WITH_TIMEOUT(dialog_->flags().networkRead, 10000);
  }

  void cleanupTestCase() { dialog_.reset(); }

  void modbusReadEditWriteReadBack() {
    QWidget* page = dialog_->modbusPage();
    auto* selector = findByAccessibleName<QComboBox>(page, QStringLiteral("ModBus槽位："));
    auto* address = findByAccessibleName<QLineEdit>(page, QStringLiteral("ModBus从站地址："));
    auto* enabled = findByAccessibleName<QCheckBox>(page, QStringLiteral("启用"));
    auto* type = findByAccessibleName<QComboBox>(page, QStringLiteral("ModBus设备类型："));
    auto* start = findByAccessibleName<QLineEdit>(page, QStringLiteral("寄存器起始地址："));
    auto* count = findByAccessibleName<QLineEdit>(page, QStringLiteral("寄存器个数："));
    QVERIFY(selector && address && enabled && type && start && count);
    dialog_->tabs()->setCurrentIndex(MainDialog::ModbusTab);

    QTest::mouseClick(buttonOn(page, QStringLiteral("写入ModBus参数")), Qt::LeftButton);
    QCOMPARE(notifier_.notices.size(), 1);
    QCOMPARE(notifier_.notices.last().text, QStringLiteral("请先读取ModBus参数，再配置!"));

    runBatch(page, QStringLiteral("读取ModBus参数"), QStringLiteral("---ModBus参数读取成功!---"));
    QVERIFY(dialog_->flags().modbusRead);
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
    QVERIFY(sim_.requestLog().contains(requestHex(dialog_->selectedDevice(), 123, slot7)));

    // Spoil slot 7 in memory (switching away stores it), then read it back.
    selector->setCurrentIndex(6);
    address->setText(QStringLiteral("9"));
    type->setCurrentIndex(-1);
    selector->setCurrentIndex(0);
    QCOMPARE(dialog_->modbusPage()->recordPayload(6)[0], 9);
    runBatch(page, QStringLiteral("读取ModBus参数"), QStringLiteral("---ModBus参数读取成功!---"));
    QCOMPARE(dialog_->modbusPage()->recordPayload(6), slot7);
    selector->setCurrentIndex(6);
    QCOMPARE(address->text(), QStringLiteral("44"));
    QVERIFY(enabled->isChecked());
    QCOMPARE(type->currentText(), QStringLiteral("通用采集设备"));
    QCOMPARE(start->text(), QStringLiteral("1234"));
    QCOMPARE(count->text(), QStringLiteral("56"));
  }

  void relayReadEditWriteReadBack() {
    QWidget* page = dialog_->relayPage();
    auto* selector = findByAccessibleName<QComboBox>(page, QStringLiteral("继电器编号："));
    auto* mode = findByAccessibleName<QComboBox>(page, QStringLiteral("继电器工作模式："));
    auto* interval = findByAccessibleName<QLineEdit>(page, QStringLiteral("继电器启动间隔："));
    auto* duration = findByAccessibleName<QLineEdit>(page, QStringLiteral("继电器启动时长："));
    QVERIFY(selector && mode && interval && duration);
    dialog_->tabs()->setCurrentIndex(MainDialog::RelayTab);

    QTest::mouseClick(buttonOn(page, QStringLiteral("下载参数")), Qt::LeftButton);
    QCOMPARE(notifier_.notices.last().text, QStringLiteral("请先读取继电器参数，再配置!"));

    runBatch(page, QStringLiteral("读取参数"), QStringLiteral("---继电器参数读取成功!---"));
    QVERIFY(dialog_->flags().relayRead);
    QCOMPARE(selector->currentText(), QStringLiteral("继电器8"));

    // Relay 8 as it is shown after the read: 自动控制, 1440 min, 5 s.
    mode->setCurrentIndex(1);
    interval->setText(QStringLiteral("1440"));
    duration->setText(QStringLiteral("5"));
    runBatch(page, QStringLiteral("下载参数"), QStringLiteral("---继电器参数写入成功!---"));
    const Bytes relay8{0x01, 0xA0, 0x05, 0x05, 0x00};
    QVERIFY(sim_.requestLog().contains(requestHex(dialog_->selectedDevice(), 0x54, relay8)));

    selector->setCurrentIndex(7);
    interval->setText(QStringLiteral("1"));
    selector->setCurrentIndex(0);
    QCOMPARE(dialog_->relayPage()->recordPayload(7)[1], 1);
    runBatch(page, QStringLiteral("读取参数"), QStringLiteral("---继电器参数读取成功!---"));
    QCOMPARE(selector->currentText(), QStringLiteral("继电器8"));
    QCOMPARE(mode->currentText(), QStringLiteral("自动控制"));
    QCOMPARE(interval->text(), QStringLiteral("1440"));
    QCOMPARE(duration->text(), QStringLiteral("5"));
    QCOMPARE(notifier_.notices.size(), 2);  // only the two refusals
  }

 private:
  // Presses the button, waits for the summary, then closes the wait box as
  // the operator would (it is modal for the window).
  void runBatch(QWidget* page, const QString& button, const QString& summary) {
    QTest::mouseClick(buttonOn(page, button), Qt::LeftButton);
    WaitDialog* box = dialog_->waitDialog();
    QVERIFY(box->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(box->text(), summary, kBatchWaitMs);
    box->reject();
    QTRY_VERIFY(!box->isVisible());
  }

  HostSim sim_;
  RecordingNotifier notifier_;
  std::unique_ptr<MainDialog> dialog_;
};

QTEST_MAIN(ModbusRelayNetTest)
#include "modbus_relay_net_test.moc"
