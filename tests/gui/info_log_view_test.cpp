// The information area is refreshed after every datagram, mostly with nothing
// new or with one line more (a search answered by 10 000 hosts refreshes it
// 20 000 times). Such a refresh must add only what is new, yet leave what a
// full one leaves: the log's text, the view at the top, the cursor at the
// start, nothing to undo; after a clear, or after the operator typed, the
// whole content is replaced.
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include "app/info_log_view.h"
#include "pages/info_log.h"

using namespace quendra;

namespace {

const QString kLine = QStringLiteral("搜索到设备\r\n");

struct ShownLog {
  InfoLog log;
  InfoLogView view;
  QList<int> changedAt;  // the document's change positions

  explicit ShownLog(int lines) {
    QObject::connect(&log, &InfoLog::refreshed, &view, &InfoLogView::showLog);
    view.resize(300, 120);
    view.show();
    for (int i = 0; i < lines; ++i) log.append(kLine);
    log.refresh();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.moveCursor(QTextCursor::End);
    QObject::connect(view.document(), &QTextDocument::contentsChange, [this](int at, int, int) { changedAt << at; });
  }
  bool showsLogAtTop() const {
    return view.toPlainText() == QString(log.text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) &&
           view.verticalScrollBar()->value() == 0 && view.textCursor().position() == 0 &&
           !view.document()->isUndoAvailable();
  }
};

}  // namespace

class InfoLogViewTest : public QObject {
  Q_OBJECT
 private slots:
  void refreshesChangeOnlyWhatIsNew() {
    ShownLog s(200);
    QVERIFY(QTest::qWaitForWindowExposed(&s.view));
    const int shownLength = int(s.view.toPlainText().size());
    QVERIFY(s.view.verticalScrollBar()->value() > 0);

    s.log.refresh();  // nothing new: the document stays
    QCOMPARE(s.changedAt, QList<int>{});
    QVERIFY(s.showsLogAtTop());

    s.log.append(kLine);
    s.log.refresh();  // one line more: only that line is added
    QCOMPARE(s.changedAt, QList<int>{shownLength});
    QCOMPARE(s.view.document()->blockCount(), 202);  // 201 lines and the empty last block
    QVERIFY(s.showsLogAtTop());

    s.log.clear();
    s.log.append(kLine);
    s.log.refresh();  // after a clear: replaced whole, even by text it began with
    QVERIFY(s.changedAt.size() > 1 && s.changedAt.last() == 0);
    QVERIFY(s.showsLogAtTop());
  }

  void refreshAfterTypingRestoresTheLog() {
    ShownLog s(3);
    QTest::keyClicks(&s.view, QStringLiteral("ok"));
    QVERIFY(s.view.toPlainText().endsWith(QStringLiteral("OK")));
    s.log.refresh();
    QVERIFY(s.showsLogAtTop());
    s.log.append(kLine);
    s.view.moveCursor(QTextCursor::End);
    QTest::keyClick(&s.view, Qt::Key_Backspace);  // also typing that keeps the length
    QTest::keyClicks(&s.view, QStringLiteral("x"));
    s.log.refresh();
    QVERIFY(s.showsLogAtTop());
  }
};

QTEST_MAIN(InfoLogViewTest)
#include "info_log_view_test.moc"
