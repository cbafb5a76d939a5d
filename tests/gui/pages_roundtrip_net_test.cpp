// The base, GPRS and LED pages through the real window against
// quendra-hostsim (inside a private network namespace): read, edit, write,
// check the exact write request the simulator heard, spoil the page, read
// again and see the edit come back from the host.
#include <QTabWidget>
#include <QTest>

#include "pages/base_page.h"
#include "pages/gprs_page.h"
#include "pages/led_page.h"
#include "support/simulated_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

constexpr int kReplyWaitMs = SimulatedWindow::kReplyWaitMs;

}  // namespace

class PagesRoundTripNetTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    w_ = std::make_unique<SimulatedWindow>();
    QVERIFY(w_->searchAndSelect());
  }

  void cleanupTestCase() { w_.reset(); }

  void baseReadEditWriteReadBack() {
    QWidget* page = w_->dialog.basePage();
    w_->dialog.tabs()->setCurrentIndex(MainDialog::BaseTab);
    const QString address = QStringLiteral("终端地址：");
    const QString login = QStringLiteral("登陆帧间隔时间：");
    const QString longitude = QStringLiteral("经度：");
    const QString storage = QStringLiteral("存储类型：");
    const QString channels = QStringLiteral("通道启用数量：");

    w_->notifier.notices.clear();
    press(page, QStringLiteral("写入基础参数"));
    QCOMPARE(w_->notifier.notices.size(), 1);
    QCOMPARE(w_->notifier.notices[0].text, QStringLiteral("请先\"读取设备参数\"然后进行修改再进行配置"));

    press(page, QStringLiteral("读取基础参数"));
    QTRY_VERIFY_WITH_TIMEOUT(w_->dialog.flags().baseRead, kReplyWaitMs);
    QCOMPARE(w_->dialog.infoLog().text(), QStringLiteral("读取设备参数...\r\n读取设备参数成功！\r\n"));
    QCOMPARE(edit(page, address)->text(), QStringLiteral("20250001"));
    QCOMPARE(edit(page, longitude)->text(), QStringLiteral("113.250000"));

    check(page, QStringLiteral("允许编辑所有参数"))->setChecked(true);
    edit(page, address)->setText(QStringLiteral("1A2b3C4d"));
    edit(page, login)->setText(QStringLiteral("70000"));
    edit(page, longitude)->setText(QStringLiteral("114.5"));
    list(page, storage)->setCurrentIndex(3);
    list(page, channels)->setCurrentIndex(8);
    BaseParams expected = w_->dialog.basePage()->params();
    expected.terminalAddress = 0x1A2B3C4D;
    expected.loginInterval = 4464;
    expected.longitude = 114.5f;
    expected.storageType = 3;
    expected.enabledChannelCount = 8;

    press(page, QStringLiteral("写入基础参数"));
    QTRY_COMPARE_WITH_TIMEOUT(w_->dialog.infoLog().text(), QStringLiteral("设置参数... \r\n下载设备参数成功！\r\n"),
                              kReplyWaitMs);
    QVERIFY(w_->sim.requestLog().contains(requestHex(w_->dialog.selectedDevice(), 2, encodeBaseParams(expected))));

    edit(page, address)->setText(QStringLiteral("00000000"));
    edit(page, login)->clear();
    list(page, storage)->setCurrentIndex(-1);
    press(page, QStringLiteral("读取基础参数"));
    QTRY_COMPARE_WITH_TIMEOUT(edit(page, address)->text(), QStringLiteral("1a2b3c4d"), kReplyWaitMs);
    QCOMPARE(edit(page, login)->text(), QStringLiteral("4464"));
    QCOMPARE(edit(page, longitude)->text(), QStringLiteral("114.500000"));
    QCOMPARE(list(page, storage)->currentText(), QStringLiteral("自动"));
    QCOMPARE(list(page, channels)->currentText(), QStringLiteral("8"));
    QCOMPARE(w_->dialog.basePage()->params(), expected);
  }

  void gprsReadEditWriteReadBack() {
    QWidget* page = w_->dialog.gprsPage();
    w_->dialog.tabs()->setCurrentIndex(MainDialog::GprsTab);
    const QString target = QStringLiteral("GPRS目标地址或域名：");
    const QString port = QStringLiteral("GPRS目标端口：");
    const QString sms = QStringLiteral("报警短信发送间隔：");
    const QString workType = QStringLiteral("GPRS工作类型：");
    const auto phone = [&](int n) { return edit(page, QStringLiteral("告警目标手机号码%1：").arg(n)); };

    w_->notifier.notices.clear();
    press(page, QStringLiteral("下载GPRS参数"));
    QCOMPARE(w_->notifier.notices.size(), 1);
    QCOMPARE(w_->notifier.notices[0].text, QStringLiteral("请先\"读取GPRS参数\"然后进行修改再进行配置"));

    press(page, QStringLiteral("读取GPRS参数"));
    QTRY_VERIFY_WITH_TIMEOUT(w_->dialog.flags().gprsRead, kReplyWaitMs);
    QCOMPARE(w_->dialog.infoLog().text(), QStringLiteral("读取GPRS运行参数...\r\n读取GPRS无线参数成功！\r\n"));
    QCOMPARE(edit(page, target)->text(), QStringLiteral("iot.quendra.net"));
    QCOMPARE(phone(1)->text(), QStringLiteral("13800138000"));
    QVERIFY(phone(3)->text().isEmpty());

    edit(page, target)->setText(QStringLiteral("网关.example.cn"));
    edit(page, port)->setText(QStringLiteral("6000"));
    phone(1)->clear();  // number 1 no longer given; its slot keeps what the host sent
    phone(3)->setText(QStringLiteral(" 13700000003 "));
    edit(page, sms)->setText(QStringLiteral("-5"));
    list(page, workType)->setCurrentIndex(2);
    GprsParams expected = w_->dialog.gprsPage()->params();
    expected.targetAddress = "\xCD\xF8\xB9\xD8.example.cn";  // GBK "网关"
    expected.targetPort = "6000";
    expected.alarmPhones[2] = "13700000003";
    expected.alarmPhoneMask = 0x06;
    expected.smsInterval = 5;
    expected.workType = 2;

    press(page, QStringLiteral("下载GPRS参数"));
    QTRY_COMPARE_WITH_TIMEOUT(w_->dialog.infoLog().text(),
                              QStringLiteral("设置GPRS无线参数... \r\n下载GPRS无线参数成功！\r\n"), kReplyWaitMs);
    QVERIFY(w_->sim.requestLog().contains(requestHex(w_->dialog.selectedDevice(), 4, encodeGprsParams(expected))));

    edit(page, target)->clear();
    phone(3)->clear();
    list(page, workType)->setCurrentIndex(0);
    press(page, QStringLiteral("读取GPRS参数"));
    QTRY_COMPARE_WITH_TIMEOUT(edit(page, target)->text(), QStringLiteral("网关.example.cn"), kReplyWaitMs);
    QCOMPARE(edit(page, port)->text(), QStringLiteral("6000"));
    QVERIFY(phone(1)->text().isEmpty());
    QCOMPARE(phone(2)->text(), QStringLiteral("13912345678"));
    QCOMPARE(phone(3)->text(), QStringLiteral("13700000003"));
    QCOMPARE(edit(page, sms)->text(), QStringLiteral("5"));
    QCOMPARE(list(page, workType)->currentIndex(), 2);
    QCOMPARE(w_->dialog.gprsPage()->params(), expected);
  }

  void ledReadEditWriteReadBack() {
    QWidget* page = w_->dialog.ledPage();
    w_->dialog.tabs()->setCurrentIndex(MainDialog::LedTab);
    const QString sizeX = QStringLiteral("LED屏X尺寸：");
    const QString channels = QStringLiteral("通道显示数量：");
    const QString columns = QStringLiteral("列数：");
    const QString header = QStringLiteral("标头：");
    const QString footer = QStringLiteral("标尾：");
    const QString footerUsed = QStringLiteral("标尾 使用");

    w_->notifier.notices.clear();
    press(page, QStringLiteral("下载LED屏参数"));
    QCOMPARE(w_->notifier.notices.size(), 1);
    QCOMPARE(w_->notifier.notices[0].text, QStringLiteral("请先\"读取LED显示屏参数\"然后进行修改再进行配置"));

    press(page, QStringLiteral("读取LED屏参数"));
    QTRY_VERIFY_WITH_TIMEOUT(w_->dialog.flags().ledRead, kReplyWaitMs);
    QCOMPARE(w_->dialog.infoLog().text(), QStringLiteral("读取LED参数...\r\n读取LED屏参数成功！\r\n"));
    QCOMPARE(edit(page, header)->text(), QStringLiteral("Quendra 监测主机"));
    QCOMPARE(list(page, channels)->currentText(), QStringLiteral("8"));

    edit(page, sizeX)->setText(QStringLiteral("128"));
    list(page, channels)->setCurrentIndex(15);
    list(page, columns)->setCurrentIndex(3);
    edit(page, header)->setText(QStringLiteral("新标头"));
    // 62 letters and a double-byte character: exactly 64 bytes, sent without a zero.
    edit(page, footer)->setText(QString(62, QLatin1Char('f')) + QStringLiteral("尾"));
    check(page, footerUsed)->setChecked(true);
    LedParams expected = w_->dialog.ledPage()->params();
    expected.sizeX = 128;
    expected.channelCount = 16;
    expected.columnCount = 4;
    expected.headerText = "\xD0\xC2\xB1\xEA\xCD\xB7";  // GBK "新标头"
    expected.footerText = std::string(62, 'f') + "\xCE\xB2";
    expected.footerEnabled = 1;

    press(page, QStringLiteral("下载LED屏参数"));
    QTRY_COMPARE_WITH_TIMEOUT(w_->dialog.infoLog().text(),
                              QStringLiteral("设置LED显示屏参数... \r\n下载LED屏参数成功！\r\n"), kReplyWaitMs);
    QVERIFY(w_->sim.requestLog().contains(requestHex(w_->dialog.selectedDevice(), 149, encodeLedParams(expected))));

    edit(page, sizeX)->clear();
    edit(page, header)->clear();
    list(page, channels)->setCurrentIndex(-1);
    check(page, footerUsed)->setChecked(false);
    press(page, QStringLiteral("读取LED屏参数"));
    QTRY_COMPARE_WITH_TIMEOUT(edit(page, header)->text(), QStringLiteral("新标头"), kReplyWaitMs);
    QCOMPARE(edit(page, sizeX)->text(), QStringLiteral("128"));
    QCOMPARE(list(page, channels)->currentText(), QStringLiteral("16"));
    QCOMPARE(list(page, columns)->currentText(), QStringLiteral("4"));
    QCOMPARE(edit(page, footer)->text(), QString(62, QLatin1Char('f')) + QStringLiteral("尾"));
    QVERIFY(check(page, footerUsed)->isChecked());
    QCOMPARE(w_->dialog.ledPage()->params(), expected);
  }

 private:
  std::unique_ptr<SimulatedWindow> w_;
};

QTEST_MAIN(PagesRoundTripNetTest)
#include "pages_roundtrip_net_test.moc"
