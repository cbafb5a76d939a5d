// Hosts whose name and texts anyone on the LAN chose, as the window shows them: the message boxes, the history
// dialog and the fleet table's tooltips show them as plain text. A widget guessing rich text would load the image a
// host names (/dev/zero: the window freezes while its memory grows); the test's time limit catches that.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>
#include <QTimer>

#include "app/fleet_table_model.h"
#include "app/history_dialog.h"
#include "app/qt_message_notifier.h"
#include "support/fleet_window.h"
#include "support/hostile_texts.h"

using namespace quendra;
using namespace quendra::test;

namespace {

// What a widget that guesses rich text from its text (a label, a tooltip) shows of it.
QString shownByGuess(const QString& text) {
  if (!Qt::mightBeRichText(text)) return text;
  QTextDocument document;  // parsed, never laid out: no image is loaded
  document.setHtml(text);
  return document.toPlainText();
}

QString shown(const QLabel* label) {
  return label->textFormat() == Qt::PlainText ? label->text() : shownByGuess(label->text());
}

}  // namespace

class HostileTextWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void hostTextsShowAsPlainText_data() {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < hostileTexts().size(); ++i) QTest::newRow(hostileTexts()[i].what) << int(i);
  }
  void hostTextsShowAsPlainText() {
    QFETCH(int, row);
    const HostileText& h = hostileTexts()[std::size_t(row)];

    // A message box quoting a host's value (as the fleet table's notices do).
    QtMessageNotifier notifier;
    QString boxShows;
    QTimer::singleShot(0, [&] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
          boxShows = shown(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
          box->accept();
        }
    });
    notifier.notify(QStringLiteral("提示"), h.text(), NoticeIcon::Exclamation);
    QCOMPARE(boxShows, h.text());

    const auto gbk = h.gbk();
    if (!gbk) return;  // GBK cannot hold it: no host sends it

    // The fleet table's tooltip names the value most hosts hold.
    std::vector<HostConfig> configs(3);
    for (HostConfig& c : configs) {
      c.gprs.targetAddress = *gbk;
      c.markKnown(ParamGroup::Gprs);
    }
    configs[2].gprs.targetAddress = "x";
    FleetTableModel fleet(configs, {{0, 0, "a"}, {1, 0, "b"}, {2, 0, "c"}},
                          {fieldColumn(ParamGroup::Gprs, 0, "targetAddress")});
    const QString tip = shownByGuess(fleet.data(fleet.index(2, 0), Qt::ToolTipRole).toString());
    if (h.markup) QVERIFY2(tip.contains(h.text()), qPrintable(tip));

    // The history dialog names the host as its search answer did.
    FleetWindow window(1);
    window.host(0).nameGbk = *gbk;
    QVERIFY(window.searchAndSelect());
    press(&window.dialog, QStringLiteral("历史记录..."));
    const QLabel* heading = openWindow<HistoryDialog>()->findChild<QLabel*>();
    QVERIFY2(shown(heading).contains(h.text()), qPrintable(shown(heading)));
  }
};

QTEST_MAIN(HostileTextWindowTest)
#include "hostile_text_window_test.moc"
