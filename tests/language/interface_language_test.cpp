// Which desktops get the English interface: only one whose first UI language is English.
#include <QTest>

#include "language/interface_language.h"

class InterfaceLanguageTest : public QObject {
  Q_OBJECT
 private slots:
  void englishOnlyWhenTheFirstUiLanguageIsEnglish() {
    using quendra::prefersEnglish;
    QVERIFY(prefersEnglish({"en-US", "en-Latn-US", "en"}) && prefersEnglish({"en-GB"}));
    QVERIFY(!prefersEnglish({"zh-CN", "zh", "en", "en-US"}));  // LANGUAGE=zh_CN:en
    QVERIFY(!prefersEnglish({"C"}) && !prefersEnglish({"de-DE", "de"}) && !prefersEnglish({}));
  }
};

QTEST_GUILESS_MAIN(InterfaceLanguageTest)
#include "interface_language_test.moc"
