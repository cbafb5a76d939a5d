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
  // shown or with one line more. Building the whole document again each time
  // made a search answered by 1000 hosts cost 2000 layouts of a growing list;
  // only what is new is added. The result is what setPlainText leaves: the
  // text, the view and the cursor at the top, nothing to undo.
  const QString current = toPlainText();
  if (shown == current) {
    showTop();
    return;
  }
  if (!current.isEmpty() && shown.startsWith(current)) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(shown.mid(current.size()));
    document()->clearUndoRedoStacks();
    showTop();
    return;
  }
  setPlainText(shown);
}

void InfoLogView::showTop() {
  moveCursor(QTextCursor::Start);
  verticalScrollBar()->setValue(0);
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
