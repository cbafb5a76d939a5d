#include "app/device_list.h"

#include <QEvent>
#include <QHeaderView>

#include "records/field_text.h"
#include "pages/page_context.h"

namespace quendra {

DeviceEntry DeviceEntry::fromSearchAnswer(const SearchAnswer& answer) {
  return DeviceEntry{answer.ip, fromGbk(answer.nameGbk), answer.mac, answer.firmwareVersion};
}

DeviceList::DeviceList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(ColumnCount);
  setHeaderLabels({QStringLiteral("设备IP"), QStringLiteral("设备名称"), QStringLiteral("MAC地址"),
                   QStringLiteral("固件版本")});
  for (int c = 0; c < ColumnCount; ++c) headerItem()->setTextAlignment(c, Qt::AlignLeft | Qt::AlignVCenter);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAccessibleName(QStringLiteral("监控主机列表"));
}

void DeviceList::addEntry(const DeviceEntry& entry) {
  auto* row = new QTreeWidgetItem;
  row->setText(IpColumn, QString::fromStdString(formatDottedAddress(entry.ip)));
  row->setText(MacColumn, QString::fromStdString(formatMacDigits(entry.mac)));
  row->setText(VersionColumn, QString::number(entry.firmwareVersion));
  row->setText(NameColumn, entry.name);
  // The selection takes the MAC from the answer, not back out of the row's text.
  row->setData(MacColumn, Qt::UserRole, QByteArray(reinterpret_cast<const char*>(entry.mac.data()), 6));
  row->setData(IpColumn, Qt::UserRole, entry.ip);
  row->setData(VersionColumn, Qt::UserRole, entry.firmwareVersion);
  insertTopLevelItem(0, row);
}

void DeviceList::clearRows() { clear(); }

namespace {

DeviceEntry entryOf(const QTreeWidgetItem* row) {
  DeviceEntry entry;
  const QByteArray mac = row->data(DeviceList::MacColumn, Qt::UserRole).toByteArray();
  if (mac.size() == 6) std::copy(mac.begin(), mac.end(), entry.mac.begin());
  entry.ip = row->data(DeviceList::IpColumn, Qt::UserRole).toUInt();
  entry.firmwareVersion = static_cast<std::uint16_t>(row->data(DeviceList::VersionColumn, Qt::UserRole).toUInt());
  entry.name = row->text(DeviceList::NameColumn);
  return entry;
}

}  // namespace

std::optional<DeviceEntry> DeviceList::selectedEntry() const {
  const QList<QTreeWidgetItem*> rows = selectedItems();
  if (rows.isEmpty()) return std::nullopt;
  return entryOf(rows.first());
}

std::vector<DeviceEntry> DeviceList::entries() const {
  std::vector<DeviceEntry> out;
  for (int i = 0; i < topLevelItemCount(); ++i) out.push_back(entryOf(topLevelItem(i)));
  return out;
}

void DeviceList::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidget::mouseDoubleClickEvent(event);
  emit doubleClickedList();
}

bool DeviceList::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) applyColumnWidths();
  return QTreeWidget::viewportEvent(event);
}

void DeviceList::applyColumnWidths() {
  const int w = viewport()->width();
  setColumnWidth(IpColumn, w * 3 / 11);
  setColumnWidth(NameColumn, w * 3 / 11);
  setColumnWidth(MacColumn, w * 3 / 11);
  setColumnWidth(VersionColumn, w * 2 / 11);
}

}  // namespace quendra
