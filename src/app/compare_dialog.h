#pragma once
// Before anything is written to a host from the window: what differs between
// what the host holds now and what is to be written, one row per field (the
// record, the field's label as on its page, the host's value, the new value).
// Window-modal but not blocking: the caller goes on when it is accepted.
#include <QDialog>
#include <vector>

#include "records/config_diff.h"

class QTableWidget;

namespace quendra {

class CompareDialog : public QDialog {
  Q_OBJECT
 public:
  CompareDialog(const std::vector<FieldDifference>& differences, QWidget* parent = nullptr);
  QTableWidget* table() const { return table_; }

 private:
  QTableWidget* table_;
};

}  // namespace quendra
