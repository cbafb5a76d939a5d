#pragma once
// The window's Notifier: a modal QMessageBox with an OK button. While a box is
// open, a second notice with the same title and text is dropped, so a burst of
// refused replies (version gate) or failing sends ("端口被占用") shows one box
// instead of stacking one modal loop on another.
#include <QSet>
#include <QWidget>
#include <QPointer>

#include "pages/notifier.h"

namespace quendra {

class QtMessageNotifier : public Notifier {
 public:
  void setParentWindow(QWidget* parent) { parent_ = parent; }
  void notify(const QString& title, const QString& text, NoticeIcon icon) override;

 private:
  QPointer<QWidget> parent_;
  QSet<QString> open_;  // title + text of the boxes now shown
};

}  // namespace quendra
