#pragma once
// The tool's window on loopback (only ever inside a private network
// namespace) with a recording notifier, alone or against one quendra-hostsim.
#include <QTest>
#include <vector>

#include "app/device_list.h"
#include "app/main_dialog.h"
#include "link/outer_frame.h"
#include "link/tunnel_frame.h"
#include "support/test_support.h"
#include "support/widget_lookup.h"

namespace quendra::test {

// The line the simulator logs for a tunnel request to `mac` (lower-case hex).
inline QString requestHex(const Mac& mac, std::uint8_t command, const Bytes& payload) {
  const Bytes d = OuterFrame::buildTunnelRequest(mac, TunnelFrame::buildRequest(command, payload));
  return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(d.data()), qsizetype(d.size())).toHex());
}

// The only local address the window is told of: 127.0.0.1.
inline std::vector<std::uint32_t> loopbackOnly() { return {0x7F000001}; }

// The window shown and exposed, no simulator.
struct ShownWindow {
  RecordingNotifier notifier;
  MainDialog dialog{notifier, loopbackOnly};

  ShownWindow() {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) qFatal("window not exposed");
  }
};

// The simulator started first, then the window shown.
struct SimulatedWindow {
  static constexpr int kReplyWaitMs = 10000;

  HostSim sim;
  RecordingNotifier notifier;
  MainDialog dialog{notifier, loopbackOnly};

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
