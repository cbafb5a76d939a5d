// The window's message boxes: title, text and icon as asked, and at most one
// open box per title and text, so a burst of equal notices (version gate,
// failed sends) cannot stack modal loops.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/qt_message_notifier.h"

using namespace quendra;

namespace {

QList<QMessageBox*> openBoxes() {
  QList<QMessageBox*> boxes;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) boxes << box;
  return boxes;
}

QMessageBox* openBoxWithText(const QString& text) {
  for (QMessageBox* box : openBoxes())
    if (box->text() == text) return box;
  return nullptr;
}

// Runs `step` once the event loop of the box about to open is running.
void whenOpen(std::function<void()> step) { QTimer::singleShot(0, qApp, std::move(step)); }

}  // namespace

class MainWindowNotifierTest : public QObject {
  Q_OBJECT
 private slots:
  void boxShowsTitleTextAndIcon_data() {
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("expected");
    QTest::newRow("question") << int(NoticeIcon::Question) << int(QMessageBox::Question);
    QTest::newRow("exclamation") << int(NoticeIcon::Exclamation) << int(QMessageBox::Warning);
    QTest::newRow("information") << int(NoticeIcon::Information) << int(QMessageBox::Information);
    QTest::newRow("none") << int(NoticeIcon::None) << int(QMessageBox::NoIcon);
  }
  void boxShowsTitleTextAndIcon() {
    QFETCH(int, icon);
    QFETCH(int, expected);
    QtMessageNotifier notifier;
    bool seen = false;
    whenOpen([&] {
      QMessageBox* box = openBoxWithText(QStringLiteral("此版本设备不能使用该软件,请使用其他版本软件"));
      QVERIFY(box);
      seen = true;
      QCOMPARE(box->windowTitle(), QStringLiteral("警告"));
      QCOMPARE(int(box->icon()), expected);
      QCOMPARE(box->buttons().size(), 1);
      box->buttons().first()->click();
    });
    notifier.notify(QStringLiteral("警告"), QStringLiteral("此版本设备不能使用该软件,请使用其他版本软件"),
                    static_cast<NoticeIcon>(icon));
    QVERIFY(seen);
  }

  void equalNoticeWhileOpenIsDropped() {
    QtMessageNotifier notifier;
    int boxesDuringRepeat = -1;
    int boxesDuringOther = -1;
    whenOpen([&] {
      // A second equal notice returns at once and opens nothing.
      notifier.notify(QStringLiteral("Quendra"), QStringLiteral("端口被占用"), NoticeIcon::None);
      boxesDuringRepeat = int(openBoxes().size());
      // Another text is shown on top of the first.
      whenOpen([&] {
        boxesDuringOther = int(openBoxes().size());
        openBoxWithText(QStringLiteral("绑定SOCKET出错"))->accept();
      });
      notifier.notify(QStringLiteral("Quendra"), QStringLiteral("绑定SOCKET出错"), NoticeIcon::None);
      openBoxWithText(QStringLiteral("端口被占用"))->accept();
    });
    notifier.notify(QStringLiteral("Quendra"), QStringLiteral("端口被占用"), NoticeIcon::None);
    QCOMPARE(boxesDuringRepeat, 1);
    QCOMPARE(boxesDuringOther, 2);

    // Once closed, the same notice shows again.
    bool shownAgain = false;
    whenOpen([&] {
      QMessageBox* box = openBoxWithText(QStringLiteral("端口被占用"));
      shownAgain = box != nullptr;
      if (box) box->accept();
    });
    notifier.notify(QStringLiteral("Quendra"), QStringLiteral("端口被占用"), NoticeIcon::None);
    QVERIFY(shownAgain);
  }
};

QTEST_MAIN(MainWindowNotifierTest)
#include "main_window_notifier_test.moc"
