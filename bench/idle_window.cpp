// The window as quendra-config opens it, but on a chosen tab, for the idle
// cost benchmark (scripts/bench-idle measures this process from outside; the
// tool itself has no command line to pick a tab). Runs until terminated.
//
// Binds UDP port 1901: run it only inside a private network namespace.
//
//   idle_window [--tab network|channel]
#include <QTabWidget>

#include "app/config_app.h"
#include "app/main_dialog.h"
#include "app/qt_message_notifier.h"
#include "bench_support.h"

using namespace quendra;

int main(int argc, char** argv) {
  ConfigApp app(argc, argv);
  const QString tab = bench::option(app.arguments(), QStringLiteral("--tab"), QStringLiteral("network"));
  QtMessageNotifier notifier;
  MainDialog window(notifier);
  notifier.setParentWindow(&window);
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("parameterTabs"));
  tabs->setCurrentIndex(tab == QStringLiteral("channel") ? MainDialog::ChannelTab : MainDialog::NetworkTab);
  window.show();
  return app.exec();
}
