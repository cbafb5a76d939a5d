// Discovery at scale: quendra-hostsim simulates 10, 100 and 1000 hosts that
// all answer one search at once. Through the real window (offscreen) it
// presses "搜索" and reports how many hosts DeviceList lists and the time from
// the press to the last row (median and worst of several runs; the target is
// 1000 of 1000 listed under one second), and the resident set size after
// start and after the largest search.
//
// Opens UDP port 1901: run it only inside a private network namespace
// (scripts/bench-discovery does that).
//
//   discovery_bench [--hosts 10,100,1000] [--runs 5] [--sim PATH | --external]
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
  QAbstractItemModel* model = dialog.deviceList()->model();
  const auto added = QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] {
    lastRowNs = clock.nsecsElapsed();
  });
  clock.start();
  dialog.searchButton()->click();
  runUntil(
      [&] {
        const qint64 quietSince = lastRowNs < 0 ? 0 : lastRowNs;
        return dialog.deviceList()->topLevelItemCount() >= hosts || clock.nsecsElapsed() - quietSince > 2000000000;
      },
      30000);
  QObject::disconnect(added);
  result.rows = dialog.deviceList()->topLevelItemCount();
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
  for (const QString& n : option(args, QStringLiteral("--hosts"), QStringLiteral("10,100,1000")).split(QLatin1Char(',')))
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
  std::printf("  %6s  %-22s  %-30s\n", "hosts", "listed (worst / median)", "press to last row, ms (median / worst)");
  int status = 0;
  long rssAfterLargest = -1;
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
    if (hosts == *std::max_element(hostCounts.begin(), hostCounts.end())) rssAfterLargest = statusKb("VmRSS");
    const double worstRows = *std::min_element(rows.begin(), rows.end());
    if (worstRows < hosts) status = 1;
    std::printf("  %6d  %6.0f / %-6.0f of %-5d  %9.1f / %-9.1f\n", hosts, worstRows, median(rows), hosts,
                median(times), *std::max_element(times.begin(), times.end()));
    std::fflush(stdout);
  }
  std::printf("Resident set: %ld kB after start, %ld kB after the %d-host searches (peak %ld kB)\n", rssAtStart,
              rssAfterLargest, *std::max_element(hostCounts.begin(), hostCounts.end()), statusKb("VmHWM"));
  if (notifier.count) status = 1;
  return status;
}
