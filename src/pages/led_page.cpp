#include "pages/led_page.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "fields/field_labels.h"
#include "link/gbk.h"
#include "pages/led_preview.h"
#include "pages/page_form.h"
#include "pages/page_writer.h"
#include "pages/single_record_fields.h"

namespace quendra {
namespace {

QString labelOf(std::string_view key) { return fieldLabel(ParamGroup::Led, key); }
QString headerLabel() { return labelOf("headerText"); }
QString footerLabel() { return labelOf("footerText"); }

// Item i of a count list stands for the count i + 1; no selection is 0.
std::uint16_t selectedCount(const QComboBox* list) { return static_cast<std::uint16_t>(list->currentIndex() + 1); }

// "label  text edit spanning the middle columns  使用".
void addTextLine(QGridLayout* grid, int row, const QString& label, QLineEdit* edit, QCheckBox* enabled) {
  auto* l = new QLabel(label);
  l->setBuddy(edit);
  edit->setAccessibleName(accessibleNameFor(label));
  grid->addWidget(l, row, 0);
  grid->addWidget(edit, row, 1, 1, 3);
  grid->addWidget(enabled, row, 4);
}

}  // namespace

LedPage::LedPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  auto* grid = new QGridLayout;
  sizeX_ = new QLineEdit;
  sizeY_ = new QLineEdit;
  showDataTable_ = makeCheck(labelOf("showDataTable"));
  // Filled once, with no item selected until a read.
  channelCount_ = makeList(numberItems(1, 32));
  columnCount_ = makeList(numberItems(1, 5));
  refreshInterval_ = new QLineEdit;
  headerText_ = new QLineEdit;
  footerText_ = new QLineEdit;
  // Both boxes read "使用": their accessible names carry the line they serve.
  headerEnabled_ = makeCheck(tr("使用"), tr("标头"));
  footerEnabled_ = makeCheck(tr("使用"), tr("标尾"));

  addLabeledField(grid, 0, 0, labelOf("sizeX"), sizeX_);
  addLabeledField(grid, 0, 2, labelOf("sizeY"), sizeY_);
  grid->addWidget(showDataTable_, 0, 4);
  addLabeledField(grid, 1, 0, labelOf("channelCount"), channelCount_);
  addLabeledField(grid, 1, 2, labelOf("columnCount"), columnCount_);
  addLabeledField(grid, 2, 0, labelOf("refreshInterval"), refreshInterval_);
  addTextLine(grid, 3, headerLabel(), headerText_, headerEnabled_);
  addTextLine(grid, 4, footerLabel(), footerText_, footerEnabled_);

  // What the screen will show, following every edit.
  preview_ = new LedPreview;

  auto* read = makeButton(tr("读取LED屏参数"));
  auto* write = makeButton(tr("下载LED屏参数"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(read);
  buttons->addWidget(write);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(preview_, 1);
  layout->addLayout(buttons);

  for (QLineEdit* edit : {sizeX_, sizeY_, refreshInterval_, headerText_, footerText_})
    connect(edit, &QLineEdit::textChanged, this, &LedPage::updatePreview);
  for (QComboBox* list : {channelCount_, columnCount_})
    connect(list, &QComboBox::currentIndexChanged, this, &LedPage::updatePreview);
  for (QCheckBox* box : {showDataTable_, headerEnabled_, footerEnabled_})
    connect(box, &QCheckBox::toggled, this, &LedPage::updatePreview);
  updatePreview();
  connect(read, &QPushButton::clicked, this, &LedPage::requestRead);
  connect(write, &QPushButton::clicked, this, &LedPage::requestWrite);
  connectGroupLines(this, context_, ParamGroup::Led, [this](int) { showLedReply(); },
                    {tr("读取LED屏参数成功！\r\n"), tr("下载LED屏参数成功！\r\n"), tr("读取LED屏参数失败\r\n")});
}

void LedPage::requestRead() {
  requestSingleRecordRead(context_, ParamGroup::Led, tr("读取LED参数...\r\n"));
}

void LedPage::showRecords() { showLedReply(); }

bool LedPage::storeFields() {
  const auto fields = paramsFromFields();
  if (fields) context_.session->config().led = *fields;
  return fields.has_value();
}

void LedPage::requestWrite() {
  if (!requireGroupRead(context_, ParamGroup::Led, tr("提示"), tr("请先\"读取LED显示屏参数\"然后进行修改再进行配置")))
    return;
  if (!storeFields()) return;
  context_.infoLog->clear();
  context_.infoLog->refresh();
  context_.infoLog->append(tr("设置LED显示屏参数... \r\n"));
  context_.infoLog->refresh();
  context_.writer->write(ParamGroup::Led, IdentityChoice::Keep, [this] { showLedReply(); });
}

LedParams LedPage::settingsFromFields() const {
  LedParams r;
  r.sizeX = editU16(sizeX_);
  r.sizeY = editU16(sizeY_);
  r.refreshInterval = editU16(refreshInterval_);
  r.channelCount = selectedCount(channelCount_);
  r.columnCount = selectedCount(columnCount_);
  r.headerEnabled = headerEnabled_->isChecked() ? 1 : 0;
  r.footerEnabled = footerEnabled_->isChecked() ? 1 : 0;
  r.showDataTable = showDataTable_->isChecked() ? 1 : 0;
  return r;
}

std::optional<LedParams> LedPage::paramsFromFields() {
  LedParams r = settingsFromFields();
  const LedParams& shown = params();
  const auto header = textForWrite(context_, headerLabel(), headerText_->text(), shown.headerText, LedParams::kTextBytes);
  if (!header) return std::nullopt;
  r.headerText = *header;
  const auto footer = textForWrite(context_, footerLabel(), footerText_->text(), shown.footerText, LedParams::kTextBytes);
  if (!footer) return std::nullopt;
  r.footerText = *footer;
  return r;
}

void LedPage::updatePreview() {
  preview_->showScreen(settingsFromFields(), headerText_->text(), footerText_->text());
}

void LedPage::showLedReply() {
  const LedParams& r = params();
  sizeX_->setText(QString::number(r.sizeX));
  sizeY_->setText(QString::number(r.sizeY));
  refreshInterval_->setText(QString::number(r.refreshInterval));
  // A count of 0 gives position -1: no selection.
  selectIndex(channelCount_, r.channelCount - 1);
  selectIndex(columnCount_, r.columnCount - 1);
  // Any byte but 0 ticks the box.
  headerEnabled_->setChecked(r.headerEnabled != 0);
  footerEnabled_->setChecked(r.footerEnabled != 0);
  showDataTable_->setChecked(r.showDataTable != 0);
  headerText_->setText(fromGbk(r.headerText));
  footerText_->setText(fromGbk(r.footerText));
}

}  // namespace quendra
