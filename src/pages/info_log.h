#pragma once
// The text of the information area. Operations clear it and append their line;
// refresh puts the text into the view (the view is not scrolled).
#include <QObject>
#include <QString>

namespace quendra {

class InfoLog : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  void clear() {
    text_.clear();
    shown_ = 0;
  }
  void append(const QString& line) { text_ += line; }
  void refresh() {
    const qsizetype kept = shown_;
    shown_ = text_.size();
    emit refreshed(text_, kept);
  }
  const QString& text() const { return text_; }

 signals:
  // `kept`: how much of `text` the previous refresh showed already; 0 after a
  // clear, when the view must replace its content. A view that follows the
  // log adds only text.mid(kept), so a refresh costs what was appended, not
  // the whole log.
  void refreshed(const QString& text, qsizetype kept);

 private:
  QString text_;
  qsizetype shown_ = 0;  // length of the text the last refresh showed
};

}  // namespace quendra
