#pragma once
// The selected host's history: every state kept before a write, newest first,
// with the groups it holds. "恢复…" hands the chosen entry back to the window,
// which restores it through the compare dialog.
#include <QDialog>
#include <vector>

#include "config/history_store.h"

class QListWidget;
class QPushButton;

namespace quendra {

class HistoryDialog : public QDialog {
  Q_OBJECT
 public:
  HistoryDialog(std::vector<HistoryStore::Entry> entries, const QString& host, QWidget* parent = nullptr);

 signals:
  void restoreRequested(const QString& path);

 private:
  std::vector<HistoryStore::Entry> entries_;
  QListWidget* list_;
  QPushButton* restore_;
};

}  // namespace quendra
