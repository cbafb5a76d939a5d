// The seven tab pages on their own, against a scripted host: the refusals
// before a read, what a reply shows, the exact bytes a write sends for what
// was typed, the selectors that store the record on screen, the channel
// page's formats and field rules, and the network page's checks.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <variant>

#include "page_harness.h"
#include "pages/base_page.h"
#include "pages/channel_page.h"
#include "pages/gprs_page.h"
#include "pages/led_page.h"
#include "pages/modbus_page.h"
#include "pages/network_page.h"
#include "pages/relay_page.h"
#include "sim/initial_records.h"
#include "support/image_bytes.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

namespace {


// What a field shows or is given: an edit's text, a list's row, a check box's state.
using Value = std::variant<QString, int, bool>;
struct Field {
  QString label;
  Value value;
};

void give(QWidget* page, const Field& f) {
  if (const auto* text = std::get_if<QString>(&f.value)) edit(page, f.label)->setText(*text);
  if (const auto* row = std::get_if<int>(&f.value)) list(page, f.label)->setCurrentIndex(*row);
  if (const auto* on = std::get_if<bool>(&f.value)) check(page, f.label)->setChecked(*on);
}

void expectShown(QWidget* page, const Field& f) {
  if (const auto* text = std::get_if<QString>(&f.value)) QCOMPARE(edit(page, f.label)->text(), *text);
  if (const auto* row = std::get_if<int>(&f.value)) QCOMPARE(list(page, f.label)->currentIndex(), *row);
  if (const auto* on = std::get_if<bool>(&f.value)) QCOMPARE(check(page, f.label)->isChecked(), *on);
}

const QString kNoHost = QStringLiteral("请先搜索到设备,双击选中,再读取参数");

// A single-record page: read and write buttons, its lines, a host record to
// show, what the operator types, and the golden payload that goes out.
struct SinglePage {
  const char* name;
  ParamGroup group;
  std::function<QWidget*(const PageContext&)> make;
  QString read, write, readLine, readOk, writeLine, ack, refusalTitle, refusal;
  std::function<void(HostConfig&)> host;
  std::vector<Field> shown, typed;
  Bytes payload;
};

const std::vector<SinglePage>& singlePageTable() {
  static const std::vector<SinglePage> pages = {
      {"base", ParamGroup::Base, [](const PageContext& c) { return new BasePage(c); }, "读取基础参数", "写入基础参数",
       "读取设备参数...\r\n", "读取设备参数成功！\r\n", "设置参数... \r\n", "下载设备参数成功！\r\n", "提示",
       "请先\"读取设备参数\"然后进行修改再进行配置",
       [](HostConfig& c) { c.base = {0x1A2B3C4D, 2, 60, 0xFFFF, 300, 2, 32, 10, 1, 1, 1, 113.25f, -23.5f}; },
       {{"终端地址：", "1a2b3c4d"}, {"服务器数量：", 2}, {"登陆帧间隔时间：", "60"}, {"心跳包间隔时间：", "65535"},
        {"ModBus通信波特率：", 2}, {"通道启用数量：", 32}, {"正常数据记录间隔(分钟)：", "10"}, {"存储类型：", 1},
        {"启用", true}, {"经度：", "113.250000"}, {"维度：", "-23.500000"}},
       // disabled interval edits go out all the same
       {{"终端地址：", "1A2b3C4d"}, {"登陆帧间隔时间：", "70000"}, {"心跳包间隔时间：", "-1"}, {"数据帧间隔时间：", "abc"},
        {"正常数据记录间隔(分钟)：", " 15min"}, {"告警数据记录间隔(分钟)：", ""}, {"ModBus通信波特率：", 0},
        {"通道启用数量：", 7}, {"启用", false}, {"经度：", "113.25"}, {"维度：", "x"}},
       hex("024d3c2b1a7011ffff000000070f00000001000080e24200000000")},
      {"gprs", ParamGroup::Gprs, [](const PageContext& c) { return new GprsPage(c); }, "读取GPRS参数", "下载GPRS参数",
       "读取GPRS运行参数...\r\n", "读取GPRS无线参数成功！\r\n", "设置GPRS无线参数... \r\n", "下载GPRS无线参数成功！\r\n",
       "提示", "请先\"读取GPRS参数\"然后进行修改再进行配置",
       [](HostConfig& c) {
         c.gprs = {60, 0xFFFF, 300, 1, "iot.example.net", "5001",
                   {"13800138000", "19999999999", "13912345678", "", "15000000005"}, 0x15, 200};
       },
       // only numbers whose mask bit is set are shown
       {{"心跳帧间隔：", "65535"}, {"GPRS目标地址或域名：", "iot.example.net"}, {"GPRS目标端口：", "5001"},
        {"告警目标手机号码1：", "13800138000"}, {"告警目标手机号码2：", ""}, {"告警目标手机号码5：", "15000000005"},
        {"报警短信发送间隔：", "200"}, {"GPRS工作类型：", 1}},
       {{"登陆帧间隔：", "-1"}, {"心跳帧间隔：", "70000"}, {"数据帧间隔：", "x"}, {"GPRS目标地址或域名：", QString(70, 'a')},
        {"告警目标手机号码1：", "  13911112222 "}, {"告警目标手机号码2：", "1391111222"},
        {"告警目标手机号码3：", "139111122223"}, {"告警目标手机号码4：", ""}, {"告警目标手机号码5：", "1391111222中"},
        {"报警短信发送间隔：", "-5"}, {"GPRS工作类型：", 2}},
       hex("ffff70110000") + area(std::string(64, 'a'), 65) + area("5001", 8) + hex("15") + area("13911112222", 11) +
           area("19999999999", 11) + area("13911112222", 11) + area("", 11) + area("1391111222", 11) + hex("0502")},
      {"led", ParamGroup::Led, [](const PageContext& c) { return new LedPage(c); }, "读取LED屏参数", "下载LED屏参数",
       "读取LED参数...\r\n", "读取LED屏参数成功！\r\n", "设置LED显示屏参数... \r\n", "下载LED屏参数成功！\r\n", "提示",
       "请先\"读取LED显示屏参数\"然后进行修改再进行配置",
       [](HostConfig& c) { c.led = {1, 1, 0, 192, 65535, 8, 2, 5, "Quendra \xBC\xE0\xB2\xE2", "end"}; },
       {{"LED屏Y尺寸：", "65535"}, {"通道显示数量：", 7}, {"列数：", 1}, {"数据表格是否显示", true}, {"标尾 使用", false},
        {"标头：", "Quendra 监测"}},
       // a 64-byte header goes whole; a character straddling byte 64 is left out
       {{"LED屏X尺寸：", "abc"}, {"LED屏Y尺寸：", "-1"}, {"LED屏刷新间隔(S)：", "70000"}, {"通道显示数量：", 31},
        {"列数：", 4}, {"数据表格是否显示", false}, {"标头 使用", false}, {"标尾 使用", true},
        {"标头：", QString(64, 'h')}, {"标尾：", QString(63, 'f') + "尾"}},
       hex("0000010000ffff200005007011") + area(std::string(64, 'h'), 64) + area(std::string(63, 'f'), 64)},
  };
  return pages;
}

// A page of records moved in batches: its buttons and refusal, its selector,
// the host's images, one field the operator edits on record 3, and where the
// edit lands in that record's payload.
struct BatchPage {
  const char* name;
  ParamGroup group;
  std::function<QWidget*(const PageContext&)> make;
  QString read, write, refusal, selector, prefix;
  Bytes (*image)(int k);
  Field edit;
  std::size_t at;
  Bytes bytes;
};

const std::vector<BatchPage>& batchPageTable() {
  static const std::vector<BatchPage> pages = {
      {"channel", ParamGroup::Channel, [](const PageContext& c) { return new ChannelPage(c); }, "读取通道参数",
       "设置通道参数", "请先读取通道参数，再配置!", "通道号：", "通道", sim::initialChannelRecord,
       {"报警延时(S)：", "300"}, 98, hex("2c01")},
      {"modbus", ParamGroup::Modbus, [](const PageContext& c) { return new ModbusPage(c); }, "读取ModBus参数",
       "写入ModBus参数", "请先读取ModBus参数，再配置!", "ModBus槽位：", "槽位", sim::initialModbusRecord,
       {"ModBus从站地址：", "300"}, 0, hex("2c")},
      {"relay", ParamGroup::Relay, [](const PageContext& c) { return new RelayPage(c); }, "读取参数", "下载参数",
       "请先读取继电器参数，再配置!", "继电器编号：", "继电器", sim::initialRelayRecord, {"继电器启动间隔：", "70000"}, 1,
       hex("7011")},
  };
  return pages;
}

// A batch page on a harness whose host answers every request at once.
struct BatchFixture {
  const BatchPage& s;
  PageHarness h;
  std::unique_ptr<QWidget> page;
  explicit BatchFixture(const BatchPage& page_) : s(page_), page(s.make(h.context)) {
    for (BatchKind k : {batchKindOf(s.group, false), batchKindOf(s.group, true)}) h.setAttemptTimeout(k, 20ms);
    h.host = [this](const Bytes& frame) { return answerFrom(frame, [this](TunnelCommand c) { return s.image(c.index); }); };
  }
  bool run(const QString& button) {
    QSignalSpy finished(&h.session, &HostSession::finished);
    press(page.get(), button);
    return finished.wait(10000);
  }
  QComboBox* selector() { return list(page.get(), s.selector); }
  Bytes payloadOf(int k) { return encodeRecord(h.session.config(), s.group, k); }
};

}  // namespace

