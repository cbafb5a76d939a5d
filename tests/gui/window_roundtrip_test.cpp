// Every group through the real window against simulated hosts: read, edit one
// field, write, spoil the page, read again and see the edit come back from the
// host, whose record holds exactly the bytes the write carried.
#include <QComboBox>
#include <QLineEdit>

#include "pages/base_page.h"
#include "support/fleet_window.h"

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

}  // namespace

class WindowRoundTripTest : public QObject {
  Q_OBJECT
 private slots:
  void readEditWriteReadBack_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < 7; ++i) QTest::newRow(qPrintable(QString::number(i))) << i;
  }
  void readEditWriteReadBack() {
    static const Row rows[] = {
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
    QFETCH(int, row);
    const Row& r = rows[row];
    FleetWindow w;
    QVERIFY(w.searchAndSelect());
    QWidget* page = w.dialog.tabs()->widget(r.tab);
    const auto readAgain = [&] {
      if (r.read.isEmpty()) {
        QVERIFY(w.searchAndSelect());
      } else {
        w.pressAndSettle(r.tab, r.read);
      }
      if (!r.selector.isEmpty()) list(page, r.selector)->setCurrentIndex(r.record);
    };
    readAgain();
    edit(page, r.label)->setText(r.typed);
    w.pressAndSettle(r.tab, r.write);
    const Bytes& host = r.group == ParamGroup::Network ? w.host().network
                                                       : w.host().records.at(readCommandOf(r.group, r.record));
    QCOMPARE(Bytes(host.begin() + static_cast<std::ptrdiff_t>(r.at), host.begin() + static_cast<std::ptrdiff_t>(r.at + r.bytes.size())),
             r.bytes);
    QCOMPARE(host, encodeRecord(w.dialog.session().config(), r.group, r.record));  // every other byte as it was sent
    edit(page, r.label)->setText(r.spoiled);
    if (!r.selector.isEmpty()) list(page, r.selector)->setCurrentIndex(r.record + 1);  // stores the spoiled value
    readAgain();
    QCOMPARE(edit(page, r.label)->text(), r.typed == "70000" ? QStringLiteral("4464") : r.typed);
  }
};

QTEST_MAIN(WindowRoundTripTest)
#include "window_roundtrip_test.moc"
