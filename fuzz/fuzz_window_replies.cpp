// Arbitrary inputs into the whole window, in WindowDriver's format: datagrams through MainDialog's dispatcher into
// every page codec and apply operation, mixed with flags, tabs, button presses and edits.
#include <QApplication>

#include "window_driver.h"

static quendra::fuzz::WindowDriver* driver = nullptr;

// Fontconfig keeps its font cache in memory that LeakSanitizer cannot reach from its roots; every leak check would
// report it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt keeps references to argc and argv; the fuzzer's own options stay out.
  static int argc = 1;
  static char name[] = "fuzz_window_replies";
  static char* argv[] = {name, nullptr};
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});  // warnings only slow it
  new QApplication(argc, argv);
  driver = new quendra::fuzz::WindowDriver;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  driver->play(data, size);
  return 0;
}
