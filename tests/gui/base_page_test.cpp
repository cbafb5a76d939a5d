// BasePage on its own: start values, the flags that gate read and write, the
// refusals, the record shown from a reply and the bytes a write sends.
#include <QTest>

#include "pages/base_page.h"
#include "support/page_harness.h"

using namespace quendra;
using namespace quendra::test;

namespace {

const QString kRead = QStringLiteral("读取基础参数");
const QString kWrite = QStringLiteral("写入基础参数");
const QString kAddress = QStringLiteral("终端地址：");
const QString kServers = QStringLiteral("服务器数量：");
const QString kLogin = QStringLiteral("登陆帧间隔时间：");
const QString kHeartbeat = QStringLiteral("心跳包间隔时间：");
const QString kData = QStringLiteral("数据帧间隔时间：");
const QString kBaud = QStringLiteral("ModBus通信波特率：");
const QString kChannels = QStringLiteral("通道启用数量：");
const QString kLongitude = QStringLiteral("经度：");
const QString kLatitude = QStringLiteral("维度：");
const QString kNormal = QStringLiteral("正常数据记录间隔(分钟)：");
const QString kAlarm = QStringLiteral("告警数据记录间隔(分钟)：");
const QString kStorage = QStringLiteral("存储类型：");
const QString kCoordinates = QStringLiteral("启用");
const QString kEditAll = QStringLiteral("允许编辑所有参数");

BaseParams hostRecord() {
  BaseParams r;
  r.serverCount = 2;
  r.terminalAddress = 0x1A2B3C4D;
  r.loginInterval = 60;
  r.heartbeatInterval = 65535;
  r.dataInterval = 300;
  r.modbusBaud = 2;
  r.enabledChannelCount = 32;
  r.normalRecordInterval = 10;
  r.alarmRecordInterval = 1;
  r.storageType = 1;
  r.coordinateEnabled = 1;
  r.longitude = 113.25f;
  r.latitude = -23.5f;
  return r;
}

struct Fixture : PageFixture<BasePage> {
  void readFrom(const BaseParams& record) { readReply(1, encodeBaseParams(record)); }
};

}  // namespace

class BasePageTest : public QObject {
  Q_OBJECT
 private slots:
  void startValues() {
    Fixture f;
    QWidget* p = &f.page;
    QCOMPARE(list(p, kChannels)->currentText(), QStringLiteral("1"));
    QCOMPARE(list(p, kChannels)->count(), 33);
    QCOMPARE(edit(p, kAddress)->text(), QStringLiteral("12345678"));
    QCOMPARE(list(p, kServers)->currentIndex(), 8);
    QCOMPARE(list(p, kServers)->count(), 9);
    QCOMPARE(edit(p, kLogin)->text(), QStringLiteral("3"));
    QCOMPARE(edit(p, kHeartbeat)->text(), QStringLiteral("60"));
    QCOMPARE(edit(p, kData)->text(), QStringLiteral("5"));
    QCOMPARE(list(p, kBaud)->currentText(), QStringLiteral("4800"));
    for (const QString& empty : {kNormal, kAlarm, kLongitude, kLatitude}) QVERIFY(edit(p, empty)->text().isEmpty());
    QCOMPARE(list(p, kStorage)->currentIndex(), -1);
    QCOMPARE(list(p, kStorage)->count(), 4);
    QVERIFY(!check(p, kCoordinates)->isChecked());
    QVERIFY(!check(p, kEditAll)->isChecked());
    QCOMPARE(f.page.params(), BaseParams{});
  }

  void editAllEnablesExactlyTheFourFields() {
    Fixture f;
    QWidget* p = &f.page;
    const QList<QWidget*> governed = {edit(p, kLogin), edit(p, kHeartbeat), edit(p, kData), list(p, kBaud)};
    const QList<QWidget*> always = {edit(p, kAddress), list(p, kChannels), edit(p, kLongitude), edit(p, kLatitude),
                                    edit(p, kNormal), edit(p, kAlarm), list(p, kStorage), check(p, kCoordinates)};
    for (bool on : {false, true, false}) {
      check(p, kEditAll)->setChecked(on);
      for (QWidget* w : governed) QCOMPARE(w->isEnabled(), on);
      for (QWidget* w : always) QVERIFY(w->isEnabled());
      QVERIFY(!list(p, kServers)->isEnabled());
    }
  }

