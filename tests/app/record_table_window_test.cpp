// The channel table from the window against a simulated host: a refused cell says why in a box, "取消" leaves
// everything as it was; an edit of three channels writes exactly those three records, after the history, verified,
// and the form shows them. The LED page's preview follows its fields.

#include "config/history_store.h"
#include "link/bytes.h"
#include "pages/record_table_dialog.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

int column(const RecordTableModel* model, std::string_view key) {
  for (int c = 0; c < model->columnCount(); ++c)
    if (model->column(c).field->key == key) return c;
  return -1;
}

std::uint16_t hostAlarmDelay(sim::SimHost& host, int channel) {
  const Bytes& r = host.records.at(readCommandOf(ParamGroup::Channel, channel));
  return static_cast<std::uint16_t>(r[98] | (r[99] << 8));
}

}  // namespace

class RecordTableWindowTest : public QObject {
  Q_OBJECT
 private slots:
  // Before the first window: its history store takes its folder when it is made.

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

QTEST_MAIN(RecordTableWindowTest)
#include "record_table_window_test.moc"
