// Every group through the real window against simulated hosts: read, edit one field, write, spoil the page, read
// again and see the edit come back from the host, whose record is the one read with the edit's bytes in place. Texts the
// host sent go back as they came while the operator leaves them alone, also bytes GBK cannot decode (erased flash)
// and texts cut inside a double-byte character; a typed text GBK cannot hold stops the write before anything is sent.
#include <QComboBox>
#include <QLineEdit>

#include "link/gbk.h"
#include "support/fleet_window.h"
#include "support/image_bytes.h"

using namespace quendra;
using namespace quendra::test;

namespace {

struct Row {
  MainDialog::Tab tab;
  ParamGroup group;
  int record;
  QString read, write;  // an empty read: the selection reads the network settings
  QString selector, label, typed, spoiled;
  std::size_t at;       // in the record's image
  Bytes bytes;          // what the edit puts there
};

const Row kRows[] = {
    {MainDialog::NetworkTab, ParamGroup::Network, 0, "", "写入网络参数", "", "服务器1 监听端口：", "5000", "1", 22, {0x88, 0x13}},
    {MainDialog::BaseTab, ParamGroup::Base, 0, "读取基础参数", "写入基础参数", "", "终端地址：", "1a2b3c4d", "00000000", 1,
     {0x4D, 0x3C, 0x2B, 0x1A}},
    {MainDialog::GprsTab, ParamGroup::Gprs, 0, "读取GPRS参数", "下载GPRS参数", "", "GPRS目标端口：", "6001", "1", 71,
     {'6', '0', '0', '1', 0}},
    {MainDialog::LedTab, ParamGroup::Led, 0, "读取LED屏参数", "下载LED屏参数", "", "LED屏X尺寸：", "300", "1", 3, {0x2C, 0x01}},
    {MainDialog::ChannelTab, ParamGroup::Channel, 6, "读取通道参数", "设置通道参数", "通道号：", "报警延时(S)：", "300", "1", 98,
     {0x2C, 0x01}},
    {MainDialog::ModbusTab, ParamGroup::Modbus, 6, "读取ModBus参数", "写入ModBus参数", "ModBus槽位：", "寄存器起始地址：",
     "1234", "1", 3, {0xD2, 0x04}},
    {MainDialog::RelayTab, ParamGroup::Relay, 2, "读取参数", "下载参数", "继电器编号：", "继电器启动时长：", "70000", "1", 3,
     {0x70, 0x11}},
};

const Row& rowOf(int tab) { return *std::find_if(std::begin(kRows), std::end(kRows), [tab](const Row& r) { return r.tab == tab; }); }

const QByteArray kCut("\xB7");  // the first byte of a double-byte character, alone at the end

}  // namespace

