// The channel page alone, with a real batch sequencer and a test host: lists,
// both show formats, what typed values become on the wire, the selector
// storing the channel on screen, refusals, one wait box, and which fields the
// data property enables.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "batch_page_harness.h"
#include "pages/channel_page.h"

using namespace quendra;
using namespace quendra::test;
using namespace std::chrono_literals;

namespace {

// Channel k of the test host.
ChannelParams hostChannel(int k) {
  ChannelParams r;
  r.dataSource = k;
  r.dataProperty = 0;
  r.upperLimit1 = 25.5f + static_cast<float>(k);
  r.lowerLimit1 = -10;
  r.hysteresis1 = 0.25f;
  r.coefA1 = 1;
  r.alarmDelay = 300;
  r.relayUpper1 = 3;
  r.name1 = "ch" + std::to_string(k + 1);
  r.unit1 = "C";
  return r;
}

std::optional<Bytes> promptHost(const Bytes& frame) {
  return answerFrom(frame, [](TunnelCommand c) { return encodeChannelPayload(hostChannel(c.index)); });
}

struct Fixture : BatchPageFixture<ChannelPage, ParamGroup::Channel> {
  Fixture() {
    h.batch.setAttemptTimeout(BatchKind::ChannelRead, 20ms);
    h.batch.setAttemptTimeout(BatchKind::ChannelWrite, 20ms);
  }

  template <typename T = QLineEdit>
  T* field(const QString& name) {
    T* w = findByAccessibleName<T>(&page, name);
    if (!w) qWarning() << "no field" << name;
    return w;
  }
  QComboBox* selector() { return field<QComboBox>(QStringLiteral("通道号：")); }
  QString labelOf(QWidget* w) {
    for (auto* l : page.findChildren<QLabel*>())
      if (l->buddy() == w) return l->text();
    return {};
  }
  void reply(int k, const ChannelParams& r) { BatchPageFixture::reply(k, encodeChannelPayload(r)); }
};

const QString kUpper1 = QStringLiteral("模拟量1(温度)上限：");

// Every rule-driven field's accessible name, in the order of ChannelField.
const QStringList kRuleFields = {
    "模拟量1(温度)上限：", "模拟量1(温度)下限：", "模拟量1名称：", "模拟量1单位：", "上限1 关联继电器：",
    "下限1 关联继电器：", "模拟量1(温度)控制回差：", "模拟量2(湿度)上限：", "模拟量2(湿度)下限：",
    "模拟量2(湿度)控制回差：", "模拟量2名称：", "上限2 关联继电器：", "下限2 关联继电器：", "模拟量2单位：",
    "模拟量1 A:", "模拟量1 B:", "模拟量1 发生允许短信报警", "模拟量1 复归允许短信报警",
    "模拟量2 A:", "模拟量2 B:", "模拟量2 发生允许短信报警", "模拟量2 复归允许短信报警"};

}  // namespace

class ChannelPageTest : public QObject {
  Q_OBJECT
 private slots:
  void listsAndLabels() {
    Fixture f;
    QComboBox* source = f.field<QComboBox>(QStringLiteral("通道数据来源："));
    QComboBox* property = f.field<QComboBox>(QStringLiteral("数据属性："));
    QVERIFY(source && property && f.selector());
    QCOMPARE(source->count(), 147);
    const std::pair<int, const char*> rows[] = {
        {0, "ModBus槽位1"},   {31, "ModBus槽位32"},     {32, "无线槽位1"},        {63, "无线槽位32"},
        {64, "机载温湿度"},   {68, "机载直流电压"},     {69, "机载4-20mA电流1"},  {71, "机载4-20mA电流3"},
        {72, "机载水浸状态"}, {73, "外部开关量1"},      {76, "外部开关量4"},      {77, "本机剩余电量"},
        {82, "累计降雨量"},   {83, "ModBus保留槽位1"},  {114, "ModBus保留槽位32"}, {115, "无线1剩余电量"},
        {146, "无线32剩余电量"}};
    for (const auto& [row, text] : rows) QCOMPARE(source->itemText(row), QString::fromUtf8(text));
    QCOMPARE(property->count(), 7);
    QCOMPARE(property->itemText(6), QStringLiteral("开关量类型"));
    QCOMPARE(f.selector()->count(), 32);
    QVERIFY(f.selector()->isEditable());
    QCOMPARE(f.selector()->itemText(31), QStringLiteral("通道32"));
    for (const QString& name : kRuleFields) QVERIFY2(findByAccessibleName<QWidget>(&f.page, name), qPrintable(name));
    for (const char* relay : {"上限1 关联继电器：", "下限1 关联继电器：", "上限2 关联继电器：", "下限2 关联继电器："}) {
      QComboBox* list = f.field<QComboBox>(QString::fromUtf8(relay));
      QCOMPARE(list->count(), 9);
      QCOMPARE(list->itemText(0), QStringLiteral("无"));
      QCOMPARE(list->itemText(8), QStringLiteral("继电器8"));
      QCOMPARE(list->currentIndex(), -1);
    }
    QCOMPARE(source->currentIndex(), -1);
    QCOMPARE(property->currentIndex(), -1);
    QCOMPARE(f.selector()->currentIndex(), -1);
  }

