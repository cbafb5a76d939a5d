#include "pages/relay_page.h"

#include <QLabel>
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

RelayPage::RelayPage(const PageContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      selector_(new RecordSelector(tr("继电器"), kRelayCount, this)),
      workMode_(makeList(fieldChoices(ParamGroup::Relay, "workMode"))),
      startInterval_(new QLineEdit),
      startDuration_(new QLineEdit) {
  auto* grid = new QGridLayout;
  addLabeledField(grid, 0, 0, tr("继电器编号："), selector_->box());
  addLabeledField(grid, 1, 0, fieldLabel(ParamGroup::Relay, "workMode"), workMode_);
  addLabeledField(grid, 2, 0, fieldLabel(ParamGroup::Relay, "startInterval"), startInterval_);
  grid->addWidget(new QLabel(tr("分钟")), 2, 2);
  addLabeledField(grid, 3, 0, fieldLabel(ParamGroup::Relay, "startDuration"), startDuration_);
  grid->addWidget(new QLabel(tr("秒")), 3, 2);

  auto* read = new QPushButton(tr("读取参数"));
  auto* write = new QPushButton(tr("下载参数"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(makeRecordTableButton(context_, ParamGroup::Relay));
  buttons->addStretch();
  buttons->addWidget(read);
  buttons->addWidget(write);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->addStretch();

  connect(selector_, &RecordSelector::picked, this, &RelayPage::onRelayPicked);
  connect(read, &QPushButton::clicked, this, &RelayPage::onRead);
  connect(write, &QPushButton::clicked, this, &RelayPage::onWrite);
  connectGroupLines(this, context_, ParamGroup::Relay, [this](int k) { showRelayReply(k); }, {});
}

void RelayPage::showRecords() { showRelayReply(selector_->shown().value_or(0)); }

bool RelayPage::storeFields() {
  if (const auto k = selector_->shown()) storeShownRelay(*k);
  return true;
}

void RelayPage::showRelayReply(int k) {
  selector_->showRecord(k);
  showRelay(k);
}

void RelayPage::showRelay(int k) {
  const RelayParams& relay = context_.session->config().relays[k];
  workMode_->setCurrentIndex(relay.workMode < workMode_->count() ? relay.workMode : -1);
  startInterval_->setText(QString::number(relay.startInterval));
  startDuration_->setText(QString::number(relay.startDuration));
}

void RelayPage::storeShownRelay(int k) {
  RelayParams& relay = context_.session->config().relays[k];
  relay.workMode = static_cast<std::uint8_t>(workMode_->currentIndex());  // none (-1) travels as 0xFF
  relay.startInterval = parseU16Field(textOf(startInterval_));
  relay.startDuration = parseU16Field(textOf(startDuration_));
}

void RelayPage::onRelayPicked(std::optional<int> previous, int row) {
  if (previous) storeShownRelay(*previous);
  showRelay(row);
}

void RelayPage::onRead() {
  if (!requireNetworkRead(context_)) return;
  startBatchReadWithWaitBox(context_, ParamGroup::Relay);
}

void RelayPage::onWrite() {
  if (!requireGroupRead(context_, ParamGroup::Relay, tr("警告"), tr("请先读取继电器参数，再配置!")))
    return;
  // The selected row is the relay on screen; with none there is nothing to store.
  storeFields();
  writeBatchWithWaitBox(context_, ParamGroup::Relay);
}

}  // namespace quendra
