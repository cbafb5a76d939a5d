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
}

void DeviceList::addEntry(const DeviceEntry& entry) { model_->add(entry); }

void DeviceList::clearRows() { model_->clear(); }

QString DeviceList::text(int row, int column) const { return model_->index(row, column).data().toString(); }

void DeviceList::selectRow(int row) { setCurrentIndex(model_->index(row, 0)); }

QRect DeviceList::rowRect(int row) const {
  return visualRect(model_->index(row, 0)) | visualRect(model_->index(row, ColumnCount - 1));
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
  const int w = viewport()->width();
  setColumnWidth(IpColumn, w * 3 / 11);
  setColumnWidth(NameColumn, w * 3 / 11);
  setColumnWidth(MacColumn, w * 3 / 11);
  setColumnWidth(VersionColumn, w * 2 / 11);
}

}  // namespace quendra
