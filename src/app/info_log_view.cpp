#include "app/info_log_view.h"

#include <QKeyEvent>

namespace quendra {

InfoLogView::InfoLogView(QWidget* parent) : QPlainTextEdit(parent) {
  setAccessibleName(QStringLiteral("信息提示区"));
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void InfoLogView::showLog(const QString& text) {
  // The log's lines end in \r\n; the view breaks lines on \n alone.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  setPlainText(shown);
}

void InfoLogView::keyPressEvent(QKeyEvent* event) {
  const QString upper = event->text().toUpper();
  if (upper == event->text()) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  QKeyEvent shifted(event->type(), event->key(), event->modifiers(), upper, event->isAutoRepeat(),
                    static_cast<ushort>(event->count()));
  QPlainTextEdit::keyPressEvent(&shifted);
}

}  // namespace quendra
