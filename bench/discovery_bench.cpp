// Discovery at scale: quendra-hostsim simulates 10, 100, 1000 and 10 000
// hosts that all answer one search at once. Through the real window
// (offscreen) it presses "搜索" and reports how many hosts DeviceList lists,
// the time from the press to the last row (median and worst of several runs;
// the target is 10 000 of 10 000 listed under one second) with the time per
// host, and the resident set size after start and after each host count.
//
// Opens UDP port 1901: run it only inside a private network namespace
// (scripts/bench-discovery does that).
//
//   discovery_bench [--hosts 10,100,1000,10000] [--runs 5] [--sim PATH | --external]
//
// --external: no simulator of its own; one already runs, e.g. on the other
// side of a veth pair (give a single host count matching its --hosts):
//   scripts/netns-pair discovery_bench --external --hosts 1000 -- quendra-hostsim --hosts 1000
#include <QAbstractItemModel>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/config_app.h"
#include "app/device_list.h"
#include "app/main_dialog.h"
#include "bench_support.h"

using namespace quendra;
using namespace quendra::bench;

namespace {

struct Search {
  int rows = 0;
  double lastRowMs = -1;  // from the press to the last row
};

// Presses "搜索" and waits until `hosts` rows are listed, or no row came for
// two seconds.
Search searchOnce(MainDialog& dialog, int hosts) {
  Search result;
  QElapsedTimer clock;
  qint64 lastRowNs = -1;
  QAbstractItemModel* model = dialog.findChild<DeviceList*>()->model();
  const auto added = QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] {
    lastRowNs = clock.nsecsElapsed();
  });
  clock.start();
  dialog.search();
  runUntil(
      [&] {
        const qint64 quietSince = lastRowNs < 0 ? 0 : lastRowNs;
        return dialog.findChild<DeviceList*>()->rowCount() >= hosts || clock.nsecsElapsed() - quietSince > 2000000000;
      },
      30000);
  QObject::disconnect(added);
  result.rows = dialog.findChild<DeviceList*>()->rowCount();
  result.lastRowMs = lastRowNs < 0 ? -1 : static_cast<double>(lastRowNs) / 1e6;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ConfigApp::setUpLook(app);
  const QStringList args = app.arguments();
  const QString simPath = option(args, QStringLiteral("--sim"), QStringLiteral(QUENDRA_HOSTSIM_PATH));
  const int runs = std::max(1, option(args, QStringLiteral("--runs"), QStringLiteral("5")).toInt());
  const bool external = args.contains(QStringLiteral("--external"));
  std::vector<int> hostCounts;
  for (const QString& n : option(args, QStringLiteral("--hosts"), QStringLiteral("10,100,1000,10000")).split(QLatin1Char(',')))
    if (n.toInt() > 0) hostCounts.push_back(n.toInt());

  PrintingNotifier notifier;
  MainDialog dialog(notifier);
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) {
    std::fprintf(stderr, "discovery_bench: window not shown\n");
    return 1;
  }
  QTest::qWait(500);  // let start-up work settle
  const long rssAtStart = statusKb("VmRSS");

  std::printf("Discovery through the window, %d runs per host count (one simulator answering every search)\n", runs);
  std::printf("Resident set after start: %ld kB\n", rssAtStart);
  std::printf("  %6s  %-22s  %-39s  %-12s  %s\n", "hosts", "listed (worst / median)",
              "press to last row, ms (median / worst)", "us per host", "resident set after, kB");
  int status = 0;
  for (const int hosts : hostCounts) {
    std::unique_ptr<Simulator> sim;
    if (!external) sim = std::make_unique<Simulator>(simPath, QStringList{QStringLiteral("--hosts"), QString::number(hosts)});
    if (sim && !sim->started()) {
      std::fprintf(stderr, "discovery_bench: quendra-hostsim did not start (%s)\n", qPrintable(simPath));
      return 1;
    }
    std::vector<double> rows, times;
    for (int r = 0; r < runs; ++r) {
      const Search s = searchOnce(dialog, hosts);
      rows.push_back(s.rows);
      times.push_back(s.lastRowMs);
    }
    const double worstRows = *std::min_element(rows.begin(), rows.end());
    if (worstRows < hosts) status = 1;
    std::printf("  %6d  %6.0f / %-6.0f of %-6d  %12.1f / %-24.1f  %-12.1f  %ld\n", hosts, worstRows, median(rows),
                hosts, median(times), *std::max_element(times.begin(), times.end()), median(times) * 1000 / hosts,
                statusKb("VmRSS"));
    std::fflush(stdout);
  }
  std::printf("Resident set peak: %ld kB\n", statusKb("VmHWM"));
  if (notifier.count) status = 1;
  return status;
}
