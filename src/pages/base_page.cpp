#include "pages/base_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "fields/field_labels.h"
#include "records/field_text.h"
#include "pages/page_form.h"
#include "pages/page_writer.h"
#include "pages/single_record_fields.h"

namespace quendra {
namespace {

QString labelOf(std::string_view key) { return fieldLabel(ParamGroup::Base, key); }

float editFloat(const QLineEdit* edit) { return parseLeadingFloat(edit->text().toStdString()); }

}  // namespace

BasePage::BasePage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  auto* read = makeButton(tr("读取基础参数"));
  auto* write = makeButton(tr("写入基础参数"));
  editAll_ = makeCheck(tr("允许编辑所有参数"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(editAll_);
  buttons->addStretch();
  buttons->addWidget(read);
  buttons->addWidget(write);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildNetworkGroup());
  layout->addWidget(buildCoordinateGroup());
  layout->addWidget(buildStorageGroup());
  layout->addStretch();
  layout->addLayout(buttons);

  connect(read, &QPushButton::clicked, this, &BasePage::requestRead);
  connect(write, &QPushButton::clicked, this, &BasePage::requestWrite);
  connect(editAll_, &QCheckBox::toggled, this, &BasePage::onEditAllToggled);
  connectGroupLines(this, context_, ParamGroup::Base, [this](int) { showBaseReply(); },
                    {tr("读取设备参数成功！\r\n"), tr("下载设备参数成功！\r\n"), tr("读取设备参数失败\r\n")});

  connect(context_.session, &HostSession::targetChanged, this, [this] { terminalAddress_->setModified(false); });
  serverCount_->setEnabled(false);  // shows the value read, never edited
  writeStartValues();
  onEditAllToggled(editAll_->isChecked());
}

QWidget* BasePage::buildNetworkGroup() {
  auto* group = new QGroupBox(tr("网络运行参数"));
  auto* grid = new QGridLayout(group);
  terminalAddress_ = new QLineEdit;
  serverCount_ = makeList(numberItems(0, 8));
  loginInterval_ = new QLineEdit;
  heartbeatInterval_ = new QLineEdit;
  dataInterval_ = new QLineEdit;
  channelCount_ = makeList(numberItems(0, 32));
  modbusBaud_ = makeList(fieldChoices(ParamGroup::Base, "modbusBaud"));

  addLabeledField(grid, 0, 0, labelOf("terminalAddress"), terminalAddress_);
  addLabeledField(grid, 1, 0, labelOf("serverCount"), serverCount_);
  addLabeledField(grid, 2, 0, labelOf("loginInterval"), loginInterval_);
  grid->addWidget(new QLabel(tr("秒")), 2, 2);
  addLabeledField(grid, 3, 0, labelOf("heartbeatInterval"), heartbeatInterval_);
  grid->addWidget(new QLabel(tr("秒")), 3, 2);
  addLabeledField(grid, 4, 0, labelOf("dataInterval"), dataInterval_);
  grid->addWidget(new QLabel(tr("秒")), 4, 2);
  addLabeledField(grid, 5, 0, labelOf("enabledChannelCount"), channelCount_);
  addLabeledField(grid, 6, 0, labelOf("modbusBaud"), modbusBaud_);
  grid->setColumnStretch(1, 1);
  return group;
}

QWidget* BasePage::buildCoordinateGroup() {
  auto* group = new QGroupBox(tr("标定坐标值"));
  auto* grid = new QGridLayout(group);
  longitude_ = new QLineEdit;
  latitude_ = new QLineEdit;
  coordinateEnabled_ = makeCheck(labelOf("coordinateEnabled"));
  addLabeledField(grid, 0, 0, labelOf("longitude"), longitude_);
  addLabeledField(grid, 1, 0, labelOf("latitude"), latitude_);
  grid->addWidget(coordinateEnabled_, 0, 2);
  grid->setColumnStretch(1, 1);
  return group;
}

QWidget* BasePage::buildStorageGroup() {
  auto* group = new QGroupBox(tr("监控主机存储参数"));
  auto* grid = new QGridLayout(group);
  normalRecordInterval_ = new QLineEdit;
  alarmRecordInterval_ = new QLineEdit;
  storageType_ = makeList(fieldChoices(ParamGroup::Base, "storageType"));
  addLabeledField(grid, 0, 0, labelOf("normalRecordInterval"), normalRecordInterval_);
  addLabeledField(grid, 1, 0, labelOf("alarmRecordInterval"), alarmRecordInterval_);
  addLabeledField(grid, 2, 0, labelOf("storageType"), storageType_);
  grid->setColumnStretch(1, 1);
  return group;
}

void BasePage::writeStartValues() {
  channelCount_->setCurrentIndex(1);
  // The bytes 12 34 56 78 written with "%02X%02X%02X%02X".
  terminalAddress_->setText(QStringLiteral("12345678"));
  serverCount_->setCurrentIndex(8);
  loginInterval_->setText(QStringLiteral("3"));
  heartbeatInterval_->setText(QStringLiteral("60"));
  dataInterval_->setText(QStringLiteral("5"));
  modbusBaud_->setCurrentIndex(1);
}

void BasePage::onEditAllToggled(bool checked) {
  loginInterval_->setEnabled(checked);
  heartbeatInterval_->setEnabled(checked);
  dataInterval_->setEnabled(checked);
  modbusBaud_->setEnabled(checked);
}

void BasePage::requestRead() {
  requestSingleRecordRead(context_, ParamGroup::Base, tr("读取设备参数...\r\n"));
}

void BasePage::showRecords() { showBaseReply(); }

bool BasePage::storeFields() {
  const auto fields = paramsFromFields();
  if (fields) context_.session->config().base = *fields;
  return fields.has_value();
}

void BasePage::requestWrite() {
  if (!requireGroupRead(context_, ParamGroup::Base, tr("提示"), tr("请先\"读取设备参数\"然后进行修改再进行配置")))
    return;
  if (!storeFields()) return;
  context_.infoLog->clear();
  context_.infoLog->append(tr("设置参数... \r\n"));
  context_.infoLog->refresh();
  // A terminal address typed since this host was chosen names it for this host;
  // one shown from another host's values does not.
  context_.writer->write(ParamGroup::Base,
                         terminalAddress_->isModified() ? IdentityChoice::Replace : IdentityChoice::Keep,
                         [this] { showBaseReply(); });
}

std::optional<BaseParams> BasePage::paramsFromFields() {
  // Every field is taken whether its control is enabled or not.
  BaseParams r;
  r.serverCount = selectedIndexByte(serverCount_);

  const auto address = fieldGbk(context_, labelOf("terminalAddress"), terminalAddress_->text());
  if (!address) return std::nullopt;
  const TerminalAddressParse parsed = parseTerminalAddress(*address);
  if (!parsed.value) {
    const QString text = parsed.error == TerminalAddressError::WrongLength
                             ? tr("终端地址要为8位长度")
                             : tr("终端地址要为8位十六进制数");
    context_.notifier->notify(tr("终端地址错误"), text, NoticeIcon::Exclamation);
    return std::nullopt;
  }
  r.terminalAddress = *parsed.value;

  r.loginInterval = editU16(loginInterval_);
  r.heartbeatInterval = editU16(heartbeatInterval_);
  r.dataInterval = editU16(dataInterval_);
  r.normalRecordInterval = editU16(normalRecordInterval_);
  r.alarmRecordInterval = editU16(alarmRecordInterval_);
  r.modbusBaud = selectedIndexByte(modbusBaud_);
  r.enabledChannelCount = selectedIndexByte(channelCount_);
  r.storageType = selectedIndexByte(storageType_);
  r.coordinateEnabled = coordinateEnabled_->isChecked() ? 1 : 0;
  r.longitude = editFloat(longitude_);
  r.latitude = editFloat(latitude_);
  return r;
}

void BasePage::showBaseReply() {
  const BaseParams& r = params();
  selectIndex(serverCount_, r.serverCount);
  terminalAddress_->setText(QString::fromStdString(formatTerminalAddress(r.terminalAddress)));
  loginInterval_->setText(QString::number(r.loginInterval));
  heartbeatInterval_->setText(QString::number(r.heartbeatInterval));
  dataInterval_->setText(QString::number(r.dataInterval));
  normalRecordInterval_->setText(QString::number(r.normalRecordInterval));
  alarmRecordInterval_->setText(QString::number(r.alarmRecordInterval));
  selectIndex(modbusBaud_, r.modbusBaud);
  selectIndex(storageType_, r.storageType);
  selectIndex(channelCount_, r.enabledChannelCount);
  coordinateEnabled_->setChecked(r.coordinateEnabled == 1);
  longitude_->setText(QString::fromStdString(formatFloat6(r.longitude)));
  latitude_->setText(QString::fromStdString(formatFloat6(r.latitude)));
}

}  // namespace quendra
