#include "pages/modbus_page.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "fields/field_labels.h"
#include "records/field_text.h"
#include "pages/page_form.h"
#include "pages/record_selector.h"

namespace quendra {
namespace {

std::string textOf(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

ModbusPage::ModbusPage(const PageContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      selector_(new RecordSelector(tr("槽位"), kModbusSlotCount, this)),
      slaveAddress_(new QLineEdit),
      enabled_(makeCheck(fieldLabel(ParamGroup::Modbus, "slotEnabled"))),
      deviceType_(makeList(fieldChoices(ParamGroup::Modbus, "deviceType"))),
      registerStart_(new QLineEdit),
      registerCount_(new QLineEdit) {
  auto* group = new QGroupBox(tr("ModBus-RTU主站参数"));
  auto* grid = new QGridLayout(group);
  addLabeledField(grid, 0, 0, tr("ModBus槽位："), selector_->box());
  addLabeledField(grid, 1, 0, fieldLabel(ParamGroup::Modbus, "slaveAddress"), slaveAddress_);
  grid->addWidget(enabled_, 1, 2);
  addLabeledField(grid, 2, 0, fieldLabel(ParamGroup::Modbus, "deviceType"), deviceType_);
  addLabeledField(grid, 3, 0, fieldLabel(ParamGroup::Modbus, "registerStart"), registerStart_);
  addLabeledField(grid, 4, 0, fieldLabel(ParamGroup::Modbus, "registerCount"), registerCount_);

  auto* read = new QPushButton(tr("读取ModBus参数"));
  auto* write = new QPushButton(tr("写入ModBus参数"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(makeRecordTableButton(context_, ParamGroup::Modbus));
  buttons->addStretch();
  buttons->addWidget(read);
  buttons->addWidget(write);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->addStretch();

  connect(selector_, &RecordSelector::picked, this, &ModbusPage::onSlotPicked);
  connect(read, &QPushButton::clicked, this, &ModbusPage::onRead);
  connect(write, &QPushButton::clicked, this, &ModbusPage::onWrite);
  connectGroupLines(this, context_, ParamGroup::Modbus, [this](int k) { showSlotReply(k); }, {});
}

void ModbusPage::showRecords() { showSlotReply(selector_->shown().value_or(0)); }

bool ModbusPage::storeFields() {
  if (const auto k = selector_->shown()) storeShownSlot(*k);
  return true;
}

void ModbusPage::showSlotReply(int k) {
  selector_->showRecord(k);
  showSlot(k);
}

void ModbusPage::showSlot(int k) {
  const ModbusSlotParams& slot = context_.session->config().modbus[k];
  slaveAddress_->setText(QString::number(slot.slaveAddress));
  enabled_->setChecked(slot.slotEnabled != 0);
  deviceType_->setCurrentIndex(slot.deviceType < deviceType_->count() ? slot.deviceType : -1);
  registerStart_->setText(QString::number(slot.registerStart));
  registerCount_->setText(QString::number(slot.registerCount));
}

void ModbusPage::storeShownSlot(int k) {
  ModbusSlotParams& slot = context_.session->config().modbus[k];
  slot.slaveAddress = parseU8Field(textOf(slaveAddress_));
  slot.slotEnabled = enabled_->isChecked() ? 1 : 0;
  slot.deviceType = static_cast<std::uint8_t>(deviceType_->currentIndex());  // none (-1) travels as 0xFF
  slot.registerStart = parseU16Field(textOf(registerStart_));
  slot.registerCount = parseU16Field(textOf(registerCount_));
}

void ModbusPage::onSlotPicked(std::optional<int> previous, int row) {
  if (previous) storeShownSlot(*previous);
  showSlot(row);
}

void ModbusPage::onRead() {
  if (!requireNetworkRead(context_)) return;
  startBatchReadWithWaitBox(context_, ParamGroup::Modbus);
}

void ModbusPage::onWrite() {
  if (!requireGroupRead(context_, ParamGroup::Modbus, tr("警告"), tr("请先读取ModBus参数，再配置!")))
    return;
  // The selected row is the slot on screen; with none there is nothing to store.
  storeFields();
  writeBatchWithWaitBox(context_, ParamGroup::Modbus);
}

}  // namespace quendra
