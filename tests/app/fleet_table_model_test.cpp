// The fleet table's marks: a cell that differs from what more than half of the hosts read hold, or from a baseline
// where the baseline names the field; an address or terminal address two hosts share. Hosts not read count for nothing.
#include <QTest>
#include <QTextDocumentFragment>

#include "app/fleet_table_model.h"

using namespace quendra;

namespace {

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

class FleetTableModelTest : public QObject {
  Q_OBJECT
 private slots:
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

QTEST_MAIN(FleetTableModelTest)
#include "fleet_table_model_test.moc"
