// quendra-screenshots OUTDIR [--select] [--lang en]
// Renders the main window as it opens, with each of its seven tabs, and the
// About box to PNG files in OUTDIR, in Chinese or, with --lang en, in
// English. With --select it first searches, double-clicks the top row and
// waits for the network answer, so the pictures show hosts; run it that way
// only inside a private network namespace with quendra-hostsim
// (scripts/screenshots does). Not installed: a tool for the documentation.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

#include "app/about_box.h"
#include "app/config_app.h"
#include "app/device_list.h"
#include "app/interface_language.h"
#include "pages/info_log.h"
#include "app/main_dialog.h"

namespace {

class PrintingNotifier : public quendra::Notifier {
 public:
  void notify(const QString& title, const QString& text, quendra::NoticeIcon) override {
    std::fprintf(stderr, "message box: %s: %s\n", qPrintable(title), qPrintable(text));
  }
};

// Returns once `done` holds after an InfoLog refresh (every reply ends with
// one), or when `ms` have passed.
bool waitForReplies(quendra::InfoLog& log, const std::function<bool()>& done, int ms) {
  if (done()) return true;
  QEventLoop loop;
  QObject::connect(&log, &quendra::InfoLog::refreshed, &loop, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

void settle() {
  QEventLoop loop;
  QTimer::singleShot(50, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: quendra-screenshots OUTDIR [--select] [--lang en]\n");
    return 2;
  }
  const QDir out(args[1]);
  if (!QDir().mkpath(out.path())) return 1;
  quendra::ConfigApp::setUpLook(app);
  const int lang = static_cast<int>(args.indexOf(QStringLiteral("--lang")));
  if (lang > 0 && args.value(lang + 1) == QStringLiteral("en") && !quendra::installEnglish(app)) return 1;

  PrintingNotifier notifier;
  quendra::MainDialog window(notifier);
  window.show();
  settle();
  // The window as it opens: no host yet, the operating hints in the information area.
  const QString start = out.filePath(QStringLiteral("main-window-start.png"));
  if (!window.grab().save(start)) return 1;
  std::printf("%s\n", qPrintable(start));

  if (args.contains(QStringLiteral("--select"))) {
    window.search();
    if (!waitForReplies(window.infoLog(), [&] { return window.deviceList()->rowCount() >= 3; }, 3000))
      std::fprintf(stderr, "fewer than three hosts answered\n");
    if (window.deviceList()->rowCount() > 0) {
      window.deviceList()->selectRow(0);
      window.selectDevice();
      if (!waitForReplies(window.infoLog(), [&] { return window.flags().networkRead; }, 3000))
        std::fprintf(stderr, "no network answer\n");
    }
  }

  const char* names[] = {"network", "gprs", "base", "channel", "modbus", "relay", "led"};
  for (int i = 0; i < window.tabs()->count(); ++i) {
    window.tabs()->setCurrentIndex(i);
    settle();
    const QString file = out.filePath(QStringLiteral("main-window-%1-%2.png").arg(i).arg(QLatin1String(names[i])));
    if (!window.grab().save(file)) return 1;
    std::printf("%s\n", qPrintable(file));
  }
  window.tabs()->setCurrentIndex(0);

  quendra::AboutBox about(&window);
  about.show();
  settle();
  const QString file = out.filePath(QStringLiteral("about.png"));
  if (!about.grab().save(file)) return 1;
  std::printf("%s\n", qPrintable(file));
  return 0;
}
