// The main window as it opens (inside a private network namespace, because it
// binds port 1901): caption, tabs, start values, help text, device-list
// columns, the About box, the wait box, the information area, and the
// version-gate warning from a host the tool does not support.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/about_box.h"
#include "app/device_list.h"
#include "app/help_text.h"
#include "app/info_log_view.h"
#include "app/main_dialog.h"
#include "app/wait_dialog.h"
#include "pages/base_page.h"
#include "pages/channel_page.h"
#include "pages/gprs_page.h"
#include "pages/led_page.h"
#include "pages/modbus_page.h"
#include "pages/network_page.h"
#include "pages/relay_page.h"
#include "support/simulated_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

constexpr int kReplyWaitMs = 10000;

using Window = ShownWindow;

QList<AboutBox*> aboutBoxes() {
  QList<AboutBox*> boxes;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<AboutBox*>(w); box && box->isVisible()) boxes << box;
  return boxes;
}

}  // namespace

class MainWindowNetTest : public QObject {
  Q_OBJECT
 private slots:
  void opensIdleWithItsStartValues() {
    Window w;
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("Quendra 主机配置软件 V2.3"));
    QVERIFY(!(w.dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!w.dialog.windowIcon().isNull());
    QCOMPARE(w.dialog.portField()->text(), QStringLiteral("1901"));
    QCOMPARE(w.dialog.pcAddressField()->text(), QStringLiteral("127.0.0.1"));
    QVERIFY(w.dialog.pcAddressField()->isReadOnly());
    QVERIFY(w.dialog.udpTransport()->receiveSocketOpen());
    QCOMPARE(w.dialog.infoLog().text(), helpText());
    QVERIFY(w.dialog.infoLog().text().startsWith(QStringLiteral("  本软件适用于：Quendra产品的参数配置。\r\n")));
    QCOMPARE(w.dialog.infoLog().text().count(QStringLiteral("\r\n")), 6);
    QCOMPARE(w.dialog.infoLogView()->toPlainText(), QString(helpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const ReadFlags& f = w.dialog.flags();
    QVERIFY(!f.networkRead && !f.baseRead && !f.gprsRead && !f.channelRead && !f.modbusRead && !f.relayRead &&
            !f.ledRead);
    QCOMPARE(w.dialog.selectedDevice(), Mac{});
    QCOMPARE(w.dialog.deviceList()->rowCount(), 0);
    QVERIFY(w.notifier.notices.isEmpty());
  }

  void tabsInOrderWithTheirExactTitles() {
    Window w;
    QTabWidget* tabs = w.dialog.tabs();
    const QStringList titles = {QStringLiteral("网口参数 "), QStringLiteral("GPRS参数 "), QStringLiteral("基础参数 "),
                                QStringLiteral("通道参数 "), QStringLiteral("ModBus参数"), QStringLiteral("继电器参数"),
                                QStringLiteral("LED屏参数")};
    QCOMPARE(tabs->count(), 7);
    for (int i = 0; i < 7; ++i) QCOMPARE(tabs->tabText(i), titles[i]);
    const QList<QWidget*> pages = {w.dialog.networkPage(), w.dialog.gprsPage(),   w.dialog.basePage(),
                                   w.dialog.channelPage(), w.dialog.modbusPage(), w.dialog.relayPage(),
                                   w.dialog.ledPage()};
    for (int i = 0; i < 7; ++i) QCOMPARE(tabs->widget(i), pages[i]);
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(w.dialog.networkPage()->isVisible());
  }

  void choosingModbusShowsTheModbusPageOnly() {
    Window w;
    QTabBar* bar = w.dialog.tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(MainDialog::ModbusTab).center());
    QCOMPARE(w.dialog.tabs()->currentIndex(), int(MainDialog::ModbusTab));
    QVERIFY(w.dialog.modbusPage()->isVisible());
    const QList<QWidget*> others = {w.dialog.networkPage(), w.dialog.basePage(), w.dialog.channelPage(),
                                    w.dialog.gprsPage(),    w.dialog.relayPage(), w.dialog.ledPage()};
    for (QWidget* other : others) QVERIFY(!other->isVisible());
  }

  void deviceListColumnsShareTheWidth() {
    Window w;
    DeviceList* list = w.dialog.deviceList();
    const QStringList headers = {QStringLiteral("设备IP"), QStringLiteral("设备名称"), QStringLiteral("MAC地址"),
                                 QStringLiteral("固件版本")};
    for (int c = 0; c < 4; ++c) QCOMPARE(list->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    for (const QSize size : {w.dialog.size(), w.dialog.size() + QSize(200, 50)}) {
      w.dialog.resize(size);
      QTest::qWait(0);
      const int width = list->viewport()->width();
      QVERIFY(width > 100);
      QCOMPARE(list->columnWidth(0), width * 3 / 11);
      QCOMPARE(list->columnWidth(1), width * 3 / 11);
      QCOMPARE(list->columnWidth(2), width * 3 / 11);
      QCOMPARE(list->columnWidth(3), width * 2 / 11);
      const int sum = list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2) + list->columnWidth(3);
      QVERIFY2(sum <= width && sum >= width - 3, qPrintable(QStringLiteral("%1 of %2").arg(sum).arg(width)));
    }
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
  }

  void aboutBoxFromItsButtonAndFromF1() {
    Window w;
    QCOMPARE(w.dialog.aboutButton()->text(), QStringLiteral("关于 Quendra(&A)..."));
    QVERIFY(w.dialog.aboutButton()->isVisible());
    QTest::mouseClick(w.dialog.aboutButton(), Qt::LeftButton);
    QTRY_COMPARE(aboutBoxes().size(), 1);
    AboutBox* box = aboutBoxes().first();
    QCOMPARE(box->windowTitle(), QStringLiteral("关于Quendra配置软件"));
    QVERIFY(box->isModal());
    bool hasText = false;
    for (QLabel* l : box->findChildren<QLabel*>()) hasText |= l->text() == QStringLiteral("Quendra主机配置软件V2.3");
    QVERIFY(hasText);
    QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons[0]->text(), QStringLiteral("确定"));
    QVERIFY(buttons[0]->isDefault());
    buttons[0]->click();
    QTRY_COMPARE(aboutBoxes().size(), 0);

    w.dialog.activateWindow();
    QTest::keyClick(&w.dialog, Qt::Key_F1);
    QTRY_COMPARE(aboutBoxes().size(), 1);
    aboutBoxes().first()->reject();
  }

