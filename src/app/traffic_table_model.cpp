#include "app/traffic_table_model.h"

#include <QDateTime>

#include "app/meaning_text.h"
#include "records/field_text.h"

namespace quendra {

QString trafficTimeText(const TrafficEntry& entry) {
  return QDateTime::fromMSecsSinceEpoch(entry.timeMicros / 1000).toString(QStringLiteral("hh:mm:ss.zzz"));
}

QString directionText(Direction direction) {
  return direction == Direction::Sent ? TrafficTableModel::tr("发送") : TrafficTableModel::tr("接收");
}

QString localAddressText(std::uint32_t address) { return QString::fromStdString(formatDottedAddress(address)); }

QString peerText(const Datagram& d) { return localAddressText(d.peerAddress) + QLatin1Char(':') + QString::number(d.peerPort); }

TrafficTableModel::TrafficTableModel(const TrafficLog& log, QObject* parent) : QAbstractTableModel(parent), log_(log) {
  pending_.setSingleShot(true);
  pending_.setInterval(100);
  connect(&pending_, &QTimer::timeout, this, &TrafficTableModel::sync);
  connect(&log_, &TrafficLog::recorded, this, [this] {
    if (!pending_.isActive()) pending_.start();
  });
  sync();
}

void TrafficTableModel::sync() {
  pending_.stop();
  const std::uint64_t end = log_.recordedCount();
  const std::uint64_t first = end - log_.entries().size();
  const std::uint64_t shownEnd = firstShown_ + static_cast<std::uint64_t>(rows_);
  if (first == firstShown_ && end == shownEnd) return;
  // Rows the ring dropped, then the rows that came.
  const int gone = static_cast<int>(std::min<std::uint64_t>(first - firstShown_, static_cast<std::uint64_t>(rows_)));
  if (gone > 0) {
    beginRemoveRows({}, 0, gone - 1);
    rows_ -= gone;
    endRemoveRows();
  }
  firstShown_ = first;
  const int total = static_cast<int>(log_.entries().size());
  if (total > rows_) {
    beginInsertRows({}, rows_, total - 1);
    rows_ = total;
    endInsertRows();
  }
  emit synced();
}

int TrafficTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TrafficTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

const TrafficEntry* TrafficTableModel::entryAt(int row) const {
  // Between a ring step and the next sync, row r is log entry r - (rows dropped since).
  const std::uint64_t first = log_.recordedCount() - log_.entries().size();
  const std::uint64_t sequence = firstShown_ + static_cast<std::uint64_t>(row);
  if (row < 0 || row >= rows_ || sequence < first) return nullptr;
  return &log_.entries()[static_cast<std::size_t>(sequence - first)];
}

QVariant TrafficTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole) return {};
  const TrafficEntry* e = entryAt(index.row());
  if (!e) return {};
  switch (index.column()) {
    case TimeColumn: return trafficTimeText(*e);
    case DirectionColumn: return directionText(e->direction);
    case LocalColumn: return localAddressText(e->datagram.localAddress);
    case PeerColumn: return peerText(e->datagram);
    case MeaningColumn: return meaningText(describeDatagram(e->datagram.view(), e->direction));
    default: return {};
  }
}

QVariant TrafficTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  static const char* const titles[ColumnCount] = {
      QT_TRANSLATE_NOOP("quendra::TrafficTableModel", "时间"), QT_TRANSLATE_NOOP("quendra::TrafficTableModel", "方向"),
      QT_TRANSLATE_NOOP("quendra::TrafficTableModel", "本机地址"), QT_TRANSLATE_NOOP("quendra::TrafficTableModel", "对方"),
      QT_TRANSLATE_NOOP("quendra::TrafficTableModel", "含义")};
  return tr(titles[section]);
}

}  // namespace quendra
