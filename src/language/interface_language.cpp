#include "language/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quendra {
namespace {

// translations/quendra_en.ts as lrelease compiled it into this library.
const QString kEnglishFile = QStringLiteral(":/i18n/quendra_en.qm");

bool installTranslation(QCoreApplication& app, const QString& file, const QString& folder = QString()) {
  auto* translator = new QTranslator(&app);
  if (translator->load(file, folder) && app.installTranslator(translator)) return true;
  delete translator;
  return false;
}

}  // namespace

bool prefersEnglish(const QStringList& uiLanguages) {
  return !uiLanguages.isEmpty() && QLocale(uiLanguages.first()).language() == QLocale::English;
}

bool loadEnglish(QTranslator& translator) { return translator.load(kEnglishFile); }

bool installEnglish(QCoreApplication& app) { return installTranslation(app, kEnglishFile); }

bool installToolkitChinese(QCoreApplication& app) {
  return installTranslation(app, QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool installInterfaceLanguage(QCoreApplication& app, const QStringList& uiLanguages) {
  return prefersEnglish(uiLanguages) ? installEnglish(app) : installToolkitChinese(app);
}

}  // namespace quendra
