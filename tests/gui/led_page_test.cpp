// LedPage on its own: the empty start, the flags that gate read and write,
// the record shown from a reply and the bytes a write sends.
#include <QTest>

#include "pages/led_page.h"
#include "support/page_harness.h"

using namespace quendra;
using namespace quendra::test;

namespace {

const QString kRead = QStringLiteral("读取LED屏参数");
const QString kWrite = QStringLiteral("下载LED屏参数");
const QString kSizeX = QStringLiteral("LED屏X尺寸：");
const QString kSizeY = QStringLiteral("LED屏Y尺寸：");
const QString kRefresh = QStringLiteral("LED屏刷新间隔(S)：");
const QString kChannels = QStringLiteral("通道显示数量：");
const QString kColumns = QStringLiteral("列数：");
const QString kTable = QStringLiteral("数据表格是否显示");
const QString kHeader = QStringLiteral("标头：");
const QString kFooter = QStringLiteral("标尾：");
const QString kHeaderUsed = QStringLiteral("标头 使用");
const QString kFooterUsed = QStringLiteral("标尾 使用");

LedParams hostRecord() {
  LedParams r;
  r.showDataTable = 1;
  r.headerEnabled = 1;
  r.footerEnabled = 0;
  r.sizeX = 192;
  r.sizeY = 65535;
  r.channelCount = 8;
  r.columnCount = 2;
  r.refreshInterval = 5;
  r.headerText = "Quendra \xBC\xE0\xB2\xE2";  // GBK "Quendra 监测"
  r.footerText = "end";
  return r;
}

struct Fixture : PageFixture<LedPage> {
  void readFrom(const LedParams& record) { readReply(150, encodeLedParams(record)); }
};

}  // namespace

class LedPageTest : public QObject {
  Q_OBJECT
 private slots:
  void startsEmpty() {
    Fixture f;
    QWidget* p = &f.page;
    for (const QString& name : {kSizeX, kSizeY, kRefresh, kHeader, kFooter}) QVERIFY(edit(p, name)->text().isEmpty());
    for (const QString& name : {kTable, kHeaderUsed, kFooterUsed}) QVERIFY(!check(p, name)->isChecked());
    QCOMPARE(list(p, kChannels)->count(), 32);
    QCOMPARE(list(p, kChannels)->itemText(31), QStringLiteral("32"));
    QCOMPARE(list(p, kColumns)->count(), 5);
    QCOMPARE(list(p, kColumns)->itemText(0), QStringLiteral("1"));
    QCOMPARE(list(p, kChannels)->currentIndex(), -1);
    QCOMPARE(list(p, kColumns)->currentIndex(), -1);
  }

