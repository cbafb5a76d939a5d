// The window's whole-host operations against simulated hosts: a saved file opens to the same records; a file of
// another host shows only the rows that differ and writes only those records, nothing on the compare dialog's Cancel
// or Enter; a record the host misses is named; a write the version gate refuses; the state before a write restored
// through the compare dialog; a copy to five hosts, one of them silent on a command; the channel table's refused cell,
// "取消" and a write of exactly the three channels edited. The LED page's preview follows its fields.
#include <QListWidget>
#include <QSignalSpy>
#include <QTableWidget>

#include "app/clone_dialog.h"
#include "app/compare_dialog.h"
#include "app/history_dialog.h"
#include "config/history_store.h"
#include "link/bytes.h"
#include "pages/record_table_dialog.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

struct Fixture : FleetWindow {
  explicit Fixture(int hosts = 2) : FleetWindow(hosts) { quickTimeouts(); }
  void press(const QString& button) { test::press(&dialog, button); }
  // The compare dialog that a write brought up, once it is there.
  CompareDialog* compare() {
    (void)QTest::qWaitFor([&] { return openWindow<CompareDialog>(); }, 20000);
    return openWindow<CompareDialog>();
  }
  QStringList compareRows() {
    QStringList rows;
    auto* t = field<QTableWidget>(compare(), QStringLiteral("不同之处"));
    for (int r = 0; r < t->rowCount(); ++r) rows << t->item(r, 0)->text() + ' ' + t->item(r, 1)->text();
    return rows;
  }
};

// What every input field of the tabs shows: texts, list rows, check marks.
QStringList fieldsShown(QWidget* tabs) {
  QStringList out;
  for (QWidget* w : tabs->findChildren<QWidget*>()) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) out << e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) out << QString::number(c->currentIndex());
    if (auto* c = qobject_cast<QCheckBox*>(w)) out << QString::number(c->isChecked());
  }
  return out;
}

int column(const RecordTableModel* model, std::string_view key) {
  for (int c = 0; c < model->columnCount(); ++c)
    if (model->column(c).field->key == key) return c;
  return -1;
}

int hostAlarmDelay(sim::SimHost& host, int k) { return getU16LE(host.records.at(readCommandOf(ParamGroup::Channel, k)), 98); }

}  // namespace

class HostConfigWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void savedFileOpensAndWritesAnotherHostOnlyWhatDiffers() {
    Fixture f;
    QVERIFY(f.searchAndSelect(0));
    f.press(QStringLiteral("保存配置..."));
    QVERIFY(f.settled());
    QVERIFY(f.log().contains(QStringLiteral("配置已保存：") + f.files.path));
    const HostConfig saved = f.dialog.session().lastRead();
    f.dialog.session().config() = HostConfig{};  // spoil what the window holds
    f.transport.clearRequests();
    f.press(QStringLiteral("打开配置..."));
    QVERIFY(f.transport.requests().isEmpty());  // nothing is sent
    QVERIFY(differingRecords(saved, f.dialog.session().config(), allRecordMasks()) == RecordMasks{});
    QCOMPARE(edit(f.page(MainDialog::BaseTab), QStringLiteral("终端地址："))->text(), QStringLiteral("20250001"));
    QVERIFY(f.log().contains(QStringLiteral("来自主机：模拟主机1 02-4B-7D-00-00-01 192.168.1.10")));

