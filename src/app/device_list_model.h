#pragma once
// The rows of DeviceList: every search answer in the order it came, shown
// newest first. An answer is appended to the store and appears as row 0, so
// each one costs the same whether it is the second or the ten-thousandth.
// What the answers say about each other (session/host_finder.h: conflictsOf)
// is marked by address and by MAC, so a row shows its conflicts as it is drawn.
#include <QAbstractTableModel>
#include <QSet>
#include <cstdint>
#include <vector>

#include "link/outer_frame.h"

namespace quendra {

// One row: what a host tells about itself in its search answer.
struct DeviceEntry {
  std::uint32_t ip = 0;  // first octet in the most significant byte
  QString name;
  Mac mac{};
  std::uint16_t firmwareVersion = 0;

  static DeviceEntry fromSearchAnswer(const SearchAnswer& answer);
};

class DeviceListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // ConflictColumn: "IP重复" on a row whose address another listed host also answers with.
  enum Column { IpColumn, NameColumn, MacColumn, VersionColumn, ConflictColumn, ColumnCount };

  using QAbstractTableModel::QAbstractTableModel;

  // Shows the entry as row 0.
  void add(const DeviceEntry& entry);
  void clear();
  // Every row with this address answers for more than one host.
  void markSharedAddress(std::uint32_t ip);
  // Every row of this host: it answered with more than one address.
  void markTwoAddresses(const Mac& mac);
  bool anyConflict() const { return !sharedAddresses_.isEmpty() || !twoAddressHosts_.isEmpty(); }
  // The words of the conflict column.
  static QString sharedAddressText() { return tr("IP重复"); }
  static QString twoAddressesText() { return tr("多个IP"); }
  // The entry shown in `row` (0 is the newest).
  const DeviceEntry& entryAt(int row) const { return arrived_[arrived_.size() - 1 - static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void conflictsChanged();

  std::vector<DeviceEntry> arrived_;  // oldest first
  QSet<std::uint32_t> sharedAddresses_;
  QSet<quint64> twoAddressHosts_;  // MACs as numbers
};

}  // namespace quendra
