#include "pages/record_table_model.h"

#include <algorithm>

#include "config/csv.h"
#include "config/field_json.h"
#include "config/field_path.h"
#include "fields/field_labels.h"
#include "records/channel_field_rules.h"

namespace quendra {
namespace {

bool decidesRules(const TableColumn& column) {
  return column.group == ParamGroup::Channel && column.field->key == "dataProperty";
}

// A spreadsheet's tab-separated block: cells holding a tab, a line break or a
// quote come quoted, with quotes doubled. A last empty line is no row.
std::vector<QStringList> parseBlock(const QString& tsv) {
  std::vector<QStringList> rows(1);
  QString cell;
  bool quoted = false;
  for (qsizetype i = 0; i < tsv.size(); ++i) {
    const QChar ch = tsv[i];
    if (quoted) {
      if (ch != QLatin1Char('"')) cell += ch;
      else if (i + 1 < tsv.size() && tsv[i + 1] == QLatin1Char('"')) cell += tsv[++i];
      else quoted = false;
    } else if (ch == QLatin1Char('"') && cell.isEmpty()) {
      quoted = true;
    } else if (ch == QLatin1Char('\t')) {
      rows.back() << cell;
      cell.clear();
    } else if (ch == QLatin1Char('\n')) {
      rows.back() << cell;
      cell.clear();
      rows.emplace_back();
    } else if (ch != QLatin1Char('\r')) {
      cell += ch;
    }
  }
  if (!cell.isEmpty() || !rows.back().isEmpty()) rows.back() << cell;
  if (rows.back().isEmpty()) rows.pop_back();
  return rows;
}

QString quotedIfNeeded(const QString& text) {
  if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')) && !text.startsWith(QLatin1Char('"')))
    return text;
  QString q = text;
  q.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace

std::vector<TableColumn> recordTableColumns(ParamGroup group) {
  std::vector<TableColumn> columns;
  for (const RecordField& f : fieldsOf(group))
    columns.push_back({group, std::nullopt, &f, fieldHeading(group, f.key), QString::fromUtf8(f.key.data(), qsizetype(f.key.size()))});
  return columns;
}

TableColumn fieldColumn(ParamGroup group, int record, std::string_view key) {
  QString header = fieldHeading(group, key);
  if (isBatchGroup(group)) header = recordLabel(group, record) + QLatin1Char(' ') + header;
  const RecordField* field = findField(group, key);
  return {group, record, field, header, fieldPathText({group, record, field})};
}

std::vector<TableRow> recordTableRows(ParamGroup group) {
  std::vector<TableRow> rows;
  for (int k = 0; k < recordCountOf(group); ++k) rows.push_back({0, k, recordLabel(group, k)});
  return rows;
}

// One change of the table: a typed cell, a paste or a fill-down.
class CellEditCommand : public QUndoCommand {
 public:
  CellEditCommand(RecordTableModel* model, std::vector<RecordTableModel::Change> changes, const QString& text)
      : QUndoCommand(text), model_(model), changes_(std::move(changes)) {}
  void redo() override { model_->store(changes_, true); }
  void undo() override { model_->store(changes_, false); }

 private:
  RecordTableModel* model_;
  std::vector<RecordTableModel::Change> changes_;
};

RecordTableModel::RecordTableModel(std::vector<HostConfig> configs, std::vector<TableRow> rows,
                                   std::vector<TableColumn> columns, QObject* parent)
    : QAbstractTableModel(parent),
      configs_(std::move(configs)),
      started_(configs_),
      rows_(std::move(rows)),
      columns_(std::move(columns)) {}

int RecordTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }
int RecordTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

RecordTableModel::Cell RecordTableModel::cellAt(int row, int column) const {
  const TableRow& r = this->row(row);
  const TableColumn& c = this->column(column);
  return {r.config, c.group, c.record.value_or(r.record), c.field};
}

FieldValue RecordTableModel::valueIn(const std::vector<HostConfig>& configs, int row, int column) const {
  const Cell c = cellAt(row, column);
  return c.field->get(configs.at(static_cast<std::size_t>(c.config)), c.record);
}

bool RecordTableModel::enabledIn(const std::vector<HostConfig>& configs, int row, int column) const {
  const Cell c = cellAt(row, column);
  if (!holds(row, column)) return false;
  if (c.group != ParamGroup::Channel) return true;
  const auto rule = channelRuleField(c.field->key);
  if (!rule) return true;
  const auto property = std::get<std::uint32_t>(findField(ParamGroup::Channel, "dataProperty")
                                                    ->get(configs.at(static_cast<std::size_t>(c.config)), c.record));
  if (const auto states = channelFieldStates(static_cast<int>(property), allowAll_)) return states->isEnabled(*rule);
  // No data property chosen: as the page starts, the gated fields follow "允许编辑所有参数".
  const bool gated = std::find(kAllowAllGatedFields.begin(), kAllowAllGatedFields.end(), *rule) != kAllowAllGatedFields.end();
  return !gated || allowAll_;
}

bool RecordTableModel::isEnabled(int row, int column) const { return enabledIn(configs_, row, column); }

bool RecordTableModel::holds(int row, int column) const {
  const Cell c = cellAt(row, column);
  return !heldOnly_ || configs_.at(static_cast<std::size_t>(c.config)).isKnown(c.group, c.record);
}

void RecordTableModel::setHeldRecordsOnly(bool on) {
  heldOnly_ = on;
  if (!rows_.empty() && !columns_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void RecordTableModel::setAllowAll(bool allowed) {
  allowAll_ = allowed;
  if (!rows_.empty() && !columns_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QString RecordTableModel::cellText(int row, int column) const {
  if (!holds(row, column)) return {};
  const Cell c = cellAt(row, column);
  return fieldDisplayText(c.group, *c.field, valueIn(configs_, row, column));
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Cell c = cellAt(index.row(), index.column());
  const bool check = isCheckField(c.group, c.field->key);
  if (!holds(index.row(), index.column()) && role != Qt::TextAlignmentRole) return {};
  switch (role) {
    case Qt::DisplayRole: return check ? QVariant() : QVariant(cellText(index.row(), index.column()));
    case Qt::EditRole: return cellText(index.row(), index.column());
    case Qt::CheckStateRole:
      if (!check) return {};
      return std::get<std::uint32_t>(valueIn(configs_, index.row(), index.column())) != 0 ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
      return isChanged(index.row(), index.column()) ? QVariant(changedColor()) : QVariant();
    case Qt::TextAlignmentRole: {
      const bool number = c.field->kind == FieldKind::Real ||
                          (c.field->kind == FieldKind::Unsigned && fieldChoices(c.group, c.field->key).isEmpty());
      return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    }
    case ChoicesRole: return check ? QVariant() : QVariant(fieldChoices(c.group, c.field->key));
    default: return {};
  }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
    if (role == Qt::DisplayRole) return column(section).header;
    if (role == Qt::ToolTipRole) return column(section).tooltip;
  }
  if (orientation == Qt::Vertical && section >= 0 && section < rowCount() && role == Qt::DisplayRole)
    return row(section).label;
  return {};
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // Disabled cells stay selectable, so that a block copies whole.
  Qt::ItemFlags f = Qt::ItemIsSelectable;
  if (!isEnabled(index.row(), index.column())) return f;
  const Cell c = cellAt(index.row(), index.column());
  return f | Qt::ItemIsEnabled | (isCheckField(c.group, c.field->key) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

bool RecordTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid()) return false;
  if (role == Qt::CheckStateRole) {
    const bool ticked = value.toInt() == Qt::Checked;
    return setCellText(index.row(), index.column(), QString::number(ticked ? 1 : 0)) == std::nullopt;
  }
  if (role != Qt::EditRole) return false;
  if (const auto refusal = setCellText(index.row(), index.column(), value.toString())) {
    emit refused(*refusal);
    return false;
  }
  return true;
}

std::variant<FieldValue, CellRefusal> RecordTableModel::parse(int row, int column, const QString& text) const {
  const Cell c = cellAt(row, column);
  CellRefusal refusal{CellRefusal::Reason::Value, ConfigFileError::Problem::WrongType, row, column, text};
  const QStringList choices = fieldChoices(c.group, c.field->key);
  if (!choices.isEmpty()) {
    // A row's text, or its number (a spreadsheet may hold either).
    const qsizetype row = choices.indexOf(text.trimmed());
    if (row >= 0) return FieldValue{static_cast<std::uint32_t>(row)};
    const auto number = fieldFromText(*c.field, text);
    if (const auto* v = std::get_if<FieldValue>(&number); v && std::get<std::uint32_t>(*v) < std::uint32_t(choices.size()))
      return *v;
    refusal.reason = CellRefusal::Reason::NotAChoice;
    return refusal;
  }
  auto value = fieldFromText(*c.field, text);
  if (auto* v = std::get_if<FieldValue>(&value)) return std::move(*v);
  refusal.problem = std::get<ConfigFileError::Problem>(value);
  return refusal;
}

std::optional<CellRefusal> RecordTableModel::setCellText(int row, int column, const QString& text) {
  if (!isEnabled(row, column)) return CellRefusal{CellRefusal::Reason::Disabled, {}, row, column, text};
  auto parsed = parse(row, column, text);
  if (auto* refusal = std::get_if<CellRefusal>(&parsed)) return *refusal;
  apply({{{row, column}, std::get<FieldValue>(parsed)}}, tr("编辑 %1 %2").arg(this->row(row).label, this->column(column).header));
  return std::nullopt;
}

int RecordTableModel::setValues(std::vector<CellValue> values, const QString& what, int* skipped) {
  return apply(std::move(values), what, skipped);
}

int RecordTableModel::apply(std::vector<CellValue> values, const QString& what, int* skipped) {
  // The data property first: the cells after it are judged by the rules it sets.
  std::stable_partition(values.begin(), values.end(), [this](const auto& v) { return decidesRules(column(v.first.second)); });
  std::vector<HostConfig> next = configs_;
  std::vector<Change> changes;
  int off = 0;
  for (const auto& [at, value] : values) {
    if (!enabledIn(next, at.first, at.second)) {
      ++off;
      continue;
    }
    const Cell c = cellAt(at.first, at.second);
    HostConfig& config = next.at(static_cast<std::size_t>(c.config));
    FieldValue before = c.field->get(config, c.record);
    if (sameValue(before, value)) continue;
    c.field->set(config, c.record, value);
    changes.push_back({c, std::move(before), value});
  }
  if (skipped) *skipped = off;
  const int count = static_cast<int>(changes.size());
  if (count > 0) undo_.push(new CellEditCommand(this, std::move(changes), what));  // push() applies it
  return count;
}

void RecordTableModel::store(const std::vector<Change>& changes, bool after) {
  const auto put = [this, after](const Change& ch) {
    ch.cell.field->set(configs_.at(static_cast<std::size_t>(ch.cell.config)), ch.cell.record, after ? ch.after : ch.before);
  };
  if (after) {
    std::for_each(changes.begin(), changes.end(), put);
  } else {
    std::for_each(changes.rbegin(), changes.rend(), put);
  }
  // A data property changes which cells of its row are enabled: everything is repainted.
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

RecordMasks RecordTableModel::changedRecords(int config) const {
  const auto i = static_cast<std::size_t>(config);
  return differingRecords(started_.at(i), configs_.at(i), allRecordMasks());
}

bool RecordTableModel::isChanged(int row, int column) const {
  return !sameValue(valueIn(started_, row, column), valueIn(configs_, row, column));
}

QModelIndexList RecordTableModel::changedCells() const {
  QModelIndexList cells;
  for (int r = 0; r < rowCount(); ++r)
    for (int c = 0; c < columnCount(); ++c)
      if (isChanged(r, c)) cells << index(r, c);
  return cells;
}

QString RecordTableModel::copyBlock(const CellBlock& block) const {
  QStringList lines;
  for (int r = block.top; r <= block.bottom; ++r) {
    QStringList cells;
    for (int c = block.left; c <= block.right; ++c) cells << quotedIfNeeded(spreadsheetCell(cellText(r, c)));
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

std::optional<CellRefusal> RecordTableModel::paste(const CellBlock& at, const QString& tsv, int* changed, int* skipped) {
  if (changed) *changed = 0;
  if (skipped) *skipped = 0;
  const std::vector<QStringList> block = parseBlock(tsv);
  if (block.empty()) return std::nullopt;
  int blockColumns = 0;
  for (const QStringList& line : block) blockColumns = std::max(blockColumns, int(line.size()));
  const int blockRows = int(block.size());
  const bool oneValue = blockRows == 1 && blockColumns == 1;
  const CellBlock target = oneValue && at.rows() * at.columns() > 1
                               ? at
                               : CellBlock{at.top, at.left, at.top + blockRows - 1, at.left + blockColumns - 1};
  if (target.bottom >= rowCount() || target.right >= columnCount()) {
    CellRefusal r{CellRefusal::Reason::BlockTooLarge, {}, at.top, at.left, {}, blockRows, blockColumns};
    return r;
  }
  std::vector<CellValue> values;
  int notHeld = 0;
  for (int r = target.top; r <= target.bottom; ++r) {
    for (int c = target.left; c <= target.right; ++c) {
      const QStringList& line = block[oneValue ? 0 : std::size_t(r - target.top)];
      const int i = oneValue ? 0 : c - target.left;
      if (i >= line.size()) continue;  // a short line leaves its last cells alone
      if (!holds(r, c)) {  // nothing to change there, whatever the block holds
        ++notHeld;
        continue;
      }
      auto parsed = parse(r, c, textOfSpreadsheetCell(line[i]));
      if (auto* refusal = std::get_if<CellRefusal>(&parsed)) return *refusal;
      values.push_back({{r, c}, std::get<FieldValue>(parsed)});
    }
  }
  const int n = apply(std::move(values), tr("粘贴"), skipped);
  if (changed) *changed = n;
  if (skipped) *skipped += notHeld;
  return std::nullopt;
}

void RecordTableModel::fillDown(const CellBlock& block) {
  const bool oneRow = block.rows() == 1;
  if (oneRow && block.top == 0) return;
  const int source = oneRow ? block.top - 1 : block.top;
  std::vector<CellValue> values;
  for (int c = block.left; c <= block.right; ++c) {
    if (!holds(source, c)) continue;  // an empty cell fills nothing
    for (int r = oneRow ? block.top : block.top + 1; r <= block.bottom; ++r) values.push_back({{r, c}, valueIn(configs_, source, c)});
  }
  apply(std::move(values), tr("向下填充"));
}

QString cellRefusalText(const RecordTableModel& model, const CellRefusal& refusal) {
  using R = CellRefusal::Reason;
  if (refusal.reason == R::BlockTooLarge)
    return RecordTableModel::tr("粘贴的内容有%1行%2列，从所选单元格起表格只有%3行%4列，没有粘贴")
        .arg(refusal.blockRows)
        .arg(refusal.blockColumns)
        .arg(model.rowCount() - refusal.row)
        .arg(model.columnCount() - refusal.column);
  const TableColumn& column = model.column(refusal.column);
  const QString where = model.row(refusal.row).label + QLatin1Char(' ') + column.header;
  if (refusal.reason == R::Disabled) return RecordTableModel::tr("%1：按数据属性不可编辑").arg(where);
  if (refusal.reason == R::NotAChoice)
    return RecordTableModel::tr("%1：“%2”不是列表中的一项").arg(where, refusal.text);
  using P = ConfigFileError::Problem;
  QString why;
  switch (refusal.problem) {
    case P::OutOfRange:
      why = column.field->kind == FieldKind::Unsigned ? RecordTableModel::tr("超出范围（0～%1）").arg(column.field->max)
                                                        : RecordTableModel::tr("超出范围");
      break;
    case P::TooLong: why = RecordTableModel::tr("超过%1个字节").arg(column.field->maxBytes); break;
    case P::NotGbk: why = RecordTableModel::tr("含有设备不能显示的字符"); break;
    case P::BadHex: why = RecordTableModel::tr("不是8位十六进制数"); break;
    case P::BadAddress: why = RecordTableModel::tr("不是IP地址"); break;
    default: why = RecordTableModel::tr("不是数字"); break;
  }
  return RecordTableModel::tr("%1：“%2”%3").arg(where, refusal.text, why);
}

}  // namespace quendra