  void floatsShowSixDecimalsAfterAReplyAndOneAfterSwitching() {
    Fixture f;
    f.reply(1, hostChannel(1));
    f.reply(0, hostChannel(0));
    QCOMPARE(f.selector()->currentText(), QStringLiteral("通道1"));
    QCOMPARE(f.field(kUpper1)->text(), QStringLiteral("25.500000"));
    QCOMPARE(f.field(QStringLiteral("模拟量1(温度)控制回差："))->text(), QStringLiteral("0.250000"));
    QCOMPARE(f.field(QStringLiteral("模拟量1 A:"))->text(), QStringLiteral("1.000000"));
    QCOMPARE(f.field(QStringLiteral("报警延时(S)："))->text(), QStringLiteral("300"));
    f.selector()->setCurrentIndex(1);
    QCOMPARE(f.field(kUpper1)->text(), QStringLiteral("26.5"));
    f.selector()->setCurrentIndex(0);
    QCOMPARE(f.field(kUpper1)->text(), QStringLiteral("25.5"));
    QCOMPARE(f.field(QStringLiteral("模拟量1(温度)控制回差："))->text(), QStringLiteral("0.2"));  // "%.1f" of 0.25
    QCOMPARE(f.field(QStringLiteral("模拟量1 A:"))->text(), QStringLiteral("1.000000"));
    QCOMPARE(f.field(QStringLiteral("报警延时(S)："))->text(), QStringLiteral("300"));
    QCOMPARE(f.field<QComboBox>(QStringLiteral("上限1 关联继电器："))->currentText(), QStringLiteral("继电器3"));
    QCOMPARE(f.field(QStringLiteral("模拟量1名称："))->text(), QStringLiteral("ch1"));
  }

  void aRoundedValueLeftUntouchedKeepsItsExactValue() {
    Fixture f;
    f.reply(1, hostChannel(1));
    f.reply(0, hostChannel(0));
    QLineEdit* hysteresis = f.field(QStringLiteral("模拟量1(温度)控制回差："));
    f.selector()->setCurrentIndex(1);
    f.selector()->setCurrentIndex(0);  // channel 1 shown again, hysteresis as "0.2"
    QCOMPARE(hysteresis->text(), QStringLiteral("0.2"));
    f.selector()->setCurrentIndex(1);  // stores channel 1 without an edit
    QCOMPARE(f.page.record(0).hysteresis1, 0.25f);
    f.selector()->setCurrentIndex(0);
    QTest::keyClick(hysteresis, Qt::Key_End);
    QTest::keyClick(hysteresis, Qt::Key_Backspace);
    QTest::keyClicks(hysteresis, QStringLiteral("2"));  // the operator types "0.2" over it
    f.selector()->setCurrentIndex(1);
    QCOMPARE(f.page.record(0).hysteresis1, 0.2f);
  }

  void pickingAnotherChannelStoresTheShownOne() {
    Fixture f;
    f.reply(6, hostChannel(6));
    f.field(kUpper1)->setText(QStringLiteral("99.75"));
    f.field(QStringLiteral("报警延时(S)："))->setText(QStringLiteral("-1"));
    f.selector()->setCurrentIndex(2);
    QCOMPARE(f.page.record(6).upperLimit1, 99.75f);
    QCOMPARE(f.page.record(6).alarmDelay, std::uint16_t{65535});
    QCOMPARE(f.page.record(6).name1, std::string("ch7"));
    QCOMPARE(f.page.record(2), ChannelParams{});  // shown, not stored
    QCOMPARE(f.field(kUpper1)->text(), QStringLiteral("0.0"));
  }

