#include "app/device_list_model.h"

#include "pages/page_context.h"
#include "records/field_text.h"

namespace quendra {
namespace {

quint64 macNumber(const Mac& mac) {
  quint64 n = 0;
  for (std::uint8_t b : mac) n = n << 8 | b;
  return n;
}

}  // namespace

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
  sharedAddresses_.clear();
  twoAddressHosts_.clear();
  endResetModel();
}

void DeviceListModel::markSharedAddress(std::uint32_t ip) {
  if (sharedAddresses_.contains(ip)) return;
  sharedAddresses_.insert(ip);
  conflictsChanged();
}

void DeviceListModel::markTwoAddresses(const Mac& mac) {
  if (twoAddressHosts_.contains(macNumber(mac))) return;
  twoAddressHosts_.insert(macNumber(mac));
  conflictsChanged();
}

// Rows listed earlier may carry the new mark: the view draws them again.
void DeviceListModel::conflictsChanged() {
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::DisplayRole, Qt::ToolTipRole});
}

int DeviceListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(arrived_.size());
}

int DeviceListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant DeviceListModel::data(const QModelIndex& index, int role) const {
  if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  // Formatted when shown: only the visible rows are ever asked for.
  const DeviceEntry& e = entryAt(index.row());
  const bool shared = sharedAddresses_.contains(e.ip);
  const bool twoAddresses = twoAddressHosts_.contains(macNumber(e.mac));
  if (role == Qt::ToolTipRole) {
    QStringList why;
    if (shared) why << tr("另一台主机也以此IP（%1）应答").arg(QString::fromStdString(formatDottedAddress(e.ip)));
    if (twoAddresses) why << tr("此主机（MAC %1）还以另一个IP应答").arg(QString::fromStdString(formatMacDashed(e.mac)));
    return why.isEmpty() ? QVariant() : QVariant(why.join(QLatin1Char('\n')));
  }
  switch (index.column()) {
    case IpColumn: return QString::fromStdString(formatDottedAddress(e.ip));
    case NameColumn: return e.name;
    case MacColumn: return QString::fromStdString(formatMacDigits(e.mac));
    case VersionColumn: return QString::number(e.firmwareVersion);
    case ConflictColumn: return shared ? sharedAddressText() : twoAddresses ? twoAddressesText() : QString();
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
    case ConflictColumn: return tr("冲突");
  }
  return {};
}

Qt::ItemFlags DeviceListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

}  // namespace quendra
