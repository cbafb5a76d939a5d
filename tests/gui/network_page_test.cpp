// NetworkPage on its own: start values, the shown answer, the enable rule,
// the exact bytes of its three requests and every refusal (nothing sent).
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <numeric>

#include "pages/info_log.h"
#include "support/page_harness.h"
#include "pages/network_page.h"
#include "support/test_support.h"

using namespace quendra;
using namespace quendra::test;

namespace {

const QString kHost = QStringLiteral("静态IP：");
const QString kMask = QStringLiteral("子网掩码：");
const QString kGateway = QStringLiteral("网关地址：");
const QString kMode = QStringLiteral("IP获取方式：");
const QString kMaxConn = QStringLiteral("最大连接数量：");
const QString kMac = QStringLiteral("MAC地址：");
const QString kListen1 = QStringLiteral("服务器1 监听端口：");
const QString kServer1 = QStringLiteral("服务器1 服务器地址：");
const QString kSource1 = QStringLiteral("服务器1 源端口：");
const QString kListen2 = QStringLiteral("服务器2 监听端口：");
const QString kServer2 = QStringLiteral("服务器2 服务器地址：");
const QString kSource2 = QStringLiteral("服务器2 源端口：");

const QString kWarnText = QStringLiteral("请先搜索到设备,双击选中,再读取参数");
const QString kBadMac = QStringLiteral("不合格的MAC地址格式!!!\r\n");

std::uint8_t sumFrom3(const Bytes& d) {
  return static_cast<std::uint8_t>(std::accumulate(d.begin() + 3, d.end(), 0u) & 0xFF);
}

// The host's record for the tests: every hidden byte distinct.
Bytes hostRecord() {
  Bytes r(292);
  for (std::size_t i = 0; i < r.size(); ++i) r[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const Bytes head = {0x80, 0x0A, 0x01, 0xA8, 0xC0,  // static, 192.168.1.10
                      0x01, 0x01, 0xA8, 0xC0,        // gateway 192.168.1.1
                      0x00, 0xFF, 0xFF, 0xFF};       // mask 255.255.255.0
  std::copy(head.begin(), head.end(), r.begin());
  r[19] = 4;
  r[20] = 0x39, r[21] = 0x30;  // server 1 source 12345
  r[22] = 0xFF, r[23] = 0xFF;  // server 1 listen 65535
  const std::string s1 = "10.0.0.2";
  std::copy(s1.begin(), s1.end(), r.begin() + 24);
  r[24 + s1.size()] = 0;
  r[54] = 0x01, r[55] = 0x00;  // server 2 source 1
  r[56] = 0x02, r[57] = 0x00;  // server 2 listen 2
  const std::string s2 = "\xB7\xFE\xCE\xF1\xC6\xF7";  // "服务器" in GBK
  std::copy(s2.begin(), s2.end(), r.begin() + 58);
  r[58 + s2.size()] = 0;
  return r;
}

struct Fixture {
  PageHarness h{Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x05}};
  ReadFlags& flags = h.flags;
  const Mac& selected = h.selected;
  InfoLog& log = h.infoLog;
  RecordingNotifier& notifier = h.notifier;
  const QList<Bytes>& sent = h.sent;
  NetworkPage page{h.context()};

  // Reply 3 as a host sends it: 55, length, 03, MAC, the record, sum.
  void answer(const Bytes& record) {
    Bytes d{0x55, 0x01, 0x2B, 0x03};
    d.insert(d.end(), selected.begin(), selected.end());
    d.insert(d.end(), record.begin(), record.end());
    d.push_back(sumFrom3(d));
    h.transport.deliverNow(d);
  }

  QLineEdit* edit(const QString& name) { return get<QLineEdit>(name); }
  QComboBox* list(const QString& name) { return get<QComboBox>(name); }
  template <typename T>
  T* get(const QString& name) {
    T* w = findByAccessibleName<T>(&page, name);
    if (!w) qFatal("no field %s", qPrintable(name));
    return w;
  }
  void press(const QString& text) {
    for (QPushButton* b : page.findChildren<QPushButton*>())
      if (b->text() == text) return b->click();
    qFatal("no button %s", qPrintable(text));
  }
  // The 292 bytes of the last write request.
  Bytes writtenRecord() const {
    const Bytes& d = sent.last();
    return Bytes(d.begin() + 10, d.begin() + 302);
  }
};

}  // namespace

