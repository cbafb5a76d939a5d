// The record table model on a host's 32 channels: rows and labels, the pages' validation (a refused text keeps the
// cell), the channel field rules following edits, blocks pasted (too large, with a bad cell, deciding rules on the
// way), fill-down, undo, and which records count as changed.
#include <QTest>

#include "pages/record_table_model.h"

using namespace quendra;

namespace {

struct Table {
  RecordTableModel model;
  explicit Table(HostConfig config = {}, ParamGroup group = ParamGroup::Channel)
      : model({config}, recordTableRows(group), recordTableColumns(group)) {}
  int col(std::string_view key) const {
    for (int c = 0; c < model.columnCount(); ++c)
      if (model.column(c).field->key == key) return c;
    return -1;
  }
  QString text(int row, std::string_view key) const { return model.cellText(row, col(key)); }
  bool enabled(int row, std::string_view key) const {
    return model.flags(model.index(row, col(key))).testFlag(Qt::ItemIsEnabled);
  }
  std::uint32_t changedChannels() const { return model.changedRecords()[static_cast<int>(ParamGroup::Channel)]; }
};

// Channel k: data property 1 (quantity 1 only) and alarm delay 10 + k.
HostConfig quantityOneChannels() {
  HostConfig c;
  for (int k = 0; k < kChannelCount; ++k) {
    c.channels[k].dataProperty = 1;
    c.channels[k].alarmDelay = static_cast<std::uint16_t>(10 + k);
  }
  return c;
}

}  // namespace

