#include "app/device_list_model.h"

#include "pages/page_context.h"
#include "records/field_text.h"

namespace quendra {

DeviceEntry DeviceEntry::fromSearchAnswer(const SearchAnswer& answer) {
  return DeviceEntry{answer.ip, fromGbk(answer.nameGbk), answer.mac, answer.firmwareVersion};
}

void DeviceListModel::add(const DeviceEntry& entry) {
  beginInsertRows({}, 0, 0);
  arrived_.push_back(entry);
  endInsertRows();
}

void DeviceListModel::clear() {
  beginResetModel();
  arrived_.clear();
  endResetModel();
}

int DeviceListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(arrived_.size());
}

int DeviceListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant DeviceListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  // Formatted when shown: only the visible rows are ever asked for.
  const DeviceEntry& e = entryAt(index.row());
  switch (index.column()) {
    case IpColumn: return QString::fromStdString(formatDottedAddress(e.ip));
    case NameColumn: return e.name;
    case MacColumn: return QString::fromStdString(formatMacDigits(e.mac));
    case VersionColumn: return QString::number(e.firmwareVersion);
  }
  return {};
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  switch (section) {
    case IpColumn: return tr("设备IP");
    case NameColumn: return tr("设备名称");
    case MacColumn: return tr("MAC地址");
    case VersionColumn: return tr("固件版本");
  }
  return {};
}

Qt::ItemFlags DeviceListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

}  // namespace quendra
