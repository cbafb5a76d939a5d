#include "pages/channel_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "fields/field_labels.h"
#include "records/field_text.h"
#include "pages/page_form.h"
#include "pages/record_selector.h"

namespace quendra {
namespace {

QStringList choicesOf(std::string_view key) { return fieldChoices(ParamGroup::Channel, key); }

// A stored list value as a row of a list of `rows` entries; -1 selects nothing.
int rowOf(std::int32_t value, int rows) { return value >= 0 && value < rows ? value : -1; }

std::uint8_t listByte(const QComboBox* list) { return static_cast<std::uint8_t>(list->currentIndex()); }

QString floatText(float value, bool sixDecimals) {
  return QString::fromStdString(sixDecimals ? formatFloat6(value) : formatFloat1(value));
}

// A float field read back into its record. A value shown rounded ("%.1f"
// after a channel change) and left untouched keeps its exact value: reading
// the rounded text back would change the host's setting (0.25 -> 0.2) unasked.
float storedFloat(const QLineEdit* edit, float current) {
  const QString text = edit->text();
  if (!edit->isModified() && (text == floatText(current, false) || text == floatText(current, true))) return current;
  return parseLeadingFloat(text.toStdString());
}

// "模拟量1", "模拟量2": the group of a quantity's fields.
QString quantityName(int i) { return ChannelPage::tr("模拟量%1").arg(i + 1); }
// Quantity i's field of `stem` ("upperLimit" -> "upperLimit1") as labelled everywhere.
QString quantityLabel(std::string stem, int i) { return fieldLabel(ParamGroup::Channel, stem + char('1' + i)); }
QString unitLabel(int i) { return quantityLabel("unit", i); }

}  // namespace

ChannelPage::ChannelPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  buildForm();
  ruleTimer_ = new QTimer(this);
  ruleTimer_->setInterval(100);
  connect(ruleTimer_, &QTimer::timeout, this, &ChannelPage::applyFieldRules);
}

// The rules re-run every 100 ms only while the page can be seen: a hidden page
// shows nothing, and an idle tool should not wake ten times a second for it.
// Changes of the data property or of "允许编辑所有参数" apply at once anyway.
void ChannelPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  applyFieldRules();
  ruleTimer_->start();
}

void ChannelPage::hideEvent(QHideEvent* event) {
  ruleTimer_->stop();
  QWidget::hideEvent(event);
}

