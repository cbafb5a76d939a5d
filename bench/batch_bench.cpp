// How close a channel batch comes to the network's own pace. Against a prompt
// quendra-hostsim it times a full 32-channel read and a full 32-channel write
// through the real UDP transport, reply router and host session, and, over
// the same sockets, the floor: 32 bare request/reply round trips, one after
// the other, with nothing but the reply's command checked. Prints the median
// of several runs and the ratio batch / floor (the aim is below 2).
//
// Opens UDP port 1901: run it only inside a private network namespace
// (scripts/bench-batch does that).
//
//   batch_bench [RUNS] [HOSTSIM_PATH]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "link/tunnel_frame.h"
#include "session/host_session.h"
#include "session/reply_router.h"
#include "session/udp_transport.h"

using namespace quendra;

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;

// Runs the event loop until `done` holds or the time is up.
bool runUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  QTimer wake;  // ends a wait for events when the time is up
  wake.start(timeoutMs);
  while (!done()) {
    if (clock.elapsed() >= timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct Bench {
  UdpTransport link;
  ReplyRouter router{link};
  HostSession session{router};
  bool hostFound = false;
  bool finished = false;
  bool allAnswered = false;

  // Bare mode: only the awaited command of a reply counts.
  bool bare = false;
  int awaited = -1;
  bool gotAwaited = false;

  Bench() {
    link.setAddressProvider([] { return std::vector<std::uint32_t>{kLoopback}; });
    QObject::connect(&link, &UdpTransport::failed, [](TransportFailure f) {
      std::fprintf(stderr, "batch_bench: socket failure %d\n", static_cast<int>(f));
    });
    QObject::connect(&router, &ReplyRouter::searchAnswered, [this](const SearchAnswer& a, std::uint32_t) {
      session.setTarget(a.mac);
      session.flagsForTesting().networkRead = true;
      session.flagsForTesting().channelRead = true;
      hostFound = true;
    });
    QObject::connect(&link, &Transport::received, [this](const Datagram& d) {
      const ByteView b = d.view();
      if (bare && b.size() > 11 && b[0] == OuterFrame::kReplyMarker && b[3] == kTunnel && b[11] == awaited)
        gotAwaited = true;
    });
    QObject::connect(&session, &HostSession::finished, [this](const OperationResult& r) {
      finished = true;
      allAnswered = r.outcome == Outcome::Done;
    });
  }

  void sendTunnel(std::uint8_t command) {
    const auto c = classifyTunnelCommand(command);
    const Bytes payload = c && c->isWrite ? encodeRecord(session.config(), c->group, c->index) : Bytes{};
    link.sendToAll(OuterFrame::buildTunnelRequest(session.target(), TunnelFrame::buildRequest(command, payload)));
  }

  bool findHost() {
    link.openLink();
    link.refreshInterfaces();
    router.sendSearch();
    return runUntil([this] { return hostFound; }, 5000);
  }

  // Milliseconds for 32 request/reply round trips, one at a time; < 0 on a lost reply.
  double floor(bool write) {
    bare = true;
    QElapsedTimer clock;
    clock.start();
    for (int k = 0; k < kChannelCount; ++k) {
      awaited = write ? writeCommandOf(ParamGroup::Channel, k) : readCommandOf(ParamGroup::Channel, k);
      gotAwaited = false;
      sendTunnel(static_cast<std::uint8_t>(awaited));
      if (!runUntil([this] { return gotAwaited; }, 2000)) break;
    }
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    bare = false;
    return gotAwaited ? ms : -1;
  }

  // Milliseconds for a whole batch; < 0 when it did not complete.
  double batchRun(bool write) {
    finished = false;
    QElapsedTimer clock;
    clock.start();
    if ((write ? session.write(ParamGroup::Channel) : session.read(ParamGroup::Channel))) return -1;
    if (!runUntil([this] { return finished; }, 60000) || !allAnswered) return -1;
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const QString simPath = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(QUENDRA_HOSTSIM_PATH);

  QProcess sim;
  sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim.start(simPath, {});
  if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
    std::fprintf(stderr, "batch_bench: quendra-hostsim did not start (%s)\n", qPrintable(simPath));
    return 1;
  }

  int status = 0;
  {
    Bench bench;
    if (!bench.findHost()) {
      std::fprintf(stderr, "batch_bench: no host answered the search\n");
      status = 1;
    } else {
      // One untimed round of each, so that first-use costs stay out.
      bench.floor(false);
      bench.batchRun(false);
      std::vector<double> floorRead, floorWrite, reads, writes;
      for (int i = 0; i < runs && status == 0; ++i) {
        floorRead.push_back(bench.floor(false));
        reads.push_back(bench.batchRun(false));
        floorWrite.push_back(bench.floor(true));
        writes.push_back(bench.batchRun(true));
        for (double v : {floorRead.back(), reads.back(), floorWrite.back(), writes.back()})
          if (v < 0) status = 1;
      }
      if (status != 0) {
        std::fprintf(stderr, "batch_bench: a reply was lost or a batch did not complete\n");
      } else {
        const double fr = median(floorRead), fw = median(floorWrite), r = median(reads), w = median(writes);
        std::printf("32 channels against a prompt quendra-hostsim, median of %d runs\n", runs);
        std::printf("  floor, 32 bare read round trips    %8.2f ms\n", fr);
        std::printf("  channel read batch                 %8.2f ms   ratio %.2f\n", r, r / fr);
        std::printf("  floor, 32 bare write round trips   %8.2f ms\n", fw);
        std::printf("  channel write batch                %8.2f ms   ratio %.2f\n", w, w / fw);
        std::printf("  (target: ratio below 2)\n");
      }
    }
  }
  sim.terminate();
  if (!sim.waitForFinished(3000)) sim.kill();
  return status;
}
