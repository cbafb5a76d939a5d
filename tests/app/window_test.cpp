// The main window on simulated hosts in process: how it opens (title, icon, tabs, host list), search and selection,
// the About box, Enter, the wait box, the information area's refreshes, a batch's words, message boxes that never
// stack, the traffic window (its words, bytes, counters and exports, its table following the log's ring), and texts a
// host chose shown as plain text (a widget guessing rich text would load the image a host names:
// /dev/zero freezes the window while its memory grows; the test's time limit catches that).
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTextDocument>
#include <QTimer>

#include "app/about_box.h"
#include "app/batch_progress.h"
#include "app/fleet_table_model.h"
#include "app/help_text.h"
#include "app/history_dialog.h"
#include "app/info_log_view.h"
#include "app/qt_message_notifier.h"
#include "app/traffic_table_model.h"
#include "app/traffic_window.h"
#include "app/wait_dialog.h"
#include "link/tunnel_frame.h"
#include "pages/modbus_page.h"
#include "support/fleet_window.h"
#include "support/hostile_texts.h"

using namespace quendra;
using namespace quendra::test;

namespace {

// The information area's lines end in \r\n; the view breaks lines on \n.
QString viewText(QString log) { return log.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// The operator's double-click on row r of the host list.
void doubleClickRow(DeviceList* list, int r) {
  const QPoint at = list->visualRect(list->model()->index(r, 0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// What a widget that guesses rich text from its text (a label, a tooltip) shows of it.
QString shownByGuess(const QString& text) {
  if (!Qt::mightBeRichText(text)) return text;
  QTextDocument document;  // parsed, never laid out: no image is loaded
  document.setHtml(text);
  return document.toPlainText();
}

QString shown(const QLabel* label) {
  return label->textFormat() == Qt::PlainText ? label->text() : shownByGuess(label->text());
}

// The cells of a row from `column` on, joined by '|'.
QString cells(const QAbstractItemModel* m, int row, int column = 0) {
  QStringList texts;
  for (; column < m->columnCount(); ++column) texts << m->index(row, column).data().toString();
  return texts.join('|');
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT
 private slots:
  void searchListsEveryAnswerAndADoubleClickSelects() {
    FleetWindow w(2);
    DeviceList* list = w.hostList();
    QWidget* network = w.page(MainDialog::NetworkTab);
    press(&w.dialog, QStringLiteral("搜索"));
    QTRY_COMPARE(list->rowCount(), 2);
    QCOMPARE(w.transport.requests(), QList<Bytes>{OuterFrame::buildSearchRequest()});
    const QStringList headers = {"设备IP", "设备名称", "MAC地址", "固件版本"};
    QCOMPARE(cells(list->model(), 0),  // the later answer on top, no conflict to show
             QStringLiteral("192.168.1.11|模拟主机2|024B7D000002|%1|").arg(w.host(1).firmwareVersion));
    QCOMPARE(list->model()->index(1, DeviceList::MacColumn).data().toString(), QStringLiteral("024B7D000001"));
    QCOMPARE(w.log(), QStringLiteral("搜索...\r\n搜索到设备\r\n搜索到设备\r\n"));
    for (const QSize size : {w.dialog.size(), w.dialog.size() + QSize(200, 50)}) {
      w.dialog.resize(size);
      QTest::qWait(0);
      int widths = 0;  // the columns fill the list as it grows, each wide enough for its title and texts
      for (int c = 0; c < 4; ++c) {
        QCOMPARE(list->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        widths += list->columnWidth(c);
        const QStringList texts = columnTexts(list->model(), c) << headers[c];
        for (const QString& text : texts)
          QVERIFY2(list->fontMetrics().horizontalAdvance(text) < list->columnWidth(c), qPrintable(text));
      }
      QVERIFY(widths <= list->viewport()->width() && widths > list->viewport()->width() - 4);
    }

    doubleClickRow(list, 1);
    QCOMPARE(w.dialog.session().target(), w.host(0).mac);
    QCOMPARE(edit(network, QStringLiteral("MAC地址："))->text(), QStringLiteral("02-4B-7D-00-00-01"));
    QCOMPARE(w.transport.requests().last(), OuterFrame::buildReadNetworkRequest(w.host(0).mac));
    QTRY_VERIFY(w.dialog.session().flags().networkRead);
    QCOMPARE(edit(network, QStringLiteral("静态IP："))->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(w.log(), QStringLiteral("读取参数...\r\n读取网络参数成功！\r\n"));

    doubleClickRow(list, 0);  // another host: only the selection changes
    QCOMPARE(w.dialog.session().target(), w.host(1).mac);
    QTRY_COMPARE(edit(network, QStringLiteral("静态IP："))->text(), QStringLiteral("192.168.1.11"));
    w.dialog.search();  // empties the list, keeps the selection and the flag
    QCOMPARE(list->rowCount(), 0);
    QTRY_COMPARE(list->rowCount(), 2);
    QCOMPARE(w.dialog.session().target(), w.host(1).mac);
    QVERIFY(w.dialog.session().flags().networkRead);
    list->clearSelection();
    const int sent = int(w.transport.requests().size());
    w.dialog.selectDevice();  // no row selected: nothing
    QCOMPARE(int(w.transport.requests().size()), sent);
    // Host 2 heard again with another address: both its rows say so, host 1's says nothing.
    w.transport.deliverNow(OuterFrame::buildSearchAnswer({0xC0A80163, w.host(1).mac, 711, "x"}));
    QTRY_COMPARE(list->rowCount(), 3);
    QCOMPARE(columnTexts(list->model(), DeviceList::ConflictColumn), (QStringList{"多个IP", "多个IP", ""}));
    QVERIFY(list->model()->index(1, 0).data(Qt::ToolTipRole).toString().contains("此主机（MAC 02-4B-7D-00-00-02）还以另一个IP应答"));
  }

  void opensAndShowsItsAboutBoxEnterWaitBoxAndTabs() {
    FleetWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("Quendra 主机配置软件 V" QUENDRA_MAJOR_MINOR));
    QVERIFY(!(w.dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {  // drawn, without image plugins, at every size asked for
      const QImage icon = w.dialog.windowIcon().pixmap(QSize(size, size)).toImage();
      QVERIFY(icon.size() == QSize(size, size) && icon.pixelColor(size / 2, size / 2).alpha() > 0);
    }
    QCOMPARE(edit(&w.dialog, QStringLiteral("电脑网卡IP 端口"))->text(), QStringLiteral("1901"));
    QCOMPARE(field<QPlainTextEdit>(&w.dialog, QStringLiteral("信息提示区"))->toPlainText(), viewText(helpText()));
    press(&w.dialog, QStringLiteral("关于 Quendra(&A)..."));
    QTRY_VERIFY(openWindow<AboutBox>());
    AboutBox* box = openWindow<AboutBox>();
    QCOMPARE(box->windowTitle(), QStringLiteral("关于Quendra配置软件"));
    QCOMPARE(box->findChildren<QPushButton*>().size(), 1);
    box->findChildren<QPushButton*>().first()->click();
    QTRY_VERIFY(!openWindow<AboutBox>());
    w.dialog.activateWindow();
    QTest::keyClick(&w.dialog, Qt::Key_F1);
    QTRY_VERIFY(openWindow<AboutBox>());
    openWindow<AboutBox>()->reject();

    // Enter in the host list writes nothing; in a network field it presses "写入网络参数".
    QTest::keyClick(w.hostList(), Qt::Key_Return);
    QVERIFY(w.notifier.notices.isEmpty());
    QTest::keyClick(edit(w.page(MainDialog::NetworkTab), QStringLiteral("静态IP：")), Qt::Key_Return);
    QCOMPARE(w.notifier.notices.size(), 1);  // before a selection: the warning only
    QCOMPARE(w.notifier.notices[0].title + w.notifier.notices[0].text, QStringLiteral("警告请先搜索到设备,双击选中,再读取参数"));

    auto* wait = w.dialog.findChild<WaitDialog*>();
    QCOMPARE(wait->findChild<QLabel*>()->text(), QStringLiteral("Static"));
    wait->openBox();  // returns at once: replies keep being handled
    QVERIFY(wait->isVisible() && wait->windowModality() == Qt::WindowModal);
    QVERIFY(wait->findChildren<QPushButton*>().isEmpty());
    QTest::keyClick(wait, Qt::Key_Return);
    QVERIFY(!wait->isVisible());
    QTabWidget* tabs = w.tabs();
    const QStringList titles = {"网口参数 ", "GPRS参数 ", "基础参数 ", "通道参数 ", "ModBus参数", "继电器参数", "LED屏参数"};
    for (int i = 0; i < 7; ++i) QCOMPARE(tabs->tabText(i), titles[i]);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(MainDialog::ModbusTab).center());
    QVERIFY(w.dialog.findChild<ModbusPage*>()->isVisible());
  }

  // A search answered by thousands of hosts refreshes the information area twice per answer: a refresh adds only what
  // is new, yet leaves what a whole replacement leaves. After a clear, or once the operator typed (in upper case),
  // the whole content is replaced.
  void informationAreaRefreshesAddOnlyWhatIsNew() {
    FleetWindow w;
    InfoLog& log = w.dialog.infoLog();
    auto* view = field<InfoLogView>(&w.dialog, QStringLiteral("信息提示区"));
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
    const auto openBoxes = [] {
      QList<QMessageBox*> out;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) out << b;
      return out;
    };
    const auto boxWithText = [&](const QString& text) {
      for (QMessageBox* b : openBoxes())
        if (b->text() == text) return b;
      qFatal("no box %s", qPrintable(text));
    };
    int icon = -1, boxesDuringRepeat = -1, boxesDuringOther = -1;
    whenOpen([&] {
      icon = boxWithText(QStringLiteral("端口被占用"))->icon();
      notifier.notify(QStringLiteral("Quendra"), QStringLiteral("端口被占用"), NoticeIcon::None);  // returns at once
      boxesDuringRepeat = int(openBoxes().size());
      whenOpen([&] {
        boxesDuringOther = int(openBoxes().size());
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

  void hostTextsShowAsPlainText_data() {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < hostileTexts().size(); ++i) QTest::newRow(hostileTexts()[i].what) << int(i);
  }
  void hostTextsShowAsPlainText() {
    QFETCH(int, row);
    const HostileText& h = hostileTexts()[std::size_t(row)];

    // A message box quoting a host's value (as the fleet table's notices do).
    QtMessageNotifier notifier;
    QString boxShows;
    QTimer::singleShot(0, [&] {
      boxShows = shown(openWindow<QMessageBox>()->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
      openWindow<QMessageBox>()->accept();
    });
    notifier.notify(QStringLiteral("提示"), h.text(), NoticeIcon::Exclamation);
    QCOMPARE(boxShows, h.text());

    const auto gbk = h.gbk();
    if (!gbk) return;  // GBK cannot hold it: no host sends it

    // The fleet table's tooltip names the value most hosts hold.
    HostConfig held;
    held.gprs.targetAddress = *gbk;
    held.markKnown(ParamGroup::Gprs);
    std::vector<HostConfig> configs(3, held);
    configs[2].gprs.targetAddress = "x";
    FleetTableModel fleet(configs, {{0, 0, "a"}, {1, 0, "b"}, {2, 0, "c"}},
                          {fieldColumn(ParamGroup::Gprs, 0, "targetAddress")});
    const QString tip = shownByGuess(fleet.data(fleet.index(2, 0), Qt::ToolTipRole).toString());
    if (h.markup) QVERIFY2(tip.contains(h.text()), qPrintable(tip));

    // The history dialog names the host as its search answer did.
    FleetWindow window(1);
    window.host(0).nameGbk = *gbk;
    QVERIFY(window.searchAndSelect());
    press(&window.dialog, QStringLiteral("历史记录..."));
    const QLabel* heading = openWindow<HistoryDialog>()->findChild<QLabel*>();
    QVERIFY2(shown(heading).contains(h.text()), qPrintable(shown(heading)));
  }

  void showsExplainsAndExportsTheTraffic() {
    FleetWindow w(2);
    QVERIFY(w.searchAndSelect(0));
    Bytes broken = OuterFrame::buildTunnelReply(w.host(0).mac, TunnelFrame::buildReply(1, Bytes(27), 7, 10));
    broken[20] ^= 0xFF;  // the CRC no longer fits: the tool drops the reply, the window says why
    w.transport.deliverNow(broken);

    press(&w.dialog, QStringLiteral("通信记录..."));
    auto* window = openWindow<TrafficWindow>();
    QVERIFY(window && !window->isModal());
    for (const char* name : {"导出pcapng...", "导出文本..."}) field<QWidget>(window, QString::fromUtf8(name));  // or fatal
    auto* datagrams = field<QTableView>(window, QStringLiteral("数据报"));
    const QAbstractItemModel* table = datagrams->model();
    const auto counters = [&] { return cells(field<QTableWidget>(window, QStringLiteral("计数"))->model(), 0); };
    QCOMPARE(cells(table, 0, TrafficTableModel::DirectionColumn), QStringLiteral("发送|127.0.0.1|255.255.255.255:1901|搜索请求"));
    QCOMPARE(columnTexts(table, TrafficTableModel::MeaningColumn).mid(1),
             (QStringList{"搜索应答 来自 024B7D000001 IP 192.168.1.10 版本710 名称 模拟主机1",
                          "搜索应答 来自 024B7D000002 IP 192.168.1.11 版本711 名称 模拟主机2", "读取网络参数 发往 024B7D000001",
                          "网络参数应答 来自 024B7D000001", "格式错误，已丢弃：CRC错误"}));
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

QTEST_MAIN(WindowTest)
#include "window_test.moc"
