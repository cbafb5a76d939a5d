// Batches under loss: quendra-hostsim does not hear a share of the requests
// (--drop, 30 % by default), and the window's batch sequencer must get every
// record through its retries (four attempts per record; an attempt waits
// 801 ms for channels, 8010 ms for relays and ModBus slots). Through the real
// window (offscreen) it runs channel read, channel write, relay read and
// ModBus read batches several times and reports, per kind, how many batches
// completed, how many records arrived and the time per batch. One batch of
// each kind against a loss-free simulator comes first, as the reference.
//
// A lost relay or ModBus request costs 8 s, so the ModBus runs dominate:
// about 100 s per ModBus batch, 30 s per relay batch, 10 s per channel batch
// at 30 % loss. The defaults take about five minutes.
//
// Opens UDP port 1901: run it only inside a private network namespace
// (scripts/bench-loss does that).
//
//   loss_bench [--drop 30] [--channel-runs 6] [--write-runs 6] [--relay-runs 3]
//              [--modbus-runs 1] [--sim PATH]
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <bit>
#include <memory>

#include "app/config_app.h"
#include "app/device_list.h"
#include "app/main_dialog.h"
#include "bench_support.h"

using namespace quendra;
using namespace quendra::bench;

namespace {

struct KindRuns {
  BatchKind kind;
  const char* name;
  int records;
  int runs;
};

struct BatchOutcome {
  bool complete = false;
  int answered = 0;
  double ms = 0;
};

// Searches and selects the first host until its network settings arrived
// (requests may be lost, so each step is repeated).
bool selectHost(MainDialog& dialog) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    dialog.searchButton()->click();
    if (!runUntil([&] { return dialog.deviceList()->rowCount() > 0; }, 1000)) continue;
    dialog.deviceList()->selectRow(0);
    dialog.selectDevice();
    if (runUntil([&] { return dialog.flags().networkRead; }, 1000)) return true;
  }
  return false;
}

BatchOutcome runBatch(MainDialog& dialog, BatchKind kind) {
  BatchOutcome o;
  bool finished = false;
  const ParamGroup group = groupOf(kind);
  const auto done = QObject::connect(&dialog.session(), &HostSession::finished, [&](const OperationResult& r) {
    if (r.group != group || (r.operation == Operation::Write) != isWriteKind(kind)) return;
    finished = true;
    o.complete = r.outcome == Outcome::Done;
    o.answered = std::popcount(allRecordsOf(group) & ~r.failedRecords);
  });
  QElapsedTimer clock;
  clock.start();
  dialog.session().flagsForTesting().channelRead = true;  // a write needs its group read; the bench writes as read
  if (isWriteKind(kind) ? dialog.session().write(group) : dialog.session().read(group)) return o;
  runUntil([&] { return finished; }, 10 * 60 * 1000);
  o.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  QObject::disconnect(done);
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ConfigApp::setUpLook(app);
  const QStringList args = app.arguments();
  const QString simPath = option(args, QStringLiteral("--sim"), QStringLiteral(QUENDRA_HOSTSIM_PATH));
  const QString drop = option(args, QStringLiteral("--drop"), QStringLiteral("30"));
  auto runsOf = [&](const char* name, const char* fallback) {
    return std::max(0, option(args, QString::fromLatin1(name), QString::fromLatin1(fallback)).toInt());
  };
  const std::vector<KindRuns> kinds = {
      {BatchKind::ChannelRead, "channel read", 32, runsOf("--channel-runs", "6")},
      {BatchKind::ChannelWrite, "channel write", 32, runsOf("--write-runs", "6")},
      {BatchKind::RelayRead, "relay read", 8, runsOf("--relay-runs", "3")},
      {BatchKind::ModbusRead, "ModBus read", 32, runsOf("--modbus-runs", "1")},
  };

  PrintingNotifier notifier;
  MainDialog dialog(notifier);
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) return 1;

  std::printf("Batches through the window against quendra-hostsim\n");
  std::printf("  %-14s %-8s %-22s %-22s %-24s\n", "kind", "drop", "batches complete", "records arrived",
              "ms per batch (median / mean / worst)");
  int status = 0;
  for (const QString& percent : {QStringLiteral("0"), drop}) {
    auto sim = std::make_unique<Simulator>(simPath, QStringList{QStringLiteral("--drop"), percent});
    if (!sim->started()) {
      std::fprintf(stderr, "loss_bench: quendra-hostsim did not start (%s)\n", qPrintable(simPath));
      return 1;
    }
    if (!selectHost(dialog)) {
      std::fprintf(stderr, "loss_bench: no host could be selected\n");
      return 1;
    }
    const bool reference = percent == QStringLiteral("0");
    for (const KindRuns& k : kinds) {
      const int runs = reference ? std::min(1, k.runs) : k.runs;
      if (runs == 0) continue;
      std::vector<double> ms;
      int complete = 0;
      int records = 0;
      for (int r = 0; r < runs; ++r) {
        const BatchOutcome o = runBatch(dialog, k.kind);
        ms.push_back(o.ms);
        complete += o.complete;
        records += o.answered;
      }
      if (reference && complete != runs) status = 1;
      std::printf("  %-14s %3s %%    %3d of %-3d (%5.1f %%)   %5d of %-5d (%5.1f %%)   %9.1f / %9.1f / %9.1f\n",
                  k.name, qPrintable(percent), complete, runs, 100.0 * complete / runs, records, runs * k.records,
                  100.0 * records / (runs * k.records), median(ms), mean(ms), *std::max_element(ms.begin(), ms.end()));
      std::fflush(stdout);
    }
  }
  if (notifier.count) status = 1;
  return status;
}
