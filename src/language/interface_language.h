#pragma once
// The language of every front end: the window, the command line and the
// reports either makes. The texts in the sources are Chinese, as on the hosts,
// and stay the default; an operator whose desktop speaks English gets the
// English translation (translations/quendra_en.ts, built into this library as
// :/i18n/quendra_en.qm). The toolkit's own texts (message box buttons, the
// file dialog, the context menu of text fields) are English in Qt itself: the
// Chinese window takes their Chinese from Qt's translations (Debian:
// qt6-translations-l10n).
#include <QStringList>

class QCoreApplication;
class QTranslator;

namespace quendra {

// True when the first of the operator's UI languages (QLocale::uiLanguages:
// LANGUAGE, else LC_ALL, LC_MESSAGES or LANG) is English. Chinese, C/POSIX,
// no setting and every other language keep the Chinese texts.
bool prefersEnglish(const QStringList& uiLanguages);

// Loads the English translation into `translator` without installing it (to
// give a text in both languages); false when it could not be loaded.
bool loadEnglish(QTranslator& translator);

// Installs the English translation for every window built afterwards;
// false when it could not be loaded.
bool installEnglish(QCoreApplication& app);

// Installs the toolkit's Chinese texts (qtbase_zh_CN.qm from
// QLibraryInfo::TranslationsPath); false when it could not be loaded.
bool installToolkitChinese(QCoreApplication& app);

// English or the toolkit's Chinese, as prefersEnglish(uiLanguages) chooses;
// false when the chosen translation could not be loaded.
bool installInterfaceLanguage(QCoreApplication& app, const QStringList& uiLanguages);

}  // namespace quendra
