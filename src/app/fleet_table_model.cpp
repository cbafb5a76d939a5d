#include "app/fleet_table_model.h"

#include <QColor>
#include <QFont>
#include <QTextDocument>
#include <algorithm>

#include "fields/field_labels.h"
#include "records/host_identity.h"

namespace quendra {
namespace {

const QColor kSharedText(190, 0, 0);

}  // namespace

FleetBaseline::FleetBaseline(ConfigFile f) : file(std::move(f)), values(applyConfigFile(file, HostConfig{})) {}

bool FleetBaseline::names(ParamGroup group, int index, const RecordField& field) const {
  const auto& entries = file.records[static_cast<int>(group)];
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size() || !entries[static_cast<std::size_t>(index)]) return false;
  const RecordEntry& entry = *entries[static_cast<std::size_t>(index)];
  return entry.image || std::any_of(entry.fields.begin(), entry.fields.end(), [&](const auto& f) { return f.first == &field; });
}

QColor FleetTableModel::markColor(Mark mark) {
  switch (mark) {
    case Mark::DiffersFromMajority:
    case Mark::DiffersFromBaseline: return {190, 220, 255};
    case Mark::Shared: return {255, 205, 205};
    case Mark::None: break;
  }
  return {};
}

FleetTableModel::FleetTableModel(std::vector<HostConfig> configs, std::vector<TableRow> rows,
                                 std::vector<TableColumn> columns, QObject* parent)
    : RecordTableModel(std::move(configs), std::move(rows), std::move(columns), parent),
      status_(static_cast<std::size_t>(rowCount())) {
  setHeldRecordsOnly(true);
  forgetMarks();
  connect(this, &QAbstractItemModel::dataChanged, this, &FleetTableModel::forgetMarks);
}

void FleetTableModel::forgetMarks() { marks_.assign(static_cast<std::size_t>(columnCount()), std::nullopt); }

void FleetTableModel::setBaseline(std::optional<FleetBaseline> baseline) {
  baseline_ = std::move(baseline);
  forgetMarks();
  if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void FleetTableModel::setRowStatus(int row, const QString& status, bool bad) {
  status_.at(static_cast<std::size_t>(row)) = {status, bad};
  emit headerDataChanged(Qt::Vertical, row, row);
}

FieldValue FleetTableModel::valueAt(int row, int column) const {
  const TableColumn& c = this->column(column);
  return c.field->get(config(this->row(row).config), c.record.value_or(this->row(row).record));
}

const FleetTableModel::ColumnMarks& FleetTableModel::marksOf(int column) const {
  std::optional<ColumnMarks>& slot = marks_.at(static_cast<std::size_t>(column));
  if (slot) return *slot;
  ColumnMarks m;
  m.rows.assign(static_cast<std::size_t>(rowCount()), Mark::None);
  const TableColumn& c = this->column(column);
  std::vector<int> held;
  std::vector<FieldValue> values;
  for (int r = 0; r < rowCount(); ++r) {
    if (!holds(r, column)) continue;
    held.push_back(r);
    values.push_back(valueAt(r, column));
  }
  const std::size_t n = held.size();
  const auto markRow = [&](std::size_t i, Mark mark) { m.rows[static_cast<std::size_t>(held[i])] = mark; };
  if (isIdentityField(c.group, *c.field)) {
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j)
        if (i != j && sameValue(values[i], values[j])) markRow(i, Mark::Shared);
  } else {
    // The value more than half of the hosts hold, if any (one pass to find
    // the only candidate, one to count it).
    std::size_t candidate = 0, votes = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (votes == 0) candidate = i;
      if (sameValue(values[i], values[candidate])) ++votes;
      else --votes;
    }
    const auto holders = std::count_if(values.begin(), values.end(), [&](const FieldValue& v) {
      return sameValue(v, values[candidate]);
    });
    if (n > 0 && 2 * static_cast<std::size_t>(holders) > n) m.majority = values[candidate];
    for (std::size_t i = 0; i < n; ++i) {
      const int record = c.record.value_or(row(held[i]).record);
      if (baseline_ && baseline_->names(c.group, record, *c.field)) {
        if (!sameValue(values[i], c.field->get(baseline_->values, record))) markRow(i, Mark::DiffersFromBaseline);
      } else if (m.majority && !sameValue(values[i], *m.majority)) {
        markRow(i, Mark::DiffersFromMajority);
      }
    }
  }
  slot = std::move(m);
  return *slot;
}

FleetTableModel::Mark FleetTableModel::mark(int row, int column) const {
  return marksOf(column).rows.at(static_cast<std::size_t>(row));
}

QString FleetTableModel::markText(int row, int column) const {
  const TableColumn& c = this->column(column);
  const auto shown = [&](const FieldValue& v) { return fieldDisplayText(c.group, *c.field, v); };
  switch (mark(row, column)) {
    case Mark::DiffersFromMajority: return tr("与多数主机不同（多数为%1）").arg(shown(*marksOf(column).majority));
    case Mark::DiffersFromBaseline:
      return tr("与基准配置不同（基准为%1）")
          .arg(shown(c.field->get(baseline_->values, c.record.value_or(this->row(row).record))));
    case Mark::Shared:
      return c.group == ParamGroup::Network ? tr("另一台主机也使用此IP") : tr("另一台主机也使用此终端地址");
    case Mark::None: break;
  }
  return {};
}

QVariant FleetTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::BackgroundRole: {
      const QVariant changed = RecordTableModel::data(index, role);
      if (changed.isValid()) return changed;
      const Mark m = mark(index.row(), index.column());
      return m == Mark::None ? QVariant() : QVariant(markColor(m));
    }
    case Qt::ForegroundRole:
      return mark(index.row(), index.column()) == Mark::Shared ? QVariant(kSharedText) : QVariant();
    case Qt::ToolTipRole: {
      // A tooltip guesses rich text from its text; the values quoted are hosts' texts.
      const QString text = markText(index.row(), index.column());
      return text.isEmpty() ? QVariant() : QVariant(Qt::convertFromPlainText(text));
    }
    default: return RecordTableModel::data(index, role);
  }
}

QVariant FleetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Vertical || section < 0 || section >= rowCount())
    return RecordTableModel::headerData(section, orientation, role);
  const auto& [status, bad] = status_.at(static_cast<std::size_t>(section));
  switch (role) {
    case Qt::DisplayRole: return status.isEmpty() ? row(section).label : tr("%1  %2").arg(row(section).label, status);
    case Qt::ForegroundRole: return bad ? QVariant(kSharedText) : QVariant();
    case Qt::ToolTipRole: return status.isEmpty() ? QVariant() : QVariant(Qt::convertFromPlainText(status));
    default: return {};
  }
}

}  // namespace quendra
