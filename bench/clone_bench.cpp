// Copying a whole configuration (every group but the network settings: 75
// records) to many hosts at once, as `quendra-cli clone` does: read, compare,
// write what differs, read back. Against quendra-hostsim with 100 hosts over
// UDP on loopback it times a clone to one host, to all 100 in parallel, and to
// all 100 one after the other, and prints the ratios (the aim: 100 in
// parallel under 3 times one).
//
// A host's embedded stack takes a few milliseconds per answer; --delay gives
// the simulated hosts such a time (the simulator's own is none), so that the
// benchmark measures what a clone waits for as well as what it computes.
//
// Opens UDP port 1901: run it only inside a private network namespace
// (scripts/bench-clone does that).
//
//   clone_bench [--hosts N] [--delay MS] [--sim PATH]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>

#include "bench_support.h"
#include "session/config_job.h"
#include "session/reply_router.h"
#include "session/udp_transport.h"

using namespace quendra;
using namespace quendra::bench;

namespace {

Mac hostMac(int i) {
  const auto n = static_cast<std::uint32_t>(i + 1);
  return Mac{0x02, 0x4B, 0x7D, std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)};
}

// Every record of every group but the network settings, made to differ from
// what any host holds: `mark` goes into a field of each record.
HostConfig configMarked(const HostConfig& read, std::uint16_t mark) {
  HostConfig c = read;
  c.base.normalRecordInterval = mark;
  c.gprs.loginInterval = mark;
  c.led.refreshInterval = mark;
  for (auto& ch : c.channels) ch.alarmDelay = mark;
  for (auto& m : c.modbus) m.registerCount = mark;
  for (auto& r : c.relays) r.startDuration = mark;
  return c;
}

RecordMasks allButNetwork() {
  RecordMasks m = allRecordMasks();
  m[static_cast<int>(ParamGroup::Network)] = 0;
  return m;
}

struct Bench {
  UdpTransport link;
  ReplyRouter router{link};

  // Milliseconds to clone `config` to the hosts, `parallel` at once or one
  // after the other; -1 when a host did not verify.
  double clone(const std::vector<int>& hosts, const HostConfig& config, bool parallel) {
    std::vector<std::unique_ptr<HostSession>> sessions;
    std::vector<std::unique_ptr<ConfigJob>> jobs;
    int done = 0;
    bool allVerified = true;
    QElapsedTimer clock;
    clock.start();
    const auto start = [&](int i) {
      sessions.push_back(std::make_unique<HostSession>(router));
      sessions.back()->setTarget(hostMac(i));
      jobs.push_back(std::make_unique<ConfigJob>(*sessions.back()));
      QObject::connect(jobs.back().get(), &ConfigJob::finished, [&](const ConfigJobResult& r) {
        ++done;
        allVerified = allVerified && r.outcome == Outcome::Done;
      });
      jobs.back()->start([&config](const HostConfig&) { return config; }, allButNetwork());
    };
    for (std::size_t n = 0; n < hosts.size(); ++n) {
      start(hosts[n]);
      if (!parallel) runUntil([&] { return done == static_cast<int>(n) + 1; }, 120000);
    }
    runUntil([&] { return done == static_cast<int>(hosts.size()); }, 600000);
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    return done == static_cast<int>(hosts.size()) && allVerified ? ms : -1;
  }

  // Host 1's configuration as read.
  std::optional<HostConfig> readFirst() {
    HostSession session(router);
    session.setTarget(hostMac(0));
    ConfigJob job(session);
    bool done = false;
    QObject::connect(&job, &ConfigJob::finished, [&] { done = true; });
    ConfigJobOptions readOnly;
    readOnly.dryRun = true;
    job.start([](const HostConfig& c) { return c; }, allRecordMasks(), readOnly);
    if (!runUntil([&] { return done; }, 60000) || !session.config().groupKnown(ParamGroup::Relay)) return std::nullopt;
    return session.config();
  }
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int count = option(args, QStringLiteral("--hosts"), QStringLiteral("100")).toInt();
  const QString simPath = option(args, QStringLiteral("--sim"), QStringLiteral(QUENDRA_HOSTSIM_PATH));
  const QString delay = option(args, QStringLiteral("--delay"), QStringLiteral("0"));
  Simulator sim(simPath, {QStringLiteral("--hosts"), QString::number(count), QStringLiteral("--delay"), delay});
  if (!sim.started()) {
    std::fprintf(stderr, "clone_bench: quendra-hostsim did not start (%s)\n", qPrintable(simPath));
    return 1;
  }
  Bench bench;
  bench.link.setAddressProvider([] { return std::vector<std::uint32_t>{0x7F000001}; });
  bench.link.openLink();
  bench.link.refreshInterfaces();
  const auto read = bench.readFirst();
  if (!read) {
    std::fprintf(stderr, "clone_bench: host 1 could not be read\n");
    return 1;
  }
  std::vector<int> all(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) all[static_cast<std::size_t>(i)] = i;

  const double one = bench.clone({0}, configMarked(*read, 1), true);
  const double parallel = bench.clone(all, configMarked(*read, 2), true);
  const double sequential = bench.clone(all, configMarked(*read, 3), false);
  const long rssKb = statusKb("VmHWM");
  if (one < 0 || parallel < 0 || sequential < 0) {
    std::fprintf(stderr, "clone_bench: a host did not verify\n");
    return 1;
  }
  std::printf("Clone of 75 records (all groups but the network settings) against quendra-hostsim, %d hosts,\n"
              "answers after %s ms\n", count, qPrintable(delay));
  std::printf("  one host                   %9.1f ms\n", one);
  std::printf("  %3d hosts in parallel      %9.1f ms   %.2f x one host (aim: under 3)\n", count, parallel, parallel / one);
  std::printf("  %3d hosts one after other  %9.1f ms   %.1f x the parallel clone\n", count, sequential, sequential / parallel);
  std::printf("  peak memory (RSS)          %9.1f MB\n", static_cast<double>(rssKb) / 1024);
  return 0;
}