  void readNeedsTheNetworkAnswer() {
    Fixture f;
    f.h.infoLog.append(QStringLiteral("before"));
    press(&f.page, kRead);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("警告"));
    QCOMPARE(f.onlyNotice().text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    QVERIFY(f.h.sent.isEmpty());
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("before"));

    f.h.flags.networkRead = true;
    press(&f.page, kRead);
    QCOMPARE(f.h.sent.size(), 1);
    QCOMPARE(f.h.sent[0].size(), std::size_t{15});
    QCOMPARE(f.h.tunnelFrame(f.h.sent[0]), (Bytes{0x7E, 0x01, 0xE1, 0xD0}));
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("读取设备参数...\r\n"));
  }

  void writeNeedsABaseRead() {
    Fixture f;
    f.h.flags.networkRead = true;
    press(&f.page, kWrite);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("提示"));
    QCOMPARE(f.onlyNotice().text, QStringLiteral("请先\"读取设备参数\"然后进行修改再进行配置"));
    QVERIFY(f.h.sent.isEmpty());
  }

  void readReplyIsStoredAndShown() {
    Fixture f;
    f.h.flags.networkRead = true;
    press(&f.page, kRead);
    f.h.receive(1, encodeBaseParams(hostRecord()));
    QWidget* p = &f.page;
    QVERIFY(f.h.flags.baseRead);
    QCOMPARE(f.page.params(), hostRecord());
    QCOMPARE(edit(p, kAddress)->text(), QStringLiteral("1a2b3c4d"));
    QCOMPARE(list(p, kServers)->currentIndex(), 2);
    QCOMPARE(edit(p, kLogin)->text(), QStringLiteral("60"));
    QCOMPARE(edit(p, kHeartbeat)->text(), QStringLiteral("65535"));
    QCOMPARE(edit(p, kData)->text(), QStringLiteral("300"));
    QCOMPARE(list(p, kBaud)->currentText(), QStringLiteral("9600"));
    QCOMPARE(list(p, kChannels)->currentText(), QStringLiteral("32"));
    QCOMPARE(edit(p, kNormal)->text(), QStringLiteral("10"));
    QCOMPARE(edit(p, kAlarm)->text(), QStringLiteral("1"));
    QCOMPARE(list(p, kStorage)->currentIndex(), 1);
    QVERIFY(check(p, kCoordinates)->isChecked());
    QCOMPARE(edit(p, kLongitude)->text(), QStringLiteral("113.250000"));
    QCOMPARE(edit(p, kLatitude)->text(), QStringLiteral("-23.500000"));
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("读取设备参数...\r\n读取设备参数成功！\r\n"));
  }

  void indicesBeyondTheListsLeaveNoSelectionAndSend255() {
    Fixture f;
    BaseParams r = hostRecord();
    r.serverCount = 9;
    r.modbusBaud = 3;
    r.enabledChannelCount = 33;
    r.storageType = 4;
    f.readFrom(r);
    QWidget* p = &f.page;
    for (const QString& name : {kServers, kBaud, kChannels, kStorage}) QCOMPARE(list(p, name)->currentIndex(), -1);
    press(p, kWrite);
    const Bytes payload = f.h.lastPayload();
    QCOMPARE(payload.size(), kBaseParamsSize);
    QCOMPARE(payload[0], std::uint8_t{0xFF});   // serverCount
    QCOMPARE(payload[11], std::uint8_t{0xFF});  // modbusBaud
    QCOMPARE(payload[12], std::uint8_t{0xFF});  // enabledChannelCount
    QCOMPARE(payload[17], std::uint8_t{0xFF});  // storageType
  }

  void writeSendsThePageAsTyped() {
    Fixture f;
    f.readFrom(hostRecord());
    QWidget* p = &f.page;
    QVERIFY(!edit(p, kLogin)->isEnabled());  // disabled edits are sent all the same
    edit(p, kAddress)->setText(QStringLiteral("1A2b3C4d"));
    edit(p, kLogin)->setText(QStringLiteral("70000"));
    edit(p, kHeartbeat)->setText(QStringLiteral("-1"));
    edit(p, kData)->setText(QStringLiteral("abc"));
    edit(p, kNormal)->setText(QStringLiteral(" 15min"));
    edit(p, kAlarm)->setText(QString());
    list(p, kStorage)->setCurrentIndex(1);
    list(p, kBaud)->setCurrentIndex(0);
    list(p, kChannels)->setCurrentIndex(7);
    check(p, kCoordinates)->setChecked(false);
    edit(p, kLongitude)->setText(QStringLiteral("113.25"));
    edit(p, kLatitude)->setText(QStringLiteral("x"));
    f.h.infoLog.append(QStringLiteral("old"));
    press(p, kWrite);

    QCOMPARE(f.h.sent.size(), 1);
    const Bytes frame = f.h.tunnelFrame(f.h.sent[0]);
    QCOMPARE(frame.size(), std::size_t{31});
    QCOMPARE(frame[1], std::uint8_t{2});
    const Bytes expected = {0x02, 0x4D, 0x3C, 0x2B, 0x1A, 0x70, 0x11, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x07, 0x0F,
                            0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x80, 0xE2, 0x42, 0x00, 0x00, 0x00, 0x00};
    QCOMPARE(f.h.lastPayload(), expected);
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("设置参数... \r\n"));
    QCOMPARE(encodeBaseParams(f.page.params()), expected);

    f.h.receive(2);
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("设置参数... \r\n下载设备参数成功！\r\n"));
    QCOMPARE(encodeBaseParams(f.page.params()), expected);  // an acknowledgement changes nothing
    QCOMPARE(edit(p, kLogin)->text(), QStringLiteral("70000"));
  }

  void terminalAddressRefusals_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    const QString wrong = QStringLiteral("终端地址错误");
    QTest::newRow("7 digits") << QStringLiteral("1234567") << wrong << QStringLiteral("终端地址要为8位长度");
    QTest::newRow("9 digits") << QStringLiteral("123456789") << wrong << QStringLiteral("终端地址要为8位长度");
    QTest::newRow("empty") << QString() << wrong << QStringLiteral("终端地址要为8位长度");
    QTest::newRow("G") << QStringLiteral("1234567G") << wrong << QStringLiteral("终端地址要为8位十六进制数");
    QTest::newRow("blank") << QStringLiteral("1234 678") << wrong << QStringLiteral("终端地址要为8位十六进制数");
    // Two Chinese characters are 4 GBK bytes: 8 bytes, but not hex digits.
    QTest::newRow("chinese") << QStringLiteral("1234终端") << wrong << QStringLiteral("终端地址要为8位十六进制数");
    QTest::newRow("emoji") << QStringLiteral("123456\U0001F600") << QStringLiteral("提示")
                           << QStringLiteral("终端地址：含有设备不能显示的字符");
  }
  void terminalAddressRefusals() {
    QFETCH(QString, typed);
    QFETCH(QString, title);
    QFETCH(QString, text);
    Fixture f;
    f.readFrom(hostRecord());
    f.h.infoLog.clear();
    f.h.infoLog.append(QStringLiteral("kept"));
    edit(&f.page, kAddress)->setText(typed);
    edit(&f.page, kLogin)->setText(QStringLiteral("7"));
    press(&f.page, kWrite);
    QCOMPARE(f.onlyNotice().title, title);
    QCOMPARE(f.onlyNotice().text, text);
    QVERIFY(f.h.sent.isEmpty());
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("kept"));
    QCOMPARE(f.page.params(), hostRecord());  // nothing of the refused write is kept
  }

  void shortReplyIsNotStored() {
    Fixture f;
    f.h.flags.networkRead = true;
    const Bytes image = encodeBaseParams(hostRecord());
    f.h.receive(1, ByteView(image).first(kBaseParamsSize - 1));
    QVERIFY(!f.h.flags.baseRead);
    QCOMPARE(edit(&f.page, kAddress)->text(), QStringLiteral("12345678"));
  }
};

QTEST_MAIN(BasePageTest)
#include "base_page_test.moc"