class WindowRoundTripTest : public QObject {
  Q_OBJECT
 private slots:
  void readEditWriteReadBack_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < 7; ++i) QTest::newRow(qPrintable(QString::number(i))) << i;
  }
  void readEditWriteReadBack() {
    QFETCH(int, row);
    const Row& r = kRows[row];
    FleetWindow w;
    QVERIFY(w.searchAndSelect());
    QWidget* page = w.page(r.tab);
    const auto readAgain = [&] {
      if (r.read.isEmpty()) {
        QVERIFY(w.searchAndSelect());
      } else {
        w.pressAndSettle(r.tab, r.read);
      }
      if (!r.selector.isEmpty()) list(page, r.selector)->setCurrentIndex(r.record);
    };
    readAgain();
    const Bytes& host = r.group == ParamGroup::Network ? w.host().network
                                                       : w.host().records.at(readCommandOf(r.group, r.record));
    const Bytes expected = over(host, r.at, r.bytes);  // the edit, every other byte as read
    edit(page, r.label)->setText(r.typed);
    w.pressAndSettle(r.tab, r.write);
    QCOMPARE(host, expected);
    edit(page, r.label)->setText(r.spoiled);
    if (!r.selector.isEmpty()) list(page, r.selector)->setCurrentIndex(r.record + 1);  // stores the spoiled value
    readAgain();
    QCOMPARE(edit(page, r.label)->text(), r.typed == "70000" ? QStringLiteral("4464") : r.typed);
  }

  void textsAsShownGoBackByteForByte_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("readCommand");  // the host record seeded (0: network)
    QTest::addColumn<int>("offset");       // in that record
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("writeCommand");  // a tunnel command (network: outer 4)
    const int network = MainDialog::NetworkTab, gprs = MainDialog::GprsTab, led = MainDialog::LedTab,
              channel = MainDialog::ChannelTab;
    QTest::newRow("server 2 address of erased flash") << network << 0 << 58 << QByteArray(30, '\xFF') << 0;
    QTest::newRow("GPRS address cut") << gprs << 3 << 6 << "gprs.example" + kCut << 4;
    QTest::newRow("GPRS phone 2 cut") << gprs << 3 << 91 << "1300000000" + kCut << 4;
    QTest::newRow("LED header cut at 64 bytes") << led << 150 << 13 << QByteArray(63, 'H') + kCut << 149;
    QTest::newRow("LED footer of invalid bytes") << led << 150 << 77 << QByteArray("\xFF\xFE\xFF") << 149;
    QTest::newRow("channel 32 unit cut") << channel << 36 << 41 << "AB" + kCut << 68;
    QTest::newRow("channel 32 name of invalid bytes") << channel << 36 << 67 << QByteArray("\x80\xFF") << 68;
  }
  void textsAsShownGoBackByteForByte() {
    QFETCH(int, tab);
    QFETCH(int, readCommand);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(int, writeCommand);
    FleetWindow w;
    Bytes& record = readCommand == 0 ? w.host().network : w.host().records[static_cast<std::uint8_t>(readCommand)];
    std::copy(bytes.begin(), bytes.end(), record.begin() + offset);
    if (readCommand == 3) record[79] |= 0x02;  // phone 2 given
    QVERIFY(w.searchAndSelect());
    if (!rowOf(tab).read.isEmpty()) w.pressAndSettle(MainDialog::Tab(tab), rowOf(tab).read);
    if (readCommand == 0) edit(w.page(MainDialog::NetworkTab), QStringLiteral("服务器1 源端口："))->setText(QStringLiteral("2001"));
    w.notifier.notices.clear();
    w.pressAndSettle(MainDialog::Tab(tab), rowOf(tab).write);

    const SentRequest sent = readCommand == 0 ? w.lastRequest(kWriteNetwork) : w.lastRequest(kTunnel, writeCommand);
    const Bytes& carried = readCommand == 0 ? sent.payload : sent.tunnelPayload;
    QVERIFY(carried.size() >= std::size_t(offset + bytes.size()));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(carried.data() + offset), bytes.size()), bytes);
    if (readCommand == 0) QCOMPARE(NetworkParams::fromRecord(carried)->sourcePort(0), 2001);  // the edit went out too
    for (const auto& n : w.notifier.notices)  // no refusal
      QCOMPARE(n.title + n.text, QStringLiteral("提示网络参数已下发，请重新搜索设备，双击设备列表来验证是否下发成功"));
  }

  void typedTextGbkCannotHoldStopsTheChannelWrite() {
    FleetWindow w;
    QVERIFY(w.searchAndSelect());
    w.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("读取通道参数"));
    QWidget* page = w.page(MainDialog::ChannelTab);
    QComboBox* selector = list(page, QStringLiteral("通道号："));
    selector->setCurrentIndex(2);
    QLineEdit* name = edit(page, QStringLiteral("模拟量1名称："));
    name->setText(QStringLiteral("温度\U0001F600"));
    w.transport.clearRequests();
    w.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("设置通道参数"));
    QVERIFY(w.transport.requests().isEmpty());
    QCOMPARE(w.notifier.notices.size(), 1);
    QCOMPARE(w.notifier.notices[0].text, QStringLiteral("模拟量1名称：含有设备不能显示的字符"));
    selector->setCurrentIndex(4);  // switching channels refuses too: the selector returns, the typed text stays
    QCOMPARE(w.notifier.notices.size(), 2);
    QCOMPARE(selector->currentIndex(), 2);
    QCOMPARE(name->text(), QStringLiteral("温度\U0001F600"));
    QCOMPARE(w.dialog.session().config().channels[2].name1, readTextArea(ByteView(w.host().records.at(7)).subspan(21, 20)));
  }
};

QTEST_MAIN(WindowRoundTripTest)
#include "window_roundtrip_test.moc"
