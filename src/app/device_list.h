#pragma once
// The hosts that answered the last search, one row per answer, the newest on
// top. Answers are not merged: a host heard twice is listed twice. The rows
// are the only store of discovered hosts. A column of its own ("冲突") shows
// "IP重复" on the rows of hosts that answer with one address; it is there
// only while some row has a conflict.
#include <QTreeView>
#include <optional>
#include <vector>

#include "app/device_list_model.h"
#include "session/host_finder.h"

namespace quendra {

class DeviceList : public QTreeView {
  Q_OBJECT
 public:
  using enum DeviceListModel::Column;

  explicit DeviceList(QWidget* parent = nullptr);

  // Inserts the entry as the top row.
  void addEntry(const DeviceEntry& entry);
  // Marks the rows of the host that answered with `answer` as `conflicts` says.
  void showConflicts(const SearchAnswer& answer, const HostConflicts& conflicts);
  void clearRows();
  int rowCount() const { return model_->rowCount(); }
  // Row 0 is the top (newest) row.
  const DeviceEntry& entryAt(int row) const { return model_->entryAt(row); }
  // The entry of the first selected row; nullopt when no row is selected.
  std::optional<DeviceEntry> selectedEntry() const;
  // Every row's entry, top row first.
  std::vector<DeviceEntry> entries() const;

 signals:
  // A double-click anywhere in the list; the window selects the selected row.
  void doubleClickedList();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  // Columns 0..2 take 3/11 of the client width, column 3 the remaining 2/11;
  // while the conflict column shows, it takes the width of its text first.
  void applyColumnWidths();

  DeviceListModel* model_;
};

}  // namespace quendra
