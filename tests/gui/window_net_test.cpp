// The window on its real sockets against quendra-hostsim, inside a private
// network namespace: it opens its receive socket on 1901 and speaks from
// 127.0.0.1; search, selection and a tunnel read arrive over UDP; closing the
// window closes the sockets.
#include "pages/base_page.h"
#include "support/simulated_window.h"

using namespace quendra;
using namespace quendra::test;

class WindowNetTest : public QObject {
  Q_OBJECT
 private slots:
  void searchSelectAndReadOverUdp() {
    SimulatedWindow w({QStringLiteral("--hosts"), QStringLiteral("2")});
    QVERIFY(w.dialog.udpTransport()->receiveSocketOpen());
    QVERIFY(w.searchAndSelect());
    QTRY_COMPARE_WITH_TIMEOUT(w.dialog.deviceList()->rowCount(), 2, SimulatedWindow::kReplyWaitMs);
    QVERIFY(w.dialog.selectedDevice() != Mac{});
    w.dialog.tabs()->setCurrentIndex(MainDialog::BaseTab);
    buttonByText(w.dialog.basePage(), QStringLiteral("读取基础参数"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(w.dialog.flags().baseRead, SimulatedWindow::kReplyWaitMs);
    QVERIFY(w.notifier.notices.isEmpty());
    w.dialog.close();
    QVERIFY(!w.dialog.udpTransport()->receiveSocketOpen());
  }
};

QTEST_MAIN(WindowNetTest)
#include "window_net_test.moc"
