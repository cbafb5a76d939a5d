#include "app/info_log_view.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace quendra {
namespace {

// The log's lines end in \r\n; the view breaks lines on \n alone.
QString viewText(QStringView text) { return text.toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

}  // namespace

InfoLogView::InfoLogView(QWidget* parent) : QPlainTextEdit(parent) {
  setAccessibleName(tr("信息提示区"));
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void InfoLogView::showLog(const QString& text, qsizetype kept) {
  // A search answered by thousands of hosts refreshes the log twice per
  // answer, each time with at most one line more: only that line is added.
  // The result is what setPlainText leaves: the text, the view and the cursor
  // at the top, nothing to undo. After a clear, or once the operator typed
  // into the view, the whole content is replaced.
  if (kept == 0 || document()->isModified()) {
    setPlainText(viewText(text));
  } else if (kept < text.size()) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    document()->setUndoRedoEnabled(false);  // nothing to undo, as after setPlainText
    end.insertText(viewText(QStringView(text).mid(kept)));
    document()->setUndoRedoEnabled(true);
  }
  document()->setModified(false);
  showTop();
}

void InfoLogView::showTop() {
  const QTextCursor cursor = textCursor();
  if (cursor.position() != 0 || cursor.hasSelection()) moveCursor(QTextCursor::Start);
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
