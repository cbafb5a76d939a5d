#pragma once
// Shared helpers of the Qt tests: a notifier that records message boxes, a
// simulator process, and widget look-up by accessible name.
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include "pages/notifier.h"

namespace quendra::test {

// Records every message box instead of showing it.
class RecordingNotifier : public Notifier {
 public:
  struct Notice {
    QString title;
    QString text;
    NoticeIcon icon;
  };
  void notify(const QString& title, const QString& text, NoticeIcon icon) override {
    notices.append({title, text, icon});
  }
  QList<Notice> notices;
};

// quendra-hostsim as a child process, with its request log in a temporary
// directory. Only start it inside a test network namespace.
class HostSim {
 public:
  explicit HostSim(const QStringList& arguments = {});
  ~HostSim();
  bool started() const { return started_; }
  // Hex lines of every request the simulator heard ("aa0001020 2" lower-case, no blanks).
  QStringList requestLog() const;
  QString logPath() const;

 private:
  QTemporaryDir dir_;
  QProcess process_;
  bool started_ = false;
};

// The first descendant of `root` of type T whose accessible name is `name`.
template <typename T>
T* findByAccessibleName(QWidget* root, const QString& name) {
  for (T* w : root->findChildren<T*>())
    if (w->accessibleName() == name) return w;
  return nullptr;
}

}  // namespace quendra::test