  void readNeedsTheNetworkAnswer() {
    Fixture f;
    press(&f.page, kRead);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("警告"));
    QCOMPARE(f.onlyNotice().text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    QVERIFY(f.h.sent.isEmpty());

    f.h.flags.networkRead = true;
    press(&f.page, kRead);
    QCOMPARE(f.h.sent.size(), 1);
    QCOMPARE(f.h.tunnelFrame(f.h.sent[0]), (Bytes{0x7E, 0x96, 0xA0, 0x7E}));
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("读取LED参数...\r\n"));
  }

  void writeBeforeAReadOnlyShowsTheNotice() {
    Fixture f;
    f.h.flags.networkRead = true;
    edit(&f.page, kSizeX)->setText(QStringLiteral("64"));
    press(&f.page, kWrite);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("提示"));
    QCOMPARE(f.onlyNotice().text, QStringLiteral("请先\"读取LED显示屏参数\"然后进行修改再进行配置"));
    QVERIFY(f.h.sent.isEmpty());
    QCOMPARE(f.page.params(), LedParams{});
  }

  void readReplyIsStoredAndShown() {
    Fixture f;
    f.h.flags.networkRead = true;
    press(&f.page, kRead);
    f.h.receive(150, encodeLedParams(hostRecord()));
    QWidget* p = &f.page;
    QVERIFY(f.h.flags.ledRead);
    QCOMPARE(f.page.params(), hostRecord());
    QCOMPARE(edit(p, kSizeX)->text(), QStringLiteral("192"));
    QCOMPARE(edit(p, kSizeY)->text(), QStringLiteral("65535"));
    QCOMPARE(edit(p, kRefresh)->text(), QStringLiteral("5"));
    QCOMPARE(list(p, kChannels)->currentText(), QStringLiteral("8"));
    QCOMPARE(list(p, kColumns)->currentText(), QStringLiteral("2"));
    QVERIFY(check(p, kTable)->isChecked());
    QVERIFY(check(p, kHeaderUsed)->isChecked());
    QVERIFY(!check(p, kFooterUsed)->isChecked());
    QCOMPARE(edit(p, kHeader)->text(), QStringLiteral("Quendra 监测"));
    QCOMPARE(edit(p, kFooter)->text(), QStringLiteral("end"));
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("读取LED参数...\r\n读取LED屏参数成功！\r\n"));
  }

  void countsOutsideTheListsLeaveNoSelectionAndSendZero_data() {
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("columns");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("beyond") << 33 << 6;
  }
  void countsOutsideTheListsLeaveNoSelectionAndSendZero() {
    QFETCH(int, channels);
    QFETCH(int, columns);
    Fixture f;
    LedParams r = hostRecord();
    r.channelCount = static_cast<std::uint16_t>(channels);
    r.columnCount = static_cast<std::uint16_t>(columns);
    f.readFrom(r);
    QCOMPARE(list(&f.page, kChannels)->currentIndex(), -1);
    QCOMPARE(list(&f.page, kColumns)->currentIndex(), -1);
    press(&f.page, kWrite);
    const Bytes image = f.h.lastPayload();
    QCOMPARE(Bytes(image.begin() + 7, image.begin() + 11), (Bytes{0, 0, 0, 0}));
  }

  void writeSendsThePageAsTyped() {
    Fixture f;
    f.readFrom(hostRecord());
    QWidget* p = &f.page;
    edit(p, kSizeX)->setText(QStringLiteral("abc"));
    edit(p, kSizeY)->setText(QStringLiteral("-1"));
    edit(p, kRefresh)->setText(QStringLiteral("70000"));
    list(p, kChannels)->setCurrentIndex(31);
    list(p, kColumns)->setCurrentIndex(4);
    check(p, kTable)->setChecked(false);
    check(p, kHeaderUsed)->setChecked(false);
    check(p, kFooterUsed)->setChecked(true);
    edit(p, kHeader)->setText(QString(64, QLatin1Char('h')));                  // whole, no zero
    edit(p, kFooter)->setText(QString(63, QLatin1Char('f')) + QStringLiteral("尾"));  // straddles byte 64
    press(p, kWrite);

    QCOMPARE(f.h.sent.size(), 1);
    const Bytes frame = f.h.tunnelFrame(f.h.sent[0]);
    QCOMPARE(frame.size(), std::size_t{145});
    QCOMPARE(frame[1], std::uint8_t{149});
    const Bytes image = f.h.lastPayload();
    const Bytes numbers = {0x00, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0x20, 0x00, 0x05, 0x00, 0x70, 0x11};
    QCOMPARE(Bytes(image.begin(), image.begin() + 13), numbers);
    QCOMPARE(bytesAt(image, 13, 64), std::string(64, 'h'));
    QCOMPARE(bytesAt(image, 77, 64), std::string(63, 'f') + '\0');
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("设置LED显示屏参数... \r\n"));
    QCOMPARE(encodeLedParams(f.page.params()), image);

    f.h.receive(149);
    QCOMPARE(f.h.infoLog.text(), QStringLiteral("设置LED显示屏参数... \r\n下载LED屏参数成功！\r\n"));
    QCOMPARE(encodeLedParams(f.page.params()), image);
  }

  void shorterTextLeavesNoStaleBytes() {
    Fixture f;
    LedParams r = hostRecord();
    r.headerText = std::string(64, 'x');
    f.readFrom(r);
    edit(&f.page, kHeader)->setText(QString());
    press(&f.page, kWrite);
    QCOMPARE(bytesAt(f.h.lastPayload(), 13, 64), std::string(64, '\0'));
  }

  void textGbkCannotHoldIsRefused() {
    Fixture f;
    f.readFrom(hostRecord());
    edit(&f.page, kFooter)->setText(QStringLiteral("\U0001F600"));
    press(&f.page, kWrite);
    QCOMPARE(f.onlyNotice().title, QStringLiteral("提示"));
    QCOMPARE(f.onlyNotice().text, kFooter + QStringLiteral("含有设备不能显示的字符"));
    QVERIFY(f.h.sent.isEmpty());
    QCOMPARE(f.page.params(), hostRecord());
  }
};

QTEST_MAIN(LedPageTest)
#include "led_page_test.moc"
