#pragma once
// The rows of DeviceList: every search answer in the order it came, shown
// newest first. An answer is appended to the store and appears as row 0, so
// each one costs the same whether it is the second or the ten-thousandth.
#include <QAbstractTableModel>
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
  enum Column { IpColumn, NameColumn, MacColumn, VersionColumn, ColumnCount };

  using QAbstractTableModel::QAbstractTableModel;

  // Shows the entry as row 0.
  void add(const DeviceEntry& entry);
  void clear();
  // The entry shown in `row` (0 is the newest).
  const DeviceEntry& entryAt(int row) const { return arrived_[arrived_.size() - 1 - static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::vector<DeviceEntry> arrived_;  // oldest first
};

}  // namespace quendra
