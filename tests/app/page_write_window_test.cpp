// The pages' read and write buttons, the network factory reset and the MAC write against simulated hosts: every group's
// edit comes back from the host; host-sent texts go back byte for byte (erased flash, a cut double-byte character); a
// typed text GBK cannot hold stops the write; host 1's values written to host 2 keep host 2's identity; history first
// or nothing sent; a write the host never takes ends with its failure line; a network write needs host 2's own read;
// a compare dialog confirmed after another host was chosen writes nothing.
#include <QComboBox>
#include <QDir>
#include <QFile>

#include "app/compare_dialog.h"
#include "config/history_store.h"
#include "link/gbk.h"
#include "support/fleet_window.h"
#include "support/image_bytes.h"

using namespace quendra;
using namespace quendra::test;

namespace {

struct Fixture : FleetWindow {
  Fixture() : FleetWindow(2) { quickTimeouts(); }
  // Whether a write of any kind went out since the last clear: a tunnel write, a network, reset or MAC write.
  bool wroteAnything() const {
    for (const Bytes& d : transport.requests())
      if (const int c = readSent(d).command; c == kWriteNetwork || c == kFactoryReset || c == kWriteMac) return true;
    return !writeCommands().isEmpty();
  }
  // What host 2's newest history entry holds of the group, as a record image.
  Bytes keptOf(ParamGroup group, int index = 0) {
    const auto entries = HistoryStore().entries(host(1).mac);
    if (entries.empty()) return {};
    const ConfigFileResult read = readConfigFile(entries.front().path);
    const auto* file = std::get_if<ConfigFile>(&read);
    return file ? encodeRecord(applyConfigFile(*file, HostConfig{}), group, index) : Bytes{};
  }
};

struct Row {
  MainDialog::Tab tab;
  ParamGroup group;
  int record;
  QString read, write;  // an empty read: the selection reads the network settings
  QString done;         // the line once the host took the write (the batch groups end otherwise)
  QString selector, label, typed, spoiled;
  std::size_t at;       // in the record's image
  Bytes bytes;          // what the edit puts there
};

const Row kRows[] = {
    {MainDialog::NetworkTab, ParamGroup::Network, 0, "", "写入网络参数", "下载网络参数成功！\r\n", "", "服务器1 监听端口：",
     "5000", "1", 22, {0x88, 0x13}},
    {MainDialog::BaseTab, ParamGroup::Base, 0, "读取基础参数", "写入基础参数", "下载设备参数成功！\r\n", "", "终端地址：",
     "1a2b3c4d", "00000000", 1, {0x4D, 0x3C, 0x2B, 0x1A}},
    {MainDialog::GprsTab, ParamGroup::Gprs, 0, "读取GPRS参数", "下载GPRS参数", "下载GPRS无线参数成功！\r\n", "",
     "GPRS目标端口：", "6001", "1", 71, {'6', '0', '0', '1', 0}},
    {MainDialog::LedTab, ParamGroup::Led, 0, "读取LED屏参数", "下载LED屏参数", "下载LED屏参数成功！\r\n", "", "LED屏X尺寸：",
     "300", "1", 3, {0x2C, 0x01}},
    {MainDialog::ChannelTab, ParamGroup::Channel, 6, "读取通道参数", "设置通道参数", {}, "通道号：", "报警延时(S)：", "300", "1",
     98, {0x2C, 0x01}},
    {MainDialog::ModbusTab, ParamGroup::Modbus, 6, "读取ModBus参数", "写入ModBus参数", {}, "ModBus槽位：", "寄存器起始地址：",
     "1234", "1", 3, {0xD2, 0x04}},
    {MainDialog::RelayTab, ParamGroup::Relay, 2, "读取参数", "下载参数", {}, "继电器编号：", "继电器启动时长：", "70000", "1", 3,
     {0x70, 0x11}},
};

const Row& rowOf(ParamGroup g) { return *std::find_if(std::begin(kRows), std::end(kRows), [g](const Row& r) { return r.group == g; }); }

const QByteArray kCut("\xB7");  // the first byte of a double-byte character, alone at the end

}  // namespace

class PageWriteWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void readEditWriteReadBackThenWriteAnotherHost_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < 7; ++i) QTest::newRow(qPrintable(kRows[i].write)) << i;  // one page each, named by its write
  }
  // Host 1: read, edit one field, write, spoil the page, read again: the edit comes back from the host, whose record is
  // the one read with the edit's bytes in place. Then host 1's values (for the network page its file) written to host 2
  // by the page's button keep host 2's identity, and what host 2 held is kept in its history first.
  void readEditWriteReadBackThenWriteAnotherHost() {
    QFETCH(int, row);
    const Row& p = kRows[row];
    Fixture f;
    f.host(1).records[1][5] ^= 1;                                     // host 2's login interval differs
    f.host(1).records[readCommandOf(ParamGroup::Relay, 0)][1] ^= 1;  // and its relay 1
    putU32LE(f.host(1).network, 5, 0x0101A8C0);                       // and its gateway
    const Bytes before = p.group == ParamGroup::Network ? f.host(1).network : f.host(1).records.at(readCommandOf(p.group, 0));
    QVERIFY(f.searchAndSelect(0));
    QWidget* page = f.page(p.tab);
    const auto readAgain = [&] {
      if (p.read.isEmpty()) {
        QVERIFY(f.searchAndSelect(0));
      } else {
        f.pressAndSettle(p.tab, p.read);
      }
      if (!p.selector.isEmpty()) list(page, p.selector)->setCurrentIndex(p.record);
    };
    readAgain();
    const Bytes& host = p.group == ParamGroup::Network ? f.host(0).network
                                                       : f.host(0).records.at(readCommandOf(p.group, p.record));
    const Bytes expected = over(host, p.at, p.bytes);  // the edit, every other byte as read
    edit(page, p.label)->setText(p.typed);
    f.pressAndSettle(p.tab, p.write);
    QCOMPARE(host, expected);
    edit(page, p.label)->setText(p.spoiled);
    if (!p.selector.isEmpty()) list(page, p.selector)->setCurrentIndex(p.record + 1);  // stores the spoiled value
    readAgain();
    QCOMPARE(edit(page, p.label)->text(), p.typed == "70000" ? QStringLiteral("4464") : p.typed);

    if (p.read.isEmpty()) {
      test::press(&f.dialog, QStringLiteral("保存配置..."));
      QVERIFY(f.settled());
    }
    QVERIFY(f.searchAndSelect(1));
    if (p.read.isEmpty()) test::press(&f.dialog, QStringLiteral("打开配置..."));
    f.transport.clearRequests();
    f.pressAndSettle(p.tab, p.write);
    QCOMPARE(f.keptOf(p.group), before);  // what host 2 held, kept first (its group read first)
    if (!p.done.isEmpty()) QVERIFY2(f.log().endsWith(p.done), qPrintable(f.log()));
    QVERIFY(!f.log().contains(QStringLiteral("失败")));
    if (p.group == ParamGroup::Network) {  // the settings are host 1's; the address and the unnamed bytes host 2's
      Bytes expected = f.host(0).network;
      std::copy(before.begin() + 1, before.begin() + 5, expected.begin() + 1);
      std::copy(before.begin() + 13, before.begin() + 19, expected.begin() + 13);
      std::copy(before.begin() + 88, before.end(), expected.begin() + 88);
      QCOMPARE(f.host(1).network, expected);
      QVERIFY(f.log().contains(QStringLiteral("静态IP保持本机：192.168.1.11，页面上不显示的字节保持本机\r\n")));
    } else if (p.group == ParamGroup::Base) {  // the terminal address stays host 2's; then a typed one is written
      Bytes expected = f.host(0).records.at(1);
      putU32LE(expected, 1, 0x20250002);
      QCOMPARE(f.host(1).records.at(1), expected);
      QVERIFY(f.log().contains(QStringLiteral("终端地址保持本机：20250002\r\n")));
      QVERIFY(f.searchAndSelect(0));  // host 1's values again, then a terminal address typed for host 2
      f.pressAndSettle(p.tab, p.read);
      QVERIFY(f.searchAndSelect(1));
      QLineEdit* address = edit(f.page(MainDialog::BaseTab), QStringLiteral("终端地址："));
      address->selectAll();
      QTest::keyClicks(address, QStringLiteral("4c3c2b1a"));
      f.pressAndSettle(p.tab, p.write);
      QCOMPARE(getU32LE(f.host(1).records.at(1), 1), 0x4C3C2B1Au);
      QVERIFY(!f.log().contains(QStringLiteral("保持本机")));
    } else {
      for (int k = 0; k < recordCountOf(p.group); ++k)
        QCOMPARE(f.host(1).records.at(readCommandOf(p.group, k)), f.host(0).records.at(readCommandOf(p.group, k)));
    }
  }

  // A base write the host never acknowledges, and a network write it does not take: one failure line each.
  void aWriteTheHostDoesNotTakeEndsWithItsFailureLine() {
    Fixture f;
    f.host(0).silent.insert(writeCommandOf(ParamGroup::Base));
    QVERIFY(f.searchAndSelect(0));
    f.pressAndSettle(MainDialog::BaseTab, QStringLiteral("读取基础参数"));
    f.pressAndSettle(MainDialog::BaseTab, QStringLiteral("写入基础参数"));
    QCOMPARE(f.log(), QStringLiteral("设置参数... \r\n基础参数写入失败：主机没有应答\r\n"));
    f.transport.responder = [&f](ByteView d) {  // the host ignores network writes
      return readSent(d).command == kWriteNetwork ? std::vector<Bytes>{} : f.transport.fleet().handle(d);
    };
    edit(f.page(MainDialog::NetworkTab), QStringLiteral("网关地址："))->setText(QStringLiteral("192.168.1.254"));
    f.pressAndSettle(MainDialog::NetworkTab, QStringLiteral("写入网络参数"));
    QVERIFY2(f.log().endsWith(QStringLiteral("网口参数写入失败：读回的值不同：网关地址\r\n")), qPrintable(f.log()));
  }

  // Host 2's network read got no answer: its write is refused, nothing sent, rather than host 1's record going whole.
  void aNetworkWriteNeedsTheTargetsOwnRead() {
    Fixture f;
    QVERIFY(f.searchAndSelect(0));
    f.transport.responder = [&f](ByteView d) {
      const SentRequest s = readSent(d);
      return s.command == kReadNetwork && s.target == f.host(1).mac ? std::vector<Bytes>{} : f.transport.fleet().handle(d);
    };
    (void)f.searchAndSelect(1);
    QVERIFY(f.settled());
    f.transport.clearRequests();
    f.pressAndSettle(MainDialog::NetworkTab, QStringLiteral("写入网络参数"));
    QVERIFY(!f.wroteAnything());
    QCOMPARE(f.notifier.notices.last().text,
             QStringLiteral("没有读到这台主机的网络参数，请在主机列表中重新双击该主机，读到后再写入"));
  }

  // Every write keeps its history first (the reset and the MAC write their network settings); with the history
  // folder unwritable, nothing at all is sent and the line says why.
  void historyFirstOrNothingSent() {
    Fixture f;
    QVERIFY(f.searchAndSelect(1));
    const Bytes network = f.host(1).network;
    f.pressAndSettle(MainDialog::NetworkTab, QStringLiteral("网络恢复出厂"));
    QCOMPARE(f.keptOf(ParamGroup::Network), network);
    edit(f.page(MainDialog::NetworkTab), QStringLiteral("MAC地址："))->setText(QStringLiteral("02-4B-7D-00-00-22"));
    f.pressAndSettle(MainDialog::NetworkTab, QStringLiteral("写MAC"));
    QCOMPARE(int(HistoryStore().entries(Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x02}).size()), 2);
    QCOMPARE(f.host(1).mac, (Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x22}));

    QVERIFY(f.searchAndSelect(0));
    f.pressAndSettle(MainDialog::BaseTab, QStringLiteral("读取基础参数"));
    const QString folder = HistoryStore::defaultFolder();  // a file where the folder would be
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    f.transport.clearRequests();
    for (const auto& [tab, button, line] :
         {std::tuple{MainDialog::BaseTab, "写入基础参数", "基础参数写入失败：历史记录未能保存"},
          std::tuple{MainDialog::NetworkTab, "网络恢复出厂", "网络恢复出厂失败：历史记录未能保存"},
          std::tuple{MainDialog::NetworkTab, "写MAC", "写MAC失败：历史记录未能保存"}}) {
      f.pressAndSettle(tab, QString::fromUtf8(button));
      QVERIFY2(f.log().contains(QString::fromUtf8(line)), qPrintable(f.log()));
    }
    QVERIFY(!f.wroteAnything());
  }

  void aCompareDialogConfirmedAfterAnotherHostWasChosenWritesNothing() {
    Fixture f;
    QVERIFY(f.searchAndSelect(0));
    f.pressAndSettle(MainDialog::BaseTab, QStringLiteral("读取基础参数"));
    edit(f.page(MainDialog::BaseTab), QStringLiteral("登陆帧间隔时间："))->setText(QStringLiteral("99"));
    test::press(&f.dialog, QStringLiteral("写入全部..."));
    QVERIFY(QTest::qWaitFor([&] { return openWindow<CompareDialog>(); }, 20000));
    QVERIFY(f.searchAndSelect(1));
    f.transport.clearRequests();
    openWindow<CompareDialog>()->accept();
    QVERIFY(f.settled());
    QVERIFY(!f.wroteAnything());
    QVERIFY(f.log().endsWith(QStringLiteral("已选择其他主机，未写入\r\n")));
    const Bytes network = f.host(1).network;  // the pages show host 1's values again: host 2 keeps its address
    f.pressAndSettle(MainDialog::NetworkTab, QStringLiteral("写入网络参数"));
    QCOMPARE(getU32LE(f.host(1).network, 1), getU32LE(network, 1));
  }

  void textsAsShownGoBackByteForByte_data() {
    QTest::addColumn<int>("readCommand");  // the host record seeded (0: network)
    QTest::addColumn<int>("offset");       // in that record
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("server 2 address of erased flash") << 0 << 58 << QByteArray(30, '\xFF');
    QTest::newRow("GPRS address cut") << 3 << 6 << "gprs.example" + kCut;
    QTest::newRow("GPRS phone 2 cut") << 3 << 91 << "1300000000" + kCut;
    QTest::newRow("LED header cut at 64 bytes") << 150 << 13 << QByteArray(63, 'H') + kCut;
    QTest::newRow("LED footer of invalid bytes") << 150 << 77 << QByteArray("\xFF\xFE\xFF");
    QTest::newRow("channel 32 unit cut") << 36 << 41 << "AB" + kCut;
    QTest::newRow("channel 32 name of invalid bytes") << 36 << 67 << QByteArray("\x80\xFF");
  }
  void textsAsShownGoBackByteForByte() {
    QFETCH(int, readCommand);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    const std::optional<TunnelCommand> read = readCommand ? classifyTunnelCommand(std::uint8_t(readCommand)) : std::nullopt;
    const Row& page = rowOf(read ? read->group : ParamGroup::Network);
    FleetWindow w;
    Bytes& record = readCommand == 0 ? w.host().network : w.host().records[static_cast<std::uint8_t>(readCommand)];
    std::copy(bytes.begin(), bytes.end(), record.begin() + offset);
    if (readCommand == 3) record[79] |= 0x02;  // phone 2 given
    QVERIFY(w.searchAndSelect());
    if (!page.read.isEmpty()) w.pressAndSettle(page.tab, page.read);
    if (readCommand == 0) edit(w.page(MainDialog::NetworkTab), QStringLiteral("服务器1 源端口："))->setText(QStringLiteral("2001"));
    w.notifier.notices.clear();
    w.pressAndSettle(page.tab, page.write);

    const SentRequest sent = read ? w.lastRequest(kTunnel, writeCommandOf(read->group, read->index)) : w.lastRequest(kWriteNetwork);
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

QTEST_MAIN(PageWriteWindowTest)
#include "page_write_window_test.moc"
