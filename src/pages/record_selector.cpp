#include "pages/record_selector.h"

#include <QLineEdit>

#include "records/field_text.h"
#include "pages/page_form.h"

namespace quendra {

RecordSelector::RecordSelector(const QString& prefix, int count, QObject* parent)
    : QObject(parent), prefix_(prefix), count_(count) {
  QStringList rows;
  for (int n = 1; n <= count; ++n) rows << prefix + QString::number(n);
  box_ = makeList(rows, /*editable=*/true);
  // Typed text never becomes a new row; text equal to a row selects it.
  box_->setInsertPolicy(QComboBox::NoInsert);
  connect(box_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { textBeforeChange_ = t; });
  connect(box_, &QComboBox::currentIndexChanged, this, &RecordSelector::onIndexChanged);
}

void RecordSelector::showRecord(int k) {
  selecting_ = true;
  box_->setCurrentIndex(k);
  selecting_ = false;
  shown_ = k;
  textBeforeChange_ = box_->itemText(k);
}

bool RecordSelector::namesRecord(const QString& text) const {
  if (!text.startsWith(prefix_)) return false;
  const int n = parseLeadingInt(text.mid(prefix_.size()).toStdString());
  return n >= 1 && n <= count_;
}

void RecordSelector::onIndexChanged(int row) {
  if (selecting_ || row < 0) return;
  const std::optional<int> previous = namesRecord(textBeforeChange_) ? shown_ : std::nullopt;
  shown_ = row;
  textBeforeChange_ = box_->itemText(row);
  emit picked(previous, row);
}

}  // namespace quendra
