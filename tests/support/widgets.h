#pragma once
// Shared helpers of the Qt tests: a notifier that records message boxes, and finding widgets the way an operator
// does: input fields by their accessible name, buttons by the text they show, a list or a tab control without a label
// by its object name, the dialogs a window opened among the top-level windows. A missing one ends the test.
#include <QApplication>
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QString>

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

// The first descendant of `page` of type T whose accessible name, else object name, is `name`.
template <typename T>
T* field(QWidget* page, const QString& name) {
  for (T* w : page->findChildren<T*>())
    if (w->accessibleName() == name) return w;
  if (T* w = page->findChild<T*>(name)) return w;
  qFatal("no widget named %s", qPrintable(name));
}
inline QLineEdit* edit(QWidget* page, const QString& name) { return field<QLineEdit>(page, name); }
inline QComboBox* list(QWidget* page, const QString& name) { return field<QComboBox>(page, name); }
inline QCheckBox* check(QWidget* page, const QString& name) { return field<QCheckBox>(page, name); }

// The push button under `root` that shows `text`.
inline QPushButton* buttonByText(QWidget* root, const QString& text) {
  for (QPushButton* b : root->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  qFatal("no button %s", qPrintable(text));
}
inline void press(QWidget* root, const QString& text) { buttonByText(root, text)->click(); }

// What a table or list shows in one column, top row first.
inline QStringList columnTexts(const QAbstractItemModel* m, int column) {
  QStringList out;
  for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, column).data().toString();
  return out;
}

// The visible top-level window of type T (a dialog, a box); null when none is open.
template <typename T>
T* openWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
  return nullptr;
}

}  // namespace quendra::test
