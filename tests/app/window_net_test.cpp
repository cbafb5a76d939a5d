// The window on its real sockets in a private network namespace: against quendra-hostsim on loopback, search,
// selection and a tunnel read arrive over UDP and closing the window frees port 1901; under a flood of random datagrams
// (port 1901 on a LAN hears anything), some of them version-refused replies, its timers keep running and the warning
// never shows twice at once (reads per tick and heap growth: bench/flood_bench).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <random>

#include "app/device_list.h"
#include "app/main_dialog.h"
#include "app/qt_message_notifier.h"
#include "../../bench/flood_datagrams.h"
#include "link/tunnel_frame.h"
#include "support/widgets.h"

// Freed blocks are held back by AddressSanitizer (256 MB by default); the flood frees a great many.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

using namespace quendra;
using namespace quendra::test;

namespace {

constexpr int kDatagrams = 40000;
constexpr int kChunk = 2000;  // sent per turn of the sender; what the receive queue cannot hold, the kernel drops
using flood::kHost;
using flood::nextDatagram;
const QString kVersionWarning = QStringLiteral("此版本设备不能使用该软件,请使用其他版本软件");

}  // namespace

class WindowNetTest : public QObject {
  Q_OBJECT
 private slots:
  void searchSelectAndReadOverUdp() {
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QStringLiteral(QUENDRA_HOSTSIM_PATH), {QStringLiteral("--hosts"), QStringLiteral("2")});
    QVERIFY(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));  // "ready" once its socket is bound
    RecordingNotifier notifier;
    MainDialog dialog(notifier, [] { return std::vector<std::uint32_t>{0x7F000001}; });
    dialog.show();
    auto* list = field<DeviceList>(&dialog, QStringLiteral("监控主机列表"));
    dialog.search();
    QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), 2, 10000);
    list->setCurrentIndex(list->model()->index(0, 0));
    dialog.selectDevice();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.session().flags().networkRead, 10000);
    QVERIFY(dialog.session().target() != Mac{});
    auto* tabs = field<QTabWidget>(&dialog, QStringLiteral("parameterTabs"));
    tabs->setCurrentIndex(MainDialog::BaseTab);
    press(tabs->currentWidget(), QStringLiteral("读取基础参数"));
    QTRY_VERIFY_WITH_TIMEOUT(dialog.session().flags().baseRead, 10000);
    QVERIFY(notifier.notices.isEmpty());
    sim.terminate();
    sim.waitForFinished(3000);
    QUdpSocket probe;  // binds where no other socket is bound, sharing with none
    QVERIFY(!probe.bind(QHostAddress::AnyIPv4, kDevicePort, QUdpSocket::DontShareAddress));
    dialog.close();
    QVERIFY(probe.bind(QHostAddress::AnyIPv4, kDevicePort, QUdpSocket::DontShareAddress));
  }

  void timersRunAndWarningsNeverStack() {
    QtMessageNotifier notifier;
    MainDialog dialog(notifier, [] { return std::vector<std::uint32_t>{0x7F000001}; });
    notifier.setParentWindow(&dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.session().setTarget(kHost);

    const int fd = socket(AF_INET, SOCK_DGRAM, 0);  // QUdpSocket sends no empty datagram
    const sockaddr_in to{AF_INET, htons(kDevicePort), {htonl(INADDR_LOOPBACK)}, {}};
    std::mt19937 random(7);
    int sent = 0, ticks = 0, maxWarnings = 0;
    bool ended = false;  // the window has read past the flood
    connect(&dialog.router().transport(), &Transport::received, this, [&](const Datagram& d) { ended |= d.bytes == "end"; });

    // The sender and the window take turns in this thread's event loop; after the flood the sender says "end" at
    // each turn, and the window has read the whole flood once it hears it.
    QTimer sender;
    connect(&sender, &QTimer::timeout, this, [&] {
      for (int i = 0; i < kChunk && sent < kDatagrams; ++i, ++sent) {
        const Bytes d = nextDatagram(random, sent);
        sendto(fd, d.data(), d.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
      }
      if (sent == kDatagrams) sendto(fd, "end", 3, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    });
    // A timer of the window's thread: it must keep firing under the flood.
    QTimer clock;
    connect(&clock, &QTimer::timeout, this, [&] {
      ++ticks;
      int warnings = 0;
      for (QWidget* w : QApplication::topLevelWidgets())  // the operator closes every box
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
          warnings += box->text() == kVersionWarning;
          box->accept();
        }
      maxWarnings = std::max(maxWarnings, warnings);
    });
    sender.start(2);
    clock.start(1);
    QVERIFY(QTest::qWaitFor([&] { return ended; }, 120000));
    close(fd);

    QVERIFY(ticks > kDatagrams / kChunk);
    QCOMPARE(maxWarnings, 1);  // shown, and never two at once
  }
};

QTEST_MAIN(WindowNetTest)
#include "window_net_test.moc"
