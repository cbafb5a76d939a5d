// The window on its real sockets against quendra-hostsim, both on loopback inside a private network namespace: it
// opens its receive socket on 1901 and speaks from 127.0.0.1; search, selection and a tunnel read arrive over UDP;
// closing the window closes the sockets.
#include <QProcess>
#include <QTest>

#include "app/device_list.h"
#include "app/main_dialog.h"
#include "pages/base_page.h"
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
    QVERIFY(dialog.udpTransport()->receiveSocketOpen());
    dialog.search();
    QTRY_COMPARE_WITH_TIMEOUT(dialog.deviceList()->rowCount(), 2, 10000);
    dialog.deviceList()->selectRow(0);
    dialog.selectDevice();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.flags().networkRead, 10000);
    QVERIFY(dialog.selectedDevice() != Mac{});
    dialog.tabs()->setCurrentIndex(MainDialog::BaseTab);
    press(dialog.basePage(), QStringLiteral("读取基础参数"));
    QTRY_VERIFY_WITH_TIMEOUT(dialog.flags().baseRead, 10000);
    QVERIFY(notifier.notices.isEmpty());
    dialog.close();
    QVERIFY(!dialog.udpTransport()->receiveSocketOpen());
    sim.terminate();
    sim.waitForFinished(3000);
  }
};

QTEST_MAIN(WindowNetTest)
#include "window_net_test.moc"
