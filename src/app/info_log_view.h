#pragma once
// The information area. The operator may type into it (letters appear in
// upper case), but every refresh puts InfoLog's text back; the view stays at
// the top instead of following the end.
#include <QPlainTextEdit>

namespace quendra {

class InfoLogView : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit InfoLogView(QWidget* parent = nullptr);
  // InfoLog::refreshed: `text` whose first `kept` characters were shown by
  // the previous refresh.
  void showLog(const QString& text, qsizetype kept);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showTop();
};

}  // namespace quendra
