// Texts the host sent go back as they came while the operator leaves them
// alone, also bytes GBK cannot decode (erased flash) and texts cut inside a
// double-byte character; a text the operator typed that GBK cannot hold stops
// the write before anything is sent. Through the window against simulated
// hosts seeded with such bytes.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/wait_dialog.h"
#include "link/gbk.h"
#include "pages/channel_page.h"
#include "pages/network_page.h"
#include "support/fleet_window.h"

using namespace quendra;
using namespace quendra::test;

namespace {

const std::string kCut = "\xB7";  // the first byte of a double-byte character, alone at the end

// Copies `bytes` into an image at `offset`.
void put(Bytes& image, std::size_t offset, const std::string& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

class UntouchedTextsTest : public QObject {
  Q_OBJECT
 private slots:
  void textsAsShownGoBackByteForByte_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("read");   // empty: the selection's network read
    QTest::addColumn<QString>("write");
    QTest::addColumn<int>("readCommand");  // the host record to seed (0: network)
    QTest::addColumn<int>("offset");       // in that record
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("writeCommand");  // outer 4, or a tunnel command
    const auto row = [](const char* name, int tab, const char* read, const char* write, int readCommand,
                        int offset, const std::string& bytes, int writeCommand) {
      QTest::newRow(name) << tab << QString::fromUtf8(read) << QString::fromUtf8(write) << readCommand << offset
                          << QByteArray::fromStdString(bytes) << writeCommand;
    };
    row("server 2 address of erased flash", MainDialog::NetworkTab, "", "写入网络参数", 0, 58, std::string(30, '\xFF'), 0);
    row("GPRS address cut", MainDialog::GprsTab, "读取GPRS参数", "下载GPRS参数", 3, 6, "gprs.example" + kCut, 4);
    row("GPRS phone 2 cut", MainDialog::GprsTab, "读取GPRS参数", "下载GPRS参数", 3, 91, "1300000000" + kCut, 4);
    row("LED header cut at 64 bytes", MainDialog::LedTab, "读取LED屏参数", "下载LED屏参数", 150, 13,
        std::string(63, 'H') + kCut, 149);
    row("LED footer of invalid bytes", MainDialog::LedTab, "读取LED屏参数", "下载LED屏参数", 150, 77, "\xFF\xFE\xFF", 149);
    row("channel 32 unit cut", MainDialog::ChannelTab, "读取通道参数", "设置通道参数", 36, 41, "AB" + kCut, 68);
    row("channel 32 name of invalid bytes", MainDialog::ChannelTab, "读取通道参数", "设置通道参数", 36, 67,
        "\x80\xFF", 68);
  }
  void textsAsShownGoBackByteForByte() {
    QFETCH(int, tab);
    QFETCH(QString, read);
    QFETCH(QString, write);
    QFETCH(int, readCommand);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(int, writeCommand);
    FleetWindow w;
    Bytes& record = readCommand == 0 ? w.host().network : w.host().records[static_cast<std::uint8_t>(readCommand)];
    put(record, static_cast<std::size_t>(offset), bytes.toStdString());
    if (readCommand == 3) record[79] |= 0x02;  // phone 2 given
    QVERIFY(w.searchAndSelect());
    if (!read.isEmpty()) w.pressAndSettle(static_cast<MainDialog::Tab>(tab), read);
    w.dialog.session().flagsForTesting().channelRead = true;
    if (readCommand == 0) edit(w.dialog.networkPage(), QStringLiteral("服务器1 源端口："))->setText(QStringLiteral("2001"));
    w.notifier.notices.clear();
    w.pressAndSettle(static_cast<MainDialog::Tab>(tab), write);

    const Bytes request = readCommand == 0 ? w.lastRequest(4) : w.lastRequest(10, writeCommand);
    QVERIFY(!request.empty());
    const std::size_t at = (readCommand == 0 ? 10 : 12) + static_cast<std::size_t>(offset);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(request.data() + at), bytes.size()), bytes);
    if (readCommand == 0) QCOMPARE(getU16LE(request, 10 + 20), 2001);  // the edit went out with them
    for (const auto& n : w.notifier.notices) QCOMPARE(n.title + n.text, QStringLiteral("提示网络参数已下发，请重新搜索设备，双击设备列表来验证是否下发成功"));
  }

  void typedTextGbkCannotHoldStopsTheChannelWrite() {
    FleetWindow w;
    QVERIFY(w.searchAndSelect());
    w.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("读取通道参数"));
    QWidget* page = w.dialog.channelPage();
    QComboBox* selector = list(page, QStringLiteral("通道号："));
    selector->setCurrentIndex(2);
    edit(page, QStringLiteral("模拟量1名称："))->setText(QStringLiteral("温度\U0001F600"));
    w.transport.clearRequests();
    w.notifier.notices.clear();
    w.pressAndSettle(MainDialog::ChannelTab, QStringLiteral("设置通道参数"));
    QVERIFY(w.transport.requests().isEmpty());
    QCOMPARE(w.notifier.notices.size(), 1);
    QCOMPARE(w.notifier.notices[0].text, QStringLiteral("模拟量1名称：含有设备不能显示的字符"));
    // Switching channels refuses too: the selector returns, the typed text stays.
    selector->setCurrentIndex(4);
    QCOMPARE(w.notifier.notices.size(), 2);
    QCOMPARE(selector->currentIndex(), 2);
    QCOMPARE(edit(page, QStringLiteral("模拟量1名称："))->text(), QStringLiteral("温度\U0001F600"));
    QCOMPARE(w.dialog.session().config().channels[2].name1, readTextArea(ByteView(w.host().records.at(7)).subspan(21, 20)));
  }

  void enterClosesTheWaitBox() {
    FleetWindow w;
    QVERIFY(w.searchAndSelect());
    w.pressAndSettle(MainDialog::RelayTab, QStringLiteral("读取参数"));
    QVERIFY(w.dialog.waitDialog()->isVisible());
    QTest::keyClick(w.dialog.waitDialog(), Qt::Key_Return);
    QVERIFY(!w.dialog.waitDialog()->isVisible());
  }
};

QTEST_MAIN(UntouchedTextsTest)
#include "untouched_texts_test.moc"
