// The traffic log on a transport: every datagram sent and received, copied with its time and addresses, in a ring
// that drops the oldest; counters per local address in the order first seen, malformed ones among those received;
// the capture with each datagram's source and destination as it travelled.
#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

#include "link/outer_frame.h"
#include "link/pcapng.h"
#include "session/traffic_log.h"

using namespace quendra;

namespace {

struct Wire : Transport {
  int sendToAll(ByteView) override { return 0; }
};

constexpr std::uint32_t kPc1 = 0xC0A8010A, kPc2 = 0x0A000001, kHost = 0xC0A80164, kBroadcast = 0xFFFFFFFF;
const QByteArray kSearchRequest = QByteArray("\xAA\x00\x01\x02\x02", 5);
const Bytes kAnswer = OuterFrame::buildSearchAnswer({kHost, Mac{0x02, 0x4B, 0x7D, 0, 0, 1}, 710, "h"});

QByteArray bytesOf(const Bytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())); }

}  // namespace

class TrafficLogTest : public QObject {
  Q_OBJECT
 private slots:
  void recordsCountsAndCaptures() {
    Wire wire;
    TrafficLog log(wire, 3);
    QSignalSpy recorded(&log, &TrafficLog::recorded);
    const std::int64_t before = QDateTime::currentMSecsSinceEpoch() * 1000;
    emit wire.sent(Datagram{kSearchRequest, kPc1, kBroadcast, kDevicePort});
    emit wire.sent(Datagram{kSearchRequest, kPc2, kBroadcast, kDevicePort});
    emit wire.received(Datagram{bytesOf(kAnswer), kPc1, kHost, kDevicePort});
    emit wire.received(Datagram{QByteArray("\x55\x00", 2), kPc2, kHost, 5000});  // too short: dropped as malformed
    QCOMPARE(recorded.size(), 4);

    QCOMPARE(log.recordedCount(), 4u);
    QCOMPARE(log.entries().size(), std::size_t{3});  // the first went
    const TrafficEntry& sent = log.entries()[0];
    const TrafficEntry& received = log.entries()[1];
    QCOMPARE(sent.direction, Direction::Sent);
    QCOMPARE(sent.datagram.localAddress, kPc2);
    QCOMPARE(received.direction, Direction::Received);
    QCOMPARE(received.datagram.bytes, bytesOf(kAnswer));
    QVERIFY(sent.timeMicros >= before && sent.timeMicros <= received.timeMicros &&
            received.timeMicros <= QDateTime::currentMSecsSinceEpoch() * 1000 + 1000);
    const auto counted = [&](std::size_t i) {
      const TrafficCounters& c = log.counters()[i];
      return QList<std::uint64_t>{c.localAddress, c.sent, c.received, c.malformed};
    };
    QCOMPARE(log.counters().size(), std::size_t{2});
    QCOMPARE(counted(0), (QList<std::uint64_t>{kPc1, 1, 1, 0}));
    QCOMPARE(counted(1), (QList<std::uint64_t>{kPc2, 1, 1, 1}));

    // Sent datagrams leave the local address's port 1901 for the peer; received ones come from the peer to it.
    const CapturedDatagram expected[] = {{sent.timeMicros, kPc2, kDevicePort, kBroadcast, kDevicePort, sent.datagram.view()},
                                         {received.timeMicros, kHost, kDevicePort, kPc1, kDevicePort, received.datagram.view()},
                                         {log.entries()[2].timeMicros, kHost, 5000, kPc2, kDevicePort, log.entries()[2].datagram.view()}};
    QCOMPARE(log.pcapngBytes(), pcapng::file(expected));  // written to a file by the traffic window's export
  }
};

QTEST_GUILESS_MAIN(TrafficLogTest)
#include "traffic_log_test.moc"
