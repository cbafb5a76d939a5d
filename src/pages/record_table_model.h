#pragma once
// Records as a table: each row is one record of one host configuration, each
// column one field, headed by the label its page gives it. The same model
// serves a group's records of one host (通道1..通道32 x the channel fields)
// and many hosts side by side (hosts x chosen fields of several groups).
// Cells show and take values as the pages do: lists as their row texts,
// anything else as a configuration file writes it; a text the field cannot
// take is refused and the cell keeps its value. The channel field rules
// disable the cells a channel's data property does not use. Every change is
// one step of the undo stack; the model remembers the values it started
// with, so it can say which cells and records were changed.
#include <QAbstractTableModel>
#include <QColor>
#include <QUndoStack>
#include <optional>
#include <vector>

#include "config/config_file.h"
#include "records/config_diff.h"

namespace quendra {

struct TableRow {
  int config = 0;  // which of the model's configurations
  int record = 0;  // the record shown in the columns that follow the row
  QString label;
};

struct TableColumn {
  ParamGroup group = ParamGroup::Channel;
  std::optional<int> record;  // a fixed record; nullopt: the row's record
  const RecordField* field = nullptr;
  QString header;   // the page's label
  QString tooltip;  // the field as configuration files name it
};

// Every field of the group, in record order, each headed by its page label
// with the field's key as tooltip.
std::vector<TableColumn> recordTableColumns(ParamGroup group);
// The field `key` of record `record`, tooltip "channels[3].upperLimit1".
TableColumn fieldColumn(ParamGroup group, int record, std::string_view key);
// One row per record of the group in configuration 0: "通道1" .. "通道32".
std::vector<TableRow> recordTableRows(ParamGroup group);

// Why a text did not go into a cell.
struct CellRefusal {
  enum class Reason {
    Disabled,       // the channel field rules switch the cell off
    NotAChoice,     // neither a row text nor a row number of the cell's list
    Value,          // the field cannot take the text (see problem)
    BlockTooLarge,  // a pasted block reaches beyond the table
  };
  Reason reason = Reason::Value;
  ConfigFileError::Problem problem = ConfigFileError::Problem::WrongType;
  int row = -1;
  int column = -1;
  QString text;
  int blockRows = 0;  // BlockTooLarge: the size of the block
  int blockColumns = 0;
};

// A rectangle of cells, corners included.
struct CellBlock {
  int top = 0, left = 0, bottom = -1, right = -1;
  int rows() const { return bottom - top + 1; }
  int columns() const { return right - left + 1; }
};

class RecordTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Role { ChoicesRole = Qt::UserRole + 1 };
  // The background of a changed cell.
  static QColor changedColor() { return {255, 236, 150}; }

  RecordTableModel(std::vector<HostConfig> configs, std::vector<TableRow> rows, std::vector<TableColumn> columns,
                   QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // EditRole takes a text (refused texts emit refused()), CheckStateRole a check box.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  const HostConfig& config(int index = 0) const { return configs_.at(static_cast<std::size_t>(index)); }
  const TableColumn& column(int column) const { return columns_.at(static_cast<std::size_t>(column)); }
  const TableRow& row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
  // The records of configuration `config` whose bytes differ from how they started.
  RecordMasks changedRecords(int config = 0) const;
  bool isChanged(int row, int column) const;
  // Every changed cell, row by row.
  QModelIndexList changedCells() const;

  // "允许编辑所有参数": the coefficients and SMS boxes of the channels.
  void setAllowAll(bool allowed);
  // Cells of records their configuration does not hold (HostConfig::known)
  // show nothing and take nothing: a table of hosts read, some not at all.
  void setHeldRecordsOnly(bool on);
  bool holds(int row, int column) const;
  bool isEnabled(int row, int column) const;

  // The cell as it is copied and typed: a list's row text, a number as
  // decimal text, a text as itself.
  QString cellText(int row, int column) const;
  std::optional<CellRefusal> setCellText(int row, int column, const QString& text);
  // The block as tab-separated lines, as spreadsheets copy them.
  QString copyBlock(const CellBlock& block) const;
  // A tab-separated block pasted with its top left cell at `at`; a single
  // value pasted on a larger selection `at` fills it. A block reaching beyond
  // the table, or any text a cell refuses, changes nothing. Cells the rules
  // disable keep their values; `skipped` counts them.
  std::optional<CellRefusal> paste(const CellBlock& at, const QString& tsv, int* changed = nullptr, int* skipped = nullptr);
  // The top row of each column of the block goes into the rows below it; a
  // block of one row takes the row above it.
  void fillDown(const CellBlock& block);
  // Values put into their cells as one undo step `what` (values from a file,
  // checked there); returns how many cells changed. Disabled cells keep
  // theirs; `skipped` counts them.
  using CellValue = std::pair<std::pair<int, int>, FieldValue>;  // (row, column), value
  int setValues(std::vector<CellValue> values, const QString& what, int* skipped = nullptr);
  QUndoStack& undoStack() { return undo_; }

 signals:
  void refused(const CellRefusal& refusal);

 private:
  friend class CellEditCommand;
  struct Cell {
    int config;
    ParamGroup group;
    int record;
    const RecordField* field;
  };
  struct Change {
    Cell cell;
    FieldValue before;
    FieldValue after;
  };
  Cell cellAt(int row, int column) const;
  FieldValue valueIn(const std::vector<HostConfig>& configs, int row, int column) const;
  bool enabledIn(const std::vector<HostConfig>& configs, int row, int column) const;
  std::variant<FieldValue, CellRefusal> parse(int row, int column, const QString& text) const;
  // Puts `values` into their cells, the cells the rules look at first; cells
  // disabled by then are left out and counted. One undo step.
  int apply(std::vector<CellValue> values, const QString& what, int* skipped = nullptr);
  void store(const std::vector<Change>& changes, bool after);

  std::vector<HostConfig> configs_;
  std::vector<HostConfig> started_;
  std::vector<TableRow> rows_;
  std::vector<TableColumn> columns_;
  bool allowAll_ = false;
  bool heldOnly_ = false;
  QUndoStack undo_;
};

// The words of a refusal: "通道3 模拟量1(温度)上限：“abc”不是数字".
QString cellRefusalText(const RecordTableModel& model, const CellRefusal& refusal);

}  // namespace quendra
