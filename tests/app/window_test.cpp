// The main window on simulated hosts in process: how it opens (title, icon, tabs, host list), search and selection,
// the About box, Enter, the wait box, the information area's refreshes, a batch's words, and the message boxes that
// never stack (the version warning: host_config_window_test, fuzz_replay_test).
#include <QApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QTabBar>
#include <QTextDocument>
#include <QTimer>

#include "app/about_box.h"
#include "app/batch_progress.h"
#include "app/help_text.h"
#include "app/info_log_view.h"
#include "app/qt_message_notifier.h"
#include "app/wait_dialog.h"
#include "pages/modbus_page.h"
#include "pages/network_page.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

template <typename T>
QList<T*> openTopLevels() {
  QList<T*> out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) out << t;
  return out;
}

// The information area's lines end in \r\n; the view breaks lines on \n.
QString viewText(QString log) { return log.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// The operator's double-click on row r of the host list.
void doubleClickRow(DeviceList* list, int r) {
  const QPoint at = list->rowRect(r).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT
 private slots:
  void opensWithItsTitleIconTabsAndColumns() {
    FleetWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("Quendra 主机配置软件 V" QUENDRA_MAJOR_MINOR));
    QVERIFY(!(w.dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {  // drawn, without image plugins, at every size asked for
      const QImage icon = w.dialog.windowIcon().pixmap(QSize(size, size)).toImage();
      QVERIFY(icon.size() == QSize(size, size) && icon.pixelColor(size / 2, size / 2).alpha() > 0);
    }
    QCOMPARE(w.dialog.portField()->text(), QStringLiteral("1901"));
    QCOMPARE(w.dialog.infoLogView()->toPlainText(), viewText(helpText()));

    QTabWidget* tabs = w.dialog.tabs();
    const QStringList titles = {"网口参数 ", "GPRS参数 ", "基础参数 ", "通道参数 ", "ModBus参数", "继电器参数", "LED屏参数"};
    for (int i = 0; i < 7; ++i) QCOMPARE(tabs->tabText(i), titles[i]);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(MainDialog::ModbusTab).center());
    QVERIFY(w.dialog.modbusPage()->isVisible());

    DeviceList* list = w.dialog.deviceList();
    const QStringList headers = {"设备IP", "设备名称", "MAC地址", "固件版本"};
    for (const QSize size : {w.dialog.size(), w.dialog.size() + QSize(200, 50)}) {
      w.dialog.resize(size);
      QTest::qWait(0);
      int widths = 0;  // the columns fill the list as it grows: address, name and MAC alike, the version narrower
      for (int c = 0; c < 4; ++c) {
        QCOMPARE(list->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        widths += list->columnWidth(c);
      }
      QVERIFY(widths <= list->viewport()->width() && widths > list->viewport()->width() - 4);
      QVERIFY(list->columnWidth(0) == list->columnWidth(2) && list->columnWidth(1) == list->columnWidth(2));
      QVERIFY(list->columnWidth(3) < list->columnWidth(2) && list->columnWidth(3) > list->columnWidth(2) / 2);
    }
  }

  void searchListsEveryAnswerAndADoubleClickSelects() {
    FleetWindow w(2);
    DeviceList* list = w.dialog.deviceList();
    QTest::mouseClick(w.dialog.searchButton(), Qt::LeftButton);
    QTRY_COMPARE(list->rowCount(), 2);
    QCOMPARE(w.transport.requests(), QList<Bytes>{OuterFrame::buildSearchRequest()});
    const QStringList top = {"192.168.1.11", "模拟主机2", "024B7D000002", "711"};  // the later answer on top
    for (int c = 0; c < 4; ++c) QCOMPARE(list->text(0, c), top[c]);
    QCOMPARE(list->text(1, DeviceList::MacColumn), QStringLiteral("024B7D000001"));
    QCOMPARE(w.dialog.infoLog().text(), QStringLiteral("搜索...\r\n搜索到设备\r\n搜索到设备\r\n"));

    doubleClickRow(list, 1);
    QCOMPARE(w.dialog.selectedDevice(), w.host(0).mac);
    QCOMPARE(edit(w.dialog.networkPage(), QStringLiteral("MAC地址："))->text(), QStringLiteral("02-4B-7D-00-00-01"));
    QCOMPARE(w.transport.requests().last(), OuterFrame::buildReadNetworkRequest(w.host(0).mac));
    QTRY_VERIFY(w.dialog.flags().networkRead);
    QCOMPARE(edit(w.dialog.networkPage(), QStringLiteral("静态IP："))->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(w.dialog.infoLog().text(), QStringLiteral("读取参数...\r\n读取网络参数成功！\r\n"));

    doubleClickRow(list, 0);  // another host: only the selection changes
    QCOMPARE(w.dialog.selectedDevice(), w.host(1).mac);
    QTRY_COMPARE(edit(w.dialog.networkPage(), QStringLiteral("静态IP："))->text(), QStringLiteral("192.168.1.11"));
    w.dialog.search();  // empties the list, keeps the selection and the flag
    QCOMPARE(list->rowCount(), 0);
    QTRY_COMPARE(list->rowCount(), 2);
    QCOMPARE(w.dialog.selectedDevice(), w.host(1).mac);
    QVERIFY(w.dialog.flags().networkRead);
    list->clearSelection();
    const int sent = int(w.transport.requests().size());
    w.dialog.selectDevice();  // no row selected: nothing
    QCOMPARE(int(w.transport.requests().size()), sent);
    // Host 2 heard again with another address: both its rows say so, host 1's says nothing.
    w.transport.deliverNow(OuterFrame::buildSearchAnswer({0xC0A80163, w.host(1).mac, 711, "x"}));
    QTRY_COMPARE(list->rowCount(), 3);
    QCOMPARE((QStringList{list->text(0, DeviceList::ConflictColumn), list->text(1, DeviceList::ConflictColumn),
                          list->text(2, DeviceList::ConflictColumn)}),
             (QStringList{"多个IP", "多个IP", ""}));
    QVERIFY(list->model()->index(1, 0).data(Qt::ToolTipRole).toString().contains("此主机（MAC 02-4B-7D-00-00-02）还以另一个IP应答"));
  }

  void aboutEnterAndTheWaitBox() {
    FleetWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
    QTest::mouseClick(w.dialog.aboutButton(), Qt::LeftButton);
    QTRY_COMPARE(openTopLevels<AboutBox>().size(), 1);
    AboutBox* box = openTopLevels<AboutBox>().first();
    QCOMPARE(box->windowTitle(), QStringLiteral("关于Quendra配置软件"));
    QCOMPARE(box->findChildren<QPushButton*>().size(), 1);
    box->findChildren<QPushButton*>().first()->click();
    QTRY_COMPARE(openTopLevels<AboutBox>().size(), 0);
    w.dialog.activateWindow();
    QTest::keyClick(&w.dialog, Qt::Key_F1);
    QTRY_COMPARE(openTopLevels<AboutBox>().size(), 1);
    openTopLevels<AboutBox>().first()->reject();

    // Enter in the host list writes nothing; in a network field it presses "写入网络参数".
    QTest::keyClick(w.dialog.deviceList(), Qt::Key_Return);
    QVERIFY(w.notifier.notices.isEmpty());
    QTest::keyClick(edit(w.dialog.networkPage(), QStringLiteral("静态IP：")), Qt::Key_Return);
    QCOMPARE(w.notifier.notices.size(), 1);  // before a selection: the warning only
    QCOMPARE(w.notifier.notices[0].title + w.notifier.notices[0].text, QStringLiteral("警告请先搜索到设备,双击选中,再读取参数"));

    WaitDialog* wait = w.dialog.waitDialog();
    QCOMPARE(wait->text(), QStringLiteral("Static"));
    wait->openBox();  // returns at once: replies keep being handled
    QVERIFY(wait->isVisible() && wait->windowModality() == Qt::WindowModal);
    QVERIFY(wait->findChildren<QPushButton*>().isEmpty());
    QTest::keyClick(wait, Qt::Key_Return);
    QVERIFY(!wait->isVisible());
  }

  // A search answered by thousands of hosts refreshes the information area twice per answer: a refresh adds only what
  // is new, yet leaves what a whole replacement leaves. After a clear, or once the operator typed (in upper case),
  // the whole content is replaced.
  void informationAreaRefreshesAddOnlyWhatIsNew() {
    FleetWindow w;
    InfoLog& log = w.dialog.infoLog();
    InfoLogView* view = w.dialog.infoLogView();
    QList<int> changedAt;
    QObject::connect(view->document(), &QTextDocument::contentsChange, [&](int at, int, int) { changedAt << at; });
    const auto refreshShowsTheLogAtTheTop = [&] {  // with nothing to undo
      view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
      log.refresh();
      return view->toPlainText() == viewText(log.text()) && view->verticalScrollBar()->value() == 0 &&
             view->textCursor().position() == 0 && !view->document()->isUndoAvailable();
    };
    const int helpLength = int(view->toPlainText().size());
    view->moveCursor(QTextCursor::End);
    for (int i = 0; i < 300; ++i) log.append(QStringLiteral("第%1行\r\n").arg(i));
    QVERIFY(refreshShowsTheLogAtTheTop());
    QVERIFY(view->verticalScrollBar()->maximum() > 0);
    QVERIFY(refreshShowsTheLogAtTheTop());  // nothing new, scrolled down
    QCOMPARE(changedAt, QList<int>{helpLength});
    log.clear();
    log.append(helpText());  // even text the old content began with
    QVERIFY(refreshShowsTheLogAtTheTop());
    QCOMPARE(changedAt.last(), 0);
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClicks(view, QStringLiteral("x"));  // typing that keeps the length
    QVERIFY(view->toPlainText().startsWith(QStringLiteral("X ")));
    QVERIFY(refreshShowsTheLogAtTheTop());
  }

  // The words for a batch, in the order they appear while it runs.
  void batchesWordedPerRecordAndPerPass() {
    FleetWindow w;
    w.quickTimeouts();
    QVERIFY(w.searchAndSelect());
    HostSession& session = w.dialog.session();
    const auto read = [&](ParamGroup g) { return !session.read(g) && QTest::qWaitFor([&] { return session.idle(); }, 20000); };
    InfoLog log;
    QStringList shown;  // every refresh of the information area, and the wait box's lines
    QObject::connect(&log, &InfoLog::refreshed, [&](const QString& t) { shown << QStringLiteral("log:") + t; });
    BatchProgress words(log, [&](const QString& t) { shown << t; });
    QObject::connect(&session, &HostSession::batchEvent, &words, &BatchProgress::show);
    w.host().silent = {readCommandOf(ParamGroup::Channel, 4), readCommandOf(ParamGroup::Relay, 0)};
    log.append(QStringLiteral("old\r\n"));
    QVERIFY(read(ParamGroup::Channel));
    // A channel read refreshes after each send and empties the log after the first request's line.
    QCOMPARE(shown.mid(0, 5), (QStringList{"log:old\r\n", "正在读取通道1参数", "通道1参数读取成功!", "log:",
                                          "正在读取通道2参数"}));
    QVERIFY(shown.contains(QStringLiteral("log:通道5参数读取失败\r\n")));
    QCOMPARE(shown.last(), QStringLiteral("通道参数读取失败......"));
    QVERIFY(!session.flags().channelRead);

    const std::set<std::uint8_t> silent = std::exchange(w.host().silent, {});
    QVERIFY(read(ParamGroup::Relay) && session.flags().relayRead);  // an earlier complete read
    w.host().silent = silent;
    shown.clear();
    log.append(QStringLiteral("old\r\n"));
    QVERIFY(read(ParamGroup::Relay));
    // The other kinds empty the log before their first request; relays repeat the sent line when answered.
    const QString relay1 = QStringLiteral("正在读取继电器1参数"), relay2 = QStringLiteral("正在读取继电器2参数");
    QCOMPARE(shown.mid(0, 7), (QStringList{relay1, relay1, relay1, relay1, "log:读取继电器1参数失败\r\n", relay2, relay2}));
    QCOMPARE(shown.last(), QStringLiteral("继电器参数读取失败......"));
    QVERIFY(session.flags().relayRead);  // an incomplete relay read leaves the flag

    shown.clear();
    SessionPolicy p = session.policy();
    p.writeOf(ParamGroup::Relay) = {std::chrono::milliseconds(801), 4};  // a record's time outlasts a moment's silence
    session.setPolicy(p);
    int heard = 0;  // the host hears three relay writes, then nothing at all
    w.transport.responder = [&](ByteView d) { return ++heard > 3 ? std::vector<Bytes>{} : w.transport.fleet().handle(d); };
    QVERIFY(!session.write(ParamGroup::Relay) && QTest::qWaitFor([&] { return session.idle(); }, 20000));
    QCOMPARE(shown.mid(shown.size() - 2), (QStringList{"继电器参数写入失败......",
                                                       "log:主机不再应答：已写入继电器1、继电器2、继电器3；未写入继电器4、"
                                                       "继电器5、继电器6、继电器7、继电器8\r\n"}));
  }

  void messageBoxesShowTheirIconAndNeverStack() {
    QtMessageNotifier notifier;
    const auto whenOpen = [](std::function<void()> step) { QTimer::singleShot(0, qApp, std::move(step)); };
    const auto boxWithText = [](const QString& text) -> QMessageBox* {
      for (QMessageBox* b : openTopLevels<QMessageBox>())
        if (b->text() == text) return b;
      return nullptr;
    };
    int icon = -1, boxesDuringRepeat = -1, boxesDuringOther = -1;
    whenOpen([&] {
      icon = boxWithText(QStringLiteral("端口被占用"))->icon();
      notifier.notify(QStringLiteral("Quendra"), QStringLiteral("端口被占用"), NoticeIcon::None);  // returns at once
      boxesDuringRepeat = int(openTopLevels<QMessageBox>().size());
      whenOpen([&] {
        boxesDuringOther = int(openTopLevels<QMessageBox>().size());
        boxWithText(QStringLiteral("绑定SOCKET出错"))->accept();
      });
      notifier.notify(QStringLiteral("Quendra"), QStringLiteral("绑定SOCKET出错"), NoticeIcon::None);  // another text: on top
      boxWithText(QStringLiteral("端口被占用"))->accept();
    });
    notifier.notify(QStringLiteral("Quendra"), QStringLiteral("端口被占用"), NoticeIcon::Question);
    QCOMPARE(icon, int(QMessageBox::Question));
    QCOMPARE(boxesDuringRepeat, 1);
    QCOMPARE(boxesDuringOther, 2);
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
