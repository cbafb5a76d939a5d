// The fleet in the window against simulated hosts: two hosts answering with one address are marked in the host list
// and red in the fleet table; the table reads three hosts, marks the one cell that differs, imports a roster as edits
// without sending anything, takes a pasted block and writes each host's changes, one host failing. The marks: a cell
// unlike what more than half of the hosts read hold, or unlike a baseline naming the field; an identity two share.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocumentFragment>

#include "app/fleet_table_dialog.h"
#include "app/fleet_table_model.h"
#include "fields/field_labels.h"
#include "config/history_store.h"
#include "link/bytes.h"
#include "pages/record_table_view.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

struct Fixture : FleetWindow {
  FleetTableDialog* table = nullptr;
  Fixture() : FleetWindow(3) { quickTimeouts(); }
  // Searches, opens the table and reads every host.
  bool readTable() {
    dialog.search();
    if (!QTest::qWaitFor([&] { return hostList()->rowCount() == 3; }, 5000)) return false;
    press(&dialog, QStringLiteral("主机总表..."));
    table = openWindow<FleetTableDialog>();
    QSignalSpy done(table, &FleetTableDialog::jobFinished);
    press(table, QStringLiteral("读取"));
    return done.wait(20000);
  }
  RecordTableView* view() const { return field<RecordTableView>(table, QStringLiteral("主机总表")); }
  FleetTableModel* model() const { return qobject_cast<FleetTableModel*>(view()->model()); }
  int column(const QString& path) const {
    for (int c = 0; c < model()->columnCount(); ++c)
      if (model()->column(c).tooltip == path) return c;
    return -1;
  }
  QString csv(const QByteArray& bytes) {
    QFile file(files.path = dataFolder.dir.filePath(QStringLiteral("roster.csv")));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? files.path : QString();
  }
  // A field of what simulated host `i` holds.
  QString held(int i, ParamGroup group, std::string_view key) {
    HostConfig c;
    decodeRecord(c, group, 0, host(i).records.at(readCommandOf(group)));
    const RecordField* f = findField(group, key);
    return fieldDisplayText(group, *f, f->get(c, 0));
  }
};

using Mark = FleetTableModel::Mark;

// Hosts given as (terminal address, heartbeat); a terminal address of 0: the host was not read.
FleetTableModel table(const std::vector<std::pair<std::uint32_t, int>>& hosts) {
  std::vector<HostConfig> configs;
  std::vector<TableRow> rows;
  for (const auto& [terminal, heartbeat] : hosts) {
    HostConfig c;
    c.base.terminalAddress = terminal;
    c.base.heartbeatInterval = static_cast<std::uint16_t>(heartbeat);
    if (terminal) c.markKnown(ParamGroup::Base);
    rows.push_back({int(configs.size()), 0, QString::number(configs.size())});
    configs.push_back(c);
  }
  return FleetTableModel(configs, rows,
                         {fieldColumn(ParamGroup::Base, 0, "terminalAddress"), fieldColumn(ParamGroup::Base, 0, "heartbeatInterval"),
                          fieldColumn(ParamGroup::Base, 0, "loginInterval")});
}

QList<Mark> marks(const FleetTableModel& m, int column) {
  QList<Mark> out;
  for (int r = 0; r < m.rowCount(); ++r) out << m.mark(r, column);
  return out;
}

}  // namespace

class FleetTableWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void twoHostsOnOneAddressAreMarkedInTheListAndRedInTheTable() {
    Fixture f;
    std::copy_n(f.host(0).network.begin() + 1, 4, f.host(1).network.begin() + 1);
    QVERIFY(f.readTable());
    DeviceList* list = f.hostList();  // the newest answer on top: host 3, 2, 1
    QCOMPARE(columnTexts(list->model(), DeviceList::ConflictColumn), (QStringList{"", "IP重复", "IP重复"}));
    QVERIFY(list->model()->index(1, 0).data(Qt::ToolTipRole).toString().contains("另一台主机也以此IP（192.168.1.10）应答"));

