#pragma once
// The small box shown while a batch of records travels: one line of progress
// text, a close box, no buttons; the close box, Esc and Enter close it. It is window-modal but does not block the
// caller (open(), not exec()): replies keep being dispatched while it is up,
// and only the operator closes it.
#include <QDialog>

class QLabel;

namespace quendra {

class WaitDialog : public QDialog {
  Q_OBJECT
 public:
  explicit WaitDialog(QWidget* parent = nullptr);

  void setText(const QString& text);
  // Shows the box (window-modal) and returns at once.
  void openBox();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLabel* line_;
};

}  // namespace quendra
