#pragma once
// Field helpers shared by the single-record tunnel pages (base, GPRS, LED):
// list positions as byte values, numbers typed into edits, and buttons that
// carry their text as accessible name.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <cstdint>

#include "records/field_text.h"

namespace quendra {

// The decimal texts first..last, the items of the count lists.
inline QStringList numberItems(int first, int last) {
  QStringList items;
  for (int i = first; i <= last; ++i) items << QString::number(i);
  return items;
}

// A list's selected position as its byte; no selection travels as 255.
inline std::uint8_t selectedIndexByte(const QComboBox* list) {
  const int index = list->currentIndex();
  return index < 0 ? 0xFF : static_cast<std::uint8_t>(index);
}

// A position outside the list leaves it without a selection.
inline void selectIndex(QComboBox* list, int index) {
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

// A signed decimal kept to 16 bits (70000 -> 4464, -1 -> 65535, text -> 0).
inline std::uint16_t editU16(const QLineEdit* edit) { return parseU16Field(edit->text().toStdString()); }

inline QPushButton* makeButton(const QString& text) {
  auto* button = new QPushButton(text);
  button->setAccessibleName(text);
  return button;
}

}  // namespace quendra
