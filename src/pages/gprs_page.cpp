#include "pages/gprs_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "fields/field_labels.h"
#include "link/gbk.h"
#include "pages/page_form.h"
#include "pages/page_writer.h"
#include "pages/single_record_fields.h"

namespace quendra {
namespace {

QString labelOf(std::string_view key) { return fieldLabel(ParamGroup::Gprs, key); }
QString addressLabel() { return labelOf("targetAddress"); }
QString portLabel() { return labelOf("targetPort"); }
QString smsIntervalLabel() { return labelOf("smsInterval"); }
QString workTypeLabel() { return labelOf("workType"); }
QString phoneLabel(int number) { return labelOf("alarmPhone" + std::to_string(number)); }

}  // namespace

GprsPage::GprsPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  auto* group = new QGroupBox(tr("GPRS无线参数"));
  auto* grid = new QGridLayout(group);
  int row = 0;
  const auto addInterval = [&](const QString& label) {
    auto* edit = new QLineEdit;
    addLabeledField(grid, row, 0, label, edit);
    grid->addWidget(new QLabel(tr("S")), row++, 2);
    return edit;
  };
  const auto addEdit = [&](const QString& label) {
    auto* edit = new QLineEdit;
    addLabeledField(grid, row++, 0, label, edit);
    return edit;
  };
  loginInterval_ = addInterval(labelOf("loginInterval"));
  heartbeatInterval_ = addInterval(labelOf("heartbeatInterval"));
  dataInterval_ = addInterval(labelOf("dataInterval"));
  targetAddress_ = addEdit(addressLabel());
  targetPort_ = addEdit(portLabel());
  for (int i = 0; i < GprsParams::kPhoneCount; ++i) phones_[i] = addEdit(phoneLabel(i + 1));
  smsInterval_ = new QLineEdit;
  addLabeledField(grid, row, 0, smsIntervalLabel(), smsInterval_);
  grid->addWidget(new QLabel(tr("单位：分钟（0-1000）")), row++, 2);
  // Not editable: a typed text would leave the work type without an index.
  workType_ = makeList(fieldChoices(ParamGroup::Gprs, "workType"));
  addLabeledField(grid, row++, 0, workTypeLabel(), workType_);
  grid->setColumnStretch(1, 1);

