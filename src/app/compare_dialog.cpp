#include "app/compare_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "config/field_json.h"
#include "fields/field_labels.h"

namespace quendra {

CompareDialog::CompareDialog(const std::vector<FieldDifference>& differences, const std::vector<FieldDifference>& kept,
                             QWidget* parent)
    : QDialog(parent),
      table_(new QTableWidget(0, 4)),
      summary_(new QLabel),
      replaceIdentity_(new QCheckBox(tr("替换主机：写入IP和终端地址"))) {
  setWindowTitle(tr("写入前比较"));
  setWindowModality(Qt::WindowModal);
  table_->setHorizontalHeaderLabels({tr("记录"), tr("参数"), tr("主机当前值"), tr("新值")});
  table_->setAccessibleName(tr("不同之处"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  replaceIdentity_->setAccessibleName(replaceIdentity_->text());
  replaceIdentity_->setVisible(!kept.empty());
  connect(replaceIdentity_, &QCheckBox::toggled, this, &CompareDialog::replaceIdentityToggled);

  // In the dialog from the start: a default button set before it has its dialog is forgotten when the dialog shows,
  // and the first button (写入) takes Enter.
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* write = buttons->addButton(tr("写入"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
  write->setAccessibleName(write->text());
  cancel->setAccessibleName(cancel->text());
  cancel->setDefault(true);  // Enter must not write by accident
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(table_);
  layout->addWidget(replaceIdentity_);
  layout->addWidget(buttons);
  showDifferences(differences, kept);
  resize(640, 420);
}

void CompareDialog::showDifferences(const std::vector<FieldDifference>& differences,
                                    const std::vector<FieldDifference>& kept) {
  table_->setRowCount(0);
  const auto addRow = [this](const FieldDifference& d, const QString& newValue) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(recordLabel(d.group, d.index)));
    table_->setItem(row, 1, new QTableWidgetItem(d.field ? fieldLabel(d.group, d.field->key) : tr("(页面上不显示的字节)")));
    if (d.field) table_->setItem(row, 2, new QTableWidgetItem(fieldText(*d.field, d.was)));
    table_->setItem(row, 3, new QTableWidgetItem(newValue));
  };
  for (const FieldDifference& d : differences) addRow(d, d.field ? fieldText(*d.field, d.now) : QString());
  // The host's identity, kept although the values differ: said, not hidden.
  for (const FieldDifference& d : kept)
    addRow(d, d.field ? tr("%1（未写入：保持本机标识）").arg(fieldText(*d.field, d.now)) : tr("未写入：保持本机标识"));
  table_->resizeColumnsToContents();
  summary_->setText(tr("以下参数将写入主机（共%n处不同）：", nullptr, int(differences.size())));
}

}  // namespace quendra
