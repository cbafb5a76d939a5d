#include "app/info_log_view.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace quendra {

InfoLogView::InfoLogView(QWidget* parent) : QPlainTextEdit(parent) {
  setAccessibleName(QStringLiteral("信息提示区"));
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void InfoLogView::showLog(const QString& text) {
  // The log's lines end in \r\n; the view breaks lines on \n alone.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // The window refreshes after every datagram, mostly with the text already
  // shown. Laying the same document out again made 1000 search answers cost
  // 1000 extra layouts of a growing list; the view just returns to the top,
  // as setPlainText leaves it.
  if (shown == toPlainText()) {
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
    return;
  }
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