  auto* read = makeButton(tr("读取GPRS参数"));
  auto* write = makeButton(tr("下载GPRS参数"));
  editAll_ = makeCheck(tr("允许编辑所有参数"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(editAll_);
  buttons->addStretch();
  buttons->addWidget(read);
  buttons->addWidget(write);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch();
  layout->addLayout(buttons);

  connect(read, &QPushButton::clicked, this, &GprsPage::requestRead);
  connect(write, &QPushButton::clicked, this, &GprsPage::requestWrite);
  connect(editAll_, &QCheckBox::toggled, this, &GprsPage::onEditAllToggled);
  connectGroupLines(this, context_, ParamGroup::Gprs, [this](int) { showGprsReply(); },
                    {tr("读取GPRS无线参数成功！\r\n"), tr("下载GPRS无线参数成功！\r\n"),
                     tr("读取GPRS无线参数失败\r\n")});

  writeStartValues();
  onEditAllToggled(editAll_->isChecked());
}

void GprsPage::writeStartValues() {
  loginInterval_->setText(QStringLiteral("3"));
  heartbeatInterval_->setText(QStringLiteral("60"));
  dataInterval_->setText(QStringLiteral("20"));
  targetAddress_->setText(QStringLiteral("192.168.1.1"));
  targetPort_->setText(QStringLiteral("2404"));
  for (QLineEdit* phone : phones_) phone->setText(QStringLiteral("13000000000"));
  smsInterval_->setText(QStringLiteral("0"));
  workType_->setCurrentIndex(0);
}

void GprsPage::onEditAllToggled(bool checked) {
  loginInterval_->setEnabled(checked);
  heartbeatInterval_->setEnabled(checked);
  dataInterval_->setEnabled(checked);
}

void GprsPage::requestRead() {
  requestSingleRecordRead(context_, ParamGroup::Gprs, tr("读取GPRS运行参数...\r\n"));
}

void GprsPage::showRecords() { showGprsReply(); }

bool GprsPage::storeFields() {
  const auto fields = paramsFromFields();
  if (fields) context_.session->config().gprs = *fields;
  return fields.has_value();
}

void GprsPage::requestWrite() {
  if (!requireGroupRead(context_, ParamGroup::Gprs, tr("提示"), tr("请先\"读取GPRS参数\"然后进行修改再进行配置")))
    return;
  if (!storeFields()) return;
  context_.infoLog->clear();
  context_.infoLog->refresh();
  context_.infoLog->append(tr("设置GPRS无线参数... \r\n"));
  context_.infoLog->refresh();
  context_.writer->write(ParamGroup::Gprs, IdentityChoice::Keep, [this] { showGprsReply(); });
}

std::optional<GprsParams> GprsPage::paramsFromFields() {
  // The interval edits are read whether or not they are enabled.
  GprsParams r = params();
  r.loginInterval = editU16(loginInterval_);
  r.heartbeatInterval = editU16(heartbeatInterval_);
  r.dataInterval = editU16(dataInterval_);

  const auto address =
      textForWrite(context_, addressLabel(), targetAddress_->text(), r.targetAddress, GprsParams::kAddressBytes);
  if (!address) return std::nullopt;
  r.targetAddress = *address;
  const auto port = textForWrite(context_, portLabel(), targetPort_->text(), r.targetPort, GprsParams::kPortBytes);
  if (!port) return std::nullopt;
  r.targetPort = *port;

  r.alarmPhoneMask &= 0x1F;  // bits 5 to 7 are always 0 in a write
  for (int i = 0; i < GprsParams::kPhoneCount; ++i) {
    // A number still as shown keeps its slot and its mask bit.
    const bool given = (r.alarmPhoneMask >> i) & 1;
    if (phones_[i]->text() == (given ? fromGbk(r.alarmPhones[i]) : QString())) continue;
    const auto phone = fieldGbk(context_, phoneLabel(i + 1), phones_[i]->text());
    if (!phone) return std::nullopt;
    takeAlarmPhone(r, i + 1, *phone);
  }

  // One byte on the wire: a larger interval would arrive as its low byte.
  const auto sms = parseSmsInterval(smsInterval_->text().toStdString());
  if (!sms) {
    context_.notifier->notify(tr("提示"), tr("%1不能大于255").arg(smsIntervalLabel()), NoticeIcon::Exclamation);
    return std::nullopt;
  }
  r.smsInterval = *sms;

  if (workType_->currentIndex() < 0) {
    context_.notifier->notify(tr("提示"), tr("请选择%1").arg(workTypeLabel()), NoticeIcon::Exclamation);
    return std::nullopt;
  }
  r.workType = static_cast<std::uint8_t>(workType_->currentIndex());
  return r;
}

void GprsPage::showGprsReply() {
  const GprsParams& r = params();
  loginInterval_->setText(QString::number(r.loginInterval));
  heartbeatInterval_->setText(QString::number(r.heartbeatInterval));
  dataInterval_->setText(QString::number(r.dataInterval));
  targetAddress_->setText(fromGbk(r.targetAddress));
  targetPort_->setText(fromGbk(r.targetPort));
  for (int i = 0; i < GprsParams::kPhoneCount; ++i) {
    const bool given = (r.alarmPhoneMask >> i) & 1;
    phones_[i]->setText(given ? fromGbk(r.alarmPhones[i]) : QString());
  }
  smsInterval_->setText(QString::number(r.smsInterval));
  selectIndex(workType_, r.workType);
}

}  // namespace quendra
