// The seven tab pages on their own, against a scripted host: the refusals before a read, what a reply shows, the
// exact bytes a write sends for what was typed and what it refuses, the selectors that store the record on screen,
// the channel page's formats and field rules, and the network page's checks.
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <variant>

#include "support/page_harness.h"
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

namespace {

// A field's label and what it shows or is given: an edit's text, a list's row, a check box's state.
using Field = std::pair<QString, std::variant<QString, int, bool>>;

void give(QWidget* page, const Field& f) {
  if (const auto* text = std::get_if<QString>(&f.second)) edit(page, f.first)->setText(*text);
  if (const auto* row = std::get_if<int>(&f.second)) list(page, f.first)->setCurrentIndex(*row);
  if (const auto* on = std::get_if<bool>(&f.second)) check(page, f.first)->setChecked(*on);
}

void expectShown(QWidget* page, const Field& f) {
  if (const auto* text = std::get_if<QString>(&f.second)) QCOMPARE(edit(page, f.first)->text(), *text);
  if (const auto* row = std::get_if<int>(&f.second)) QCOMPARE(list(page, f.first)->currentIndex(), *row);
  if (const auto* on = std::get_if<bool>(&f.second)) QCOMPARE(check(page, f.first)->isChecked(), *on);
}

const QString kNoHost = QStringLiteral("请先搜索到设备,双击选中,再读取参数");

// The message boxes shown, each as title and text.
QStringList notices(const PageHarness& h) {
  QStringList out;
  for (const auto& n : h.notifier.notices) out << n.title + n.text;
  return out;
}

// A value the write refuses and the box that says why.
using Refused = std::pair<Field, QString>;

// A single-record page: read and write buttons, its lines, a host record to show, values its write refuses, what the
// operator types, and the golden payload that goes out.
struct SinglePage {
  const char* name;
  ParamGroup group;
  std::function<QWidget*(const PageContext&)> make;
  QString read, write, readLines, writeLine, ack, refusal;  // the refusal's box is titled "提示"
  std::function<void(HostConfig&)> host;
  std::vector<Field> shown;
  std::vector<Refused> refused;
  std::vector<Field> typed;
  Bytes payload;
  QStringList governed;  // the fields "允许编辑所有参数" enables
};

const std::vector<SinglePage>& singlePageTable() {
  static const std::vector<SinglePage> pages = {
      {"base", ParamGroup::Base, [](const PageContext& c) { return new BasePage(c); }, "读取基础参数", "写入基础参数",
       "读取设备参数...\r\n读取设备参数成功！\r\n", "设置参数... \r\n", "下载设备参数成功！\r\n", "请先\"读取设备参数\"然后进行修改再进行配置",
       [](HostConfig& c) { c.base = {0x1A2B3C4D, 2, 60, 0xFFFF, 300, 2, 32, 10, 1, 1, 1, 113.25f, -23.5f}; },
       {{"终端地址：", "1a2b3c4d"}, {"服务器数量：", 2}, {"登陆帧间隔时间：", "60"}, {"心跳包间隔时间：", "65535"},
        {"ModBus通信波特率：", 2}, {"通道启用数量：", 32}, {"正常数据记录间隔(分钟)：", "10"}, {"存储类型：", 1},
        {"启用", true}, {"经度：", "113.250000"}, {"维度：", "-23.500000"}},
       {{{"终端地址：", "1234567"}, "终端地址错误终端地址要为8位长度"},
        {{"终端地址：", "1234567G"}, "终端地址错误终端地址要为8位十六进制数"}},
       // disabled interval edits go out all the same
       {{"终端地址：", "1A2b3C4d"}, {"登陆帧间隔时间：", "70000"}, {"心跳包间隔时间：", "-1"}, {"数据帧间隔时间：", "abc"},
        {"正常数据记录间隔(分钟)：", " 15min"}, {"告警数据记录间隔(分钟)：", ""}, {"ModBus通信波特率：", 0},
        {"通道启用数量：", 7}, {"启用", false}, {"经度：", "113.25"}, {"维度：", "x"}},
       hex("024d3c2b1a7011ffff000000070f00000001000080e24200000000"),
       {"登陆帧间隔时间：", "心跳包间隔时间：", "数据帧间隔时间：", "ModBus通信波特率："}},
      {"gprs", ParamGroup::Gprs, [](const PageContext& c) { return new GprsPage(c); }, "读取GPRS参数", "下载GPRS参数",
       "读取GPRS运行参数...\r\n读取GPRS无线参数成功！\r\n", "设置GPRS无线参数... \r\n", "下载GPRS无线参数成功！\r\n",
       "请先\"读取GPRS参数\"然后进行修改再进行配置",
       [](HostConfig& c) {
         c.gprs = {60, 0xFFFF, 300, 1, "iot.example.net", "5001",
                   {"13800138000", "19999999999", "13912345678", "", "15000000005"}, 0x15, 200};
       },
       // only numbers whose mask bit is set are shown
       {{"心跳帧间隔：", "65535"}, {"GPRS目标地址或域名：", "iot.example.net"}, {"GPRS目标端口：", "5001"},
        {"告警目标手机号码1：", "13800138000"}, {"告警目标手机号码2：", ""}, {"告警目标手机号码5：", "15000000005"},
        {"报警短信发送间隔：", "200"}, {"GPRS工作类型：", 1}},
       {{{"报警短信发送间隔：", "256"}, "提示报警短信发送间隔：不能大于255"},
        {{"GPRS目标地址或域名：", "a\U0001F600"}, "提示GPRS目标地址或域名：含有设备不能显示的字符"},
        {{"GPRS工作类型：", -1}, "提示请选择GPRS工作类型："}},
       {{"登陆帧间隔：", "-1"}, {"心跳帧间隔：", "70000"}, {"数据帧间隔：", "x"}, {"GPRS目标地址或域名：", QString(70, 'a')},
        {"告警目标手机号码1：", "  13911112222 "}, {"告警目标手机号码2：", "1391111222"},
        {"告警目标手机号码3：", "139111122223"}, {"告警目标手机号码4：", ""}, {"告警目标手机号码5：", "1391111222中"},
        {"报警短信发送间隔：", "-5"}, {"GPRS工作类型：", 2}},
       hex("ffff70110000") + area(std::string(64, 'a'), 65) + area("5001", 8) + hex("15") + area("13911112222", 11) +
           area("19999999999", 11) + area("13911112222", 11) + area("", 11) + area("1391111222", 11) + hex("0502"),
       {"登陆帧间隔：", "心跳帧间隔：", "数据帧间隔："}},
      {"led", ParamGroup::Led, [](const PageContext& c) { return new LedPage(c); }, "读取LED屏参数", "下载LED屏参数",
       "读取LED参数...\r\n读取LED屏参数成功！\r\n", "设置LED显示屏参数... \r\n", "下载LED屏参数成功！\r\n",
       "请先\"读取LED显示屏参数\"然后进行修改再进行配置",
       [](HostConfig& c) { c.led = {1, 1, 0, 192, 65535, 8, 2, 5, "Quendra \xBC\xE0\xB2\xE2", "end"}; },
       {{"LED屏Y尺寸：", "65535"}, {"通道显示数量：", 7}, {"列数：", 1}, {"数据表格是否显示", true}, {"标尾 使用", false},
        {"标头：", "Quendra 监测"}},
       {{{"标头：", "\U0001F600"}, "提示标头：含有设备不能显示的字符"}},
       // a 64-byte header goes whole; a character straddling byte 64 is left out
       {{"LED屏X尺寸：", "abc"}, {"LED屏Y尺寸：", "-1"}, {"LED屏刷新间隔(S)：", "70000"}, {"通道显示数量：", 31},
        {"列数：", 4}, {"数据表格是否显示", false}, {"标头 使用", false}, {"标尾 使用", true},
        {"标头：", QString(64, 'h')}, {"标尾：", QString(63, 'f') + "尾"}},
       hex("0000010000ffff200005007011") + area(std::string(64, 'h'), 64) + area(std::string(63, 'f'), 64), {}},
  };
  return pages;
}

// A page of records moved in batches: its buttons and refusal, its selector, the host's images, one field the
// operator edits on record 3, and where the edit lands in that record's payload.
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
       {"模拟量1名称：", "温度"}, 21, area("\xCE\xC2\xB6\xC8", 20)},  // GBK; UTF-8 would be E6 B8 A9 E5 BA A6
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
    h.host = [this](const SentRequest& r) { return answerFrom(r, [this](TunnelCommand c) { return s.image(c.index); }); };
  }
  bool run(const QString& button) {
    return h.run([&] { return press(page.get(), button), std::optional<Refusal>(); }).outcome == Outcome::Done;
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
    for (bool on : {!s.governed.isEmpty(), false}) {  // "允许编辑所有参数" enables exactly its fields
      if (!s.governed.isEmpty()) check(p.get(), QStringLiteral("允许编辑所有参数"))->setChecked(on);
      for (QWidget* w : p->findChildren<QWidget*>())
        if (!w->accessibleName().isEmpty() && !qobject_cast<QPushButton*>(w))  // the server count is only shown
          QCOMPARE(w->isEnabled(), s.governed.contains(w->accessibleName()) ? on : w->accessibleName() != "服务器数量：");
    }
    h.infoLog.append(QStringLiteral("kept"));  // refusals before the reads: nothing sent, the information area kept
    press(p.get(), s.read);
    press(p.get(), s.write);
    QCOMPARE(notices(h), (QStringList{QStringLiteral("警告") + kNoHost, QStringLiteral("提示") + s.refusal}));
    QVERIFY(h.sent.isEmpty());
    QCOMPARE(h.infoLog.text(), QStringLiteral("kept"));
    h.readNetwork();  // the read: the request, the reply shown, the lines
    press(p.get(), s.read);
    QCOMPARE(h.sent.size(), 1);
    QCOMPARE(h.sent[0], OuterFrame::buildTunnelRequest(h.selected, TunnelFrame::buildRequest(readCommandOf(s.group))));
    HostConfig host;
    s.host(host);
    const Bytes record = encodeRecord(host, s.group);
    h.receive(readCommandOf(s.group), record);
    for (const Field& f : s.shown) expectShown(p.get(), f);
    QCOMPARE(h.infoLog.text(), s.readLines);
    for (const auto& [field, notice] : s.refused) {  // its box; nothing sent, nothing of it kept
      h.notifier.notices.clear();
      give(p.get(), field);
      const qsizetype sent = h.sent.size();
      press(p.get(), s.write);
      QCOMPARE(notices(h), QStringList{notice});
      QCOMPARE(h.sent.size(), sent);
      QCOMPARE(encodeRecord(h.session.config(), s.group), record);
      press(p.get(), s.read);  // read and shown again
      h.receive(readCommandOf(s.group), record);
    }
    give(p.get(), s.typed.front());  // typed, then a reply no read asked for (another PC's): nothing changes
    h.receive(readCommandOf(s.group), Bytes(record.size(), 0x5A));
    expectShown(p.get(), s.typed.front());
    QCOMPARE(encodeRecord(h.session.config(), s.group), record);
    for (const Field& f : s.typed) give(p.get(), f);  // the write: what was typed, as golden bytes
    press(p.get(), s.write);
    QCOMPARE(h.lastPayload(), s.payload);
    QCOMPARE(h.infoLog.text(), s.writeLine);
    h.receive(writeCommandOf(s.group));  // the acknowledgement only adds its line
    QCOMPARE(h.infoLog.text(), s.writeLine + s.ack);
    QCOMPARE(encodeRecord(h.session.config(), s.group), s.payload);
  }

  void networkPageSendsTheFieldsAndTheHiddenBytesAsRead() {
    PageHarness h(Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x05});
    NetworkPage p(h.context);
    press(&p, QStringLiteral("写入网络参数"));  // before any answer the hidden bytes are unknown
    QCOMPARE(notices(h), QStringList{QStringLiteral("警告") + kNoHost});
    Bytes read(292);
    for (std::size_t i = 0; i < read.size(); ++i) read[i] = static_cast<std::uint8_t>(i * 7 + 3);
    read = over(read, 0, hex("800a01a8c00101a8c000ffffff"));  // static 192.168.1.10, gateway .1, mask /24
    read[19] = 9;  // no list position: shown as none, sent as 0xFF
    read = over(read, 24, area("10.0.0.2", 9));
    const auto answer = [&] { h.transport.deliverNow(OuterFrame::buildNetworkAnswer(h.selected, read)); };
    const auto readAgain = [&] { h.session.read(ParamGroup::Network); answer(); };
    answer();  // no read asked for it
    QVERIFY(!h.session.flags().networkRead);
    readAgain();
    QVERIFY(h.session.flags().networkRead);
    for (const Field& f : {Field{"静态IP：", "192.168.1.10"}, Field{"子网掩码：", "255.255.255.0"},
                           Field{"服务器1 服务器地址：", "10.0.0.2"}, Field{"IP获取方式：", 0}, Field{"最大连接数量：", -1}})
      expectShown(&p, f);
    QCOMPARE(h.infoLog.text(), QStringLiteral("读取网络参数成功！\r\n"));
    edit(&p, QStringLiteral("MAC地址："))->setText(QStringLiteral("02-1a-2B-3c-4D-5e tail"));
    h.transport.clearRequests();
    press(&p, QStringLiteral("写MAC"));  // kept in the history first, as read
    press(&p, QStringLiteral("网络恢复出厂"));  // the settings are no longer those read: read first
    answer();
    QCOMPARE(h.sent, (QList<Bytes>{OuterFrame::buildWriteMacRequest(h.selected, {0x02, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}),
                                   OuterFrame::buildReadNetworkRequest(h.selected),
                                   OuterFrame::buildFactoryResetRequest(h.selected)}));
    QCOMPARE(int(h.history.entries(h.selected).size()), 2);
    QCOMPARE(h.infoLog.text(), QStringLiteral("恢复出厂设置...\r\n读取网络参数成功！\r\n"));
    readAgain();
    const Refused refused[] = {  // what would lose the host: its box, or for the MAC an information line
        {{"网关地址：", "192.168.1.256"}, "网关地址：格式不正确,应为以\".\"分隔的四个0~255的十进制数,例如192.168.0.9"},
        {{"子网掩码：", ""}, "子网掩码：格式不正确,应为以\".\"分隔的四个0~255的十进制数,例如192.168.0.9"},
        {{"服务器1 服务器地址：", QString(30, 'x')}, "服务器1 服务器地址：超过29个字节(一个汉字占两个字节),请缩短"},
        {{"MAC地址：", "00-1A-2B-3C-4D-5"}, ""}, {{"MAC地址：", "01-00-5E-00-00-01"}, ""}};
    for (const auto& [field, notice] : refused) {
      h.notifier.notices.clear();
      h.transport.clearRequests();
      give(&p, field);
      press(&p, notice.isEmpty() ? QStringLiteral("写MAC") : QStringLiteral("写入网络参数"));
      QVERIFY(h.sent.isEmpty());
      QCOMPARE(notices(h), notice.isEmpty() ? QStringList{} : QStringList{QStringLiteral("提示") + notice});
      if (notice.isEmpty()) QCOMPARE(h.infoLog.text(), QStringLiteral("不合格的MAC地址格式!!!\r\n"));
      readAgain();  // read and shown again
    }
    h.transport.clearRequests();
    list(&p, QStringLiteral("IP获取方式："))->setCurrentIndex(1);  // DHCP disables the addresses; they still travel
    QVERIFY(!edit(&p, QStringLiteral("静态IP："))->isEnabled());
    for (const Field& f : {Field{"静态IP：", "10.1.2.3"}, Field{"网关地址：", "10.1.0.254"}, Field{"服务器1 源端口：", "70000"},
                           Field{"服务器1 监听端口：", " 2404x"}, Field{"服务器1 服务器地址：", "a"}})
      give(&p, f);
    QTest::keyClick(edit(&p, QStringLiteral("服务器1 服务器地址：")), Qt::Key_Return);  // Enter presses the write
    QCOMPARE(h.sent.size(), 2);  // and the read that verifies it
    QCOMPARE(h.sent[1], OuterFrame::buildReadNetworkRequest(h.selected));
    const SentRequest d = readSent(h.sent[0]);
    QCOMPARE(d.command, int(kWriteNetwork));
    QCOMPARE(d.target, h.selected);
    const Bytes written = over(read, 0, hex("00030201 0afe00010a 00ffffff"));
    // no list position, ports 4464 and 2404, "a" and its zero; the bytes after it as read
    QCOMPARE(d.payload, over(written, 19, hex("ff 7011 6409 6100")));
    QCOMPARE(notices(h).last(), QStringLiteral("提示网络参数已下发，请重新搜索设备，双击设备列表来验证是否下发成功"));
    read[0] = 0x7F;  // bit 7 clear: DHCP, the addresses disabled
    readAgain();
    expectShown(&p, {"IP获取方式：", 1});
    QVERIFY(!edit(&p, QStringLiteral("网关地址："))->isEnabled());
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
    QCOMPARE(notices(f.h), (QStringList{QStringLiteral("警告") + kNoHost, QStringLiteral("警告") + f.s.refusal}));
    QVERIFY(f.h.sent.isEmpty());

    f.h.readNetwork();
    press(f.page.get(), f.s.read);
    QVERIFY(f.run(f.s.read));  // a second press while the batch runs opens nothing
    QCOMPARE(f.h.waitBoxes, 1);
    QCOMPARE(f.selector()->currentText(), f.s.prefix + QString::number(last + 1));  // the last reply is shown
    for (int k = 0; k <= last; ++k) QCOMPARE(f.payloadOf(k), f.s.image(k));
    const auto edited = [&f](int k) { return over(f.s.image(k), f.s.at, f.s.bytes); };
    f.selector()->setEditText(QStringLiteral("x"));  // typed over, the selector names no record: nothing stored
    emit f.selector()->lineEdit()->textEdited(QStringLiteral("x"));
    give(f.page.get(), f.s.edit);
    f.selector()->setCurrentIndex(0);
    QCOMPARE(f.payloadOf(last), f.s.image(last));
    f.selector()->setCurrentIndex(2);  // picking another record stores the one on screen
    give(f.page.get(), f.s.edit);
    f.selector()->setCurrentIndex(4);
    QCOMPARE(f.payloadOf(2), edited(2));
    give(f.page.get(), f.s.edit);  // a reply shows its record without storing the screen
    QCOMPARE(f.h.read(f.s.group, 1u << 1).outcome, Outcome::Done);
    QCOMPARE(f.payloadOf(4), f.s.image(4));
    give(f.page.get(), f.s.edit);  // the write stores the record on screen, then sends every record
    f.h.transport.clearRequests();
    QVERIFY(f.run(f.s.write));
    QCOMPARE(f.h.tunnelRequestsSent().size(), last + 1);
    for (const SentRequest& r : f.h.tunnelRequestsSent()) {
      const int k = classifyTunnelCommand(std::uint8_t(r.tunnelCommand))->index;
      QCOMPARE(r.tunnelPayload, k == 1 || k == 2 ? edited(k) : f.s.image(k));
    }
  }

  void channelFormatsTheExactValueOfAnUntouchedRoundedOneAndFieldRules() {
    BatchFixture f(batchPageTable()[0]);
    HostConfig c;
    ChannelParams& c0 = c.channels[0];
    c0.upperLimit1 = 25.5f, c0.hysteresis1 = 0.25f, c0.coefA1 = 1, c0.relayUpper1 = 3, c0.dataSource = 146, c0.name1 = "ch1";
    c.channels[1].dataSource = 147;  // beyond the list
    f.h.readNetwork();
    f.h.host = [&c](const SentRequest& r) {
      return answerFrom(r, [&c](TunnelCommand t) { return encodeRecord(c, ParamGroup::Channel, t.index); });
    };
    for (int k : {1, 0}) QCOMPARE(f.h.read(ParamGroup::Channel, 1u << k).outcome, Outcome::Done);  // channel 0 shown last
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
    QTest::keyClick(hysteresis, Qt::Key_Backspace);
    QTest::keyClicks(hysteresis, QStringLiteral("2"));  // the operator types "0.2" over it
    f.selector()->setCurrentIndex(1);
    QCOMPARE(f.h.session.config().channels[0].hysteresis1, 0.2f);
    // The field rules follow the data property.
    const auto unitLabels = [p] {  // the labels of the two unit fields
      QString texts;
      for (auto* l : p->findChildren<QLabel*>())
        if (l->buddy() && l->buddy()->accessibleName().contains(QStringLiteral("单位："))) texts += l->text();
      return texts;
    };
    list(p, QStringLiteral("数据属性："))->setCurrentIndex(6);  // at once, without waiting for the period
    QVERIFY(!hysteresis->isEnabled());
    QVERIFY(edit(p, QStringLiteral("模拟量2单位："))->isEnabled());
    QVERIFY(!edit(p, QStringLiteral("模拟量2名称："))->isEnabled());
    QCOMPARE(unitLabels(), QStringLiteral("报警内容：复归内容："));
    list(p, QStringLiteral("数据属性："))->setCurrentIndex(2);
    check(p, QStringLiteral("允许编辑所有参数"))->setChecked(true);
    QVERIFY(edit(p, QStringLiteral("模拟量2 A:"))->isEnabled());
    QVERIFY(!edit(p, QStringLiteral("模拟量1 A:"))->isEnabled());
    QCOMPARE(unitLabels(), QStringLiteral("模拟量1单位：模拟量2单位："));
    // Every 100 ms while shown; no timer of the page runs while it is hidden (the window at rest wakes for nothing);
    // at once when shown again.
    p->show();
    hysteresis->setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(!hysteresis->isEnabled(), 1000);
    p->hide();
    for (const QTimer* t : p->findChildren<QTimer*>()) QVERIFY(!t->isActive());
    hysteresis->setEnabled(true);
    p->show();
    QVERIFY(!hysteresis->isEnabled());
  }

  void listPositionsBeyondTheListsShowNothingAndTravelAsNone() {
    PageHarness h;
    BasePage base(h.context);
    LedPage led(h.context);
    h.readNetwork();
    HostConfig c;
    c.base = {0x12345678, 9, 1, 1, 1, 3, 33, 1, 1, 4, 0, 0, 0};
    c.led.channelCount = 0, c.led.columnCount = 6;
    for (ParamGroup g : {ParamGroup::Base, ParamGroup::Led}) {
      h.session.read(g);
      h.receive(readCommandOf(g), encodeRecord(c, g));
    }
    for (const char* name : {"服务器数量：", "ModBus通信波特率：", "通道启用数量：", "存储类型："}) expectShown(&base, {name, -1});
    for (const char* name : {"通道显示数量：", "列数："}) expectShown(&led, {name, -1});
    press(&base, QStringLiteral("写入基础参数"));
    for (std::size_t at : {0u, 11u, 12u, 17u}) QCOMPARE(h.lastPayload()[at], 0xFF);
    press(&led, QStringLiteral("下载LED屏参数"));
    QCOMPARE(getU32LE(h.lastPayload(), 7), 0u);
  }
};

QTEST_MAIN(PagesTest)
#include "pages_test.moc"
