// Search and selection through the real window, the real sockets and
// quendra-hostsim, inside a private network namespace: one row per answer,
// the newest on top; a double-click selects the row's host, shows its MAC and
// network settings; page reads are refused until a network answer arrived.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/device_list.h"
#include "app/info_log_view.h"
#include "app/main_dialog.h"
#include "pages/base_page.h"
#include "pages/gprs_page.h"
#include "pages/network_page.h"
#include "support/simulated_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

constexpr int kReplyWaitMs = 10000;

const Mac kHost1{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};
const Mac kHost2{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x02};

QString hex(const Bytes& d) {
  return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(d.data()), qsizetype(d.size())).toHex());
}

struct Window : ShownWindow {
  DeviceList* list() { return dialog.deviceList(); }
  QString row(int r, int column) { return list()->text(r, column); }
  void pressSearch() { QTest::mouseClick(dialog.searchButton(), Qt::LeftButton); }
  // The operator's double-click on row r.
  void doubleClickRow(int r) {
    const QPoint at = list()->rowRect(r).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
  }
  QLineEdit* networkField(const QString& name) { return edit(dialog.networkPage(), name); }
};

}  // namespace

class DiscoveryNetTest : public QObject {
  Q_OBJECT
 private slots:
  void twoHostsGiveTwoRowsTheLaterOnTop() {
    HostSim sim({QStringLiteral("--hosts"), QStringLiteral("2")});
    QVERIFY(sim.started());
    Window w;
    w.pressSearch();
    QTRY_COMPARE_WITH_TIMEOUT(w.list()->rowCount(), 2, kReplyWaitMs);
    // The simulator answers host 1 first.
    QCOMPARE(w.row(0, DeviceList::IpColumn), QStringLiteral("192.168.1.11"));
    QCOMPARE(w.row(0, DeviceList::NameColumn), QStringLiteral("模拟主机2"));
    QCOMPARE(w.row(0, DeviceList::MacColumn), QStringLiteral("024B7D000002"));
    QCOMPARE(w.row(0, DeviceList::VersionColumn), QStringLiteral("711"));
    QCOMPARE(w.row(1, DeviceList::IpColumn), QStringLiteral("192.168.1.10"));
    QCOMPARE(w.row(1, DeviceList::MacColumn), QStringLiteral("024B7D000001"));
    QCOMPARE(w.dialog.infoLog().text(), QStringLiteral("搜索...\r\n搜索到设备\r\n搜索到设备\r\n"));
    QCOMPARE(sim.requestLog(), QStringList{QStringLiteral("aa00010202")});
    QVERIFY(w.notifier.notices.isEmpty());
  }

  void doubleClickSelectsAndReadsTheNetworkSettings() {
    HostSim sim({QStringLiteral("--hosts"), QStringLiteral("2")});
    QVERIFY(sim.started());
    Window w;
    w.pressSearch();
    QTRY_COMPARE_WITH_TIMEOUT(w.list()->rowCount(), 2, kReplyWaitMs);
    w.doubleClickRow(1);  // host 1
    QCOMPARE(w.dialog.selectedDevice(), kHost1);
    QCOMPARE(w.networkField(QStringLiteral("MAC地址："))->text(), QStringLiteral("02-4B-7D-00-00-01"));
    QTRY_VERIFY_WITH_TIMEOUT(w.dialog.flags().networkRead, kReplyWaitMs);
    QCOMPARE(w.networkField(QStringLiteral("静态IP："))->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(w.dialog.infoLog().text(), QStringLiteral("读取参数...\r\n读取网络参数成功！\r\n"));
    QCOMPARE(sim.requestLog().last(), hex(OuterFrame::buildReadNetworkRequest(kHost1)));
    QCOMPARE(sim.requestLog().last(), QStringLiteral("aa000703024b7d000001ce"));

    // Another row: only SelectedDevice changes; the flag stays.
    w.doubleClickRow(0);
    QCOMPARE(w.dialog.selectedDevice(), kHost2);
    QTRY_COMPARE_WITH_TIMEOUT(w.networkField(QStringLiteral("静态IP："))->text(), QStringLiteral("192.168.1.11"),
                              kReplyWaitMs);

    // Searching again empties the list but keeps the selection and the flag.
    const int heard = sim.requestLog().size();
    w.pressSearch();
    QTRY_COMPARE_WITH_TIMEOUT(sim.requestLog().size(), heard + 1, kReplyWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(w.list()->rowCount(), 2, kReplyWaitMs);
    QCOMPARE(w.dialog.selectedDevice(), kHost2);
    QVERIFY(w.dialog.flags().networkRead);
  }

  void doubleClickWithoutSelectedRowSendsNothing() {
    HostSim sim;
    QVERIFY(sim.started());
    Window w;
    w.pressSearch();
    QTRY_COMPARE_WITH_TIMEOUT(w.list()->rowCount(), 1, kReplyWaitMs);
    w.list()->clearSelection();
    const QPoint below = w.list()->rowRect(0).center() + QPoint(0, 200);
    QTest::mouseDClick(w.list()->viewport(), Qt::LeftButton, {}, below);
    w.dialog.selectDevice();
    QCOMPARE(w.dialog.selectedDevice(), Mac{});
    // A later search is the next request the simulator hears.
    w.pressSearch();
    QTRY_COMPARE_WITH_TIMEOUT(sim.requestLog().size(), 2, kReplyWaitMs);
    QCOMPARE(sim.requestLog(), (QStringList{QStringLiteral("aa00010202"), QStringLiteral("aa00010202")}));
  }

  void pageReadBeforeSelectionWarns() {
    HostSim sim;
    QVERIFY(sim.started());
    Window w;
    w.dialog.tabs()->setCurrentIndex(MainDialog::BaseTab);
    QTest::mouseClick(buttonByText(w.dialog.basePage(), QStringLiteral("读取基础参数")), Qt::LeftButton);
    w.dialog.tabs()->setCurrentIndex(MainDialog::GprsTab);
    QTest::mouseClick(buttonByText(w.dialog.gprsPage(), QStringLiteral("读取GPRS参数")), Qt::LeftButton);
    QCOMPARE(w.notifier.notices.size(), 2);
    for (const auto& notice : w.notifier.notices) {
      QCOMPARE(notice.title, QStringLiteral("警告"));
      QCOMPARE(notice.text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    }
    w.pressSearch();
    QTRY_COMPARE_WITH_TIMEOUT(sim.requestLog().size(), 1, kReplyWaitMs);
    QCOMPARE(sim.requestLog(), QStringList{QStringLiteral("aa00010202")});
  }
};

QTEST_MAIN(DiscoveryNetTest)
#include "discovery_net_test.moc"
