#pragma once
// The editable drop-down list with which a page picks the record it shows
// ("槽位1".."槽位32", "继电器1".."继电器8"). It remembers whose values are on
// screen, so that when the operator picks another row the page can store them
// back into that record before it loads the new one.
#include <QComboBox>
#include <QObject>
#include <optional>

namespace quendra {

class RecordSelector : public QObject {
  Q_OBJECT
 public:
  // Rows "<prefix>1" .. "<prefix><count>", nothing selected.
  RecordSelector(const QString& prefix, int count, QObject* parent = nullptr);

  QComboBox* box() const { return box_; }
  // The record whose values the page shows; nullopt before the first one.
  std::optional<int> shown() const { return shown_; }
  // The page now shows record k: selects row k without a `picked` signal.
  void showRecord(int k);

 signals:
  // The operator picked `row`. `previous` is the record on screen before the
  // change, or nullopt when the selector's text named no record then (nothing
  // shown yet, or text the operator typed over it): nothing is to be stored.
  void picked(std::optional<int> previous, int row);

 private:
  bool namesRecord(const QString& text) const;
  void onIndexChanged(int row);

  QString prefix_;
  int count_;
  QComboBox* box_;
  std::optional<int> shown_;
  QString textBeforeChange_;  // the combo shows the new row's text by the time it signals
  bool selecting_ = false;
};

}  // namespace quendra
