#include "app/qt_message_notifier.h"

#include <QMessageBox>

namespace quendra {
namespace {

QMessageBox::Icon boxIcon(NoticeIcon icon) {
  switch (icon) {
    case NoticeIcon::Exclamation: return QMessageBox::Warning;
    case NoticeIcon::Question: return QMessageBox::Question;
    case NoticeIcon::Information: return QMessageBox::Information;
    case NoticeIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void QtMessageNotifier::notify(const QString& title, const QString& text, NoticeIcon icon) {
  const QString key = title + QChar(0) + text;
  if (open_.contains(key)) return;
  open_.insert(key);
  QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent_);
  // Notices quote hosts' names and values and files' contents: data, never
  // markup (a box guessing rich text would load the image a host names).
  box.setTextFormat(Qt::PlainText);
  box.exec();
  open_.remove(key);
}

}  // namespace quendra
