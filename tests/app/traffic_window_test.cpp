// The traffic window on simulated hosts: opened from "通信记录...", it words each datagram, shows the selected bytes and
// the counters per local address, and exports text and a capture that holds every datagram; its table follows the
// log's ring.
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

// A pcapng file read block by block: the section header and the interface, then one packet block per datagram, each
// block's length at both ends; the datagrams after their IPv4 and UDP headers (28 bytes). Empty when a block is amiss.
QList<QByteArray> capturedDatagrams(const QByteArray& file) {
  const Bytes f(file.begin(), file.end());
  QList<QByteArray> out;
  for (std::size_t at = 0, n = 0; at < f.size(); ++n) {
    const std::uint32_t kinds[] = {0x0A0D0D0A, 1, 6}, smallest[] = {28, 20, 32};
    const std::size_t kind = std::min<std::size_t>(n, 2);
    if (at + 8 > f.size() || getU32LE(f, at) != kinds[kind]) return {};
    const std::uint32_t length = getU32LE(f, at + 4);
    if (length < smallest[kind] || length % 4 || at + length > f.size() || getU32LE(f, at + length - 4) != length) return {};
    if (kind == 2) {  // interface, time (2 words), captured and original length, the packet
      const std::uint32_t captured = getU32LE(f, at + 20);
      if (captured < 28 || 32 + captured > length || getU32LE(f, at + 24) != captured) return {};
      out << QByteArray(reinterpret_cast<const char*>(f.data() + at + 28 + 28), captured - 28);
    }
    at += length;
  }
  return out;
}
QList<QByteArray> logged(const TrafficLog& log) {
  QList<QByteArray> out;
  for (const TrafficEntry& e : log.entries()) out << e.datagram.bytes;
  return out;
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

    w.dialog.trafficButton()->click();
    TrafficWindow* window = w.dialog.trafficWindow();
    QVERIFY(window && window->isVisible() && !window->isModal());
    for (const char* name : {"数据报", "数据", "计数", "导出pcapng...", "导出文本..."})
      QVERIFY2(findByAccessibleName<QWidget>(window, QString::fromUtf8(name)), name);
    const QAbstractItemModel* table = window->table()->model();
    QCOMPARE(cells(table, 0, TrafficTableModel::DirectionColumn), QStringLiteral("发送|127.0.0.1|255.255.255.255:1901|搜索请求"));
    QStringList meanings;
    for (int row = 1; row < table->rowCount(); ++row) meanings << cells(table, row, TrafficTableModel::MeaningColumn);
    QCOMPARE(meanings, (QStringList{"搜索应答 来自 024B7D000001 IP 192.168.1.10 版本710 名称 模拟主机1",
                                    "搜索应答 来自 024B7D000002 IP 192.168.1.11 版本711 名称 模拟主机2",
                                    "读取网络参数 发往 024B7D000001", "网络参数应答 来自 024B7D000001",
                                    "格式错误，已丢弃：CRC错误"}));
    window->table()->selectRow(0);
    QCOMPARE(window->bytesView()->toPlainText(), QStringLiteral("0000  AA 00 01 02 02"));
    QCOMPARE(window->countersTable()->rowCount(), 1);  // local address, sent, resent, received, dropped as malformed
    QCOMPARE(cells(window->countersTable()->model(), 0), QStringLiteral("127.0.0.1|2|0|4|1"));
    const Bytes toNobody = OuterFrame::buildReadNetworkRequest(Mac{2, 0, 0, 0, 0, 9});
    for (int i = 0; i < 2; ++i) w.transport.sendToAll(toNobody), w.transport.deliverNow(toNobody);  // heard back
    QTRY_COMPARE(cells(window->countersTable()->model(), 0), QStringLiteral("127.0.0.1|4|1|6|1"));

    QTemporaryDir dir;
    QFile text(dir.filePath("traffic.txt"));
    QVERIFY(window->exportText(text.fileName()) && text.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(text.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0].section('\t', 1), QStringLiteral("发送\t127.0.0.1\t255.255.255.255:1901\t搜索请求\tAA 00 01 02 02"));
    QVERIFY(window->exportPcapng(dir.filePath("traffic.pcapng")) && !window->exportPcapng(dir.filePath("missing/x")));
    QFile capture(dir.filePath("traffic.pcapng"));
    QVERIFY(capture.open(QIODevice::ReadOnly));
    QCOMPARE(capturedDatagrams(capture.readAll()), logged(w.dialog.trafficLog()));
    QCOMPARE(w.notifier.notices.size(), 1);
    QCOMPARE(w.notifier.notices[0].title + w.notifier.notices[0].text, "警告无法写入文件 " + dir.filePath("missing/x"));

    window->close();  // the window and its model go; the log keeps recording
    QTRY_VERIFY(!w.dialog.trafficWindow());
    w.dialog.search();
    QCOMPARE(w.dialog.trafficLog().counters()[0].sent, 5u);
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
