// The network page through the real window against quendra-hostsim (inside a
// private network namespace): a write changes the host's record and carries
// back the hidden bytes exactly as read; factory reset and MAC write reach
// the host byte for byte; refusals send nothing.
#include "pages/network_page.h"
#include "support/simulated_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

const Mac kHost1{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};
const QString kSearchRequest = QStringLiteral("aa00010202");

Bytes fromHex(const QString& line) {
  const QByteArray raw = QByteArray::fromHex(line.toLatin1());
  return Bytes(raw.begin(), raw.end());
}

struct Session : SimulatedWindow {
  QLineEdit* field(const QString& name) { return edit(dialog.networkPage(), name); }
  void press(const QString& text) { QTest::mouseClick(buttonByText(dialog.networkPage(), text), Qt::LeftButton); }
  // The requests heard after `from`, once a search sent as a fence has been
  // heard and answered.
  QStringList requestsAfter(int from) {
    dialog.search();
    if (!QTest::qWaitFor([&] { return dialog.deviceList()->topLevelItemCount() > 0; }, kReplyWaitMs))
      return {QStringLiteral("fence not answered")};
    QStringList heard = sim.requestLog().mid(from);
    heard.removeAll(kSearchRequest);
    return heard;
  }
};

}  // namespace

class NetworkPageNetTest : public QObject {
  Q_OBJECT
 private slots:
  void writeChangesTheHostAndKeepsTheHiddenBytes() {
    Session s;
    QVERIFY(s.searchAndSelect());
    const auto read = s.dialog.networkPage()->params().bytes;

    s.field(QStringLiteral("静态IP："))->setText(QStringLiteral("192.168.1.77"));
    s.field(QStringLiteral("服务器1 服务器地址："))->setText(QStringLiteral("监控中心"));
    s.field(QStringLiteral("服务器1 监听端口："))->setText(QStringLiteral("5000"));
    const int before = s.sim.requestLog().size();
    s.press(QStringLiteral("写入网络参数"));
    QCOMPARE(s.notifier.notices.size(), 1);
    QCOMPARE(s.notifier.notices[0].title, QStringLiteral("提示"));

    const QStringList heard = s.requestsAfter(before);
    QCOMPARE(heard.size(), 1);
    const Bytes d = fromHex(heard[0]);
    QCOMPARE(d.size(), std::size_t{303});
    QCOMPARE((Bytes(d.begin(), d.begin() + 10)), (Bytes{0xAA, 0x01, 0x2B, 0x04, 0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01}));
    const Bytes record(d.begin() + 10, d.begin() + 302);
    for (std::size_t i = 13; i <= 18; ++i) QCOMPARE(record[i], read[i]);
    for (std::size_t i = 88; i < 292; ++i) QCOMPARE(record[i], read[i]);
    QCOMPARE((Bytes(record.begin() + 1, record.begin() + 5)), (Bytes{77, 1, 168, 192}));
    QCOMPARE((Bytes(record.begin() + 22, record.begin() + 24)), (Bytes{0x88, 0x13}));
    // "监控中心" in GBK and its zero.
    QCOMPARE((Bytes(record.begin() + 24, record.begin() + 33)),
             (Bytes{0xBC, 0xE0, 0xBF, 0xD8, 0xD6, 0xD0, 0xD0, 0xC4, 0x00}));

    // Spoil the page, read again: the host's record now holds the edit.
    s.field(QStringLiteral("静态IP："))->setText(QStringLiteral("1.1.1.1"));
    s.field(QStringLiteral("服务器1 服务器地址："))->clear();
    QVERIFY(s.searchAndSelect());
    QCOMPARE(s.dialog.deviceList()->topLevelItem(0)->text(DeviceList::IpColumn), QStringLiteral("192.168.1.77"));
    QCOMPARE(s.field(QStringLiteral("静态IP："))->text(), QStringLiteral("192.168.1.77"));
    QCOMPARE(s.field(QStringLiteral("服务器1 服务器地址："))->text(), QStringLiteral("监控中心"));
    QCOMPARE(s.field(QStringLiteral("服务器1 监听端口："))->text(), QStringLiteral("5000"));
    QCOMPARE(s.dialog.networkPage()->params().bytes, [&] {
      auto expected = read;
      std::copy(record.begin(), record.end(), expected.begin());
      return expected;
    }());
  }