  void enterPressesTheDefaultButtonOnlyInsideItsPage() {
    Window w;
    w.dialog.activateWindow();
    // In the device list: nothing is written (a write would warn: no answer yet).
    w.dialog.deviceList()->setFocus();
    QTest::keyClick(w.dialog.deviceList(), Qt::Key_Return);
    QVERIFY(w.notifier.notices.isEmpty());
    // In a field of the network page: its default button "写入网络参数".
    QLineEdit* host = findByAccessibleName<QLineEdit>(w.dialog.networkPage(), QStringLiteral("静态IP："));
    host->setFocus();
    QTest::keyClick(host, Qt::Key_Return);
    QCOMPARE(w.notifier.notices.size(), 1);
    QCOMPARE(w.notifier.notices[0].text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    // The button keeps its default look after another button had the focus.
    w.dialog.searchButton()->setFocus();
    w.dialog.deviceList()->setFocus();
    QPushButton* write = nullptr;
    for (QPushButton* b : w.dialog.networkPage()->findChildren<QPushButton*>())
      if (b->text() == QStringLiteral("写入网络参数")) write = b;
    QVERIFY(write && write->isDefault());
  }

  void waitBoxOpensWithoutBlocking() {
    Window w;
    WaitDialog* box = w.dialog.waitDialog();
    QCOMPARE(box->text(), QStringLiteral("Static"));
    QVERIFY(!box->isVisible());
    box->openBox();  // returns at once: replies keep being handled
    QVERIFY(box->isVisible());
    QCOMPARE(box->windowModality(), Qt::WindowModal);
    QCOMPARE(box->windowTitle(), QString());
    QVERIFY(box->findChildren<QPushButton*>().isEmpty());
    box->setText(QStringLiteral("正在读取继电器3参数"));
    QCOMPARE(box->text(), QStringLiteral("正在读取继电器3参数"));
    box->reject();
    QVERIFY(!box->isVisible());
  }

  void informationAreaShowsTheTopAfterRefresh() {
    Window w;
    InfoLogView* view = w.dialog.infoLogView();
    for (int i = 0; i < 300; ++i) w.dialog.infoLog().append(QStringLiteral("第%1行\r\n").arg(i));
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    w.dialog.infoLog().refresh();
    QVERIFY(view->verticalScrollBar()->maximum() > 0);
    QCOMPARE(view->verticalScrollBar()->value(), 0);
    QVERIFY(view->toPlainText().endsWith(QStringLiteral("第299行\n")));
  }

  void closingClosesTheSockets() {
    Window w;
    w.dialog.close();
    QVERIFY(!w.dialog.udpTransport()->receiveSocketOpen());
  }

  void hostOfUnsupportedVersionRaisesTheWarning() {
    SimulatedWindow w({QStringLiteral("--trailer-version"), QStringLiteral("7.2")});
    QVERIFY(w.searchAndSelect());
    QVERIFY(w.dialog.flags().networkRead);
    w.dialog.tabs()->setCurrentIndex(MainDialog::BaseTab);
    buttonByText(w.dialog.basePage(), QStringLiteral("读取基础参数"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.notifier.notices.size(), 1, kReplyWaitMs);
    QCOMPARE(w.notifier.notices[0].title, QStringLiteral("警告"));
    QCOMPARE(w.notifier.notices[0].text, QStringLiteral("此版本设备不能使用该软件,请使用其他版本软件"));
    QCOMPARE(w.notifier.notices[0].icon, NoticeIcon::Question);
    QVERIFY(!w.dialog.flags().baseRead);
  }
};

QTEST_MAIN(MainWindowNetTest)
#include "main_window_net_test.moc"