class PagesTest : public QObject {
  Q_OBJECT
 private slots:
  void singleRecordPages_data() {
    QTest::addColumn<int>("page");
    for (std::size_t i = 0; i < singlePageTable().size(); ++i) QTest::newRow(singlePageTable()[i].name) << int(i);
  }
  void singleRecordPages() {
    QFETCH(int, page);
    const SinglePage& s = singlePageTable()[static_cast<std::size_t>(page)];
    PageHarness h;
    std::unique_ptr<QWidget> p(s.make(h.context));
    // Refusals: nothing sent, the information area kept.
    h.infoLog.append(QStringLiteral("kept"));
    press(p.get(), s.read);
    press(p.get(), s.write);
    QCOMPARE(h.notifier.notices.size(), 2);
    QCOMPARE(h.notifier.notices[0].title + h.notifier.notices[0].text, QStringLiteral("警告") + kNoHost);
    QCOMPARE(h.notifier.notices[1].title + h.notifier.notices[1].text, s.refusalTitle + s.refusal);
    QVERIFY(h.sent.isEmpty());
    QCOMPARE(h.infoLog.text(), QStringLiteral("kept"));
    // Read: the request, the reply shown, the lines.
    h.flags.networkRead = true;
    press(p.get(), s.read);
    QCOMPARE(h.sent.size(), 1);
    QCOMPARE(h.tunnelFrame(h.sent[0]), TunnelFrame::buildRequest(readCommandOf(s.group)));
    HostConfig host;
    s.host(host);
    h.receive(readCommandOf(s.group), encodeRecord(host, s.group));
    for (const Field& f : s.shown) expectShown(p.get(), f);
    QCOMPARE(h.infoLog.text(), s.readLine + s.readOk);
    // Write: what was typed, as golden bytes; the acknowledgement only adds its line.
    for (const Field& f : s.typed) give(p.get(), f);
    press(p.get(), s.write);
    QCOMPARE(h.lastPayload(), s.payload);
    QCOMPARE(h.infoLog.text(), s.writeLine);
    h.receive(writeCommandOf(s.group));
    QCOMPARE(h.infoLog.text(), s.writeLine + s.ack);
    QCOMPARE(encodeRecord(h.session.config(), s.group), s.payload);
  }

