// UdpTransport inside a private network namespace (scripts/netns-run, which lets the test add loopback addresses to
// lo): the send sockets and their refusals, the datagrams handed over, and the simulator's answers.
#include <QDir>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <set>

#include "link/outer_frame.h"
#include "link/tunnel_frame.h"
#include "session/udp_transport.h"

using namespace quendra;

using Addresses = std::vector<std::uint32_t>;
using Failures = QList<TransportFailure>;
Q_DECLARE_METATYPE(Addresses)
Q_DECLARE_METATYPE(Failures)

namespace {

constexpr std::uint32_t loopback(int n) { return 0x7F000000u + static_cast<std::uint32_t>(n); }
constexpr std::uint32_t kLoopback = loopback(1);

// One datagram from an ephemeral port on 127.0.0.1, straight through POSIX (QUdpSocket cannot send an empty
// datagram).
void sendRaw(const QByteArray& bytes, std::uint32_t to) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  const sockaddr_in a{AF_INET, htons(kDevicePort), {htonl(to)}, {}};
  QCOMPARE(sendto(fd, bytes.constData(), std::size_t(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&a), sizeof a),
           ssize_t(bytes.size()));
  close(fd);
}

int openDescriptors() { return int(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size()); }

}  // namespace

class UdpLinkNetTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    // Adding addresses is only safe in a namespace of our own: refuse to run where any interface but lo exists.
    const auto interfaces = QNetworkInterface::allInterfaces();
    if ((interfaces.size() != 1 || !interfaces[0].flags().testFlag(QNetworkInterface::IsLoopBack)) &&
        qEnvironmentVariableIsEmpty("QUENDRA_NETNS_PC"))
      QSKIP("run inside a private network namespace (scripts/netns-run or scripts/netns-pair)");
    for (int n = 2; n <= 12; ++n)
      QCOMPARE(QProcess::execute("ip", {"addr", "add", QString("127.0.0.%1/8").arg(n), "dev", "lo"}), 0);
  }

  // The send side: one socket per local address, in table order, at most ten; a repeated or foreign address says so
  // and is skipped.
  void sendSocketsPerLocalAddress_data() {
    QTest::addColumn<Addresses>("addresses");
    QTest::addColumn<Addresses>("bound");
    QTest::addColumn<Failures>("said");
    Addresses twelve;
    for (int n = 1; n <= 12; ++n) twelve.push_back(loopback(n));
    QTest::newRow("two") << Addresses{kLoopback, loopback(2)} << Addresses{kLoopback, loopback(2)} << Failures{};
    QTest::newRow("repeated") << Addresses{kLoopback, kLoopback} << Addresses{kLoopback} << Failures{TransportFailure::AlreadyBound};
    QTest::newRow("twelve") << twelve << Addresses(twelve.begin(), twelve.begin() + 10) << Failures{};
    QTest::newRow("foreign") << Addresses{0x0A636363, kLoopback} << Addresses{kLoopback} << Failures{TransportFailure::SendBind};
  }
  void sendSocketsPerLocalAddress() {
    QFETCH(Addresses, addresses);
    QFETCH(Addresses, bound);
    QFETCH(Failures, said);
    QUdpSocket listener;  // hears every broadcast to port 1901, with its sender
    QVERIFY(listener.bind(QHostAddress::AnyIPv4, kDevicePort, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint));
    UdpTransport link;
    Failures failures;
    connect(&link, &UdpTransport::failed, this, [&](TransportFailure f) { failures << f; });
    link.setAddressProvider([addresses] { return addresses; });
    link.openLink();
    link.refreshInterfaces();
    const int descriptors = openDescriptors();
    failures.clear();
    link.refreshInterfaces();  // a second search replaces the table
    QCOMPARE(openDescriptors(), descriptors);
    QCOMPARE(link.boundAddresses(), bound);
    QCOMPARE(failures, said);
    QCOMPARE(link.sendToAll(OuterFrame::buildSearchRequest()), int(bound.size()));
    link.sendToAll(Bytes{'e', 'n', 'd'});  // each socket's copy follows its search request
    QList<std::uint32_t> senders;
    std::size_t ends = 0;
    const auto heard = [&] {
      while (listener.hasPendingDatagrams()) {
        const QNetworkDatagram d = listener.receiveDatagram();
        if (d.data() == "end") ++ends;
        else senders << d.senderAddress().toIPv4Address();
      }
      return ends;
    };
    QTRY_COMPARE(heard(), bound.size());
    QCOMPARE(senders, QList<std::uint32_t>(bound.begin(), bound.end()));
  }

  // The receive side: each datagram whole, in order, with the local address that heard it; nothing for an empty or
  // oversized one; a receiver that closes the link ends the reading. Nothing is sent before the first search.
  void everyDatagramHandedOverWhole() {
    UdpTransport link;
    QList<Datagram> received;
    connect(&link, &Transport::received, this, [&](const Datagram& d) { received << d; });
    const int before = openDescriptors();
    link.openLink();
    link.openLink();  // twice: still one receive socket
    QCOMPARE(openDescriptors(), before + 1);
    QCOMPARE(link.sendToAll(OuterFrame::buildSearchRequest()), 0);
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
    for (int i = 0; i < 5; ++i) sendRaw("queued", kLoopback);
    QTRY_VERIFY(handed > 0);  // all five were waiting: a reading that goes on hands them over in the same wake-up
    QCOMPARE(handed, 1);
    QCOMPARE(openDescriptors(), before);
  }

  // The simulator's command line: --help names every option; a bad one ends it with status 2.
  void simulatorCommandLine() {
    QProcess help;
    help.start(QUENDRA_HOSTSIM_PATH, {"--help"});
    QVERIFY(help.waitForFinished(5000) && help.exitCode() == 0);
    const QByteArray usage = help.readAllStandardOutput();
    for (const char* o : {"--hosts", "--reply", "--log", "--drop", "--silent", "--late", "--delay", "--trailer-version"})
      QVERIFY2(usage.contains(o), o);
    for (const QStringList& bad : {QStringList{"--reply", "multicast"}, {"--late", "71"}, {"--hosts", "0"},
                                   {"--trailer-version", "7"}, {"--silent", "151"}, {"--drop", "101"}, {"--frobnicate"}})
      QCOMPARE(QProcess::execute("timeout", QStringList{"10", QUENDRA_HOSTSIM_PATH} + bad), 2);  // one that runs: 124
  }

  // The simulator's search answers and a tunnel reply, by broadcast and by unicast: 1000 hosts here (Linux hands a
  // datagram for 127.0.0.1:1901 to the send socket bound to exactly that address); and only under scripts/netns-pair
  // (tests/e2e/hostsim_link_pair.sh) 2 hosts on the LAN side, which reply from another address and hear only the copy
  // sent from the veth address. Its log holds each request heard, once, in order.
  void simulatorAnswers_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("lan");
    for (const QString mode : {"broadcast", "unicast"}) {
      QTest::newRow(qPrintable(mode)) << mode << false;
      QTest::newRow(qPrintable("LAN " + mode)) << mode << true;
    }
  }
  void simulatorAnswers() {
    QFETCH(QString, mode);
    QFETCH(bool, lan);
    const QString lanNamespace = qEnvironmentVariable("QUENDRA_NETNS_LAN");
    if (lan && lanNamespace.isEmpty()) QSKIP("needs the two namespaces of scripts/netns-pair");
    const int hosts = lan ? 2 : 1000;
    QTemporaryDir dir;
    const QString logPath = dir.filePath("requests.log");
    const QStringList options{"--hosts", QString::number(hosts), "--reply", mode, "--log", logPath};
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (lan)
      sim.start("ip", QStringList{"netns", "exec", lanNamespace, QUENDRA_HOSTSIM_PATH} + options);
    else
      sim.start(QUENDRA_HOSTSIM_PATH, options);
    QVERIFY(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));
    QCOMPARE(sim.readLine().trimmed(), QByteArray("ready"));

    UdpTransport link;
    Failures failures;
    connect(&link, &UdpTransport::failed, this, [&](TransportFailure f) { failures << f; });
    const std::uint32_t pc = QHostAddress(qEnvironmentVariable("QUENDRA_PC_ADDR")).toIPv4Address();
    link.setAddressProvider([=] { return lan ? Addresses{pc, kLoopback} : Addresses{kLoopback}; });
    std::vector<Mac> answers;
    QList<Datagram> replies;
    connect(&link, &Transport::received, this, [&](const Datagram& d) {
      if (const auto a = OuterFrame::readSearchAnswer(d.view())) answers.push_back(a->mac);
      if (OuterFrame::readTunnelBlock(d.view())) replies << d;
    });
    link.openLink();
    link.refreshInterfaces();
    QCOMPARE(link.sendToAll(OuterFrame::buildSearchRequest()), lan ? 2 : 1);
    QTRY_COMPARE_WITH_TIMEOUT(std::set<Mac>(answers.begin(), answers.end()).size(), std::size_t(hosts), 20000);
    const Bytes read = OuterFrame::buildTunnelRequest(answers[0], TunnelFrame::buildRequest(150));
    link.sendToAll(read);
    QTRY_VERIFY(!replies.isEmpty());
    // The simulator answers in turn: a second copy of the search would have been answered before this reply.
    if (lan) QCOMPARE(answers.size(), std::size_t{2});
    const TunnelReply r = TunnelFrame::decodeReply(*OuterFrame::readTunnelBlock(replies[0].view()));
    QCOMPARE(r.status, ReplyStatus::Accepted);
    QCOMPARE(r.command, 150);
    QCOMPARE(r.payload.size(), std::size_t{141});
    QCOMPARE(failures, Failures{});
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const auto hex = [](const Bytes& b) {
      return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())).toHex();
    };
    QCOMPARE(log.readAll(), hex(OuterFrame::buildSearchRequest()) + '\n' + hex(read) + '\n');

    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QVERIFY(sim.exitStatus() == QProcess::NormalExit && sim.exitCode() == 0);
  }
};

QTEST_GUILESS_MAIN(UdpLinkNetTest)
#include "udp_link_net_test.moc"
