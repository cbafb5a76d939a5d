#pragma once
// The table of "主机总表...": a record table (pages/record_table_model.h) with
// one row per host and fixed records in its columns, which also says where
// the hosts disagree. A cell that differs from the value most of the column
// holds (more than half of the hosts read), or from an opened baseline
// configuration where the baseline names the field, is marked; so are an
// address or a terminal address that another row holds too, since those make
// a host itself and must differ. Identity fields are compared for sharing
// only: they are meant to differ. Each row's header names its host and says
// what the host last answered ("已读取", "没有应答", the result of a write).
#include <optional>

#include "config/config_file.h"
#include "pages/record_table_model.h"

namespace quendra {

// An opened configuration the cells are compared with.
struct FleetBaseline {
  ConfigFile file;
  HostConfig values;  // the file applied onto an empty configuration

  explicit FleetBaseline(ConfigFile f);
  // Whether the file gives this field (a record's image gives all of its fields).
  bool names(ParamGroup group, int index, const RecordField& field) const;
};

class FleetTableModel : public RecordTableModel {
  Q_OBJECT
 public:
  enum class Mark { None, DiffersFromMajority, DiffersFromBaseline, Shared };
  // The background of a marked cell (a changed cell keeps changedColor()).
  static QColor markColor(Mark mark);

  FleetTableModel(std::vector<HostConfig> configs, std::vector<TableRow> rows, std::vector<TableColumn> columns,
                  QObject* parent = nullptr);

  void setBaseline(std::optional<FleetBaseline> baseline);
  const std::optional<FleetBaseline>& baseline() const { return baseline_; }
  Mark mark(int row, int column) const;

  void setRowStatus(int row, const QString& status, bool bad = false);
  QString rowStatus(int row) const { return status_.at(static_cast<std::size_t>(row)).first; }

  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  struct ColumnMarks {
    std::vector<Mark> rows;
    std::optional<FieldValue> majority;
  };
  // Worked out when the column is first drawn after a change.
  const ColumnMarks& marksOf(int column) const;
  FieldValue valueAt(int row, int column) const;
  QString markText(int row, int column) const;
  void forgetMarks();

  std::optional<FleetBaseline> baseline_;
  std::vector<std::pair<QString, bool>> status_;
  mutable std::vector<std::optional<ColumnMarks>> marks_;
};

}  // namespace quendra
