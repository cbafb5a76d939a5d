// GprsPage on its own: start values, the flags that gate read and write, the
// refusals, the record shown from a reply and the bytes a write sends.
#include <QTest>

#include "pages/gprs_page.h"
#include "support/page_harness.h"

using namespace quendra;
using namespace quendra::test;

namespace {

QLineEdit* phone(QWidget* page, int number) { return edit(page, QStringLiteral("告警目标手机号码%1：").arg(number)); }

const QString kRead = QStringLiteral("读取GPRS参数");
const QString kWrite = QStringLiteral("下载GPRS参数");
const QString kLogin = QStringLiteral("登陆帧间隔：");
const QString kHeartbeat = QStringLiteral("心跳帧间隔：");
const QString kData = QStringLiteral("数据帧间隔：");
const QString kAddress = QStringLiteral("GPRS目标地址或域名：");
const QString kPort = QStringLiteral("GPRS目标端口：");
const QString kSms = QStringLiteral("报警短信发送间隔：");
const QString kWorkType = QStringLiteral("GPRS工作类型：");
const QString kEditAll = QStringLiteral("允许编辑所有参数");

GprsParams hostRecord() {
  GprsParams r;
  r.loginInterval = 60;
  r.heartbeatInterval = 0xFFFF;
  r.dataInterval = 300;
  r.workType = 1;
  r.targetAddress = "iot.example.net";
  r.targetPort = "5001";
  r.alarmPhones = {"13800138000", "19999999999", "13912345678", "", "15000000005"};
  r.alarmPhoneMask = 0x15;  // numbers 1, 3 and 5
  r.smsInterval = 200;
  return r;
}

struct Fixture : PageFixture<GprsPage> {
  void readFrom(const GprsParams& record) { readReply(3, encodeGprsParams(record)); }
};

}  // namespace

class GprsPageTest : public QObject {
  Q_OBJECT
 private slots:
  void startValues() {
    Fixture f;
    QWidget* p = &f.page;
    QCOMPARE(edit(p, kLogin)->text(), QStringLiteral("3"));
    QCOMPARE(edit(p, kHeartbeat)->text(), QStringLiteral("60"));
    QCOMPARE(edit(p, kData)->text(), QStringLiteral("20"));
    QCOMPARE(edit(p, kAddress)->text(), QStringLiteral("192.168.1.1"));
    QCOMPARE(edit(p, kPort)->text(), QStringLiteral("2404"));
    for (int n = 1; n <= 5; ++n) QCOMPARE(phone(p, n)->text(), QStringLiteral("13000000000"));
    QCOMPARE(edit(p, kSms)->text(), QStringLiteral("0"));
    QComboBox* workType = list(p, kWorkType);
    QCOMPARE(workType->currentText(), QStringLiteral("传输模式"));
    QCOMPARE(workType->count(), 3);
    QCOMPARE(workType->itemText(2), QStringLiteral("传输与短信报警同时模式"));
    QVERIFY(!workType->isEditable());
    QCOMPARE(f.page.params(), GprsParams{});  // page contents only; the record stays zero
  }

  void editAllEnablesTheIntervals() {
    Fixture f;
    QWidget* p = &f.page;
    for (bool on : {false, true, false}) {
      field<QCheckBox>(p, kEditAll)->setChecked(on);
      for (const QString& name : {kLogin, kHeartbeat, kData}) QCOMPARE(edit(p, name)->isEnabled(), on);
      for (const QString& name : {kAddress, kPort, kSms}) QVERIFY(edit(p, name)->isEnabled());
      QVERIFY(list(p, kWorkType)->isEnabled());
    }
  }

