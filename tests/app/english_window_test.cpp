// The English interface in use (english_translation_complete checks that every text has its English): installed, no
// Chinese is left in what the window and its dialogs show, what operations say, datagram meanings and the names of
// fields and records; removed, the Chinese window comes back.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>

#include "app/about_box.h"
#include "app/config_words.h"
#include "language/interface_language.h"
#include "app/meaning_text.h"
#include "app/wait_dialog.h"
#include "fields/field_labels.h"
#include "session/traffic_log.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

// The texts holding a Chinese character, for a failure message.
QString withCjk(const QStringList& texts) {
  return texts.filter(QRegularExpression(QStringLiteral("[\\x{2E80}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"))).join(" | ");
}

// What the window, its traffic view and the About box show an operator or a screen reader.
QStringList windowTexts() {
  FleetWindow f;
  f.dialog.showTraffic();
  AboutBox about(&f.dialog);
  QStringList texts;
  const QList<QWidget*> widgets = f.dialog.findChildren<QWidget*>() + about.findChildren<QWidget*>();
  for (QWidget* w : widgets + QList<QWidget*>{&f.dialog, &about}) {
    for (const char* p : {"windowTitle", "accessibleName", "text", "title", "plainText"}) texts << w->property(p).toString();
    if (auto* c = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
    if (auto* t = qobject_cast<QTabWidget*>(w))
      for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
    if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
      for (int c = 0; c < v->model()->columnCount(); ++c) texts << v->model()->headerData(c, Qt::Horizontal).toString();
  }
  return texts;
}

}  // namespace

class EnglishWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void windowSpeaksEnglishAndChineseComesBack() {
    const QStringList chinese = windowTexts();
    QVERIFY(chinese.contains(QStringLiteral("网口参数 ")));
    QVERIFY(installEnglish(*qApp));
    const QStringList english = windowTexts();
    QVERIFY2(withCjk(english).isEmpty(), qPrintable(withCjk(english)));
    QVERIFY(english.contains("Search") && english.contains("Traffic") && english.contains("About Quendra Configuration"));

    FleetWindow w;  // what operations say in the information area, the wait box and message boxes
    QStringList said;
    QObject::connect(&w.dialog.infoLog(), &InfoLog::refreshed, [&](const QString& text) { said << text; });
    w.pressAndSettle(MainDialog::BaseTab, QStringLiteral("Read base parameters"));  // before a host: refused
    QVERIFY(w.searchAndSelect());
    w.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("Read channels"));
    QVERIFY(w.dialog.findChild<WaitDialog*>()->findChild<QLabel*>()->text().startsWith(QStringLiteral("---Channels read")));
    w.pressAndSettle(MainDialog::RelayTab, QStringLiteral("Write parameters"));  // before a read: refused
    for (const auto& n : w.notifier.notices) said << n.title << n.text;
    QCOMPARE(w.notifier.notices.size(), 2);
    w.transport.deliverNow(Bytes{0xAA});
    for (const TrafficEntry& e : w.dialog.trafficLog().entries())
      said << meaningText(describeDatagram(e.datagram.view(), e.direction));
    said << groupLabel(ParamGroup::Relay) << fieldLabel(ParamGroup::Channel, "dataSource")
         << recordNames({1, 0, 0, 0, 3, 0, 0}) << fileErrorText({"a.json", "channels[0]", ConfigFileError::Problem::WrongLength, 64, 2});
    said.replaceInStrings(QStringLiteral("模拟主机"), QString());  // host names are data, shown as they came
    QVERIFY2(withCjk(said).isEmpty(), qPrintable(withCjk(said)));

    for (QTranslator* t : qApp->findChildren<QTranslator*>()) delete t;  // uninstalls itself
    QCOMPARE(windowTexts(), chinese);
  }
};

QTEST_MAIN(EnglishWindowTest)
#include "english_window_test.moc"
