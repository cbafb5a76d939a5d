// The window on its real sockets against quendra-hostsim, both on loopback inside a private network namespace: it
// opens its receive socket on 1901 and speaks from 127.0.0.1; search, selection and a tunnel read arrive over UDP;
// closing the window closes the sockets (port 1901 is free again).
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QUdpSocket>

#include "app/device_list.h"
#include "app/main_dialog.h"
#include "support/widgets.h"

using namespace quendra;
using namespace quendra::test;

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
};

QTEST_MAIN(WindowNetTest)
#include "window_net_test.moc"
