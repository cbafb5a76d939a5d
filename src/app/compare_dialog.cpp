#include "app/compare_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "config/field_json.h"
#include "config/field_labels.h"

namespace quendra {

CompareDialog::CompareDialog(const std::vector<FieldDifference>& differences, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(0, 4)) {
  setWindowTitle(tr("写入前比较"));
  setWindowModality(Qt::WindowModal);
  table_->setHorizontalHeaderLabels({tr("记录"), tr("参数"), tr("主机当前值"), tr("新值")});
  table_->setAccessibleName(tr("不同之处"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  for (const FieldDifference& d : differences) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(recordLabel(d.group, d.index)));
    if (d.field) {
      table_->setItem(row, 1, new QTableWidgetItem(fieldLabel(d.group, d.field->key)));
      table_->setItem(row, 2, new QTableWidgetItem(fieldText(*d.field, d.was)));
      table_->setItem(row, 3, new QTableWidgetItem(fieldText(*d.field, d.now)));
    } else {
      table_->setItem(row, 1, new QTableWidgetItem(tr("(页面上不显示的字节)")));
    }
  }
  table_->resizeColumnsToContents();

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
  layout->addWidget(new QLabel(tr("以下参数将写入主机（共%n处不同）：", nullptr, int(differences.size()))));
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(640, 420);
}

}  // namespace quendra
