// UdpTransport inside a private network namespace (scripts/netns-run): one send
// socket per local address, the refusals and their messages, and every
// datagram that reaches port 1901 handed over whole, in order, with the local
// address that heard it. The extra
// loopback addresses are added to this namespace's lo by the test itself.
#include <QDir>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link/outer_frame.h"
#include "link/tunnel_frame.h"
#include "app/app_name.h"
#include "app/transport_messages.h"
#include "session/udp_transport.h"
#include "support/test_support.h"

using namespace quendra;
using namespace quendra::test;

Q_DECLARE_METATYPE(std::vector<std::uint32_t>)

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;  // 127.0.0.1
constexpr std::uint32_t loopback(int n) { return 0x7F000000u + static_cast<std::uint32_t>(n); }

QByteArray toQByteArray(const Bytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size())); }

// One datagram from an ephemeral port on 127.0.0.1, straight through POSIX
// (QUdpSocket cannot send an empty datagram).
void sendRaw(const QByteArray& bytes, std::uint32_t to) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  QVERIFY(fd >= 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(kDevicePort);
  a.sin_addr.s_addr = htonl(to);
  QCOMPARE(sendto(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()), 0, reinterpret_cast<sockaddr*>(&a),
                  sizeof a),
           static_cast<ssize_t>(bytes.size()));
  close(fd);
}

int openDescriptors() { return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size()); }

// Hears everything broadcast to port 1901, with the sender's address.
class Listener {
 public:
  Listener() {
    socket_.bind(QHostAddress::AnyIPv4, kDevicePort, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
      while (socket_.hasPendingDatagrams()) {
        QHostAddress from;
        const qint64 size = socket_.pendingDatagramSize();
        QByteArray data(static_cast<int>(size), 0);
        socket_.readDatagram(data.data(), size, &from);
        if (!data.startsWith('\x55')) {  // requests only: not the simulator's answers
          datagrams << data;
          senders << from.toIPv4Address();
        }
      }
    });
  }
  bool bound() const { return socket_.state() == QAbstractSocket::BoundState; }
  QList<QByteArray> datagrams;
  QList<std::uint32_t> senders;

 private:
  QUdpSocket socket_;
};

// The transport with its failures worded as the window words them.
class UdpLink : public UdpTransport {
  Q_OBJECT
 public:
  explicit UdpLink(Notifier& notifier) {
    connect(this, &UdpTransport::failed, this, [&notifier](TransportFailure f) {
      notifier.notify(applicationName(), transportFailureText(f), NoticeIcon::None);
    });
    connect(this, &Transport::received, this, [this](const Datagram& d) { emit datagramReceived(d.bytes); });
  }
  void rebuildSendSockets() { refreshInterfaces(); }

 signals:
  void datagramReceived(const QByteArray& datagram);
};

}  // namespace

class UdpLinkNetTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    // Adding addresses is only safe in a namespace of our own: refuse to run
    // where any interface but lo exists.
    const auto interfaces = QNetworkInterface::allInterfaces();
    const bool onlyLoopback =
        interfaces.size() == 1 && interfaces.first().flags().testFlag(QNetworkInterface::IsLoopBack);
    if (!onlyLoopback && qEnvironmentVariableIsEmpty("QUENDRA_NETNS_PC"))
      QSKIP("run inside a private network namespace (scripts/netns-run or scripts/netns-pair)");
    for (int n = 2; n <= 12; ++n) {
      const int rc = QProcess::execute(QStringLiteral("ip"), {QStringLiteral("addr"), QStringLiteral("add"),
                                                             QStringLiteral("127.0.0.%1/8").arg(n), QStringLiteral("dev"),
                                                             QStringLiteral("lo")});
      QCOMPARE(rc, 0);
    }
  }

  // The send side: one socket per local address, in table order, at most ten;
  // a repeated or foreign address says so and is skipped; nothing is sent
  // before the first search builds the table.
  void sendSocketsPerLocalAddress_data() {
    QTest::addColumn<std::vector<std::uint32_t>>("addresses");
    QTest::addColumn<bool>("search");
    QTest::addColumn<std::vector<std::uint32_t>>("bound");
    QTest::addColumn<QString>("notice");
    std::vector<std::uint32_t> twelve;
    for (int n = 1; n <= 12; ++n) twelve.push_back(loopback(n));
    QTest::newRow("before a search") << std::vector<std::uint32_t>{kLoopback} << false << std::vector<std::uint32_t>{} << "";
    QTest::newRow("two") << std::vector<std::uint32_t>{kLoopback, loopback(2)} << true
                         << std::vector<std::uint32_t>{kLoopback, loopback(2)} << "";
    QTest::newRow("repeated") << std::vector<std::uint32_t>{kLoopback, kLoopback} << true
                              << std::vector<std::uint32_t>{kLoopback} << "已经绑定过此IP,无需再次绑定";
    QTest::newRow("twelve") << twelve << true << std::vector<std::uint32_t>(twelve.begin(), twelve.begin() + 10) << "";
    QTest::newRow("foreign") << std::vector<std::uint32_t>{0x0A636363, kLoopback} << true
                             << std::vector<std::uint32_t>{kLoopback} << "绑定SOCKET出错";
  }
  void sendSocketsPerLocalAddress() {
    QFETCH(std::vector<std::uint32_t>, addresses);
    QFETCH(bool, search);
    QFETCH(std::vector<std::uint32_t>, bound);
    QFETCH(QString, notice);
    RecordingNotifier notifier;
    UdpLink link(notifier);
    link.setAddressProvider([addresses] { return addresses; });
    Listener listener;
    QVERIFY(listener.bound());
    link.openLink();
    if (search) {
      link.rebuildSendSockets();
      const int descriptors = openDescriptors();
      notifier.notices.clear();
      link.rebuildSendSockets();  // a second search replaces the table
      QCOMPARE(openDescriptors(), descriptors);
    }
    QCOMPARE(link.boundAddresses(), bound);
    QCOMPARE(notifier.notices.size(), notice.isEmpty() ? 0 : 1);
    if (!notice.isEmpty()) QCOMPARE(notifier.notices[0].title + notifier.notices[0].text, applicationName() + notice);
    QCOMPARE(link.sendToAll(OuterFrame::buildSearchRequest()), int(bound.size()));
    QTRY_COMPARE(listener.datagrams.size(), int(bound.size()));
    QTest::qWait(100);
    QCOMPARE(listener.senders, QList<std::uint32_t>(bound.begin(), bound.end()));
  }

  // The receive side: each datagram whole, in order, with the local address
  // that heard it; nothing for an empty or oversized one; a receiver that
  // closes the link ends the reading.
  void everyDatagramHandedOverWhole() {
    RecordingNotifier notifier;
    UdpLink link(notifier);
    QList<Datagram> received;
    connect(&link, &Transport::received, this, [&](const Datagram& d) { received << d; });
    const int before = openDescriptors();
    link.openLink();
    link.openLink();  // twice: still one receive socket
    QCOMPARE(openDescriptors(), before + 1);
    QList<QByteArray> sent{QByteArray(1024, 'y')};
    sendRaw(QByteArray(), kLoopback);
    sendRaw(QByteArray(1025, 'x'), kLoopback);
    sendRaw(sent[0], loopback(5));
    for (int i = 0; i < 600; ++i) {  // more than one wake-up reads
      sent << QByteArray("\x55\x00\x00\x02", 4) + QByteArray::number(i).repeated(1 + i % 7);
      sendRaw(sent.last(), kLoopback);
    }
    QTRY_COMPARE(received.size(), sent.size());
    for (int i = 0; i < sent.size(); ++i) QCOMPARE(received[i].bytes, sent[i]);
    QCOMPARE(received[0].localAddress, loopback(5));
    QCOMPARE(received[1].localAddress, kLoopback);
    QCOMPARE(received[1].peerAddress, kLoopback);

    int handed = 0;
    connect(&link, &Transport::received, this, [&] {
      ++handed;
      link.closeLink();  // as the window does when it closes
    });
    for (int i = 0; i < 5; ++i) sendRaw(QByteArray("queued"), kLoopback);
    QTRY_COMPARE(handed, 1);
    QTest::qWait(100);
    QCOMPARE(handed, 1);
    QCOMPARE(openDescriptors(), before);
  }

  void simulatedHostsAnswerByBroadcastAndUnicast() {
    // Linux hands a datagram for 127.0.0.1:1901 to the socket bound to exactly
    // that address (the send socket), not to the wildcard receive socket.
    for (const char* mode : {"broadcast", "unicast"}) {
      HostSim sim({QStringLiteral("--hosts"), QStringLiteral("1000"), QStringLiteral("--reply"), QLatin1String(mode)});
      QVERIFY(sim.started());
      RecordingNotifier notifier;
      UdpLink link(notifier);
      link.setAddressProvider([] { return std::vector<std::uint32_t>{kLoopback}; });
      QSet<QByteArray> macs;
      connect(&link, &UdpLink::datagramReceived, this, [&](const QByteArray& d) {
        if (d.size() >= 22 && d.startsWith('\x55') && d[3] == 2) macs.insert(d.mid(12, 6));
      });
      link.openLink();
      link.rebuildSendSockets();
      link.sendToAll(OuterFrame::buildSearchRequest());
      QTRY_COMPARE_WITH_TIMEOUT(macs.size(), 1000, 20000);
    }
  }

  // Only under scripts/netns-pair (tests/e2e/hostsim_link_pair.sh): the
  // simulator runs on the LAN side, so replies come from another address.
  void repliesFromAnotherMachine_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("broadcast") << QStringLiteral("broadcast");
    QTest::newRow("unicast") << QStringLiteral("unicast");
  }

  void repliesFromAnotherMachine() {
    const QString lan = qEnvironmentVariable("QUENDRA_NETNS_LAN");
    if (lan.isEmpty()) QSKIP("needs the two namespaces of scripts/netns-pair");
    QFETCH(QString, mode);
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"), lan,
                                     QStringLiteral(QUENDRA_HOSTSIM_PATH), QStringLiteral("--hosts"),
                                     QStringLiteral("2"), QStringLiteral("--reply"), mode});
    QVERIFY(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));
    QCOMPARE(sim.readLine().trimmed(), QByteArray("ready"));

    RecordingNotifier notifier;
    UdpLink link(notifier);
    const std::uint32_t pc = QHostAddress(qEnvironmentVariable("QUENDRA_PC_ADDR")).toIPv4Address();
    link.setAddressProvider([pc] { return std::vector<std::uint32_t>{pc, kLoopback}; });
    QList<QByteArray> replies;
    connect(&link, &UdpLink::datagramReceived, this, [&](const QByteArray& d) {
      if (d.startsWith('\x55')) replies << d;
    });
    link.openLink();
    link.rebuildSendSockets();
    QCOMPARE(link.sendToAll(OuterFrame::buildSearchRequest()), 2);
    QTRY_COMPARE(replies.size(), 2);  // two hosts, each heard the veth copy only
    QTest::qWait(200);
    QCOMPARE(replies.size(), 2);
    const auto answer = OuterFrame::readSearchAnswer(
        ByteView(reinterpret_cast<const std::uint8_t*>(replies[1].constData()), static_cast<std::size_t>(replies[1].size())));
    QVERIFY(answer);

    replies.clear();
    link.sendToAll(OuterFrame::buildTunnelRequest(answer->mac, TunnelFrame::buildRequest(150)));
    QTRY_COMPARE(replies.size(), 1);
    const ByteView d(reinterpret_cast<const std::uint8_t*>(replies[0].constData()), static_cast<std::size_t>(replies[0].size()));
    const auto block = OuterFrame::readTunnelBlock(d);
    QVERIFY(block);
    const TunnelReply r = TunnelFrame::decodeReply(*block);
    QCOMPARE(r.status, ReplyStatus::Accepted);
    QCOMPARE(r.command, 150);
    QCOMPARE(r.payload.size(), std::size_t{141});
    QVERIFY(notifier.notices.isEmpty());

    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
  }

};

QTEST_GUILESS_MAIN(UdpLinkNetTest)
#include "udp_link_net_test.moc"
