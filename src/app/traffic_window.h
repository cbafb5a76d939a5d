#pragma once
// "通信记录": what the tool sent and received, for finding out why a host is
// not found. A table of the traffic log, the bytes of the selected datagram,
// the counters per local address (resends among the requests), and exports as pcapng (for Wireshark) and
// as text. Non-modal; it is deleted when closed, so the log costs nothing
// more than its ring while no window is open.
#include <QDialog>

#include "pages/notifier.h"
#include "session/traffic_log.h"

class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTableWidget;

namespace quendra {

class TrafficTableModel;

class TrafficWindow : public QDialog {
  Q_OBJECT
 public:
  TrafficWindow(const TrafficLog& log, Notifier& notifier, QWidget* parent = nullptr);

  // The exports behind the buttons, without the file dialogs; false after a
  // notice when the file cannot be written.
  bool exportPcapng(const QString& path);
  bool exportText(const QString& path);

 private:
  void showSelectedBytes();
  void showCounters();
  void askAndExport(const QString& title, const QString& filter, bool (TrafficWindow::*write)(const QString&));
  void notifyWriteFailed(const QString& path);

  const TrafficLog& log_;
  Notifier& notifier_;
  TrafficTableModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QPlainTextEdit* bytes_ = nullptr;
  QTableWidget* counters_ = nullptr;
  bool following_ = true;
};

// Sixteen bytes a line: "0000  AA 00 01 02 02".
QString hexLines(ByteView bytes);

}  // namespace quendra
