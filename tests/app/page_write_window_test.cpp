// The pages' write buttons, the network factory reset and the MAC write against simulated hosts, as every other
// write: values read from host 1 and written to host 2 keep host 2's identity (and say so), a typed terminal address
// is written, what host 2 held is kept in its history first (read first), nothing is sent when the history cannot be
// kept, a write the host never takes ends with its failure line, a network write needs host 2's own network settings,
// and a compare dialog confirmed after another host was chosen writes nothing.
#include <QDir>
#include <QFile>

#include "app/compare_dialog.h"
#include "config/history_store.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

struct Fixture : FleetWindow {
  Fixture() : FleetWindow(2) { quickTimeouts(); }
  void press(MainDialog::Tab tab, const QString& button) {
    tabs()->setCurrentIndex(tab);
    buttonByText(page(tab), button)->click();
    QVERIFY(settled());
  }
  // The requests sent with this outer command, and tunnel writes, since the last clear.
  int sent(int outer) const {
    int n = 0;
    for (const Bytes& d : transport.requests())
      if (const SentRequest s = readSent(d); s.command == outer &&
          (outer != kTunnel || classifyTunnelCommand(std::uint8_t(s.tunnelCommand))->isWrite))
        ++n;
    return n;
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

struct PageRow {
  const char* name;
  MainDialog::Tab tab;
  ParamGroup group;
  QString read, write, done;  // done: the line once the host took it
};

const std::vector<PageRow>& pageRows() {
  static const std::vector<PageRow> rows = {
      {"network", MainDialog::NetworkTab, ParamGroup::Network, {}, "写入网络参数", "下载网络参数成功！\r\n"},
      {"base", MainDialog::BaseTab, ParamGroup::Base, "读取基础参数", "写入基础参数", "下载设备参数成功！\r\n"},
      {"gprs", MainDialog::GprsTab, ParamGroup::Gprs, "读取GPRS参数", "下载GPRS参数", "下载GPRS无线参数成功！\r\n"},
      {"led", MainDialog::LedTab, ParamGroup::Led, "读取LED屏参数", "下载LED屏参数", "下载LED屏参数成功！\r\n"},
      {"channel", MainDialog::ChannelTab, ParamGroup::Channel, "读取通道参数", "设置通道参数", {}},
      {"modbus", MainDialog::ModbusTab, ParamGroup::Modbus, "读取ModBus参数", "写入ModBus参数", {}},
      {"relay", MainDialog::RelayTab, ParamGroup::Relay, "读取参数", "下载参数", {}},
  };
  return rows;
}

}  // namespace

class PageWriteWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void anotherHostsValuesKeepTheTargetsIdentity_data() {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < pageRows().size(); ++i) QTest::newRow(pageRows()[i].name) << int(i);
  }
  // Host 1's values (read from it, or for the network page its file) written to host 2 by the page's button.
  void anotherHostsValuesKeepTheTargetsIdentity() {
    QFETCH(int, row);
    const PageRow& p = pageRows()[std::size_t(row)];
    Fixture f;
    QTemporaryDir dir;
    FixedFile file;
    file.path = dir.filePath(QStringLiteral("host1.json"));
    f.dialog.setFileChooser(file);
    f.host(1).records[1][5] ^= 1;                                     // host 2's login interval differs
    f.host(1).records[readCommandOf(ParamGroup::Relay, 0)][1] ^= 1;  // and its relay 1
    putU32LE(f.host(1).network, 5, 0x0101A8C0);                       // and its gateway
    const Bytes before = p.group == ParamGroup::Network ? f.host(1).network : f.host(1).records.at(readCommandOf(p.group, 0));
    QVERIFY(f.searchAndSelect(0));
    if (p.read.isEmpty()) {
      test::press(&f.dialog, QStringLiteral("保存配置..."));
      QVERIFY(f.settled());
    } else {
      f.press(p.tab, p.read);
    }
    QVERIFY(f.searchAndSelect(1));
    if (p.read.isEmpty()) test::press(&f.dialog, QStringLiteral("打开配置..."));
    f.transport.clearRequests();
    f.press(p.tab, p.write);
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
      f.press(p.tab, p.read);
      QVERIFY(f.searchAndSelect(1));
      QLineEdit* address = edit(f.page(MainDialog::BaseTab), QStringLiteral("终端地址："));
      address->selectAll();
      QTest::keyClicks(address, QStringLiteral("4c3c2b1a"));
      f.press(p.tab, p.write);
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
    f.press(MainDialog::BaseTab, QStringLiteral("读取基础参数"));
    f.press(MainDialog::BaseTab, QStringLiteral("写入基础参数"));
    QCOMPARE(f.log(), QStringLiteral("设置参数... \r\n基础参数写入失败：主机没有应答\r\n"));
    f.transport.responder = [&f](ByteView d) {  // the host ignores network writes
      return readSent(d).command == kWriteNetwork ? std::vector<Bytes>{} : f.transport.fleet().handle(d);
    };
    edit(f.page(MainDialog::NetworkTab), QStringLiteral("网关地址："))->setText(QStringLiteral("192.168.1.254"));
    f.press(MainDialog::NetworkTab, QStringLiteral("写入网络参数"));
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
    f.press(MainDialog::NetworkTab, QStringLiteral("写入网络参数"));
    QCOMPARE(f.sent(kWriteNetwork), 0);
    QCOMPARE(f.notifier.notices.last().text,
             QStringLiteral("没有读到这台主机的网络参数，请在主机列表中重新双击该主机，读到后再写入"));
  }

  // Every write keeps its history first (the reset and the MAC write their network settings); with the history
  // folder unwritable, nothing at all is sent and the line says why.
  void historyFirstOrNothingSent() {
    Fixture f;
    QVERIFY(f.searchAndSelect(1));
    const Bytes network = f.host(1).network;
    f.press(MainDialog::NetworkTab, QStringLiteral("网络恢复出厂"));
    QCOMPARE(f.keptOf(ParamGroup::Network), network);
    edit(f.page(MainDialog::NetworkTab), QStringLiteral("MAC地址："))->setText(QStringLiteral("02-4B-7D-00-00-22"));
    f.press(MainDialog::NetworkTab, QStringLiteral("写MAC"));
    QCOMPARE(int(HistoryStore().entries(Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x02}).size()), 2);
    QCOMPARE(f.host(1).mac, (Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x22}));

    QVERIFY(f.searchAndSelect(0));
    f.press(MainDialog::BaseTab, QStringLiteral("读取基础参数"));
    const QString folder = HistoryStore::defaultFolder();  // a file where the folder would be
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    f.transport.clearRequests();
    for (const auto& [tab, button, line] :
         {std::tuple{MainDialog::BaseTab, "写入基础参数", "基础参数写入失败：历史记录未能保存"},
          std::tuple{MainDialog::NetworkTab, "网络恢复出厂", "网络恢复出厂失败：历史记录未能保存"},
          std::tuple{MainDialog::NetworkTab, "写MAC", "写MAC失败：历史记录未能保存"}}) {
      f.press(tab, QString::fromUtf8(button));
      QVERIFY2(f.log().contains(QString::fromUtf8(line)), qPrintable(f.log()));
    }
    QCOMPARE(f.sent(kTunnel) + f.sent(kWriteNetwork) + f.sent(kFactoryReset) + f.sent(kWriteMac), 0);
  }

  void aCompareDialogConfirmedAfterAnotherHostWasChosenWritesNothing() {
    Fixture f;
    QVERIFY(f.searchAndSelect(0));
    f.press(MainDialog::BaseTab, QStringLiteral("读取基础参数"));
    edit(f.page(MainDialog::BaseTab), QStringLiteral("登陆帧间隔时间："))->setText(QStringLiteral("99"));
    test::press(&f.dialog, QStringLiteral("写入全部..."));
    QVERIFY(QTest::qWaitFor([&] { return openWindow<CompareDialog>(); }, 20000));
    QVERIFY(f.searchAndSelect(1));
    f.transport.clearRequests();
    openWindow<CompareDialog>()->accept();
    QVERIFY(f.settled());
    QCOMPARE(f.sent(kTunnel) + f.sent(kWriteNetwork), 0);
    QVERIFY(f.log().endsWith(QStringLiteral("已选择其他主机，未写入\r\n")));
    const Bytes network = f.host(1).network;  // the pages show host 1's values again: host 2 keeps its address
    f.press(MainDialog::NetworkTab, QStringLiteral("写入网络参数"));
    QCOMPARE(getU32LE(f.host(1).network, 1), getU32LE(network, 1));
  }
};

QTEST_MAIN(PageWriteWindowTest)
#include "page_write_window_test.moc"
