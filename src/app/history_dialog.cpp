#include "app/history_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "fields/field_labels.h"

namespace quendra {

HistoryDialog::HistoryDialog(std::vector<HistoryStore::Entry> entries, const QString& host, QWidget* parent)
    : QDialog(parent), entries_(std::move(entries)), list_(new QListWidget), restore_(new QPushButton(tr("恢复..."))) {
  setWindowTitle(tr("历史记录"));
  setWindowModality(Qt::WindowModal);
  setAttribute(Qt::WA_DeleteOnClose);
  list_->setAccessibleName(tr("写入前的配置"));
  for (const HistoryStore::Entry& e : entries_) {
    QStringList groups;
    for (ParamGroup g : kAllGroups)
      if (e.records[static_cast<int>(g)]) groups << groupLabel(g);
    list_->addItem(e.savedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral("  ") +
                   groups.join(tr("、")) + QStringLiteral("  ") + e.savedBy + QStringLiteral("  ") + e.user);
  }
  if (!entries_.empty()) list_->setCurrentRow(0);
  restore_->setAccessibleName(restore_->text());
  restore_->setEnabled(!entries_.empty());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setText(tr("关闭"));
  buttons->addButton(restore_, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(restore_, &QPushButton::clicked, this, [this] {
    const int row = list_->currentRow();
    if (row < 0) return;
    emit restoreRequested(entries_[static_cast<std::size_t>(row)].path);
    accept();
  });
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(entries_.empty() ? tr("主机%1还没有历史记录。").arg(host) : tr("主机%1写入前的配置：").arg(host));
  heading->setTextFormat(Qt::PlainText);  // the host's name is whatever it answered, never markup
  layout->addWidget(heading);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  resize(480, 360);
}

}  // namespace quendra
