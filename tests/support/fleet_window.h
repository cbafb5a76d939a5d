#pragma once
// The tool's window on simulated hosts in process: no sockets, no root. The hosts' records can be seeded and their
// faults set per host before a test reads them through the window.
#include <QTemporaryDir>
#include <QTest>

#include "app/device_list.h"
#include "app/file_chooser.h"
#include "app/job_progress.h"
#include "app/main_dialog.h"
#include "support/fleet_transport.h"
#include "support/widgets.h"

namespace quendra::test {

// The history (and everything else kept under the data folder) of one window in a folder of its own: tests running
// side by side never see each other's entries. Set before the window exists.
struct PrivateDataFolder {
  QTemporaryDir dir;
  PrivateDataFolder() {
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
    qputenv("QUENDRA_LOCK_DIR", QFile::encodeName(dir.filePath(QStringLiteral("locks"))));
  }
};

// Answers the file dialogs with one path, as an operator would.
struct FixedFile : FileChooser {
  QString path;
  QString openFile(QWidget*, const QString&) override { return path; }
  QString saveFile(QWidget*, const QString&, const QString&) override { return path; }
};

struct FleetWindow {
  PrivateDataFolder dataFolder;
  FleetTransport transport;
  RecordingNotifier notifier;
  MainDialog dialog{notifier, transport};
  FixedFile files;  // what the file dialogs answer: host.json in the data folder unless a test names another

  explicit FleetWindow(const sim::SimOptions& options = {}) : transport(options) {
    files.path = dataFolder.dir.filePath(QStringLiteral("host.json"));
    dialog.setFileChooser(files);
    dialog.show();
  }
  explicit FleetWindow(int hosts) : FleetWindow(sim::SimOptions{.hosts = hosts}) {}
  // Waits this short for a host that does not answer.
  void quickTimeouts() {
    SessionPolicy p = dialog.session().policy();
    for (ParamGroup g : kAllGroups)
      for (AttemptPolicy* r : {&p.readOf(g), &p.writeOf(g)}) r->timeout = std::min(r->timeout, std::chrono::milliseconds(20));
    dialog.session().setPolicy(p);
  }

  sim::SimHost& host(int i = 0) { return transport.fleet().hosts()[i]; }
  DeviceList* hostList() { return dialog.findChild<DeviceList*>(); }  // the one list, in either language
  QTabWidget* tabs() { return field<QTabWidget>(&dialog, QStringLiteral("parameterTabs")); }
  QWidget* page(MainDialog::Tab tab) { return tabs()->widget(tab); }
  QString log() { return dialog.infoLog().text(); }

  // Searches, selects the row of host `i` and waits for its network answer.
  bool searchAndSelect(int i = 0) {
    dialog.search();
    DeviceList* list = hostList();
    const int rows = static_cast<int>(transport.fleetHosts().size());
    if (!QTest::qWaitFor([&] { return list->rowCount() == rows; }, 5000)) return false;
    list->setCurrentIndex(list->model()->index(rows - 1 - i, 0));  // the newest answer is on top
    dialog.selectDevice();
    return QTest::qWaitFor([&] { return dialog.session().flags().networkRead && dialog.session().idle(); }, 5000);
  }
  // Waits until nothing is in hand: the session idle and no whole-host job left (its progress box goes with it).
  bool settled() {
    return QTest::qWaitFor([&] { return dialog.session().idle() && dialog.findChildren<JobProgress*>().isEmpty(); }, 20000);
  }
  // Presses a button of the tab and lets every reply it brings arrive.
  void pressAndSettle(MainDialog::Tab tab, const QString& button) {
    tabs()->setCurrentIndex(tab);
    buttonByText(page(tab), button)->click();
    QVERIFY(settled());
  }
  // The tunnel write commands sent since the last clear, in order.
  QList<int> writeCommands() const {
    QList<int> out;
    for (int c : transport.tunnelCommands())
      if (c && classifyTunnelCommand(static_cast<std::uint8_t>(c))->isWrite) out << c;
    return out;
  }
  // The last request sent with this outer command (and tunnel command, when given).
  SentRequest lastRequest(int outer, int tunnel = 0) const {
    const QList<Bytes>& r = transport.requests();
    for (auto it = r.rbegin(); it != r.rend(); ++it)
      if (const SentRequest s = readSent(*it); s.command == outer && (!tunnel || s.tunnelCommand == tunnel)) return s;
    return {};
  }
};

}  // namespace quendra::test
