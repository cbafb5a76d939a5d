// The English interface. Installed, it leaves no Chinese in anything the
// window shows or says: labels, buttons, titles, list items, headers,
// accessible names, the information area, the wait box, message boxes, the
// traffic view and the names of fields and records (host names are data and
// stay as they came). Without it the window is the Chinese one, and removing
// it brings every Chinese text back.
#include <QAbstractItemView>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>

#include "app/about_box.h"
#include "app/config_words.h"
#include "app/interface_language.h"
#include "app/meaning_text.h"
#include "app/wait_dialog.h"
#include "config/field_labels.h"
#include "link/tunnel_frame.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

// The texts holding a Chinese character, joined for a failure message.
QString withCjk(const QStringList& texts) {
  return texts.filter(QRegularExpression(QStringLiteral("[\\x{2E80}-\\x{9FFF}\\x{F900}-\\x{FAFF}\\x{FF00}-\\x{FFEF}]")))
      .join(QStringLiteral(" | "));
}

// What `root` and its descendants show an operator or a screen reader.
QStringList shownTexts(QWidget* root) {
  QStringList texts{root->windowTitle()};
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  for (QWidget* w : widgets << root) {
    texts << w->accessibleName() << w->toolTip();
    if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w)) texts << e->text() << e->placeholderText();
    if (auto* e = qobject_cast<QPlainTextEdit*>(w)) texts << e->toPlainText();
    if (auto* c = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
    if (auto* t = qobject_cast<QTabWidget*>(w))
      for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
    if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
      for (int c = 0; c < v->model()->columnCount(); ++c) texts << v->model()->headerData(c, Qt::Horizontal).toString();
  }
  return texts;
}

QStringList windowTexts() {
  FleetWindow w;
  w.dialog.showTraffic();
  AboutBox about(&w.dialog);
  return shownTexts(&w.dialog) + shownTexts(&about);
}

void removeTranslations() {
  for (QTranslator* t : qApp->findChildren<QTranslator*>()) delete t;  // uninstalls itself
}

}  // namespace

class EnglishWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void englishOnlyWhenTheFirstUiLanguageIsEnglish_data() {
    QTest::addColumn<QStringList>("uiLanguages");  // as QLocale::system() lists them
    QTest::addColumn<bool>("english");
    QTest::newRow("LANG=en_US.UTF-8") << QStringList{"en-US", "en-Latn-US", "en"} << true;
    QTest::newRow("LANGUAGE=en") << QStringList{"en", "en-Latn-US", "en-US"} << true;
    QTest::newRow("LC_ALL=en_GB.UTF-8") << QStringList{"en-GB", "en-Latn-GB"} << true;
    QTest::newRow("LANG=zh_CN.UTF-8") << QStringList{"zh-CN", "zh-Hans-CN", "zh"} << false;
    QTest::newRow("LANGUAGE=zh_CN:en") << QStringList{"zh-CN", "zh-Hans-CN", "zh", "en", "en-Latn-US", "en-US"} << false;
    QTest::newRow("LANG=C, POSIX or unset") << QStringList{"C"} << false;
    QTest::newRow("LANG=de_DE.UTF-8") << QStringList{"de-DE", "de-Latn-DE", "de"} << false;
  }
  void englishOnlyWhenTheFirstUiLanguageIsEnglish() {
    QFETCH(QStringList, uiLanguages);
    QTEST(prefersEnglish(uiLanguages), "english");
  }

  void everyShownTextIsEnglishAndChineseComesBack() {
    const QStringList chinese = windowTexts();
    QVERIFY(chinese.contains(QStringLiteral("网口参数 ")));
    QVERIFY(installEnglish(*qApp));
    const QStringList english = windowTexts();
    QVERIFY2(withCjk(english).isEmpty(), qPrintable(withCjk(english)));
    QVERIFY(english.contains(QStringLiteral("Search")));
    removeTranslations();
    QCOMPARE(windowTexts(), chinese);
  }

  // The words of operations: the information area, the wait box and message boxes.
  void operationsSpeakEnglish() {
    QVERIFY(installEnglish(*qApp));
    FleetWindow w;
    const auto said = [&] {
      QStringList texts{w.dialog.infoLog().text(), w.dialog.waitDialog()->text()};
      for (const auto& n : w.notifier.notices) texts << n.title << n.text;
      return withCjk(texts);
    };
    w.pressAndSettle(MainDialog::BaseTab, QStringLiteral("Read base parameters"));  // before a host: refused
    QVERIFY(w.searchAndSelect());
    QVERIFY2(said().isEmpty(), qPrintable(said()));
    const std::pair<MainDialog::Tab, const char*> presses[] = {
        {MainDialog::BaseTab, "Read base parameters"}, {MainDialog::ChannelTab, "Read channels"},
        {MainDialog::RelayTab, "Write parameters"},    {MainDialog::LedTab, "Write LED parameters"},
        {MainDialog::NetworkTab, "Write MAC"}};
    for (const auto& [tab, button] : presses) {
      w.pressAndSettle(tab, QString::fromUtf8(button));
      QVERIFY2(said().isEmpty(), qPrintable(said()));
    }
    QCOMPARE(w.notifier.notices.size(), 3);  // the refused read and the two writes before a read
    QVERIFY(w.dialog.waitDialog()->text().startsWith(QStringLiteral("---Channels read")));
    removeTranslations();
  }

  // Words made outside the widgets: names of groups, records and fields, file
  // errors, what a datagram means.
  void wordsOutsideTheWidgetsSpeakEnglish() {
    QVERIFY(installEnglish(*qApp));
    const Mac mac{2, 0x4B, 0x7D, 0, 0, 1};
    const Bytes datagrams[] = {OuterFrame::buildReadNetworkRequest(mac),
                               OuterFrame::buildTunnelRequest(mac, TunnelFrame::buildRequest(7, {})), Bytes{0xAA}};
    QStringList words{fileErrorText({QStringLiteral("a.json"), QStringLiteral("channels[0]"),
                                     ConfigFileError::Problem::WrongLength, 64, 2})};
    for (const Bytes& d : datagrams) words << meaningText(describeDatagram(d, Direction::Sent));
    RecordMasks some{};
    for (ParamGroup g : kAllGroups) {
      words << groupLabel(g) << recordLabel(g, 0);
      for (const RecordField& f : fieldsOf(g)) words << fieldLabel(g, f.key);
      some[static_cast<int>(g)] = 3;
    }
    words << recordNames(some);
    QVERIFY2(withCjk(words).isEmpty(), qPrintable(withCjk(words)));
    removeTranslations();
  }
};

QTEST_MAIN(EnglishWindowTest)
#include "english_window_test.moc"
