#pragma once
// The text of the information area. Operations clear it and append their line;
// refresh puts the whole text into the view (the view is not scrolled).
#include <QObject>
#include <QString>

namespace quendra {

class InfoLog : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  void clear() { text_.clear(); }
  void append(const QString& line) { text_ += line; }
  void refresh() { emit refreshed(text_); }
  const QString& text() const { return text_; }

 signals:
  void refreshed(const QString& text);

 private:
  QString text_;
};

}  // namespace quendra
