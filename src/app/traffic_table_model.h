#pragma once
// The traffic log as a table (time, direction, local address, peer, meaning)
// for the traffic window. It follows the log's ring: rows the ring dropped
// leave at the top, new ones come at the bottom, at most ten times a second,
// so a flood of answers costs one table update per tenth. The meaning is
// worded only for the rows shown.
#include <QAbstractTableModel>
#include <QTimer>

#include "session/traffic_log.h"

namespace quendra {

class TrafficTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { TimeColumn, DirectionColumn, LocalColumn, PeerColumn, MeaningColumn, ColumnCount };

  explicit TrafficTableModel(const TrafficLog& log, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The log entry of a row; null when the row is no longer held.
  const TrafficEntry* entryAt(int row) const;
  // Catches up with the log now (the timer does it otherwise).
  void sync();

 signals:
  // After rows came or went.
  void synced();

 private:
  const TrafficLog& log_;
  std::uint64_t firstShown_ = 0;  // log sequence number of row 0
  int rows_ = 0;
  QTimer pending_;
};

// "hh:mm:ss.zzz" of an entry's time, local time.
QString trafficTimeText(const TrafficEntry& entry);
QString directionText(Direction direction);
// "255.255.255.255:1901"
QString peerText(const Datagram& datagram);
QString localAddressText(std::uint32_t address);

}  // namespace quendra
