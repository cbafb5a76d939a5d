#include "app/config_app.h"

#include <QFont>
#include <QLocale>

#include "app/app_icon.h"
#include "language/interface_language.h"
#include "app/main_dialog.h"
#include "app/qt_message_notifier.h"

namespace quendra {

ConfigApp::ConfigApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("quendra-config"));
  setApplicationVersion(QStringLiteral(QUENDRA_VERSION));
  // Wayland compositors find the icon through the desktop entry of this name.
  setDesktopFileName(QStringLiteral("io.quendra.config"));
  installInterfaceLanguage(*this, QLocale::system().uiLanguages());
  setUpLook(*this);
}

void ConfigApp::setUpLook(QApplication& app) {
  // The texts are Chinese: take a family that has the glyphs, whichever the
  // system has (Linux: WenQuanYi or Noto CJK; Windows: SimSun).
  QFont font(app.font());
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("SimSun"), QStringLiteral("Microsoft YaHei")});
  font.setPointSize(9);
  app.setFont(font);
  app.setWindowIcon(appIcon());
}

int ConfigApp::run() {
  QtMessageNotifier notifier;
  MainDialog window(notifier);
  notifier.setParentWindow(&window);
  window.show();
  return exec();
}

}  // namespace quendra