void ChannelPage::buildForm() {
  auto* top = new QGridLayout;
  selector_ = new RecordSelector(tr("通道"), kChannelCount, this);
  dataSource_ = makeList(choicesOf("dataSource"));
  dataProperty_ = makeList(choicesOf("dataProperty"));
  alarmDelay_ = new QLineEdit;
  addLabeledField(top, 0, 0, tr("通道号："), selector_->box());
  addLabeledField(top, 0, 2, fieldLabel(ParamGroup::Channel, "dataSource"), dataSource_);
  addLabeledField(top, 1, 0, fieldLabel(ParamGroup::Channel, "dataProperty"), dataProperty_);
  addLabeledField(top, 1, 2, fieldLabel(ParamGroup::Channel, "alarmDelay"), alarmDelay_);

  auto* quantities = new QHBoxLayout;
  for (int i = 0; i < 2; ++i) {
    const QString n = QString::number(i + 1);
    const QString group = quantityName(i);
    Quantity& q = q_[i];
    auto* box = new QGroupBox(group);
    auto* grid = new QGridLayout(box);
    q.upper = new QLineEdit;
    q.lower = new QLineEdit;
    q.hysteresis = new QLineEdit;
    q.relayUpper = makeList(choicesOf(i == 0 ? "relayUpper1" : "relayUpper2"));
    q.relayLower = makeList(choicesOf(i == 0 ? "relayLower1" : "relayLower2"));
    q.coefA = new QLineEdit;
    q.coefB = new QLineEdit;
    q.name = new QLineEdit;
    q.unit = new QLineEdit;
    q.smsOnAlarm = makeCheck(tr("发生允许短信报警"), group);
    q.smsOnRestore = makeCheck(tr("复归允许短信报警"), group);
    const QString relay = tr("关联继电器：");
    addLabeledField(grid, 0, 0, quantityLabel("upperLimit", i), q.upper);
    addLabeledField(grid, 0, 2, relay, q.relayUpper, tr("上限%1").arg(n));
    addLabeledField(grid, 1, 0, quantityLabel("lowerLimit", i), q.lower);
    addLabeledField(grid, 1, 2, relay, q.relayLower, tr("下限%1").arg(n));
    addLabeledField(grid, 2, 0, quantityLabel("hysteresis", i), q.hysteresis);
    grid->addWidget(new QLabel(tr("输出=Ax+B")), 3, 0);
    auto* coefficients = new QGridLayout;
    addLabeledField(coefficients, 0, 0, tr("A:"), q.coefA, group);
    addLabeledField(coefficients, 0, 2, tr("B:"), q.coefB, group);
    grid->addLayout(coefficients, 3, 1, 1, 3);
    grid->addWidget(q.smsOnAlarm, 4, 0, 1, 2);
    grid->addWidget(q.smsOnRestore, 4, 2, 1, 2);
    addLabeledField(grid, 5, 0, quantityLabel("name", i), q.name);
    (i == 0 ? unit1Label_ : unit2Label_) = addLabeledField(grid, 6, 0, unitLabel(i), q.unit);
    // Room for a value such as "-1234.500000"; the edits take the spare width.
    const int valueWidth = fontMetrics().horizontalAdvance(QStringLiteral("-00000.000000"));
    for (QLineEdit* edit : {q.upper, q.lower, q.hysteresis, q.coefA, q.coefB, q.name, q.unit})
      edit->setMinimumWidth(valueWidth);
    grid->setColumnStretch(1, 1);
    for (QWidget* gated : {static_cast<QWidget*>(q.coefA), static_cast<QWidget*>(q.coefB),
                           static_cast<QWidget*>(q.smsOnAlarm), static_cast<QWidget*>(q.smsOnRestore)})
      gated->setEnabled(false);
    quantities->addWidget(box);
  }

  allowAll_ = makeCheck(tr("允许编辑所有参数"));
  auto* read = new QPushButton(tr("读取通道参数"));
  auto* write = new QPushButton(tr("设置通道参数"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(allowAll_);
  buttons->addWidget(makeRecordTableButton(context_, ParamGroup::Channel));
  buttons->addStretch();
  buttons->addWidget(read);
  buttons->addWidget(write);

  auto* page = new QVBoxLayout(this);
  page->addLayout(top);
  page->addLayout(quantities);
  page->addLayout(buttons);
  page->addStretch();

  connect(read, &QPushButton::clicked, this, &ChannelPage::readPressed);
  connect(write, &QPushButton::clicked, this, &ChannelPage::writePressed);
  connect(selector_, &RecordSelector::picked, this, &ChannelPage::channelPicked);
  connect(dataProperty_, &QComboBox::currentIndexChanged, this, &ChannelPage::applyFieldRules);
  connect(allowAll_, &QCheckBox::toggled, this, &ChannelPage::allowAllClicked);
  // The sequencer sees write acknowledgements; the page has nothing to do for them.
  connectGroupLines(this, context_, ParamGroup::Channel, [this](int k) { showChannelReply(k); }, {});
}

void ChannelPage::readPressed() {
  if (!requireNetworkRead(context_)) return;
  startBatchReadWithWaitBox(context_, ParamGroup::Channel);
}

void ChannelPage::writePressed() {
  if (!requireGroupRead(context_, ParamGroup::Channel, tr("警告"), tr("请先读取通道参数，再配置!")))
    return;
  // A refused text stops the write before anything is sent.
  if (!storeFields()) return;
  writeBatchWithWaitBox(context_, ParamGroup::Channel);
}

void ChannelPage::showRecords() { showChannelReply(selector_->shown().value_or(0)); }

bool ChannelPage::storeFields() {
  const auto k = selector_->shown();
  return !k || storeShown(*k);
}

void ChannelPage::showChannelReply(int index) {
  selector_->showRecord(index);  // showing a reply stores nothing
  showRecord(index, true);
}

// The operator picked another channel: what is on screen goes back into the
// record it was shown from (unless the selector's text named no channel), then
// the new record is shown. A refused text keeps the operator on the channel
// being edited, with what was typed.
void ChannelPage::channelPicked(std::optional<int> previous, int row) {
  if (previous && !storeShown(*previous)) {
    selector_->showRecord(*previous);
    return;
  }
  showRecord(row % kChannelCount, false);
}

void ChannelPage::showRecord(int index, bool afterReply) {
  const ChannelParams& r = record(index);
  dataSource_->setCurrentIndex(rowOf(r.dataSource & 0xFF, kDataSourceRows));
  dataProperty_->setCurrentIndex(rowOf(r.dataProperty & 0xFF, kDataPropertyRows));
  alarmDelay_->setText(QString::number(r.alarmDelay));
  const float upper[2] = {r.upperLimit1, r.upperLimit2};
  const float lower[2] = {r.lowerLimit1, r.lowerLimit2};
  const float hysteresis[2] = {r.hysteresis1, r.hysteresis2};
  const float coefA[2] = {r.coefA1, r.coefA2};
  const float coefB[2] = {r.coefB1, r.coefB2};
  const std::uint8_t relayUpper[2] = {r.relayUpper1, r.relayUpper2};
  const std::uint8_t relayLower[2] = {r.relayLower1, r.relayLower2};
  const std::uint8_t smsOnAlarm[2] = {r.smsOnAlarm1, r.smsOnAlarm2};
  const std::uint8_t smsOnRestore[2] = {r.smsOnRestore1, r.smsOnRestore2};
  const std::string* name[2] = {&r.name1, &r.name2};
  const std::string* unit[2] = {&r.unit1, &r.unit2};
  for (int i = 0; i < 2; ++i) {
    Quantity& q = q_[i];
    q.upper->setText(floatText(upper[i], afterReply));
    q.lower->setText(floatText(lower[i], afterReply));
    q.hysteresis->setText(floatText(hysteresis[i], afterReply));
    q.relayUpper->setCurrentIndex(rowOf(relayUpper[i], kLinkedRelayRows));
    q.relayLower->setCurrentIndex(rowOf(relayLower[i], kLinkedRelayRows));
    q.coefA->setText(floatText(coefA[i], true));
    q.coefB->setText(floatText(coefB[i], true));
    q.smsOnAlarm->setChecked(smsOnAlarm[i] != 0);
    q.smsOnRestore->setChecked(smsOnRestore[i] != 0);
    q.name->setText(fromGbk(*name[i]));
    q.unit->setText(fromGbk(*unit[i]));
  }
}

bool ChannelPage::storeShown(int index) {
  ChannelParams& stored = context_.session->config().channels.at(index);
  ChannelParams r = stored;
  r.dataSource = dataSource_->currentIndex();
  r.dataProperty = dataProperty_->currentIndex();
  r.alarmDelay = parseU16Field(alarmDelay_->text().toStdString());
  r.upperLimit1 = storedFloat(q_[0].upper, r.upperLimit1);
  r.lowerLimit1 = storedFloat(q_[0].lower, r.lowerLimit1);
  r.hysteresis1 = storedFloat(q_[0].hysteresis, r.hysteresis1);
  r.coefA1 = storedFloat(q_[0].coefA, r.coefA1);
  r.coefB1 = storedFloat(q_[0].coefB, r.coefB1);
  r.upperLimit2 = storedFloat(q_[1].upper, r.upperLimit2);
  r.lowerLimit2 = storedFloat(q_[1].lower, r.lowerLimit2);
  r.hysteresis2 = storedFloat(q_[1].hysteresis, r.hysteresis2);
  r.coefA2 = storedFloat(q_[1].coefA, r.coefA2);
  r.coefB2 = storedFloat(q_[1].coefB, r.coefB2);
  r.relayUpper1 = listByte(q_[0].relayUpper);
  r.relayLower1 = listByte(q_[0].relayLower);
  r.relayUpper2 = listByte(q_[1].relayUpper);
  r.relayLower2 = listByte(q_[1].relayLower);
  r.smsOnAlarm1 = q_[0].smsOnAlarm->isChecked() ? 1 : 0;
  r.smsOnRestore1 = q_[0].smsOnRestore->isChecked() ? 1 : 0;
  r.smsOnAlarm2 = q_[1].smsOnAlarm->isChecked() ? 1 : 0;
  r.smsOnRestore2 = q_[1].smsOnRestore->isChecked() ? 1 : 0;
  // Texts as shown go back as the record holds them; a typed text GBK cannot
  // carry refuses the whole store (textForWrite says why).
  const auto storeText = [this](std::string& into, const QLineEdit* edit, std::size_t width) {
    const auto gbk = textForWrite(context_, edit->accessibleName(), edit->text(), into, width);
    if (gbk) into = *gbk;
    return gbk.has_value();
  };
  if (!storeText(r.name1, q_[0].name, kChannelNameBytes) || !storeText(r.unit1, q_[0].unit, kChannelUnitBytes) ||
      !storeText(r.name2, q_[1].name, kChannelNameBytes) || !storeText(r.unit2, q_[1].unit, kChannelUnitBytes))
    return false;
  stored = r;
  return true;
}

// The box itself switches the eight gated fields; the data property rules
// then take back what the channel does not use.
void ChannelPage::allowAllClicked(bool checked) {
  for (ChannelField f : kAllowAllGatedFields) fieldWidget(f)->setEnabled(checked);
  applyFieldRules();
}

void ChannelPage::applyFieldRules() {
  const auto states = channelFieldStates(dataProperty_->currentIndex(), allowAll_->isChecked());
  if (!states) return;
  for (int f = 0; f < kChannelRuleFieldCount; ++f) fieldWidget(static_cast<ChannelField>(f))->setEnabled(states->enabled[f]);
  // A switch channel keeps its alarm and restore texts in the unit fields.
  unit1Label_->setText(states->switchTexts ? tr("报警内容：") : unitLabel(0));
  unit2Label_->setText(states->switchTexts ? tr("复归内容：") : unitLabel(1));
}

QWidget* ChannelPage::fieldWidget(ChannelField field) const {
  using F = ChannelField;
  switch (field) {
    case F::UpperLimit1: return q_[0].upper;
    case F::LowerLimit1: return q_[0].lower;
    case F::Name1: return q_[0].name;
    case F::Unit1: return q_[0].unit;
    case F::RelayUpper1: return q_[0].relayUpper;
    case F::RelayLower1: return q_[0].relayLower;
    case F::Hysteresis1: return q_[0].hysteresis;
    case F::UpperLimit2: return q_[1].upper;
    case F::LowerLimit2: return q_[1].lower;
    case F::Hysteresis2: return q_[1].hysteresis;
    case F::Name2: return q_[1].name;
    case F::RelayUpper2: return q_[1].relayUpper;
    case F::RelayLower2: return q_[1].relayLower;
    case F::Unit2: return q_[1].unit;
    case F::CoefA1: return q_[0].coefA;
    case F::CoefB1: return q_[0].coefB;
    case F::SmsOnAlarm1: return q_[0].smsOnAlarm;
    case F::SmsOnRestore1: return q_[0].smsOnRestore;
    case F::CoefA2: return q_[1].coefA;
    case F::CoefB2: return q_[1].coefB;
    case F::SmsOnAlarm2: return q_[1].smsOnAlarm;
    case F::SmsOnRestore2: return q_[1].smsOnRestore;
  }
  return nullptr;
}

}  // namespace quendra