  void pickingWhenTheSelectorNamesNoChannelStoresNothing() {
    Fixture f;
    f.field(kUpper1)->setText(QStringLiteral("5"));
    f.selector()->setCurrentIndex(3);  // nothing was shown
    for (int k = 0; k < kChannelCount; ++k) QCOMPARE(f.page.record(k), ChannelParams{});
  }

  void alarmDelay300GoesOutAs2C01AndTypedMinusOneAs65535() {
    Fixture f;
    f.h.host = promptHost;
    QVERIFY(f.runBatch(QStringLiteral("读取通道参数")));
    QVERIFY(f.h.flags.channelRead);
    QCOMPARE(f.selector()->currentText(), QStringLiteral("通道32"));
    f.selector()->setCurrentIndex(4);
    f.field(QStringLiteral("报警延时(S)："))->setText(QStringLiteral("-1"));
    QVERIFY(f.runBatch(QStringLiteral("设置通道参数")));
    QCOMPARE(f.h.progress.last(), QStringLiteral("---通道参数写入成功!---"));
    const Bytes kept = f.writtenPayload(0);
    QCOMPARE(kept.size(), std::size_t{104});
    QCOMPARE(kept[98], 0x2C);  // tunnel offsets 100..101
    QCOMPARE(kept[99], 0x01);
    QCOMPARE(kept, encodeChannelPayload(hostChannel(0)));
    const Bytes typed = f.writtenPayload(4);
    QCOMPARE(typed[98], 0xFF);
    QCOMPARE(typed[99], 0xFF);
  }

  void textsAreCutToTheirAreaAtWholeCharacters() {
    struct Case {
      QString typed;
      std::string stored;
    };
    const Case names[] = {
        {QStringLiteral("abc"), "abc"},
        {QString(20, QLatin1Char('n')), std::string(20, 'n')},
        {QString(25, QLatin1Char('n')), std::string(20, 'n')},
        {QString(19, QLatin1Char('n')) + QStringLiteral("中"), std::string(19, 'n')},  // would straddle byte 20
        {QString(18, QLatin1Char('n')) + QStringLiteral("中"), std::string(18, 'n') + "\xD6\xD0"},
    };
    for (const Case& c : names) {
      Fixture f;
      f.reply(0, hostChannel(0));
      f.field(QStringLiteral("模拟量2名称："))->setText(c.typed);
      f.field(QStringLiteral("模拟量1单位："))->setText(c.typed);
      f.selector()->setCurrentIndex(1);
      QCOMPARE(f.page.record(0).name2, c.stored);
      QCOMPARE(f.page.record(0).unit1, c.stored.substr(0, c.stored.size() > 6 ? 6 : c.stored.size()));
    }
    Fixture f;
    f.reply(0, hostChannel(0));
    f.field(QStringLiteral("模拟量1单位："))->setText(QStringLiteral("ab℃中"));  // 2 + 2 + 2 bytes
    f.field(QStringLiteral("模拟量2单位："))->setText(QStringLiteral("abc℃中"));  // 中 straddles byte 6
    f.selector()->setCurrentIndex(1);
    QCOMPARE(f.page.record(0).unit1, std::string("ab\xA1\xE6\xD6\xD0"));
    QCOMPARE(f.page.record(0).unit2, std::string("abc\xA1\xE6"));
  }

  void receivedNameEndsAtItsZero() {
    Fixture f;
    Bytes payload = encodeChannelPayload(hostChannel(0));
    std::fill(payload.begin() + 21, payload.begin() + 41, 'x');
    payload[21 + 5] = 0;
    f.h.deliver(TunnelFrame::buildReply(5, payload, 7, 3));
    QCOMPARE(f.field(QStringLiteral("模拟量1名称："))->text(), QStringLiteral("xxxxx"));
  }

  void dataSource146And147() {
    Fixture f;
    QComboBox* source = f.field<QComboBox>(QStringLiteral("通道数据来源："));
    ChannelParams r = hostChannel(0);
    r.dataSource = 146;
    f.reply(0, r);
    QCOMPARE(source->currentText(), QStringLiteral("无线32剩余电量"));
    r.dataSource = 0;
    f.reply(0, r);
    QCOMPARE(source->currentText(), QStringLiteral("ModBus槽位1"));
    Bytes payload = encodeChannelPayload(hostChannel(1));
    payload[0] = 147;
    f.h.deliver(TunnelFrame::buildReply(6, payload, 7, 3));
    QCOMPARE(source->currentIndex(), -1);
    f.selector()->setCurrentIndex(0);
    QCOMPARE(f.page.recordPayload(1)[0], 0xFF);
  }