  void factoryResetReachesTheHost() {
    Session s;
    QVERIFY(s.searchAndSelect());
    s.field(QStringLiteral("静态IP："))->setText(QStringLiteral("192.168.1.99"));
    const int beforeWrite = s.sim.requestLog().size();
    s.press(QStringLiteral("写入网络参数"));
    QTRY_VERIFY(s.sim.requestLog().size() > beforeWrite);  // the simulator logs as it hears
    const int before = s.sim.requestLog().size();
    s.press(QStringLiteral("网络恢复出厂"));
    QCOMPARE(s.dialog.infoLog().text(), QStringLiteral("恢复出厂设置...\r\n"));
    const QStringList heard = s.requestsAfter(before);
    QCOMPARE(heard, QStringList{QStringLiteral("aa000706024b7d000001d1")});
    QVERIFY(s.searchAndSelect());
    QCOMPARE(s.field(QStringLiteral("静态IP："))->text(), QStringLiteral("192.168.1.10"));
  }

  void macWriteReachesTheHost() {
    Session s;
    QVERIFY(s.searchAndSelect());
    s.field(QStringLiteral("MAC地址："))->setText(QStringLiteral("02-4b-7d-12-34-56"));
    const int before = s.sim.requestLog().size();
    s.press(QStringLiteral("写MAC"));
    QCOMPARE(s.dialog.infoLog().text(), QStringLiteral("写入MAC地址...\r\n"));
    const QStringList heard = s.requestsAfter(before);
    // AA 00 0D 0F, the host's present MAC, the new one, the sum.
    QCOMPARE(heard, QStringList{QStringLiteral("aa000d0f024b7d000001024b7d12345640")});
    QCOMPARE(s.dialog.deviceList()->topLevelItem(0)->text(DeviceList::MacColumn), QStringLiteral("024B7D123456"));
  }

  void refusalsSendNothing() {
    Session s;
    const int start = s.sim.requestLog().size();
    // No network answer yet: the write would wipe the host's hidden bytes.
    s.press(QStringLiteral("写入网络参数"));
    QCOMPARE(s.notifier.notices.size(), 1);
    QCOMPARE(s.notifier.notices[0].title, QStringLiteral("警告"));
    QCOMPARE(s.notifier.notices[0].text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    QCOMPARE(s.requestsAfter(start), QStringList{});

    QVERIFY(s.searchAndSelect());
    s.notifier.notices.clear();
    s.field(QStringLiteral("子网掩码："))->setText(QStringLiteral("255.255.255.300"));
    int before = s.sim.requestLog().size();
    s.press(QStringLiteral("写入网络参数"));
    QCOMPARE(s.notifier.notices.size(), 1);
    QCOMPARE(s.notifier.notices[0].title, QStringLiteral("提示"));
    QVERIFY(s.notifier.notices[0].text.startsWith(QStringLiteral("子网掩码：")));
    s.field(QStringLiteral("子网掩码："))->setText(QStringLiteral("255.255.255.0"));
    s.field(QStringLiteral("服务器1 服务器地址："))->setText(QString(30, QLatin1Char('w')));
    s.press(QStringLiteral("写入网络参数"));
    QCOMPARE(s.notifier.notices.size(), 2);
    QVERIFY(s.notifier.notices[1].text.startsWith(QStringLiteral("服务器1 服务器地址：")));
    for (const char* mac : {"FF-FF-FF-FF-FF-FF", "01-00-5E-00-00-01", "00-00-00-00-00-00", "024B7D000001"}) {
      s.field(QStringLiteral("MAC地址："))->setText(QString::fromLatin1(mac));
      s.press(QStringLiteral("写MAC"));
      QCOMPARE(s.dialog.infoLog().text(), QStringLiteral("不合格的MAC地址格式!!!\r\n"));
    }
    QCOMPARE(s.requestsAfter(before), QStringList{});
  }
};

QTEST_MAIN(NetworkPageNetTest)
#include "network_page_net_test.moc"
