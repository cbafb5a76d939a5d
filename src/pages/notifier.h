#pragma once
// Every message box of the tool goes through this interface, so tests can see
// and answer them. The window's implementation shows a modal QMessageBox.
#include <QString>

namespace quendra {

enum class NoticeIcon { None, Exclamation, Question, Information };

class Notifier {
 public:
  virtual ~Notifier() = default;
  // Shows a message with an OK button and returns when it is dismissed.
  virtual void notify(const QString& title, const QString& text, NoticeIcon icon) = 0;
};

}  // namespace quendra