  void typedValuesThePagesRefuse_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notice");
    QTest::newRow("address 7 long") << 0 << "终端地址：" << "1234567" << "终端地址错误终端地址要为8位长度";
    QTest::newRow("address 9 long") << 0 << "终端地址：" << "123456789" << "终端地址错误终端地址要为8位长度";
    QTest::newRow("address not hex") << 0 << "终端地址：" << "1234567G" << "终端地址错误终端地址要为8位十六进制数";
    QTest::newRow("sms above 255") << 1 << "报警短信发送间隔：" << "256" << "提示报警短信发送间隔：不能大于255";
    QTest::newRow("gprs address not GBK") << 1 << "GPRS目标地址或域名：" << "a\U0001F600"
                                          << "提示GPRS目标地址或域名：含有设备不能显示的字符";
    QTest::newRow("led header not GBK") << 2 << "标头：" << "\U0001F600" << "提示标头：含有设备不能显示的字符";
    QTest::newRow("no work type") << 1 << "GPRS工作类型：" << "" << "提示请选择GPRS工作类型：";
  }
  void typedValuesThePagesRefuse() {
    QFETCH(int, page);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QString, notice);
    const SinglePage& s = singlePageTable()[static_cast<std::size_t>(page)];
    PageHarness h;
    std::unique_ptr<QWidget> p(s.make(h.context));
    h.flags.networkRead = true;
    HostConfig host;
    s.host(host);
    h.receive(readCommandOf(s.group), encodeRecord(host, s.group));
    h.infoLog.clear();
    if (auto* box = qobject_cast<QComboBox*>(findByAccessibleName<QWidget>(p.get(), label)))
      box->setCurrentIndex(-1);
    else
      edit(p.get(), label)->setText(text);
    press(p.get(), s.write);
    QCOMPARE(h.notifier.notices.size(), 1);
    QCOMPARE(h.notifier.notices[0].title + h.notifier.notices[0].text, notice);
    QVERIFY(h.sent.isEmpty());
    QCOMPARE(encodeRecord(h.session.config(), s.group), encodeRecord(host, s.group));  // nothing of it kept
  }

  void networkPageSendsTheFieldsAndTheHiddenBytesAsRead() {
    PageHarness h(Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x05});
    NetworkPage p(h.context);
    press(&p, QStringLiteral("写入网络参数"));  // before any answer the hidden bytes are unknown
    QCOMPARE(h.notifier.notices.size(), 1);
    QCOMPARE(h.notifier.notices[0].text, kNoHost);
    Bytes read(292);
    for (std::size_t i = 0; i < read.size(); ++i) read[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const Bytes head = hex("800a01a8c00101a8c000ffffff");  // static 192.168.1.10, gateway .1, mask /24
    std::copy(head.begin(), head.end(), read.begin());
    read[19] = 9;  // no list position: shown as none, sent as 0xFF
    std::copy_n("10.0.0.2", 9, read.begin() + 24);
    h.transport.deliverNow(OuterFrame::buildNetworkAnswer(h.selected, read));
    QVERIFY(h.flags.networkRead);
    for (const Field& f : {Field{"静态IP：", "192.168.1.10"}, Field{"子网掩码：", "255.255.255.0"},
                           Field{"服务器1 服务器地址：", "10.0.0.2"}, Field{"IP获取方式：", 0}, Field{"最大连接数量：", -1}})
      expectShown(&p, f);
    QCOMPARE(h.infoLog.text(), QStringLiteral("读取网络参数成功！\r\n"));
    // DHCP disables the addresses; they still travel.
    list(&p, QStringLiteral("IP获取方式："))->setCurrentIndex(1);
    QVERIFY(!edit(&p, QStringLiteral("静态IP："))->isEnabled());
    for (const Field& f : {Field{"静态IP：", "10.1.2.3"}, Field{"网关地址：", "10.1.0.254"}, Field{"服务器1 源端口：", "70000"},
                           Field{"服务器1 监听端口：", " 2404x"}, Field{"服务器1 服务器地址：", "a"}})
      give(&p, f);
    QTest::keyClick(edit(&p, QStringLiteral("服务器1 服务器地址：")), Qt::Key_Return);  // Enter presses the write
    QCOMPARE(h.sent.size(), 1);
    const Bytes& d = h.sent[0];
    QCOMPARE(Bytes(d.begin(), d.begin() + 10), hex("aa012b04024b7d000005"));
    Bytes expected = read;
    const Bytes written = hex("00030201 0afe00010a 00ffffff");
    std::copy(written.begin(), written.end(), expected.begin());
    expected[19] = 0xFF;
    expected[20] = 0x70, expected[21] = 0x11, expected[22] = 0x64, expected[23] = 0x09;  // 4464, 2404
    expected[24] = 'a', expected[25] = 0;  // the bytes after the zero stay as read
    QCOMPARE(Bytes(d.begin() + 10, d.begin() + 302), expected);
    QCOMPARE(h.notifier.notices.last().text, QStringLiteral("网络参数已下发，请重新搜索设备，双击设备列表来验证是否下发成功"));
    read[0] = 0x7F;  // bit 7 clear: DHCP, the addresses disabled
    h.transport.deliverNow(OuterFrame::buildNetworkAnswer(h.selected, read));
    expectShown(&p, {"IP获取方式：", 1});
    QVERIFY(!edit(&p, QStringLiteral("网关地址："))->isEnabled());
  }

  void networkPageRefusesWhatWouldLoseTheHost_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notice");  // empty: an information line instead
    for (const char* bad : {"192.168.1.256", "192.168.1", "a.b.c.d", "", "1000.1.1.1"})
      QTest::addRow("gateway %s", bad) << "网关地址：" << bad
                                       << "网关地址：格式不正确,应为以\".\"分隔的四个0~255的十进制数,例如192.168.0.9";
    QTest::newRow("server address of 30 bytes")
        << "服务器1 服务器地址：" << QString(30, 'x') << "服务器1 服务器地址：超过29个字节(一个汉字占两个字节),请缩短";
    for (const char* mac : {"001A2B3C4D5E", "00-1A-2B-3C-4D-5", "00-00-00-00-00-00", "FF-FF-FF-FF-FF-FF",
                            "01-00-5E-00-00-01"})
      QTest::addRow("mac %s", mac) << "MAC地址：" << mac << QString();
  }
  void networkPageRefusesWhatWouldLoseTheHost() {
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QString, notice);
    PageHarness h;
    NetworkPage p(h.context);
    h.transport.deliverNow(OuterFrame::buildNetworkAnswer(h.selected, Bytes(292, 0)));
    h.infoLog.clear();
    edit(&p, label)->setText(text);
    press(&p, notice.isEmpty() ? QStringLiteral("写MAC") : QStringLiteral("写入网络参数"));
    QVERIFY(h.sent.isEmpty());
    if (notice.isEmpty()) {
      QCOMPARE(h.infoLog.text(), QStringLiteral("不合格的MAC地址格式!!!\r\n"));
      return;
    }
    QCOMPARE(h.notifier.notices.size(), 1);
    QCOMPARE(h.notifier.notices[0].text, notice);
  }

  void networkPageMacWriteAndFactoryResetNeedNoRead() {
    PageHarness h;
    NetworkPage p(h.context);
    edit(&p, QStringLiteral("MAC地址："))->setText(QStringLiteral("02-1a-2B-3c-4D-5e tail"));
    press(&p, QStringLiteral("写MAC"));
    press(&p, QStringLiteral("网络恢复出厂"));
    QCOMPARE(h.sent.size(), 2);
    QCOMPARE(Bytes(h.sent[0].begin() + 10, h.sent[0].begin() + 16), hex("021a2b3c4d5e"));
    QCOMPARE(h.sent[1].size(), std::size_t{11});
    QCOMPARE(h.infoLog.text(), QStringLiteral("恢复出厂设置...\r\n"));
  }

  void batchPages_data() {
    QTest::addColumn<int>("page");
    for (std::size_t i = 0; i < batchPageTable().size(); ++i) QTest::newRow(batchPageTable()[i].name) << int(i);
  }
  void batchPages() {
    QFETCH(int, page);
    BatchFixture f(batchPageTable()[static_cast<std::size_t>(page)]);
    const int last = recordCountOf(f.s.group) - 1;
    press(f.page.get(), f.s.read);
    press(f.page.get(), f.s.write);
    QCOMPARE(f.h.notifier.notices.size(), 2);
    QCOMPARE(f.h.notifier.notices[0].text, kNoHost);
    QCOMPARE(f.h.notifier.notices[1].title + f.h.notifier.notices[1].text, QStringLiteral("警告") + f.s.refusal);
    QVERIFY(f.h.sent.isEmpty());

    f.h.flags.networkRead = true;
    press(f.page.get(), f.s.read);
    QVERIFY(f.run(f.s.read));  // a second press while the batch runs opens nothing
    QCOMPARE(f.h.waitBoxes, 1);
    QCOMPARE(f.selector()->currentText(), f.s.prefix + QString::number(last + 1));  // the last reply is shown
    for (int k = 0; k <= last; ++k) QCOMPARE(f.payloadOf(k), f.s.image(k));

    // Typing over the selector names no record: picking then stores nothing.
    f.selector()->setEditText(QStringLiteral("x"));
    emit f.selector()->lineEdit()->textEdited(QStringLiteral("x"));
    give(f.page.get(), f.s.edit);
    f.selector()->setCurrentIndex(0);
    QCOMPARE(f.payloadOf(last), f.s.image(last));
    // Picking another record stores the one on screen.
    f.selector()->setCurrentIndex(2);
    give(f.page.get(), f.s.edit);
    f.selector()->setCurrentIndex(4);
    Bytes edited = f.s.image(2);
    std::copy(f.s.bytes.begin(), f.s.bytes.end(), edited.begin() + static_cast<std::ptrdiff_t>(f.s.at));
    QCOMPARE(f.payloadOf(2), edited);
    // A reply shows its record without storing the screen.
    give(f.page.get(), f.s.edit);
    f.h.deliver(TunnelFrame::buildReply(readCommandOf(f.s.group, 1), f.s.image(1), 7, 3));
    QCOMPARE(f.payloadOf(4), f.s.image(4));
    // The write stores what is on screen, then sends every record.
    f.selector()->setCurrentIndex(2);
    f.h.transport.clearRequests();
    QVERIFY(f.run(f.s.write));
    QCOMPARE(f.h.commandsSent().size(), last + 1);
    for (const Bytes& frame : f.h.tunnelFramesSent())
      if (frame[1] == writeCommandOf(f.s.group, 2)) QCOMPARE(Bytes(frame.begin() + 2, frame.end() - 2), edited);
  }

  void channelFormatsAndTheExactValueOfAnUntouchedRoundedOne() {
    BatchFixture f(batchPageTable()[0]);
    ChannelParams c0;
    c0.upperLimit1 = 25.5f, c0.hysteresis1 = 0.25f, c0.coefA1 = 1, c0.relayUpper1 = 3, c0.dataSource = 146;
    c0.name1 = "ch1";
    ChannelParams c1;
    c1.dataSource = 147;  // beyond the list
    for (const auto& [k, r] : {std::pair{1, c1}, std::pair{0, c0}}) {
      HostConfig c;
      c.channels[0] = r;
      f.h.deliver(TunnelFrame::buildReply(readCommandOf(ParamGroup::Channel, k), encodeRecord(c, ParamGroup::Channel, 0), 7, 3));
    }
    QWidget* p = f.page.get();
    for (const Field& shown : {Field{"模拟量1(温度)上限：", "25.500000"}, Field{"模拟量1(温度)控制回差：", "0.250000"},
                               Field{"模拟量1 A:", "1.000000"}, Field{"上限1 关联继电器：", 3}, Field{"通道数据来源：", 146},
                               Field{"模拟量1名称：", "ch1"}})
      expectShown(p, shown);
    f.selector()->setCurrentIndex(1);
    expectShown(p, {"通道数据来源：", -1});
    f.selector()->setCurrentIndex(0);  // after a switch: "%.1f", except the coefficients
    for (const Field& shown : {Field{"模拟量1(温度)上限：", "25.5"}, Field{"模拟量1(温度)控制回差：", "0.2"},
                               Field{"模拟量1 A:", "1.000000"}})
      expectShown(p, shown);
    f.selector()->setCurrentIndex(1);  // stores channel 1 as shown, untouched
    QCOMPARE(f.h.session.config().channels[0].hysteresis1, 0.25f);
    QCOMPARE(f.payloadOf(1)[0], 0xFF);  // no data source selected
    f.selector()->setCurrentIndex(0);
    QLineEdit* hysteresis = edit(p, QStringLiteral("模拟量1(温度)控制回差："));
    QTest::keyClick(hysteresis, Qt::Key_End);
    QTest::keyClick(hysteresis, Qt::Key_Backspace);
    QTest::keyClicks(hysteresis, QStringLiteral("2"));  // the operator types "0.2" over it
    give(p, {"报警延时(S)：", "-1"});
    f.selector()->setCurrentIndex(1);
    QCOMPARE(f.h.session.config().channels[0].hysteresis1, 0.2f);
    QCOMPARE(f.h.session.config().channels[0].alarmDelay, 65535);
  }

  void channelFieldRulesFollowTheDataProperty() {
    BatchFixture f(batchPageTable()[0]);
    QWidget* p = f.page.get();
    const auto labelOf = [p](const QString& field) {
      for (auto* l : p->findChildren<QLabel*>())
        if (l->buddy() && l->buddy()->accessibleName() == field) return l->text();
      return QString();
    };
    QLineEdit* hysteresis = edit(p, QStringLiteral("模拟量1(温度)控制回差："));
    QLineEdit* coefA2 = edit(p, QStringLiteral("模拟量2 A:"));
    list(p, QStringLiteral("数据属性："))->setCurrentIndex(6);  // at once, without waiting for the period
    QVERIFY(!hysteresis->isEnabled());
    QVERIFY(edit(p, QStringLiteral("模拟量2单位："))->isEnabled());
    QVERIFY(!edit(p, QStringLiteral("模拟量2名称："))->isEnabled());
    QCOMPARE(labelOf(QStringLiteral("模拟量1单位：")), QStringLiteral("报警内容："));
    QCOMPARE(labelOf(QStringLiteral("模拟量2单位：")), QStringLiteral("复归内容："));
    list(p, QStringLiteral("数据属性："))->setCurrentIndex(2);
    check(p, QStringLiteral("允许编辑所有参数"))->setChecked(true);
    QVERIFY(coefA2->isEnabled());
    QVERIFY(!edit(p, QStringLiteral("模拟量1 A:"))->isEnabled());
    QCOMPARE(labelOf(QStringLiteral("模拟量1单位：")), QStringLiteral("模拟量1单位："));
    // Every 100 ms while shown; not while hidden; at once when shown again.
    p->show();
    hysteresis->setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(!hysteresis->isEnabled(), 1000);
    p->hide();
    hysteresis->setEnabled(true);
    QTest::qWait(300);
    QVERIFY(hysteresis->isEnabled());
    p->show();
    QVERIFY(!hysteresis->isEnabled());
  }

  void listPositionsBeyondTheListsShowNothingAndTravelAsNone() {
    PageHarness h;
    BasePage base(h.context);
    LedPage led(h.context);
    h.flags.networkRead = true;
    HostConfig c;
    c.base = {0x12345678, 9, 1, 1, 1, 3, 33, 1, 1, 4, 0, 0, 0};
    c.led.channelCount = 0, c.led.columnCount = 6;
    h.receive(1, encodeRecord(c, ParamGroup::Base));
    h.receive(150, encodeRecord(c, ParamGroup::Led));
    for (const char* name : {"服务器数量：", "ModBus通信波特率：", "通道启用数量：", "存储类型："}) expectShown(&base, {name, -1});
    for (const char* name : {"通道显示数量：", "列数："}) expectShown(&led, {name, -1});
    press(&base, QStringLiteral("写入基础参数"));
    const Bytes b = h.lastPayload();
    for (std::size_t at : {0u, 11u, 12u, 17u}) QCOMPARE(b[at], 0xFF);
    press(&led, QStringLiteral("下载LED屏参数"));
    const Bytes l = h.lastPayload();
    QCOMPARE(Bytes(l.begin() + 7, l.begin() + 11), hex("00000000"));
  }

  void allowAllEnablesExactlyItsFields() {
    PageHarness h;
    BasePage base(h.context);
    GprsPage gprs(h.context);
    const std::pair<QWidget*, QStringList> pages[] = {
        {&base, {"登陆帧间隔时间：", "心跳包间隔时间：", "数据帧间隔时间：", "ModBus通信波特率："}},
        {&gprs, {"登陆帧间隔：", "心跳帧间隔：", "数据帧间隔："}}};
    for (const auto& [page, governed] : pages)
      for (bool on : {true, false}) {
        check(page, QStringLiteral("允许编辑所有参数"))->setChecked(on);
        for (QWidget* w : page->findChildren<QWidget*>())
          if (!w->accessibleName().isEmpty() && !qobject_cast<QPushButton*>(w) && w->accessibleName() != "服务器数量：")
            QCOMPARE(w->isEnabled(), governed.contains(w->accessibleName()) ? on : true);
      }
    QVERIFY(!list(&base, QStringLiteral("服务器数量："))->isEnabled());
  }
};

QTEST_MAIN(PagesTest)
#include "pages_test.moc"
