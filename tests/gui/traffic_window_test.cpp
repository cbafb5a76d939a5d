// The traffic window on simulated hosts: opened from "通信记录...", it words
// the search and a dropped reply, shows the selected bytes and the counters
// per local address, and exports; the table follows the log's ring as it
// drops its oldest datagrams.
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>

#include "app/traffic_table_model.h"
#include "app/traffic_window.h"
#include "link/tunnel_frame.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

QString cell(const QAbstractItemModel* m, int row, int column) { return m->index(row, column).data().toString(); }

}  // namespace

class TrafficWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void showsExplainsAndExportsTheTraffic() {
    sim::SimOptions options;
    options.hosts = 2;
    FleetWindow w(options);
    QVERIFY(w.searchAndSelect(0));
    // A reply whose CRC is broken: the tool drops it, the window says why.
    Bytes broken = OuterFrame::buildTunnelReply(w.host(0).mac, TunnelFrame::buildReply(1, Bytes(27), 7, 10));
    broken[20] ^= 0xFF;
    w.transport.deliverNow(broken);

    w.dialog.trafficButton()->click();
    TrafficWindow* window = w.dialog.trafficWindow();
    QVERIFY(window && window->isVisible() && !window->isModal());
    for (const char* name : {"数据报", "数据", "计数", "导出pcapng...", "导出文本..."})
      QVERIFY2(findByAccessibleName<QWidget>(window, QString::fromUtf8(name)), name);

    // Search, two answers, the network read and its answer, the broken reply.
    const QAbstractItemModel* table = window->table()->model();
    QCOMPARE(table->rowCount(), 6);
    QCOMPARE(cell(table, 0, TrafficTableModel::DirectionColumn), QStringLiteral("发送"));
    QCOMPARE(cell(table, 0, TrafficTableModel::PeerColumn), QStringLiteral("255.255.255.255:1901"));
    QCOMPARE(cell(table, 0, TrafficTableModel::MeaningColumn), QStringLiteral("搜索请求"));
    QVERIFY(cell(table, 1, TrafficTableModel::MeaningColumn).startsWith(QStringLiteral("搜索应答 来自 024B7D000001 IP 192.168.1.10")));
    QCOMPARE(cell(table, 3, TrafficTableModel::MeaningColumn), QStringLiteral("读取网络参数 发往 024B7D000001"));
    QCOMPARE(cell(table, 5, TrafficTableModel::MeaningColumn), QStringLiteral("格式错误，已丢弃：CRC错误"));

    window->table()->selectRow(0);
    QCOMPARE(window->bytesView()->toPlainText(), QStringLiteral("0000  AA 00 01 02 02"));
    const QTableWidget* counters = window->countersTable();
    QCOMPARE(counters->rowCount(), 1);
    const QStringList expected{"127.0.0.1", "2", "4", "1"};  // sent, received, dropped as malformed
    for (int column = 0; column < 4; ++column) QCOMPARE(counters->item(0, column)->text(), expected[column]);

    QTemporaryDir dir;
    QVERIFY(window->exportText(dir.filePath("traffic.txt")));
    QFile text(dir.filePath("traffic.txt"));
    QVERIFY(text.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(text.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines[0].endsWith(QStringLiteral("\t发送\t127.0.0.1\t255.255.255.255:1901\t搜索请求\tAA 00 01 02 02")));
    QVERIFY(window->exportPcapng(dir.filePath("traffic.pcapng")));
    QVERIFY(!window->exportPcapng(dir.filePath("missing/traffic.pcapng")));
    QCOMPARE(w.notifier.notices.size(), 1);
    QCOMPARE(w.notifier.notices[0].title, QStringLiteral("警告"));

    // Closed, the window and its model are gone; the log keeps recording.
    window->close();
    QTRY_VERIFY(!w.dialog.trafficWindow());
    w.dialog.search();
    QCOMPARE(w.dialog.trafficLog().counters()[0].sent, 3u);
  }

  void tableFollowsTheRingAsItDropsTheOldest() {
    FleetTransport transport;
    TrafficLog log(transport, 3);
    TrafficTableModel model(log);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    for (int i = 0; i < 2; ++i) transport.sendToAll(OuterFrame::buildSearchRequest());
    model.sync();
    QCOMPARE(model.rowCount(), 2);
    // Three more datagrams: the first two leave the top, three rows are held.
    for (std::uint8_t b : {0x01, 0x02, 0x03}) transport.deliverNow(Bytes{b});
    QCOMPARE(log.recordedCount(), 5u);
    QVERIFY(!model.entryAt(0));  // its datagram is no longer held
    model.sync();
    QCOMPARE(removed.size(), 1);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.entryAt(0)->datagram.bytes, QByteArray(1, '\x01'));
    QCOMPARE(cell(&model, 2, TrafficTableModel::MeaningColumn), QStringLiteral("格式错误，已丢弃：帧头错误"));
    QCOMPARE(log.counters()[0].malformed, 3u);
  }
};

QTEST_MAIN(TrafficWindowTest)
#include "traffic_window_test.moc"