class NetworkPageTest : public QObject {
  Q_OBJECT
 private slots:
  void startValues() {
    Fixture f;
    QCOMPARE(f.edit(kHost)->text(), QStringLiteral("192.168.0.9"));
    QCOMPARE(f.edit(kMask)->text(), QStringLiteral("255.255.255.0"));
    QCOMPARE(f.edit(kGateway)->text(), QStringLiteral("192.168.0.1"));
    QCOMPARE(f.edit(kSource1)->text(), QStringLiteral("2000"));
    QCOMPARE(f.edit(kSource2)->text(), QStringLiteral("0"));
    QCOMPARE(f.edit(kListen1)->text(), QStringLiteral("2404"));
    QCOMPARE(f.edit(kListen2)->text(), QStringLiteral("0"));
    QCOMPARE(f.edit(kServer1)->text(), QStringLiteral("192.168.0.166"));
    QCOMPARE(f.edit(kServer2)->text(), QString());
    QCOMPARE(f.list(kMaxConn)->currentIndex(), 8);
    QCOMPARE(f.list(kMaxConn)->currentText(), QStringLiteral("8"));
    QCOMPARE(f.list(kMode)->currentText(), QStringLiteral("StaticIP"));
    QCOMPARE(f.edit(kMac)->text(), QStringLiteral("02-4B-7D-00-00-00"));
    for (const QString& name : {kHost, kMask, kGateway, kMac, kListen1, kServer1, kSource1})
      QVERIFY2(f.get<QWidget>(name)->isEnabled(), qPrintable(name));
    for (const QString& name : {kListen2, kServer2, kSource2, kMaxConn})
      QVERIFY2(!f.get<QWidget>(name)->isEnabled(), qPrintable(name));
  }

