// The window under a flood of random datagrams on port 1901 (as tests/app/window_net_test sends them, without the
// sanitizers): how many datagrams the window reads between two ticks of a 1 ms timer of its thread (the transport
// reads a bounded batch per wake-up, 256), and how far its heap grows from a quarter of the flood to its end, the
// traffic log's ring (bounded by its capacity) counted apart. Prints one line per run.
//
// Binds UDP port 1901: run it only inside a private network namespace (scripts/bench-flood).
//
//   flood_bench [--datagrams 40000] [--runs 3]
#include <arpa/inet.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <random>

#include "app/main_dialog.h"
#include "bench_support.h"
#include "flood_datagrams.h"
#include "link/tunnel_frame.h"
#include "session/traffic_log.h"

using namespace quendra;
using namespace quendra::bench;

namespace {

constexpr int kChunk = 2000;  // sent per turn of the sender
using flood::kHost;
using flood::nextDatagram;

std::size_t heapOfLog(const TrafficLog& log) {
  std::size_t n = 0;
  for (const TrafficEntry& e : log.entries()) n += sizeof(TrafficEntry) + 32 + std::size_t(e.datagram.bytes.capacity());
  return n;
}
std::size_t heapBesidesLog(const TrafficLog& log) { return mallinfo2().uordblks - heapOfLog(log); }

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int datagrams = std::max(4 * kChunk, option(app.arguments(), QStringLiteral("--datagrams"), QStringLiteral("40000")).toInt());
  const int runs = std::max(1, option(app.arguments(), QStringLiteral("--runs"), QStringLiteral("3")).toInt());
  struct : Notifier {
    void notify(const QString&, const QString&, NoticeIcon) override {}  // one version warning in 50 datagrams
  } notifier;
  MainDialog dialog(notifier, [] { return std::vector<std::uint32_t>{0x7F000001}; });
  dialog.show();
  dialog.session().setTarget(kHost);
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  const sockaddr_in to{AF_INET, htons(kDevicePort), {htonl(INADDR_LOOPBACK)}, {}};

  std::printf("Flood of %d random datagrams into the window (1 ms timer of its thread)\n", datagrams);
  std::printf("  %3s  %-8s  %-28s  %-6s  %s\n", "run", "read", "most read between two ticks", "ticks", "heap growth, kB");
  for (int run = 1; run <= runs; ++run) {
    std::mt19937 random(7 + run);
    const QByteArray end = "end " + QByteArray::number(run);  // not a late one of the run before
    int sent = 0, ticks = 0;
    bool ended = false;
    long handed = 0, handedAtTick = 0, maxBetweenTicks = 0;
    std::size_t heapAtQuarter = 0;
    QMetaObject::Connection counting = QObject::connect(&dialog.router().transport(), &Transport::received, [&](const Datagram& d) {
      ++handed;
      ended |= d.bytes == end;
    });
    QTimer sender;
    QObject::connect(&sender, &QTimer::timeout, [&] {
      for (int i = 0; i < kChunk && sent < datagrams; ++i, ++sent) {
        const Bytes d = nextDatagram(random, sent);
        sendto(fd, d.data(), d.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
      }
      if (sent == datagrams / 4 && !heapAtQuarter) heapAtQuarter = heapBesidesLog(dialog.trafficLog());
      if (sent == datagrams) sendto(fd, end.constData(), end.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    });
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] {
      ++ticks;
      maxBetweenTicks = std::max(maxBetweenTicks, handed - handedAtTick);
      handedAtTick = handed;
      for (QWidget* w : QApplication::topLevelWidgets())  // the operator closes every box
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->accept();
    });
    sender.start(2);
    clock.start(1);
    if (!runUntil([&] { return ended; }, 120000)) {
      std::fprintf(stderr, "flood_bench: the window did not read the whole flood in 120 s\n");
      return 1;
    }
    QObject::disconnect(counting);
    const long growthKb = (long(heapBesidesLog(dialog.trafficLog())) - long(heapAtQuarter)) / 1024;
    std::printf("  %3d  %-8ld  %-28ld  %-6d  %ld\n", run, handed, maxBetweenTicks, ticks, growthKb);
    std::fflush(stdout);
  }
  close(fd);
  return 0;
}
