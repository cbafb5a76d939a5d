#pragma once
// Small helpers that put a label and its field into a grid. The label is the
// field's buddy and its text is the field's accessible name, so screen readers
// and tests find every field by its label. Where a label repeats on a page
// (two servers, four relay lists), pass the group name as `context`: the
// accessible name is then "<context> <label>".
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

namespace quendra {

inline QString accessibleNameFor(const QString& label, const QString& context = {}) {
  return context.isEmpty() ? label : context + QLatin1Char(' ') + label;
}

// Adds "label field" at (row, column) and (row, column + 1); returns the label.
inline QLabel* addLabeledField(QGridLayout* grid, int row, int column, const QString& label, QWidget* field,
                               const QString& context = {}) {
  auto* l = new QLabel(label);
  l->setBuddy(field);
  field->setAccessibleName(accessibleNameFor(label, context));
  grid->addWidget(l, row, column);
  grid->addWidget(field, row, column + 1);
  return l;
}

// A drop-down list; editable lists accept typed text (the selectors).
inline QComboBox* makeList(const QStringList& items, bool editable = false) {
  auto* box = new QComboBox;
  box->setEditable(editable);
  box->addItems(items);
  box->setCurrentIndex(-1);
  box->setMaxVisibleItems(20);
  return box;
}

inline QCheckBox* makeCheck(const QString& text, const QString& context = {}) {
  auto* box = new QCheckBox(text);
  box->setAccessibleName(accessibleNameFor(text, context));
  return box;
}

}  // namespace quendra
