// Arbitrary inputs into the whole window: datagrams through MainDialog's
// dispatcher into every page codec and apply operation, mixed with flags,
// tabs, button presses and edits. The input format is WindowDriver's.
#include <QApplication>
#include <cstddef>
#include <cstdint>

#include "window_driver.h"

namespace {
quendra::fuzz::WindowDriver* driver = nullptr;
}

// Fontconfig keeps its font cache in memory that LeakSanitizer cannot reach
// from its roots; every leak check would report it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt keeps references to argc and argv; the fuzzer's own options stay out.
  static int argc = 1;
  static char name[] = "fuzz_window_replies";
  static char* argv[] = {name, nullptr};
  // Qt's warnings (the offscreen platform's on every show) only slow it down.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  new QApplication(argc, argv);
  driver = new quendra::fuzz::WindowDriver;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  driver->play(data, size);
  return 0;
}
