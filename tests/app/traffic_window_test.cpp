// The traffic window on simulated hosts: opened from "通信记录...", it words each datagram, shows the selected bytes and
// the counters per local address, and exports text and the log's capture; its table follows the log's ring.
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

// The cells of a row from `column` on, joined by '|'.
QString cells(const QAbstractItemModel* m, int row, int column = 0) {
  QStringList texts;
  for (; column < m->columnCount(); ++column) texts << m->index(row, column).data().toString();
  return texts.join('|');
}

}  // namespace

class TrafficWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void showsExplainsAndExportsTheTraffic() {
    FleetWindow w(2);
    QVERIFY(w.searchAndSelect(0));
    Bytes broken = OuterFrame::buildTunnelReply(w.host(0).mac, TunnelFrame::buildReply(1, Bytes(27), 7, 10));
    broken[20] ^= 0xFF;  // the CRC no longer fits: the tool drops the reply, the window says why
    w.transport.deliverNow(broken);

    press(&w.dialog, QStringLiteral("通信记录..."));
    auto* window = openWindow<TrafficWindow>();
    QVERIFY(window && !window->isModal());
    for (const char* name : {"导出pcapng...", "导出文本..."}) QVERIFY2(findByAccessibleName<QWidget>(window, QString::fromUtf8(name)), name);
    auto* datagrams = field<QTableView>(window, QStringLiteral("数据报"));
    const QAbstractItemModel* table = datagrams->model();
    const auto counters = [&] { return cells(field<QTableWidget>(window, QStringLiteral("计数"))->model(), 0); };
    QCOMPARE(cells(table, 0, TrafficTableModel::DirectionColumn), QStringLiteral("发送|127.0.0.1|255.255.255.255:1901|搜索请求"));
    QStringList meanings;
    for (int row = 1; row < table->rowCount(); ++row) meanings << cells(table, row, TrafficTableModel::MeaningColumn);
    QCOMPARE(meanings, (QStringList{"搜索应答 来自 024B7D000001 IP 192.168.1.10 版本710 名称 模拟主机1",
                                    "搜索应答 来自 024B7D000002 IP 192.168.1.11 版本711 名称 模拟主机2",
                                    "读取网络参数 发往 024B7D000001", "网络参数应答 来自 024B7D000001",
                                    "格式错误，已丢弃：CRC错误"}));
    datagrams->selectRow(0);
    QCOMPARE(field<QPlainTextEdit>(window, QStringLiteral("数据"))->toPlainText(), QStringLiteral("0000  AA 00 01 02 02"));
    QCOMPARE(field<QTableWidget>(window, QStringLiteral("计数"))->rowCount(), 1);
    QCOMPARE(counters(), QStringLiteral("127.0.0.1|2|0|4|1"));  // local address, sent, resent, received, malformed
    const Bytes toNobody = OuterFrame::buildReadNetworkRequest(Mac{2, 0, 0, 0, 0, 9});
    for (int i = 0; i < 2; ++i) w.transport.sendToAll(toNobody), w.transport.deliverNow(toNobody);  // heard back
    QTRY_COMPARE(counters(), QStringLiteral("127.0.0.1|4|1|6|1"));

    QTemporaryDir dir;
    QFile text(dir.filePath("traffic.txt"));
    QVERIFY(window->exportText(text.fileName()) && text.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(text.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0].section('\t', 1), QStringLiteral("发送\t127.0.0.1\t255.255.255.255:1901\t搜索请求\tAA 00 01 02 02"));
    QVERIFY(window->exportPcapng(dir.filePath("traffic.pcapng")) && !window->exportPcapng(dir.filePath("missing/x")));
    QFile capture(dir.filePath("traffic.pcapng"));  // the log's capture of all ten (its blocks: traffic_log_test)
    QVERIFY(capture.open(QIODevice::ReadOnly));
    const Bytes captured = w.dialog.trafficLog().pcapngBytes();
    QCOMPARE(capture.readAll(), QByteArray(reinterpret_cast<const char*>(captured.data()), qsizetype(captured.size())));
    QCOMPARE(w.notifier.notices.size(), 1);
    QCOMPARE(w.notifier.notices[0].title + w.notifier.notices[0].text, "警告无法写入文件 " + dir.filePath("missing/x"));

    window->close();  // the window and its model go; the log keeps recording
    QTRY_VERIFY(!w.dialog.findChild<TrafficWindow*>());
    w.dialog.search();
    press(&w.dialog, QStringLiteral("通信记录..."));
    window = openWindow<TrafficWindow>();
    QTRY_COMPARE(counters(), QStringLiteral("127.0.0.1|5|1|8|1"));  // the search and its answers
  }

  void tableFollowsTheRingAsItDropsTheOldest() {
    FleetTransport transport;
    TrafficLog log(transport, 3);
    TrafficTableModel model(log);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    for (int i = 0; i < 2; ++i) transport.sendToAll(OuterFrame::buildSearchRequest());
    model.sync();
    for (std::uint8_t b : {0x01, 0x02, 0x03}) transport.deliverNow(Bytes{b});  // the first two leave the top
    QVERIFY(!model.entryAt(0));  // until the next sync its datagram is no longer held
    model.sync();
    QCOMPARE(removed.size(), 1);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.entryAt(0)->datagram.bytes, QByteArray(1, '\x01'));
  }
};

QTEST_MAIN(TrafficWindowTest)
#include "traffic_window_test.moc"
