#pragma once
// Before anything is written to a host from the window: what differs between
// what the host holds now and what is to be written, one row per field (the
// record, the field's label as on its page, the host's value, the new value),
// and the host's identity that stays as it is although the values differ,
// with the choice to take it over ("替换主机": a host replacing a failed one).
// Window-modal but not blocking: the caller goes on when it is accepted.
#include <QDialog>
#include <vector>

#include "records/config_diff.h"

class QCheckBox;
class QLabel;
class QTableWidget;

namespace quendra {

class CompareDialog : public QDialog {
  Q_OBJECT
 public:
  CompareDialog(const std::vector<FieldDifference>& differences, const std::vector<FieldDifference>& kept,
                QWidget* parent = nullptr);
  // Shows these rows instead (after the identity choice changed).
  void showDifferences(const std::vector<FieldDifference>& differences, const std::vector<FieldDifference>& kept);

 signals:
  void replaceIdentityToggled(bool replace);

 private:
  QTableWidget* table_;
  QLabel* summary_;
  QCheckBox* replaceIdentity_;
};

}  // namespace quendra
