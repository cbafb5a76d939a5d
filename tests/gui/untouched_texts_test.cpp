// Through the window, against simulated hosts seeded with such bytes: texts the host sent go back as they came
// while the operator leaves them alone, also bytes GBK cannot decode (erased flash) and texts cut inside a
// double-byte character; a typed text GBK cannot hold stops the write before anything is sent.
#include <QComboBox>
#include <QLineEdit>
#include <map>

#include "link/gbk.h"
#include "pages/channel_page.h"
#include "pages/network_page.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

const QByteArray kCut("\xB7");  // the first byte of a double-byte character, alone at the end

// The read and write buttons of the tabs (the network settings are read by the selection).
const std::map<int, std::pair<QString, QString>> kButtons = {
    {MainDialog::NetworkTab, {"", "写入网络参数"}},
    {MainDialog::GprsTab, {"读取GPRS参数", "下载GPRS参数"}},
    {MainDialog::LedTab, {"读取LED屏参数", "下载LED屏参数"}},
    {MainDialog::ChannelTab, {"读取通道参数", "设置通道参数"}}};

}  // namespace

class UntouchedTextsTest : public QObject {
  Q_OBJECT
 private slots:
  void textsAsShownGoBackByteForByte_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("readCommand");  // the host record seeded (0: network)
    QTest::addColumn<int>("offset");       // in that record
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("writeCommand");  // a tunnel command (network: outer 4)
    const int network = MainDialog::NetworkTab, gprs = MainDialog::GprsTab, led = MainDialog::LedTab,
              channel = MainDialog::ChannelTab;
    QTest::newRow("server 2 address of erased flash") << network << 0 << 58 << QByteArray(30, '\xFF') << 0;
    QTest::newRow("GPRS address cut") << gprs << 3 << 6 << "gprs.example" + kCut << 4;
    QTest::newRow("GPRS phone 2 cut") << gprs << 3 << 91 << "1300000000" + kCut << 4;
    QTest::newRow("LED header cut at 64 bytes") << led << 150 << 13 << QByteArray(63, 'H') + kCut << 149;
    QTest::newRow("LED footer of invalid bytes") << led << 150 << 77 << QByteArray("\xFF\xFE\xFF") << 149;
    QTest::newRow("channel 32 unit cut") << channel << 36 << 41 << "AB" + kCut << 68;
    QTest::newRow("channel 32 name of invalid bytes") << channel << 36 << 67 << QByteArray("\x80\xFF") << 68;
  }
  void textsAsShownGoBackByteForByte() {
    QFETCH(int, tab);
    QFETCH(int, readCommand);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(int, writeCommand);
    FleetWindow w;
    Bytes& record = readCommand == 0 ? w.host().network : w.host().records[static_cast<std::uint8_t>(readCommand)];
    std::copy(bytes.begin(), bytes.end(), record.begin() + offset);
    if (readCommand == 3) record[79] |= 0x02;  // phone 2 given
    QVERIFY(w.searchAndSelect());
    const auto& [read, write] = kButtons.at(tab);
    if (!read.isEmpty()) w.pressAndSettle(MainDialog::Tab(tab), read);
    if (readCommand == 0) edit(w.dialog.networkPage(), QStringLiteral("服务器1 源端口："))->setText(QStringLiteral("2001"));
    w.notifier.notices.clear();
    w.pressAndSettle(MainDialog::Tab(tab), write);

    const Bytes request = readCommand == 0 ? w.lastRequest(4) : w.lastRequest(10, writeCommand);
    QVERIFY(!request.empty());
    const std::size_t at = (readCommand == 0 ? 10 : 12) + static_cast<std::size_t>(offset);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(request.data() + at), bytes.size()), bytes);
    if (readCommand == 0) QCOMPARE(getU16LE(request, 10 + 20), 2001);  // the edit went out with them
    for (const auto& n : w.notifier.notices)  // no refusal
      QCOMPARE(n.title + n.text, QStringLiteral("提示网络参数已下发，请重新搜索设备，双击设备列表来验证是否下发成功"));
  }

  void typedTextGbkCannotHoldStopsTheChannelWrite() {
    FleetWindow w;
    QVERIFY(w.searchAndSelect());
    w.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("读取通道参数"));
    QWidget* page = w.dialog.channelPage();
    QComboBox* selector = list(page, QStringLiteral("通道号："));
    selector->setCurrentIndex(2);
    QLineEdit* name = edit(page, QStringLiteral("模拟量1名称："));
    name->setText(QStringLiteral("温度\U0001F600"));
    w.transport.clearRequests();
    w.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("设置通道参数"));
    QVERIFY(w.transport.requests().isEmpty());
    QCOMPARE(w.notifier.notices.size(), 1);
    QCOMPARE(w.notifier.notices[0].text, QStringLiteral("模拟量1名称：含有设备不能显示的字符"));
    selector->setCurrentIndex(4);  // switching channels refuses too: the selector returns, the typed text stays
    QCOMPARE(w.notifier.notices.size(), 2);
    QCOMPARE(selector->currentIndex(), 2);
    QCOMPARE(name->text(), QStringLiteral("温度\U0001F600"));
    QCOMPARE(w.dialog.session().config().channels[2].name1, readTextArea(ByteView(w.host().records.at(7)).subspan(21, 20)));
  }
};

QTEST_MAIN(UntouchedTextsTest)
#include "untouched_texts_test.moc"