    const int address = f.column("network.hostAddress");
    QCOMPARE(marks(*f.model(), address), (QList<Mark>{Mark::Shared, Mark::Shared, Mark::None}));
    QCOMPARE(f.model()->data(f.model()->index(0, address), Qt::ForegroundRole).value<QColor>().red(), 190);
  }

  void readMarkImportPasteAndWriteEachHostOneFailing() {
    Fixture f;
    f.host(1).records[readCommandOf(ParamGroup::Led)][3] = 0x55;  // host 2's LED size differs from the others
    QVERIFY(f.readTable());
    FleetTableModel* m = f.model();
    QCOMPARE((QStringList{m->rowStatus(0), m->rowStatus(1), m->rowStatus(2)}), QStringList(3, QStringLiteral("已读取")));
    QList<QPoint> marked;
    for (int r = 0; r < m->rowCount(); ++r)
      for (int c = 0; c < m->columnCount(); ++c)
        if (m->mark(r, c) != FleetTableModel::Mark::None) marked << QPoint(c, r);
    QCOMPARE(marked.size(), 1);
    QCOMPARE(marked[0].y(), 1);
    QVERIFY(m->column(marked[0].x()).tooltip.startsWith(QStringLiteral("led.")));
    QVERIFY(m->data(m->index(1, marked[0].x()), Qt::BackgroundRole).isValid());

    // A roster's cells become edits; nothing is sent. A host not in the table and a bad cell are named.
    f.transport.clearRequests();
    const int terminal = f.column("base.terminalAddress");
    f.csv("mac,base.terminalAddress\r\n02-4B-7D-00-00-01,20259999\r\n02-4B-7D-00-00-09,20250009\r\n");
    press(f.table, QStringLiteral("导入CSV…"));
    QVERIFY(f.transport.requests().isEmpty());
    QCOMPARE(m->cellText(0, terminal), QStringLiteral("20259999"));
    QVERIFY(m->isChanged(0, terminal) && !m->isChanged(1, terminal));
    QVERIFY(f.notifier.notices.last().text.contains(QStringLiteral("02-4B-7D-00-00-09（第3行）")));
    f.csv("mac,base.terminalAddress\r\n02-4B-7D-00-00-01,xyz\r\n");
    press(f.table, QStringLiteral("导入CSV…"));
    QVERIFY(f.notifier.notices.last().text.contains(QStringLiteral("第2行，B列（base.terminalAddress）")));

    QVERIFY(!m->setCellText(1, terminal, QStringLiteral("20259999")));  // host 2 on host 1's new terminal address
    press(f.table, QStringLiteral("写入"));
    QVERIFY(f.transport.requests().isEmpty() && f.notifier.notices.last().text.contains(QStringLiteral("标红")));
    m->undoStack().undo();

    // A block of two cells of hosts 2 and 3 from a spreadsheet; host 3 never answers the GPRS write.
    const int phone = f.column("gprs.alarmPhone1");
    QApplication::clipboard()->setText(QStringLiteral("13911110001\t13911110002\n13911110003\t13911110004\n"));
    f.view()->setCurrentIndex(m->index(1, phone));
    f.view()->pasteClipboard();
    f.host(2).silent.insert(writeCommandOf(ParamGroup::Gprs));
    QSignalSpy done(f.table, &FleetTableDialog::jobFinished);
    press(f.table, QStringLiteral("写入"));
    QVERIFY(done.wait(20000));
    m = f.model();
    QCOMPARE((QStringList{m->rowStatus(0), m->rowStatus(1), m->rowStatus(2)}),  // host 3's write is not acknowledged
             (QStringList{"已校验（写入1条记录）", "已校验（写入1条记录）", "失败：GPRS参数"}));
    QVERIFY(m->headerData(2, Qt::Vertical, Qt::ForegroundRole).isValid() && !m->headerData(1, Qt::Vertical, Qt::ForegroundRole).isValid());
    QCOMPARE(getU32LE(f.host(0).records.at(readCommandOf(ParamGroup::Base)), 1), 0x20259999u);  // the row's own identity
    QCOMPARE(f.held(1, ParamGroup::Gprs, "alarmPhone1"), QStringLiteral("13911110001"));
    QCOMPARE(f.held(1, ParamGroup::Gprs, "alarmPhone2"), QStringLiteral("13911110002"));
    QCOMPARE(f.held(2, ParamGroup::Gprs, "alarmPhone1"), f.held(0, ParamGroup::Gprs, "alarmPhone1"));
    QVERIFY(!m->isChanged(1, phone) && m->isChanged(2, phone));  // what failed stays an edit, to write again
    for (int i : {0, 1}) QCOMPARE(int(HistoryStore().entries(f.host(i).mac).size()), 1);
  }

  void marksFollowTheMajorityTheBaselineAndSharedIdentity() {
    FleetTableModel m = table({{1, 60}, {1, 60}, {2, 30}, {0, 30}});
    QCOMPARE(marks(m, 0), (QList<Mark>{Mark::Shared, Mark::Shared, Mark::None, Mark::None}));
    QCOMPARE(marks(m, 1), (QList<Mark>{Mark::None, Mark::None, Mark::DiffersFromMajority, Mark::None}));
    QCOMPARE(QTextDocumentFragment::fromHtml(m.data(m.index(2, 1), Qt::ToolTipRole).toString()).toPlainText(),
             QStringLiteral("与多数主机不同（多数为60）"));
    QVERIFY(!m.setCellText(2, 1, QStringLiteral("60")));  // an edit counts: nothing differs any more
    QCOMPARE(marks(m, 1), (QList<Mark>{Mark::None, Mark::None, Mark::None, Mark::None}));

    FleetTableModel even = table({{1, 60}, {2, 60}, {3, 30}, {4, 30}});  // no value held by more than half
    QCOMPARE(marks(even, 1), (QList<Mark>{Mark::None, Mark::None, Mark::None, Mark::None}));

    ConfigFile file;  // names the heartbeat only
    file.records[int(ParamGroup::Base)].push_back(RecordEntry{std::nullopt, {{findField(ParamGroup::Base, "heartbeatInterval"), FieldValue{30u}}}});
    even.setBaseline(FleetBaseline(file));
    QCOMPARE(marks(even, 1), (QList<Mark>{Mark::DiffersFromBaseline, Mark::DiffersFromBaseline, Mark::None, Mark::None}));
    QCOMPARE(marks(even, 0), (QList<Mark>{Mark::None, Mark::None, Mark::None, Mark::None}));  // identity: never the baseline's
    even.setCellText(3, 2, QStringLiteral("9"));  // a field the baseline does not name goes by the majority
    QCOMPARE(marks(even, 2), (QList<Mark>{Mark::None, Mark::None, Mark::None, Mark::DiffersFromMajority}));
  }
};

QTEST_MAIN(FleetTableWindowTest)
#include "fleet_table_window_test.moc"