  void readNeedsTheNetworkAnswer() {
    Fixture f;
    press(&f.page, kRead);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("警告"));
    QCOMPARE(f.onlyNotice().text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    QVERIFY(f.h.sent.isEmpty());

    f.h.flags.networkRead = true;
    press(&f.page, kRead);
    QCOMPARE(f.h.sent.size(), 1);
    QCOMPARE(f.h.tunnelFrame(f.h.sent[0]), (Bytes{0x7E, 0x03, 0x60, 0x11}));
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("读取GPRS运行参数...\r\n"));
  }

  void writeNeedsAGprsRead() {
    Fixture f;
    f.h.flags.networkRead = true;
    press(&f.page, kWrite);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("提示"));
    QCOMPARE(f.onlyNotice().text, QStringLiteral("请先\"读取GPRS参数\"然后进行修改再进行配置"));
    QVERIFY(f.h.sent.isEmpty());
  }

  void readReplyIsStoredAndShown() {
    Fixture f;
    f.h.flags.networkRead = true;
    press(&f.page, kRead);
    f.h.receive(3, encodeGprsParams(hostRecord()));
    QWidget* p = &f.page;
    QVERIFY(f.h.flags.gprsRead);
    QCOMPARE(f.page.params(), hostRecord());
    QCOMPARE(edit(p, kLogin)->text(), QStringLiteral("60"));
    QCOMPARE(edit(p, kHeartbeat)->text(), QStringLiteral("65535"));
    QCOMPARE(edit(p, kData)->text(), QStringLiteral("300"));
    QCOMPARE(edit(p, kAddress)->text(), QStringLiteral("iot.example.net"));
    QCOMPARE(edit(p, kPort)->text(), QStringLiteral("5001"));
    // Only numbers whose mask bit is set are shown.
    const QStringList shown = {QStringLiteral("13800138000"), QString(), QStringLiteral("13912345678"), QString(),
                               QStringLiteral("15000000005")};
    for (int n = 1; n <= 5; ++n) QCOMPARE(phone(p, n)->text(), shown[n - 1]);
    QCOMPARE(edit(p, kSms)->text(), QStringLiteral("200"));
    QCOMPARE(list(p, kWorkType)->currentIndex(), 1);
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("读取GPRS运行参数...\r\n读取GPRS无线参数成功！\r\n"));
  }

  void maskZeroEmptiesEveryPhone() {
    Fixture f;
    GprsParams r = hostRecord();
    r.alarmPhoneMask = 0;
    f.readFrom(r);
    for (int n = 1; n <= 5; ++n) QVERIFY(phone(&f.page, n)->text().isEmpty());
  }

  void writeSendsThePageAsTyped() {
    Fixture f;
    f.readFrom(hostRecord());
    QWidget* p = &f.page;
    QVERIFY(!edit(p, kLogin)->isEnabled());  // disabled edits are sent all the same
    edit(p, kLogin)->setText(QStringLiteral("-1"));
    edit(p, kHeartbeat)->setText(QStringLiteral("70000"));
    edit(p, kData)->setText(QStringLiteral("x"));
    edit(p, kAddress)->setText(QString(70, QLatin1Char('a')));
    edit(p, kPort)->setText(QStringLiteral("2404"));
    phone(p, 1)->setText(QStringLiteral("  13911112222 "));
    phone(p, 2)->setText(QStringLiteral("1391111222"));  // 10 digits: not given, slot keeps its bytes
    phone(p, 3)->setText(QStringLiteral("139111122223"));  // 12 digits: the first 11
    phone(p, 4)->setText(QString());
    phone(p, 5)->setText(QStringLiteral("1391111222中"));  // 12 bytes; the character does not fit whole
    edit(p, kSms)->setText(QStringLiteral("-5"));
    list(p, kWorkType)->setCurrentIndex(2);
    press(p, kWrite);

    QCOMPARE(f.h.sent.size(), 1);
    const Bytes frame = f.h.tunnelFrame(f.h.sent[0]);
    QCOMPARE(frame.size(), std::size_t{141});
    QCOMPARE(frame[1], std::uint8_t{4});
    const Bytes image = f.h.lastPayload();
    QCOMPARE(Bytes(image.begin(), image.begin() + 6), (Bytes{0xFF, 0xFF, 0x70, 0x11, 0x00, 0x00}));
    QCOMPARE(bytesAt(image, 6, 65), std::string(64, 'a') + '\0');
    QCOMPARE(bytesAt(image, 71, 8), std::string("2404\0\0\0\0", 8));
    QCOMPARE(image[79], std::uint8_t{0x15});
    QCOMPARE(bytesAt(image, 80, 11), std::string("13911112222"));
    QCOMPARE(bytesAt(image, 91, 11), std::string("19999999999"));
    QCOMPARE(bytesAt(image, 102, 11), std::string("13911112222"));
    QCOMPARE(bytesAt(image, 113, 11), std::string(11, '\0'));
    QCOMPARE(bytesAt(image, 124, 11), std::string("1391111222") + '\0');
    QCOMPARE(image[135], std::uint8_t{5});
    QCOMPARE(image[136], std::uint8_t{2});
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("设置GPRS无线参数... \r\n"));
    QCOMPARE(encodeGprsParams(f.page.params()), image);

    f.h.receive(4);
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("设置GPRS无线参数... \r\n下载GPRS无线参数成功！\r\n"));
    QCOMPARE(encodeGprsParams(f.page.params()), image);
  }

  void emptyAddressSendsZeros() {
    Fixture f;
    f.readFrom(hostRecord());
    edit(&f.page, kAddress)->clear();
    press(&f.page, kWrite);
    QCOMPARE(bytesAt(f.h.lastPayload(), 6, 65), std::string(65, '\0'));
  }

  void smsIntervals_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("sent");  // -1: refused
    QTest::newRow("minus 5") << QStringLiteral("-5") << 5;
    QTest::newRow("no digits") << QStringLiteral("abc") << 0;
    QTest::newRow("255") << QStringLiteral("255") << 255;
    QTest::newRow("256") << QStringLiteral("256") << -1;
    QTest::newRow("1000") << QStringLiteral("1000") << -1;
    QTest::newRow("minus 300") << QStringLiteral("-300") << -1;
  }
  void smsIntervals() {
    QFETCH(QString, typed);
    QFETCH(int, sent);
    Fixture f;
    f.readFrom(hostRecord());
    edit(&f.page, kSms)->setText(typed);
    press(&f.page, kWrite);
    if (sent >= 0) {
      QVERIFY(f.h.notifier.notices.isEmpty());
      QCOMPARE(int(f.h.lastPayload().at(135)), sent);
    } else {
      QCOMPARE(f.onlyNotice().title, QStringLiteral("提示"));
      QVERIFY(f.onlyNotice().text.contains(kSms));
      QVERIFY(f.h.sent.isEmpty());
      QCOMPARE(f.page.params(), hostRecord());
    }
  }

  void workTypeWithoutSelectionIsRefused() {
    Fixture f;
    GprsParams r = hostRecord();
    r.workType = 3;
    f.readFrom(r);
    QCOMPARE(list(&f.page, kWorkType)->currentIndex(), -1);
    press(&f.page, kWrite);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("提示"));
    QVERIFY(f.onlyNotice().text.contains(kWorkType));
    QVERIFY(f.h.sent.isEmpty());
  }

  void textGbkCannotHoldIsRefused_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::newRow("address") << kAddress;
    QTest::newRow("port") << kPort;
    QTest::newRow("phone 4") << QStringLiteral("告警目标手机号码4：");
  }
  void textGbkCannotHoldIsRefused() {
    QFETCH(QString, fieldName);
    Fixture f;
    f.readFrom(hostRecord());
    f.h.infoLog.clear();
    edit(&f.page, fieldName)->setText(QStringLiteral("1390000000\U0001F600"));
    press(&f.page, kWrite);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("提示"));
    QCOMPARE(f.onlyNotice().text, fieldName + QStringLiteral("含有设备不能显示的字符"));
    QVERIFY(f.h.sent.isEmpty());
    QVERIFY(f.h.infoLog.text().isEmpty());
    QCOMPARE(f.page.params(), hostRecord());
  }

  void chineseAddressTravelsAsGbk() {
    Fixture f;
    GprsParams r = hostRecord();
    r.targetAddress = "\xD6\xD0\xB9\xFA.cn";  // GBK "中国.cn"
    f.readFrom(r);
    QCOMPARE(edit(&f.page, kAddress)->text(), QStringLiteral("中国.cn"));
    press(&f.page, kWrite);
    QCOMPARE(bytesAt(f.h.lastPayload(), 6, 8), std::string("\xD6\xD0\xB9\xFA.cn\0", 8));
  }
};

QTEST_MAIN(GprsPageTest)
#include "gprs_page_test.moc"