  void answerIsShownAndSetsNetworkRead() {
    Fixture f;
    f.log.append(QStringLiteral("读取参数...\r\n"));
    f.edit(kMac)->setText(QStringLiteral("02-4B-7D-00-00-05"));
    f.answer(hostRecord());
    QVERIFY(f.flags.networkRead);
    QCOMPARE(f.list(kMode)->currentText(), QStringLiteral("StaticIP"));
    QCOMPARE(f.edit(kHost)->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(f.edit(kMask)->text(), QStringLiteral("255.255.255.0"));
    QCOMPARE(f.edit(kGateway)->text(), QStringLiteral("192.168.1.1"));
    QCOMPARE(f.edit(kSource1)->text(), QStringLiteral("12345"));
    QCOMPARE(f.edit(kListen1)->text(), QStringLiteral("65535"));
    QCOMPARE(f.edit(kServer1)->text(), QStringLiteral("10.0.0.2"));
    QCOMPARE(f.edit(kSource2)->text(), QStringLiteral("1"));
    QCOMPARE(f.edit(kListen2)->text(), QStringLiteral("2"));
    QCOMPARE(f.edit(kServer2)->text(), QStringLiteral("服务器"));
    QCOMPARE(f.list(kMaxConn)->currentText(), QStringLiteral("4"));
    QCOMPARE(f.edit(kMac)->text(), QStringLiteral("02-4B-7D-00-00-05"));  // not touched
    QCOMPARE(f.log.text(), QStringLiteral("读取参数...\r\n读取网络参数成功！\r\n"));
  }

  void addressModeDecidesTheEnabledFields_data() {
    QTest::addColumn<int>("byte0");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("0x80 static") << 0x80 << QStringLiteral("StaticIP") << true;
    QTest::newRow("0xFF static") << 0xFF << QStringLiteral("StaticIP") << true;
    QTest::newRow("0x00 automatic") << 0x00 << QStringLiteral("DHCP/autoIP") << false;
    QTest::newRow("0x7F automatic") << 0x7F << QStringLiteral("DHCP/autoIP") << false;
  }
  void addressModeDecidesTheEnabledFields() {
    QFETCH(int, byte0);
    QFETCH(QString, mode);
    QFETCH(bool, enabled);
    Fixture f;
    Bytes r = hostRecord();
    r[0] = static_cast<std::uint8_t>(byte0);
    f.answer(r);
    QCOMPARE(f.list(kMode)->currentText(), mode);
    for (const QString& name : {kHost, kMask, kGateway}) QCOMPARE(f.edit(name)->isEnabled(), enabled);
  }

  void operatorChangingTheModeRunsTheRule() {
    Fixture f;
    f.list(kMode)->setCurrentIndex(1);
    QVERIFY(!f.edit(kHost)->isEnabled());
    f.list(kMode)->setCurrentIndex(0);
    QVERIFY(f.edit(kHost)->isEnabled());
  }

  void writeSendsTheFieldsAndTheHiddenBytesAsRead() {
    Fixture f;
    const Bytes read = hostRecord();
    f.answer(read);
    f.edit(kHost)->setText(QStringLiteral("10.1.2.3"));
    f.edit(kMask)->setText(QStringLiteral("255.255.0.0"));
    f.edit(kGateway)->setText(QStringLiteral("10.1.0.254"));
    f.edit(kSource1)->setText(QStringLiteral("70000"));  // kept to 16 bits: 4464
    f.edit(kListen1)->setText(QStringLiteral(" 2404x"));
    f.edit(kServer1)->setText(QStringLiteral("a"));
    f.list(kMaxConn)->setCurrentIndex(2);
    f.log.append(QStringLiteral("old\r\n"));
    f.press(QStringLiteral("写入网络参数"));

    QCOMPARE(f.sent.size(), 1);
    const Bytes& d = f.sent.last();
    QCOMPARE(d.size(), std::size_t{303});
    QCOMPARE((Bytes(d.begin(), d.begin() + 10)), (Bytes{0xAA, 0x01, 0x2B, 0x04, 0x02, 0x4B, 0x7D, 0x00, 0x00, 0x05}));
    QCOMPARE(d.back(), sumFrom3(Bytes(d.begin(), d.end() - 1)));

    Bytes expected = read;
    const Bytes head = {0x80, 0x03, 0x02, 0x01, 0x0A, 0xFE, 0x00, 0x01, 0x0A, 0x00, 0x00, 0xFF, 0xFF};
    std::copy(head.begin(), head.end(), expected.begin());
    expected[19] = 2;
    expected[20] = 0x70, expected[21] = 0x11;  // 4464
    expected[22] = 0x64, expected[23] = 0x09;  // 2404
    expected[24] = 'a', expected[25] = 0;      // the bytes after the zero stay as read
    QCOMPARE(f.writtenRecord(), expected);
    QCOMPARE(Bytes(f.page.params().bytes.begin(), f.page.params().bytes.end()), expected);

    QCOMPARE(f.log.text(), QStringLiteral("设置参数... \r\n"));
    QCOMPARE(f.notifier.notices.size(), 1);
    QCOMPARE(f.notifier.notices[0].title, QStringLiteral("提示"));
    QCOMPARE(f.notifier.notices[0].text,
             QStringLiteral("网络参数已下发，请重新搜索设备，双击设备列表来验证是否下发成功"));
  }

  void automaticModeStillSendsTheDisabledAddresses() {
    Fixture f;
    f.answer(hostRecord());
    f.list(kMode)->setCurrentIndex(1);
    f.press(QStringLiteral("写入网络参数"));
    const Bytes r = f.writtenRecord();
    QCOMPARE(r[0], std::uint8_t{0x00});
    QCOMPARE((Bytes(r.begin() + 1, r.begin() + 5)), (Bytes{0x0A, 0x01, 0xA8, 0xC0}));
  }

  void countAboveEightShowsNothingAndTravelsAsFF() {
    Fixture f;
    Bytes r = hostRecord();
    r[19] = 9;
    f.answer(r);
    QCOMPARE(f.list(kMaxConn)->currentIndex(), -1);
    f.press(QStringLiteral("写入网络参数"));
    QCOMPARE(f.writtenRecord()[19], std::uint8_t{0xFF});
  }

  void serverAddressAsReceivedGoesBackUnchanged() {
    // A host may fill the whole 30-byte area without a zero; the disabled
    // server 2 field cannot shorten it, so it travels back as it came.
    Fixture f;
    Bytes r = hostRecord();
    std::fill(r.begin() + 58, r.begin() + 88, 'z');
    f.answer(r);
    f.press(QStringLiteral("写入网络参数"));
    QCOMPARE(f.sent.size(), 1);
    QCOMPARE(f.writtenRecord(), r);
  }

  void writeBeforeAnyAnswerIsRefused() {
    Fixture f;
    f.press(QStringLiteral("写入网络参数"));
    QVERIFY(f.sent.isEmpty());
    QCOMPARE(f.notifier.notices.size(), 1);
    QCOMPARE(f.notifier.notices[0].title, QStringLiteral("警告"));
    QCOMPARE(f.notifier.notices[0].text, kWarnText);
    QCOMPARE(f.notifier.notices[0].icon, NoticeIcon::Exclamation);
  }

  void badAddressTextIsRefusedNamingTheField_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    const QString fields[] = {kHost, kMask, kGateway};
    const char* texts[] = {"192.168.1.256", "192.168.1", "1.2.3.4.5", "a.b.c.d", "", "192.168.1.1x", "1..2.3",
                           "-1.2.3.4", "1000.1.1.1", "１.2.3.4"};
    for (const QString& field : fields)
      for (const char* t : texts) QTest::addRow("%s %s", qPrintable(field), t) << field << QString::fromUtf8(t);
  }
  void badAddressTextIsRefusedNamingTheField() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    Fixture f;
    f.answer(hostRecord());
    const auto before = f.page.params().bytes;
    f.log.clear();
    f.edit(field)->setText(text);
    f.press(QStringLiteral("写入网络参数"));
    QVERIFY(f.sent.isEmpty());
    QCOMPARE(f.notifier.notices.size(), 1);
    QCOMPARE(f.notifier.notices[0].title, QStringLiteral("提示"));
    QVERIFY2(f.notifier.notices[0].text.startsWith(field), qPrintable(f.notifier.notices[0].text));
    QCOMPARE(f.page.params().bytes, before);
    QCOMPARE(f.log.text(), QString());
  }

  void serverAddressLength_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("29 ASCII") << QString(29, QLatin1Char('x')) << true;
    QTest::newRow("30 ASCII") << QString(30, QLatin1Char('x')) << false;
    QTest::newRow("14 CJK + 1 = 29 bytes") << QString(14, QChar(0x670D)) + QLatin1Char('a') << true;
    QTest::newRow("15 CJK = 30 bytes") << QString(15, QChar(0x670D)) << false;
  }
  void serverAddressLength() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    Fixture f;
    f.answer(hostRecord());
    f.edit(kServer1)->setText(text);
    f.press(QStringLiteral("写入网络参数"));
    QCOMPARE(f.sent.size(), accepted ? 1 : 0);
    if (accepted) {
      QCOMPARE(f.writtenRecord()[24 + 29], std::uint8_t{0});
      QCOMPARE(f.notifier.notices.last().title, QStringLiteral("提示"));  // the "下发" notice
      return;
    }
    QCOMPARE(f.notifier.notices.size(), 1);
    QCOMPARE(f.notifier.notices[0].title, QStringLiteral("提示"));
    QVERIFY(f.notifier.notices[0].text.startsWith(kServer1));
  }

  void serverAddressGbkCannotHoldIsRefused() {
    Fixture f;
    f.answer(hostRecord());
    f.edit(kServer1)->setText(QStringLiteral("host\U0001F600"));
    f.press(QStringLiteral("写入网络参数"));
    QVERIFY(f.sent.isEmpty());
    QCOMPARE(f.notifier.notices.size(), 1);
    QVERIFY(f.notifier.notices[0].text.startsWith(kServer1));
  }

  void factoryResetNeedsNothing() {
    Fixture f;
    f.log.append(QStringLiteral("old\r\n"));
    f.press(QStringLiteral("网络恢复出厂"));
    QCOMPARE(f.sent.size(), 1);
    QCOMPARE(f.sent[0], (Bytes{0xAA, 0x00, 0x07, 0x06, 0x02, 0x4B, 0x7D, 0x00, 0x00, 0x05, 0xD5}));
    QCOMPARE(f.log.text(), QStringLiteral("恢复出厂设置...\r\n"));
    QVERIFY(f.notifier.notices.isEmpty());
  }

  void writeMacSendsTheNewAddress_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("mac");
    QTest::newRow("mixed case") << QStringLiteral("00-1a-2B-3c-4D-5e") << QByteArray("\x00\x1A\x2B\x3C\x4D\x5E", 6);
    QTest::newRow("tail ignored") << QStringLiteral("02-11-22-33-44-55xyz") << QByteArray("\x02\x11\x22\x33\x44\x55", 6);
    QTest::newRow("FE first octet") << QStringLiteral("FE-FF-FF-FF-FF-FF") << QByteArray("\xFE\xFF\xFF\xFF\xFF\xFF", 6);
  }
  void writeMacSendsTheNewAddress() {
    QFETCH(QString, text);
    QFETCH(QByteArray, mac);
    Fixture f;
    f.edit(kMac)->setText(text);
    f.press(QStringLiteral("写MAC"));
    QCOMPARE(f.sent.size(), 1);
    Bytes expected{0xAA, 0x00, 0x0D, 0x0F, 0x02, 0x4B, 0x7D, 0x00, 0x00, 0x05};
    for (char c : mac) expected.push_back(static_cast<std::uint8_t>(c));
    expected.push_back(sumFrom3(expected));
    QCOMPARE(f.sent[0], expected);
    QCOMPARE(f.log.text(), QStringLiteral("写入MAC地址...\r\n"));
  }

  void unusableMacTextIsRefused_data() {
    QTest::addColumn<QString>("text");
    for (const char* t : {"001A2B3C4D5E", "00:1A:2B:3C:4D:5E", "00-1A-2B-3C-4D-5", "00-1A-2B-3C-4D", "",
                          "0G-1A-2B-3C-4D-5E", "00-00-00-00-00-00", "FF-FF-FF-FF-FF-FF",
                          "01-00-5E-00-00-01", "03-11-22-33-44-55"})
      QTest::newRow(t) << QString::fromLatin1(t);
  }
  void unusableMacTextIsRefused() {
    QFETCH(QString, text);
    Fixture f;
    f.log.append(QStringLiteral("old\r\n"));
    f.edit(kMac)->setText(text);
    f.press(QStringLiteral("写MAC"));
    QVERIFY(f.sent.isEmpty());
    QCOMPARE(f.log.text(), kBadMac);
  }

  void enterInAFieldPressesWrite() {
    Fixture f;
    f.answer(hostRecord());
    QTest::keyClick(f.edit(kServer1), Qt::Key_Return);
    QCOMPARE(f.sent.size(), 1);
    QCOMPARE(f.sent[0].size(), std::size_t{303});
  }

  void selectionIsShownDashed() {
    Fixture f;
    f.page.showSelectedMac({0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC});
    QCOMPARE(f.edit(kMac)->text(), QStringLiteral("00-11-22-AA-BB-CC"));
  }
};

QTEST_MAIN(NetworkPageTest)
#include "network_page_test.moc"
