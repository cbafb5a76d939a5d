#include "app/job_progress.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "fields/field_labels.h"

namespace quendra {

QString stageWord(ConfigJob::Stage stage) {
  switch (stage) {
    case ConfigJob::Stage::Reading: return QCoreApplication::translate("JobProgress", "读取");
    case ConfigJob::Stage::Writing: return QCoreApplication::translate("JobProgress", "写入");
    case ConfigJob::Stage::Verifying: return QCoreApplication::translate("JobProgress", "校验");
  }
  return {};
}

JobProgress::JobProgress(ConfigJob& job, HostSession& session, const RecordMasks& which, const QString& title,
                         QWidget* parent)
    : QDialog(parent), line_(new QLabel), bar_(new QProgressBar) {
  setWindowTitle(title);
  setWindowModality(Qt::WindowModal);
  bar_->setRange(0, recordCount(which) + 1);  // and the network settings every read needs
  bar_->setValue(0);
  bar_->setAccessibleName(title);
  auto* cancel = new QPushButton(tr("取消"));
  cancel->setAccessibleName(cancel->text());
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(line_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  resize(360, minimumSizeHint().height());
  connect(cancel, &QPushButton::clicked, &job, &ConfigJob::cancel);
  connect(this, &QDialog::rejected, &job, &ConfigJob::cancel);  // the close box and Esc
  connect(&job, &ConfigJob::stageChanged, this, [this](ConfigJob::Stage stage, ParamGroup g) {
    stage_ = stage;
    showRecord(stage, g, 0);
  });
  // Writing and reading back each differing record add to the bar.
  connect(&job, &ConfigJob::compared, this, [this](const RecordMasks& differing) {
    bar_->setMaximum(bar_->maximum() + 2 * recordCount(differing));
  });
  connect(&session, &HostSession::batchEvent, this, [this](const BatchEvent& e) {
    if (e.stage == BatchEvent::Stage::Sending) showRecord(stage_, groupOf(e.kind), e.record);
    if (e.stage == BatchEvent::Stage::Answered || e.stage == BatchEvent::Stage::Failed) advance(1);
  });
  connect(&session, &HostSession::finished, this, [this](const OperationResult& r) {
    if (!isBatchGroup(r.group)) advance(1);
  });
  connect(&job, &ConfigJob::finished, this, [this] {
    disconnect(this, &QDialog::rejected, nullptr, nullptr);
    close();
  });
}

void JobProgress::advance(int records) { bar_->setValue(std::min(bar_->maximum(), bar_->value() + records)); }

void JobProgress::showRecord(ConfigJob::Stage stage, ParamGroup group, int record) {
  line_->setText(tr("正在%1 %2").arg(stageWord(stage), recordLabel(group, record)));
}

}  // namespace quendra