  void readIsRefusedBeforeAHostAndWriteBeforeACompleteRead() {
    Fixture f;
    f.h.flags.networkRead = false;
    QTest::mouseClick(f.button(QStringLiteral("读取通道参数")), Qt::LeftButton);
    QCOMPARE(f.h.notifier.notices.size(), 1);
    QCOMPARE(f.h.notifier.notices[0].text, QStringLiteral("请先搜索到设备,双击选中,再读取参数"));
    f.h.flags.networkRead = true;

    f.h.host = [](const Bytes& frame) -> std::optional<Bytes> {
      if (frame[1] == 9) return std::nullopt;  // channel 5 stays silent
      return promptHost(frame);
    };
    QVERIFY(f.runBatch(QStringLiteral("读取通道参数")));
    QVERIFY(!f.h.flags.channelRead);
    QCOMPARE(f.h.log.text(), QStringLiteral("通道5参数读取失败\r\n"));
    QCOMPARE(f.h.commandsSent().count(9), 4);
    const int sent = f.h.tunnelFramesSent().size();
    QTest::mouseClick(f.button(QStringLiteral("设置通道参数")), Qt::LeftButton);
    QCOMPARE(f.h.notifier.notices.size(), 2);
    QCOMPARE(f.h.notifier.notices[1].title, QStringLiteral("警告"));
    QCOMPARE(f.h.notifier.notices[1].text, QStringLiteral("请先读取通道参数，再配置!"));
    QCOMPARE(f.h.notifier.notices[1].icon, NoticeIcon::Exclamation);
    QTest::qWait(50);
    QCOMPARE(f.h.tunnelFramesSent().size(), sent);
  }

  void readPressedTwiceOpensOneWaitBox() {
    Fixture f;
    QSignalSpy finished(&f.h.session, &HostSession::finished);
    f.h.host = promptHost;
    QTest::mouseClick(f.button(QStringLiteral("读取通道参数")), Qt::LeftButton);
    QTest::mouseClick(f.button(QStringLiteral("读取通道参数")), Qt::LeftButton);
    QVERIFY(finished.wait(20000));
    QCOMPARE(f.h.waitBoxes, 1);
    QCOMPARE(f.h.tunnelFramesSent().size(), 32);
  }

  void dataPropertyEnablesItsFieldsAtOnce() {
    // Expected states for data property rows 0, 1, 2, 6 with the box unchecked
    // ('1' on, '0' off), in the order of kRuleFields.
    const std::pair<int, QString> columns[] = {
        {0, QStringLiteral("1111111111111100000000")},
        {1, QStringLiteral("1111111000000000000000")},
        {2, QStringLiteral("0000000111111100000000")},
        {6, QStringLiteral("1111110000000100000000")},
    };
    Fixture f;
    QComboBox* property = f.field<QComboBox>(QStringLiteral("数据属性："));
    for (const auto& [row, states] : columns) {
      property->setCurrentIndex(row);
      for (int i = 0; i < kRuleFields.size(); ++i)
        QVERIFY2(findByAccessibleName<QWidget>(&f.page, kRuleFields[i])->isEnabled() == (states[i] == '1'),
                 qPrintable(QStringLiteral("row %1 %2").arg(row).arg(kRuleFields[i])));
      const bool switchRow = row == 6;
      QCOMPARE(f.labelOf(f.field(QStringLiteral("模拟量1单位："))),
               switchRow ? QStringLiteral("报警内容：") : QStringLiteral("模拟量1单位："));
      QCOMPARE(f.labelOf(f.field(QStringLiteral("模拟量2单位："))),
               switchRow ? QStringLiteral("复归内容：") : QStringLiteral("模拟量2单位："));
    }
  }