    f.host(1).records[readCommandOf(ParamGroup::Relay, 2)][1] = 99;  // host 2's relay 3 differs too
    QVERIFY(f.searchAndSelect(1));
    f.press(QStringLiteral("打开配置..."));
    const QStringList shown = fieldsShown(f.tabs());
    const HostConfig asked = f.dialog.session().config();
    f.transport.clearRequests();
    for (bool enter : {false, true}) {  // Cancel, and Enter (Cancel is the default): nothing written, no history, the
      f.press(QStringLiteral("写入全部..."));           // pages show what was to be written, not what the job read meanwhile
      if (enter) QTest::keyClick(f.compare(), Qt::Key_Return);
      else press(f.compare(), QStringLiteral("取消"));
      QVERIFY(f.settled() && f.log().endsWith(QStringLiteral("\r\n未写入\r\n")));
      QVERIFY(f.writeCommands().isEmpty() && HistoryStore().entries(f.host(1).mac).empty());
      QCOMPARE(fieldsShown(f.tabs()), shown);
      QVERIFY(differingRecords(asked, f.dialog.session().config(), allRecordMasks()) == RecordMasks{});
    }
    f.press(QStringLiteral("写入全部..."));
    // Host 2 keeps its terminal address: the row says so and nothing is written for it.
    QCOMPARE(f.compareRows(), (QStringList{"GPRS参数 GPRS目标端口：", "继电器3 继电器启动间隔：", "基础参数 终端地址："}));
    QCOMPARE(field<QTableWidget>(f.compare(), QStringLiteral("不同之处"))->item(2, 3)->text(),
             QStringLiteral("20250001（未写入：保持本机标识）"));
    QVERIFY(f.writeCommands().isEmpty());  // nothing before the operator confirms
    const Bytes network = f.host(1).network;
    f.compare()->accept();
    QVERIFY(f.settled());
    QCOMPARE(f.writeCommands(), (QList<int>{4, 79}));
    auto records = f.host(0).records;
    putU32LE(records[1], 1, 0x20250002);
    QVERIFY(f.host(1).records == records);
    QCOMPARE(f.host(1).network, network);  // another host's network settings are left out
    const QString said = f.log();  // batches in a job leave the job's lines standing
    QVERIFY(said.startsWith(QStringLiteral("写入全部...\r\n")));
    QVERIFY(said.contains(QStringLiteral("网口参数来自另一台主机，未写入\r\n")));
    QVERIFY(said.endsWith(QStringLiteral("写入完成，2条记录已读回校验\r\n")));
    // "替换主机": host 2 takes host 1's address and terminal address; its unnamed network bytes stay its own.
    f.press(QStringLiteral("打开配置..."));
    f.press(QStringLiteral("写入全部..."));
    check(f.compare(), QStringLiteral("替换主机：写入IP和终端地址"))->click();
    QCOMPARE(f.compareRows().first(), QStringLiteral("网口参数 静态IP："));
    f.compare()->accept();
    QVERIFY(f.settled());
    QCOMPARE(f.host(1).records.at(1), f.host(0).records.at(1));
    QCOMPARE(getU32LE(f.host(1).network, 1), getU32LE(f.host(0).network, 1));
    QVERIFY(std::equal(network.begin() + 88, network.end(), f.host(1).network.begin() + 88));
    f.host(1).network = network;  // back on its own address

