#include "report/interface_language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace quendra {

bool prefersEnglish(const QStringList& uiLanguages) {
  return !uiLanguages.isEmpty() && QLocale(uiLanguages.first()).language() == QLocale::English;
}

bool installEnglish(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral(":/i18n/quendra_en.qm")) && app.installTranslator(translator)) return true;
  delete translator;
  return false;
}

}  // namespace quendra
