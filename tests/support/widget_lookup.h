#pragma once
// Finding a page's widgets the way an operator does: input fields by their
// accessible name, buttons by the text they show. A missing one ends the test.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "support/test_support.h"

namespace quendra::test {

template <typename T>
T* field(QWidget* page, const QString& name) {
  T* w = findByAccessibleName<T>(page, name);
  if (!w) qFatal("no field named %s", qPrintable(name));
  return w;
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

}  // namespace quendra::test
