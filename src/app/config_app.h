#pragma once
// The application: the language (English when the desktop speaks it,
// otherwise Chinese), the look every window shares (a font that shows the
// Chinese texts, the window icon) and the run of the main window. The tool
// has no command line; closing the window ends it.
#include <QApplication>

namespace quendra {

class ConfigApp : public QApplication {
  Q_OBJECT
 public:
  ConfigApp(int& argc, char** argv);

  // Shows MainDialog and runs until it is closed.
  int run();

  // The 9-point font with a CJK family first, and the window icon.
  // Tests and the screenshot tool use it on their own QApplication.
  static void setUpLook(QApplication& app);
};

}  // namespace quendra
