#include "app/clone_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/config_words.h"
#include "app/job_progress.h"
#include "fields/field_labels.h"
#include "session/reply_router.h"

namespace quendra {

CloneDialog::CloneDialog(ReplyRouter& router, const SessionPolicy& policy, HistoryStore& history,
                         std::vector<HostIdentity> hosts, std::optional<Source> fromHost,
                         std::optional<Source> fromFile, QWidget* parent)
    : QDialog(parent),
      router_(router),
      policy_(policy),
      history_(history),
      hosts_(std::move(hosts)),
      hostList_(new QListWidget),
      results_(new QTableWidget(0, 2)),
      start_(new QPushButton(tr("开始复制"))) {
  setWindowTitle(tr("复制到其他主机"));
  setWindowModality(Qt::WindowModal);
  sources_[0] = std::move(fromHost);
  sources_[1] = std::move(fromFile);

  auto* sourceBox = new QGroupBox(tr("来源"));
  auto* sourceLayout = new QVBoxLayout(sourceBox);
  const QString sourceTexts[2] = {tr("所选主机的配置（已读取）"), tr("打开的配置文件")};
  for (int i = 0; i < 2; ++i) {
    const QString text = sources_[i] ? tr("%1：%2").arg(sourceTexts[i], sources_[i]->description) : sourceTexts[i];
    sourceButtons_[i] = new QRadioButton(text);
    sourceButtons_[i]->setAccessibleName(sourceTexts[i]);
    sourceButtons_[i]->setEnabled(sources_[i].has_value());
    sourceLayout->addWidget(sourceButtons_[i]);
  }
  (sources_[1] ? sourceButtons_[1] : sourceButtons_[0])->setChecked(true);

  auto* hostBox = new QGroupBox(tr("目标主机"));
  auto* hostLayout = new QVBoxLayout(hostBox);
  hostList_->setAccessibleName(tr("目标主机"));
  for (const HostIdentity& h : hosts_) {
    auto* item = new QListWidgetItem(hostName(h), hostList_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  hostLayout->addWidget(hostList_);

  auto* groupBox = new QGroupBox(tr("参数组"));
  auto* groupLayout = new QVBoxLayout(groupBox);
  for (ParamGroup g : kAllGroups) {
    const bool identity = g == ParamGroup::Network;
    auto* box = new QCheckBox(identity ? groupLabel(g) + tr("（各主机保留自己的IP）") : groupLabel(g));
    box->setAccessibleName(box->text());
    box->setChecked(!identity);
    groups_[static_cast<int>(g)] = box;
    groupLayout->addWidget(box);
  }

  results_->setHorizontalHeaderLabels({tr("主机"), tr("结果")});
  results_->setAccessibleName(tr("复制结果"));
  results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  results_->verticalHeader()->hide();
  results_->horizontalHeader()->setStretchLastSection(true);

  start_->setAccessibleName(start_->text());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setText(tr("关闭"));
  buttons->addButton(start_, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(start_, &QPushButton::clicked, this, &CloneDialog::startClone);

  auto* choices = new QHBoxLayout;
  choices->addWidget(hostBox, 2);
  choices->addWidget(groupBox, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sourceBox);
  layout->addLayout(choices);
  layout->addWidget(results_);
  layout->addWidget(buttons);
  resize(640, 560);
}

CloneDialog::~CloneDialog() = default;

bool CloneDialog::running() const { return fleet_ && fleet_->running(); }

void CloneDialog::startClone() {
  if (running()) return;
  const Source& source = *sources_[sourceButtons_[1]->isChecked() ? 1 : 0];
  RecordMasks which{};
  for (ParamGroup g : kAllGroups)
    if (groups_[static_cast<int>(g)]->isChecked()) which[static_cast<int>(g)] = source.records[static_cast<int>(g)];
  std::vector<FleetJob::Host> writes;
  for (int i = 0; i < hostList_->count(); ++i) {
    if (hostList_->item(i)->checkState() != Qt::Checked) continue;
    FleetJob::Host w;
    w.identity = hosts_[static_cast<std::size_t>(i)];
    w.target = source.target;
    w.which = which;
    w.options.own = ownRecordsIf(source.host, w.identity.mac);
    w.options.networkAsked = groups_[static_cast<int>(ParamGroup::Network)]->isChecked();
    w.options.history = &history_;
    w.options.lock = &windowLockPlace();
    writes.push_back(std::move(w));
  }
  results_->setRowCount(0);
  for (const FleetJob::Host& w : writes) {
    const int row = results_->rowCount();
    results_->insertRow(row);
    results_->setItem(row, 0, new QTableWidgetItem(hostName(w.identity)));
    results_->setItem(row, 1, new QTableWidgetItem(tr("等待")));
  }
  results_->resizeColumnToContents(0);
  fleet_ = std::make_unique<FleetJob>(router_, policy_);
  connect(fleet_.get(), &FleetJob::stageChanged, this, [this](int row, ConfigJob::Stage stage, ParamGroup g) {
    results_->item(row, 1)->setText(tr("正在%1 %2").arg(stageWord(stage), groupLabel(g)));
  });
  connect(fleet_.get(), &FleetJob::hostFinished, this,
          [this](int row, const ConfigJobResult& r) { results_->item(row, 1)->setText(resultText(r)); });
  connect(fleet_.get(), &FleetJob::finished, this, [this] {
    int verified = 0;
    for (int i = 0; i < fleet_->size(); ++i) verified += fleet_->result(i).verdict() == JobVerdict::Done;
    emit allFinished(verified, fleet_->size() - verified);
  });
  // Every host at once, on the one transport the window has.
  fleet_->start(std::move(writes));
}

}  // namespace quendra
