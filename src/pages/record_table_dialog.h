#pragma once
// "表格编辑…" of the channel, ModBus and relay pages: every record of the
// group as one table, edited on a copy of the configuration. "写入" asks the
// window to write the changed records (writeRequested); "取消" leaves the
// configuration and the pages as they were.
#include <QDialog>

#include "pages/notifier.h"
#include "pages/record_table_view.h"

class QLabel;
class QPushButton;

namespace quendra {

class RecordTableDialog : public QDialog {
  Q_OBJECT
 public:
  RecordTableDialog(const HostConfig& config, ParamGroup group, Notifier& notifier, QWidget* parent = nullptr);

  ParamGroup group() const { return group_; }
  // The configuration with the table's values, and the records they changed.
  const HostConfig& config() const { return model_->config(); }
  RecordMasks changedRecords() const { return model_->changedRecords(); }

 signals:
  // "写入" with at least one changed record.
  void writeRequested();

 private:
  ParamGroup group_;
  Notifier& notifier_;
  RecordTableModel* model_;
  RecordTableView* view_;
  QLabel* status_;
  QPushButton* write_;
};

}  // namespace quendra
