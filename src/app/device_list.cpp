#include "app/device_list.h"

#include <QEvent>
#include <QHeaderView>

namespace quendra {

DeviceList::DeviceList(QWidget* parent) : QTreeView(parent), model_(new DeviceListModel(this)) {
  setModel(model_);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  header()->setSectionsClickable(false);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAccessibleName(tr("监控主机列表"));
  setColumnHidden(ConflictColumn, true);
}

void DeviceList::addEntry(const DeviceEntry& entry) { model_->add(entry); }

void DeviceList::showConflicts(const SearchAnswer& answer, const HostConflicts& conflicts) {
  if (conflicts.sharedAddress) model_->markSharedAddress(answer.ip);
  if (conflicts.twoAddresses) model_->markTwoAddresses(answer.mac);
  if (model_->anyConflict() && isColumnHidden(ConflictColumn)) {
    setColumnHidden(ConflictColumn, false);
    applyColumnWidths();
  }
}

void DeviceList::clearRows() {
  model_->clear();
  if (!isColumnHidden(ConflictColumn)) {
    setColumnHidden(ConflictColumn, true);
    applyColumnWidths();
  }
}

std::optional<DeviceEntry> DeviceList::selectedEntry() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  return model_->entryAt(rows.first().row());
}

std::vector<DeviceEntry> DeviceList::entries() const {
  std::vector<DeviceEntry> out;
  out.reserve(static_cast<std::size_t>(rowCount()));
  for (int row = 0; row < rowCount(); ++row) out.push_back(entryAt(row));
  return out;
}

void DeviceList::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  emit doubleClickedList();
}

bool DeviceList::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) applyColumnWidths();
  return QTreeView::viewportEvent(event);
}

void DeviceList::applyColumnWidths() {
  int w = viewport()->width();
  if (!isColumnHidden(ConflictColumn)) {
    int conflict = fontMetrics().horizontalAdvance(model_->headerData(ConflictColumn, Qt::Horizontal).toString());
    for (const QString& text : {DeviceListModel::sharedAddressText(), DeviceListModel::twoAddressesText()})
      conflict = std::max(conflict, fontMetrics().horizontalAdvance(text));
    conflict += 2 * fontMetrics().averageCharWidth();
    setColumnWidth(ConflictColumn, conflict);
    w = std::max(0, w - conflict);
  }
  setColumnWidth(IpColumn, w * 3 / 11);
  setColumnWidth(NameColumn, w * 3 / 11);
  setColumnWidth(MacColumn, w * 3 / 11);
  setColumnWidth(VersionColumn, w * 2 / 11);
}

}  // namespace quendra
