#include "pages/record_table_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "fields/field_labels.h"
#include "pages/page_form.h"

namespace quendra {

RecordTableDialog::RecordTableDialog(const HostConfig& config, ParamGroup group, Notifier& notifier, QWidget* parent)
    : QDialog(parent),
      group_(group),
      notifier_(notifier),
      model_(new RecordTableModel({config}, recordTableRows(group), recordTableColumns(group), this)),
      view_(new RecordTableView(model_)),
      status_(new QLabel),
      write_(new QPushButton(tr("写入"))) {
  setWindowTitle(tr("表格编辑 - %1").arg(groupLabel(group)));
  view_->setAccessibleName(groupLabel(group));
  write_->setAccessibleName(write_->text());
  write_->setAutoDefault(false);
  auto* cancel = new QPushButton(tr("取消"));
  cancel->setAccessibleName(cancel->text());
  cancel->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  if (group == ParamGroup::Channel) {
    // As on the page: the coefficients and SMS boxes are locked until this is ticked.
    QCheckBox* allowAll = makeCheck(tr("允许编辑所有参数"));
    buttons->addWidget(allowAll);
    connect(allowAll, &QCheckBox::toggled, model_, &RecordTableModel::setAllowAll);
  }
  buttons->addWidget(new QLabel(tr("Ctrl+C 复制，Ctrl+V 粘贴，Ctrl+D 向下填充，Ctrl+Z 撤销")));
  buttons->addStretch();
  buttons->addWidget(write_);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  resize(1000, 640);

  connect(view_, &RecordTableView::refused, this, [this](const CellRefusal& refusal) {
    notifier_.notify(tr("提示"), cellRefusalText(*model_, refusal), NoticeIcon::Exclamation);
  });
  connect(view_, &RecordTableView::pasted, this, [this](int changed, int skipped) {
    QString text = tr("已粘贴，%1个单元格有改变").arg(changed);
    if (skipped > 0) text += tr("；%1个按数据属性不可编辑的单元格未改变").arg(skipped);
    status_->setText(text);
  });
  connect(write_, &QPushButton::clicked, this, [this] {
    if (anyRecord(changedRecords())) return emit writeRequested();
    notifier_.notify(tr("提示"), tr("表格中没有修改，无需写入"), NoticeIcon::Exclamation);
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace quendra
