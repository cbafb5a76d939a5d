#pragma once
// The information area. The operator may type into it (letters appear in
// upper case), but every refresh replaces the whole content with InfoLog's
// text; the view stays at the top instead of following the end.
#include <QPlainTextEdit>

namespace quendra {

class InfoLogView : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit InfoLogView(QWidget* parent = nullptr);
  void showLog(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showTop();
};

}  // namespace quendra
