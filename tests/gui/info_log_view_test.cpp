// The information area is refreshed after every datagram, mostly with the
// text it already shows or with one line more (a search answered by 1000
// hosts refreshes it 2000 times). Such a refresh must not rebuild the
// document, yet leave what a full one leaves: the log's text, the view at the
// top, the cursor at the start, nothing to undo, and anything the operator
// typed replaced.
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "app/info_log_view.h"

using namespace quendra;

namespace {

QString logOf(int lines) {
  QString text;
  for (int i = 0; i < lines; ++i) text += QStringLiteral("搜索到设备\r\n");
  return text;
}

}  // namespace

class InfoLogViewTest : public QObject {
  Q_OBJECT
 private slots:
  void refreshWithTheShownTextKeepsTheDocument() {
    InfoLogView view;
    view.resize(300, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.showLog(logOf(200));
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.moveCursor(QTextCursor::End);
    QVERIFY(view.verticalScrollBar()->value() > 0);

    int changes = 0;
    connect(view.document(), &QTextDocument::contentsChange, [&] { ++changes; });
    view.showLog(logOf(200));
    QCOMPARE(changes, 0);
    QCOMPARE(view.verticalScrollBar()->value(), 0);
    QCOMPARE(view.textCursor().position(), 0);
    QCOMPARE(view.toPlainText(), logOf(200).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

  }

  void refreshWithOneMoreLineAddsOnlyThatLine() {
    InfoLogView view;
    view.resize(300, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.showLog(logOf(200));
    const int shownLength = int(view.toPlainText().size());
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());

    QList<int> changedAt;
    connect(view.document(), &QTextDocument::contentsChange, [&](int position, int, int) { changedAt << position; });
    view.showLog(logOf(201));
    QCOMPARE(changedAt, QList<int>{shownLength});
    QCOMPARE(view.toPlainText(), logOf(201).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(view.document()->blockCount(), 202);  // 201 lines and the empty last block
    QCOMPARE(view.verticalScrollBar()->value(), 0);
    QCOMPARE(view.textCursor().position(), 0);
    QVERIFY(!view.document()->isUndoAvailable());

    view.showLog(QStringLiteral("搜索...\r\n"));  // another text: replaced whole
    QCOMPARE(view.toPlainText(), QStringLiteral("搜索...\n"));
  }

  void refreshAfterTypingRestoresTheLog() {
    InfoLogView view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.showLog(logOf(3));
    view.moveCursor(QTextCursor::End);
    QTest::keyClicks(&view, QStringLiteral("ok"));
    QVERIFY(view.toPlainText().endsWith(QStringLiteral("OK")));
    view.showLog(logOf(3));
    QCOMPARE(view.toPlainText(), logOf(3).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  }
};

QTEST_MAIN(InfoLogViewTest)
#include "info_log_view_test.moc"