    f.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("读取通道参数"));  // a record the host misses
    edit(f.page(MainDialog::ChannelTab), QStringLiteral("报警延时(S)："))->setText(QStringLiteral("77"));  // channel 32
    f.host(1).silent.insert(writeCommandOf(ParamGroup::Channel, 31));
    f.press(QStringLiteral("写入全部..."));
    f.compare()->accept();
    QVERIFY(f.settled());
    QVERIFY(f.log().contains(QStringLiteral("以下记录未能写入或校验：通道32")));
    QVERIFY(!f.log().contains(QStringLiteral("写入完成")));
  }

  // A host whose reads pass and whose first write acknowledgement fails the version gate: the warning once, nothing
  // more written to it, the job ends refused.
  void aWriteRefusedByTheVersionGateWarnsOnce() {
    Fixture f;
    f.transport.acknowledgeWritesAs(7, 2);
    QVERIFY(f.searchAndSelect(0));
    f.pressAndSettle(MainDialog::BaseTab, QStringLiteral("读取基础参数"));
    f.pressAndSettle(MainDialog::LedTab, QStringLiteral("读取LED屏参数"));
    edit(f.page(MainDialog::BaseTab), QStringLiteral("终端地址："))->setText(QStringLiteral("0badc0de"));
    edit(f.page(MainDialog::LedTab), QStringLiteral("LED屏X尺寸："))->setText(QStringLiteral("300"));
    f.transport.clearRequests();
    f.press(QStringLiteral("写入全部..."));
    f.compare()->accept();
    QVERIFY(f.settled());
    QCOMPARE(f.writeCommands(), QList<int>{writeCommandOf(ParamGroup::Base)});
    QCOMPARE(f.notifier.notices.size(), 1);
    QCOMPARE(f.notifier.notices[0].title + f.notifier.notices[0].text, QStringLiteral("警告此版本设备不能使用该软件,请使用其他版本软件"));
    QCOMPARE(f.notifier.notices[0].icon, NoticeIcon::Question);
    QVERIFY(f.log().endsWith(QStringLiteral("固件版本不支持，未写入\r\n")));
  }

  void stateBeforeAWriteIsKeptAndRestored() {
    Fixture f;
    QVERIFY(f.searchAndSelect(0));
    f.pressAndSettle(MainDialog::BaseTab, QStringLiteral("读取基础参数"));
    const Bytes before = f.host(0).records.at(1);
    edit(f.page(MainDialog::BaseTab), QStringLiteral("终端地址："))->setText(QStringLiteral("0badc0de"));
    f.pressAndSettle(MainDialog::BaseTab, QStringLiteral("写入基础参数"));
    QVERIFY(f.host(0).records.at(1) != before);
    QCOMPARE(int(HistoryStore().entries(f.host(0).mac).size()), 1);
    f.press(QStringLiteral("历史记录..."));
    test::press(openWindow<HistoryDialog>(), QStringLiteral("恢复..."));
    QCOMPARE(f.compareRows(), QStringList{"基础参数 终端地址："});
    f.compare()->accept();
    QVERIFY(f.settled());
    QCOMPARE(f.host(0).records.at(1), before);
    QCOMPARE(int(HistoryStore().entries(f.host(0).mac).size()), 2);  // the restore kept what it replaced
  }

  void copyToFiveHostsOneSilentOnACommand() {
    Fixture f(6);
    QVERIFY(f.searchAndSelect(0));
    f.press(QStringLiteral("保存配置..."));  // reads every group of host 1
    QVERIFY(f.settled());
    f.host(0).records[readCommandOf(ParamGroup::Led)][3] = 0x55;  // host 1's LED size differs from the others
    f.pressAndSettle(MainDialog::LedTab, QStringLiteral("读取LED屏参数"));
    f.host(3).silent.insert(writeCommandOf(ParamGroup::Led));
    f.press(QStringLiteral("复制到其他主机..."));
    auto* clone = openWindow<CloneDialog>();
    QVERIFY(!check(clone, QStringLiteral("网口参数（各主机保留自己的IP）"))->isChecked());
    auto* hosts = field<QListWidget>(clone, QStringLiteral("目标主机"));
    for (int row = 0; row < hosts->count(); ++row)
      if (!hosts->item(row)->text().contains(QStringLiteral("00-00-01"))) hosts->item(row)->setCheckState(Qt::Checked);
    QSignalSpy done(clone, &CloneDialog::allFinished);
    test::press(clone, QStringLiteral("开始复制"));
    QVERIFY(done.wait(20000));
    QCOMPARE(f.log(), QStringLiteral("复制完成：4台主机已校验，1台失败\r\n"));
    const QStringList results = columnTexts(field<QTableWidget>(clone, QStringLiteral("复制结果"))->model(), 1);  // per host
    QCOMPARE(results.filter(QStringLiteral("失败：LED屏参数")).size(), 1);
    for (int i : {1, 2, 4, 5}) {  // host 1's base and LED records, each keeping its own terminal address
      Bytes base = f.host(0).records.at(1);
      putU32LE(base, 1, 0x20250001u + unsigned(i));
      QVERIFY(f.host(i).records.at(1) == base && f.host(i).records.at(150) == f.host(0).records.at(150));
    }
  }

  void tableEditOfThreeChannelsWritesThoseThreeAndTheFormShowsThem() {
    FleetWindow f;
    QVERIFY(f.searchAndSelect());
    f.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("读取通道参数"));
    QWidget* page = f.page(MainDialog::ChannelTab);
    const auto openTable = [&] {  // the table and its model
      press(page, QStringLiteral("表格编辑…"));
      auto* table = openWindow<RecordTableDialog>();
      return std::pair{table, qobject_cast<RecordTableModel*>(field<QTableView>(table, QStringLiteral("通道参数"))->model())};
    };
    auto [table, model] = openTable();
    const int delay = column(model, "alarmDelay");
    QVERIFY(!model->setData(model->index(0, delay), QStringLiteral("x"), Qt::EditRole));  // in a box
    QCOMPARE(f.notifier.notices.last().title + f.notifier.notices.last().text, "提示通道1 报警延时(S)：“x”不是数字");
    QVERIFY(!model->setCellText(0, delay, "99"));
    press(table, QStringLiteral("取消"));
    QCOMPARE(f.dialog.session().config().channels[0].alarmDelay, 10);

    std::tie(table, model) = openTable();
    for (int k : {1, 4, 8}) QVERIFY(!model->setCellText(k, delay, QString::number(200 + k)));
    f.transport.clearRequests();
    press(table, QStringLiteral("写入"));
    QVERIFY(f.settled());
    QCOMPARE(f.writeCommands(), (QList<int>{writeCommandOf(ParamGroup::Channel, 1), writeCommandOf(ParamGroup::Channel, 4),
                                 writeCommandOf(ParamGroup::Channel, 8)}));
    for (int k : {1, 4, 8}) QCOMPARE(hostAlarmDelay(f.host(), k), 200 + k);
    QCOMPARE(hostAlarmDelay(f.host(), 2), 12);
    QVERIFY(f.log().endsWith(QStringLiteral("写入完成，3条记录已读回校验\r\n")));
    QCOMPARE(int(HistoryStore().entries(f.host().mac).size()), 1);
    for (int k : {1, 4, 8}) {
      list(page, QStringLiteral("通道号："))->setCurrentIndex(k);
      QCOMPARE(edit(page, QStringLiteral("报警延时(S)："))->text(), QString::number(200 + k));
    }
  }

  void ledPreviewFollowsThePage() {
    FleetWindow f;
    QVERIFY(f.searchAndSelect());
    f.pressAndSettle(MainDialog::LedTab, QStringLiteral("读取LED屏参数"));  // 192 x 96, header, 8 channels in 2 columns
    QWidget* page = f.page(MainDialog::LedTab);
    QWidget* preview = field<QWidget>(page, QStringLiteral("LED屏预览"));  // what it draws, as a screen reader hears it
    QCOMPARE(preview->accessibleDescription(), QStringLiteral("192×96像素，8个通道2列，每屏4行，共1屏"));
    list(page, QStringLiteral("列数："))->setCurrentIndex(3);
    QCOMPARE(preview->accessibleDescription(), QStringLiteral("192×96像素，8个通道4列，每屏2行，共1屏"));
    check(page, QStringLiteral("标头 使用"))->setChecked(false);
    edit(page, QStringLiteral("LED屏Y尺寸："))->setText(QStringLiteral("32"));
    QCOMPARE(preview->accessibleDescription(), QStringLiteral("192×32像素，8个通道4列，每屏2行，共1屏"));
  }
};

QTEST_MAIN(HostConfigWindowTest)
#include "host_config_window_test.moc"
