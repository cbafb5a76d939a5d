#pragma once
// The hosts that answered the last search, one row per answer, the newest on
// top. Answers are not merged: a host heard twice is listed twice. The rows
// are the only store of discovered hosts.
#include <QTreeWidget>
#include <cstdint>
#include <optional>
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

class DeviceList : public QTreeWidget {
  Q_OBJECT
 public:
  enum Column { IpColumn, NameColumn, MacColumn, VersionColumn, ColumnCount };

  explicit DeviceList(QWidget* parent = nullptr);

  // Inserts the entry as the top row.
  void addEntry(const DeviceEntry& entry);
  void clearRows();
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
  // Columns 0..2 take 3/11 of the client width, column 3 the remaining 2/11.
  void applyColumnWidths();
};

}  // namespace quendra