  void allowAllGatesCoefficientsAndSmsBoxes() {
    Fixture f;
    const auto enabled = [&f](const char* name) {
      return findByAccessibleName<QWidget>(&f.page, QString::fromUtf8(name))->isEnabled();
    };
    QCheckBox* allowAll = f.field<QCheckBox>(QStringLiteral("允许编辑所有参数"));
    // No data property yet: the box alone decides.
    QVERIFY(!enabled("模拟量1 A:") && !enabled("模拟量2 复归允许短信报警"));
    allowAll->click();
    for (int i = 14; i < kRuleFields.size(); ++i) QVERIFY(findByAccessibleName<QWidget>(&f.page, kRuleFields[i])->isEnabled());
    QVERIFY(enabled("模拟量2(湿度)上限："));  // untouched without a data property

    // "模拟量1禁用模拟量2启用": quantity 2's gated fields on, quantity 1's off.
    f.field<QComboBox>(QStringLiteral("数据属性："))->setCurrentIndex(2);
    QVERIFY(enabled("模拟量2 A:") && enabled("模拟量2 B:") && enabled("模拟量2 发生允许短信报警"));
    QVERIFY(!enabled("模拟量1 A:") && !enabled("模拟量1 复归允许短信报警"));

    // The box's own click switches all eight; the rules take back quantity 1's
    // at once.
    allowAll->click();
    allowAll->click();
    QVERIFY(!enabled("模拟量1 A:"));
    allowAll->click();  // unchecked
    for (int i = 14; i < kRuleFields.size(); ++i) QVERIFY(!findByAccessibleName<QWidget>(&f.page, kRuleFields[i])->isEnabled());
  }

  void rulesAreReappliedEveryPeriodWhileThePageIsShown() {
    Fixture f;
    f.page.show();
    f.field<QComboBox>(QStringLiteral("数据属性："))->setCurrentIndex(6);
    QLineEdit* hysteresis = f.field(QStringLiteral("模拟量1(温度)控制回差："));
    QVERIFY(!hysteresis->isEnabled());
    hysteresis->setEnabled(true);  // anything else that touched it
    QTRY_VERIFY_WITH_TIMEOUT(!hysteresis->isEnabled(), 1000);
  }

  void aHiddenPageDoesNotWakeForTheRules() {
    Fixture f;
    f.page.show();
    f.page.hide();
    f.field<QComboBox>(QStringLiteral("数据属性："))->setCurrentIndex(6);
    QLineEdit* hysteresis = f.field(QStringLiteral("模拟量1(温度)控制回差："));
    hysteresis->setEnabled(true);
    QTest::qWait(300);
    QVERIFY(hysteresis->isEnabled());
    f.page.show();  // shown again: the rules apply at once
    QVERIFY(!hysteresis->isEnabled());
  }

  void versionGateDuringAWriteStopsTheRemainingChannels() {
    Fixture f;
    f.h.flags.channelRead = true;
    // Channel 3's acknowledgement comes from a host of version 7.02.
    f.h.host = [](const Bytes& frame) -> std::optional<Bytes> {
      if (frame[1] == writeCommandOf(ParamGroup::Channel, 2)) return TunnelFrame::buildReply(frame[1], {}, 7, 2);
      return promptHost(frame);
    };
    QVERIFY(f.runBatch(QStringLiteral("设置通道参数")));
    QCOMPARE(f.h.commandsSent(), (QList<int>{37, 38, 39}));
    QCOMPARE(f.h.progress.last(), QStringLiteral("通道参数写入失败......"));
  }

  void readWriteAndReadAgainSeesTheEdit() {
    Fixture f;
    std::array<Bytes, kChannelCount> hostRecords;
    for (int k = 0; k < kChannelCount; ++k) hostRecords[k] = encodeChannelPayload(hostChannel(k));
    f.h.host = [&hostRecords](const Bytes& frame) -> std::optional<Bytes> {
      const auto c = classifyTunnelCommand(frame[1]);
      if (c->isWrite) hostRecords[c->index] = Bytes(frame.begin() + 2, frame.end() - 2);
      return TunnelFrame::buildReply(frame[1], c->isWrite ? Bytes{} : hostRecords[c->index], 7, 3);
    };
    QVERIFY(f.runBatch(QStringLiteral("读取通道参数")));
    f.selector()->setCurrentIndex(6);
    f.field(kUpper1)->setText(QStringLiteral("42.5"));
    f.field(QStringLiteral("模拟量1名称："))->setText(QStringLiteral("温度七"));
    QVERIFY(f.runBatch(QStringLiteral("设置通道参数")));
    f.selector()->setCurrentIndex(0);
    QVERIFY(f.runBatch(QStringLiteral("读取通道参数")));
    QCOMPARE(f.h.progress.last(), QStringLiteral("---通道参数读取成功!---"));
    f.selector()->setCurrentIndex(6);
    QCOMPARE(f.field(kUpper1)->text(), QStringLiteral("42.5"));
    QCOMPARE(f.field(QStringLiteral("模拟量1名称："))->text(), QStringLiteral("温度七"));
  }
};

QTEST_MAIN(ChannelPageTest)
#include "channel_page_test.moc"