class RecordTableModelTest : public QObject {
  Q_OBJECT
 private slots:
  void rowsAndColumnsAreTheRecordsAndTheirPageLabels() {
    Table channels;
    QCOMPARE(channels.model.rowCount(), 32);
    QCOMPARE(channels.model.columnCount(), 25);
    QCOMPARE(channels.model.headerData(31, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("通道32"));
    const int upper = channels.col("upperLimit1");
    QCOMPARE(channels.model.headerData(upper, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("模拟量1(温度)上限"));
    QCOMPARE(channels.model.headerData(upper, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("upperLimit1"));
    QCOMPARE(fieldColumn(ParamGroup::Channel, 3, "upperLimit1").tooltip, QStringLiteral("channels[3].upperLimit1"));
    QCOMPARE(fieldColumn(ParamGroup::Network, 0, "hostAddress").tooltip, QStringLiteral("network.hostAddress"));
    Table relays({}, ParamGroup::Relay);
    QCOMPARE(relays.model.rowCount(), 8);
    QCOMPARE(relays.text(0, "workMode"), QStringLiteral("远程控制"));  // a list shows its row's text
  }

  void cellsTakeWhatThePagesTakeAndKeepTheirValueOtherwise_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");  // empty: refused, with the message's box text below
    QTest::addColumn<QString>("message");
    QTest::newRow("delay") << "alarmDelay" << " 300 " << "300" << "";
    QTest::newRow("delay too big") << "alarmDelay" << "70000" << "" << "通道5 报警延时(S)：“70000”超出范围（0～65535）";
    QTest::newRow("delay not a number") << "alarmDelay" << "12s" << "" << "通道5 报警延时(S)：“12s”不是数字";
    QTest::newRow("limit") << "upperLimit1" << "25.5" << "25.5" << "";
    QTest::newRow("name of 21 bytes") << "name1" << "abcdefghijklmnopqrstu" << ""
                                      << "通道5 模拟量1名称：“abcdefghijklmnopqrstu”超过20个字节";
    QTest::newRow("source by text") << "dataSource" << "无线槽位3" << "无线槽位3" << "";
    QTest::newRow("source by row") << "dataSource" << "64" << "机载温湿度" << "";
    QTest::newRow("source beyond the list") << "dataSource" << "147" << "" << "通道5 通道数据来源：“147”不是列表中的一项";
    QTest::newRow("relay") << "relayUpper1" << "继电器8" << "继电器8" << "";
  }
  void cellsTakeWhatThePagesTakeAndKeepTheirValueOtherwise() {
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Table t;
    const std::string k = key.toStdString();
    const QString before = t.text(4, k);
    const auto refusal = t.model.setCellText(4, t.col(k), typed);
    QTEST(refusal ? cellRefusalText(t.model, *refusal) : QString(), "message");
    QCOMPARE(t.text(4, k), shown.isEmpty() ? before : shown);
    QCOMPARE(t.changedChannels(), shown.isEmpty() ? 0u : 1u << 4);
  }

  void aBlockBeyondTheTableOrWithABadCellChangesNothing() {
    Table t;
    const int last = t.model.columnCount() - 1;
    auto refusal = t.model.paste({31, last - 1, 31, last - 1}, "1\t1\t1\n");  // 1 row 3 columns against 1 row 2
    QCOMPARE(refusal ? cellRefusalText(t.model, *refusal) : QString(), QStringLiteral("粘贴的内容有1行3列，从所选单元格起表格只有1行2列，没有粘贴"));
    refusal = t.model.paste({30, t.col("alarmDelay"), 30, t.col("alarmDelay")}, "5\r\nfive\r\n");
    QCOMPARE(refusal ? refusal->row : -1, 31);
    QCOMPARE(t.text(30, "alarmDelay"), QStringLiteral("0"));  // the good first line did not go in either
  }

  void fieldRulesDisableCellsAndFollowTheDataPropertyTypedOrPasted() {
    Table t(quantityOneChannels());
    QVERIFY(t.enabled(0, "upperLimit1") && !t.enabled(0, "upperLimit2") && !t.enabled(0, "coefA1"));
    QCOMPARE(cellRefusalText(t.model, *t.model.setCellText(0, t.col("upperLimit2"), "5")),
             QStringLiteral("通道1 模拟量2(湿度)上限：按数据属性不可编辑"));
    QVERIFY(!t.model.setCellText(0, t.col("dataProperty"), QStringLiteral("模拟量1启用模拟量2启用")));
    QVERIFY(t.enabled(0, "upperLimit2") && !t.enabled(1, "upperLimit2"));
    t.model.setAllowAll(true);
    QVERIFY(t.enabled(0, "coefA1") && t.enabled(0, "coefA2") && !t.enabled(1, "coefA2"));
    // A spreadsheet line from upper limit 2 to the data property: the limit comes first but needs the property.
    const int from = t.col("upperLimit2"), to = t.col("dataProperty");
    QStringList cells;
    for (int c = from; c <= to; ++c) cells << t.model.cellText(2, c);
    cells.first() = "88.5";
    cells.last() = QStringLiteral("模拟量1启用模拟量2启用");
    int changed = 0, skipped = 0;
    QVERIFY(!t.model.paste({2, from, 2, from}, cells.join('\t') + "\n", &changed, &skipped));
    QCOMPARE(t.text(2, "upperLimit2"), QStringLiteral("88.5"));
    QCOMPARE(changed, 2);
    QCOMPARE(skipped, 0);
    // One value on a selection fills it; cells the rules switch off keep theirs.
    QVERIFY(!t.model.paste({1, from, 3, from}, "7\n", &changed, &skipped));
    QCOMPARE(changed, 1);  // row 2; its value was 88.5
    QCOMPARE(skipped, 2);
    QCOMPARE(t.text(1, "upperLimit2"), QStringLiteral("0"));
  }

  void fillDownCopiesTheTopRowAndUndoTakesItBack() {
    Table t(quantityOneChannels());
    const int delay = t.col("alarmDelay");
    t.model.fillDown({0, delay, 3, delay});
    QCOMPARE(t.text(3, "alarmDelay"), QStringLiteral("10"));
    QCOMPARE(t.text(4, "alarmDelay"), QStringLiteral("14"));
    QCOMPARE(t.changedChannels(), 0b1110u);
    QCOMPARE(t.model.changedCells().size(), 3);
    t.model.fillDown({5, delay, 5, delay});  // one row takes the row above
    QCOMPARE(t.text(5, "alarmDelay"), QStringLiteral("14"));
    t.model.undoStack().undo();
    t.model.undoStack().undo();
    QCOMPARE(t.text(3, "alarmDelay"), QStringLiteral("13"));
    QCOMPARE(t.changedChannels(), 0u);
    t.model.undoStack().redo();
    QCOMPARE(t.text(2, "alarmDelay"), QStringLiteral("10"));
  }

  void recordsNotHeldShowNothingAndTakeNothing() {
    HostConfig c = quantityOneChannels();
    c.markKnown(ParamGroup::Channel, 0);
    c.markKnown(ParamGroup::Channel, 2);
    Table t(c);
    t.model.setHeldRecordsOnly(true);
    const int delay = t.col("alarmDelay");
    QVERIFY(t.text(1, "alarmDelay").isEmpty() && !t.enabled(1, "alarmDelay") && !t.model.index(1, delay).data().isValid());
    int changed = 0, skipped = 0;
    QVERIFY(!t.model.paste({0, delay, 0, delay}, "1\n\n3\n", &changed, &skipped));  // the empty cell is no bad number
    QCOMPARE(changed, 2);
    QCOMPARE(skipped, 1);
    t.model.fillDown({1, delay, 2, delay});  // an empty cell fills nothing
    QCOMPARE(t.text(2, "alarmDelay"), QStringLiteral("3"));
    QCOMPARE(t.changedChannels(), 0b101u);
  }

  void aCopiedBlockPastesBackAsItWas() {
    HostConfig c;
    c.channels[0].name1 = "a\tb";  // a tab inside a cell travels quoted
    c.channels[0].dataSource = 64;
    c.channels[1].dataSource = 65;
    c.channels[1].name1 = "=1+1";  // a spreadsheet would run it: it travels as text
    Table from(c);
    const CellBlock block{0, 0, 1, from.col("name1")};
    const QString tsv = from.model.copyBlock(block);
    QVERIFY(tsv.startsWith(QStringLiteral("机载温湿度\t")));
    QVERIFY(tsv.endsWith(QStringLiteral("\t'=1+1\n")));
    Table to;
    QVERIFY(!to.model.paste(block, tsv));
    QCOMPARE(to.model.config().channels[0].name1, std::string("a\tb"));
    QCOMPARE(to.model.config().channels[1].name1, std::string("=1+1"));
    QCOMPARE(to.text(1, "dataSource"), QStringLiteral("机载大气压力"));
  }
};

QTEST_MAIN(RecordTableModelTest)
#include "record_table_model_test.moc"
