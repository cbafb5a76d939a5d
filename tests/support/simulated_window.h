#pragma once
// The tool's window on its real sockets against one quendra-hostsim, both on
// loopback (only ever inside a private network namespace), with a recording
// notifier.
#include <QTest>

#include "app/device_list.h"
#include "app/main_dialog.h"
#include "support/test_support.h"
#include "support/widget_lookup.h"

namespace quendra::test {

struct SimulatedWindow {
  static constexpr int kReplyWaitMs = 10000;

  HostSim sim;
  RecordingNotifier notifier;
  MainDialog dialog{notifier, [] { return std::vector<std::uint32_t>{0x7F000001}; }};

  explicit SimulatedWindow(const QStringList& simArguments = {}) : sim(simArguments) { dialog.show(); }

  // Searches, selects the first host found and waits for its network answer
  // (selecting clears the information area; the answer appends its line).
  bool searchAndSelect() {
    if (!sim.started()) return false;
    dialog.search();
    if (!QTest::qWaitFor([&] { return dialog.deviceList()->rowCount() > 0; }, kReplyWaitMs)) return false;
    dialog.deviceList()->selectRow(0);
    dialog.selectDevice();
    return QTest::qWaitFor(
        [&] { return dialog.infoLog().text().contains(QStringLiteral("读取网络参数成功！")); }, kReplyWaitMs);
  }
};

}  // namespace quendra::test
