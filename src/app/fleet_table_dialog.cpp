#include "app/fleet_table_dialog.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>

#include "app/config_words.h"
#include "app/file_chooser.h"
#include "app/fleet_table_model.h"
#include "app/job_progress.h"
#include "fields/field_labels.h"
#include "config/fleet_roster.h"
#include "pages/notifier.h"
#include "pages/page_form.h"
#include "pages/record_table_view.h"
#include "records/field_text.h"

namespace quendra {
namespace {

// The groups to choose from, in the order the table shows them.
constexpr ParamGroup kTableGroups[] = {ParamGroup::Network, ParamGroup::Base,    ParamGroup::Gprs,  ParamGroup::Led,
                                       ParamGroup::Channel, ParamGroup::Modbus, ParamGroup::Relay};

bool shownAtFirst(ParamGroup g) { return g != ParamGroup::Channel && g != ParamGroup::Modbus && g != ParamGroup::Relay; }

QString swatch(const QColor& color, const QString& text) {
  return QStringLiteral("<span style=\"background:%1\">&nbsp;%2&nbsp;</span>").arg(color.name(), text.toHtmlEscaped());
}

FieldPath pathOf(const TableColumn& c) { return {c.group, c.record.value_or(0), c.field}; }

}  // namespace

FleetTableDialog::FleetTableDialog(ReplyRouter& router, const SessionPolicy& policy, HistoryStore& history,
                                   std::vector<HostIdentity> hosts, Notifier& notifier, FileChooser& files,
                                   QWidget* parent)
    : QDialog(parent),
      router_(router),
      policy_(policy),
      history_(history),
      notifier_(notifier),
      files_(files),
      hosts_(std::move(hosts)),
      read_(hosts_.size()),
      statuses_(hosts_.size()),
      allowAll_(makeCheck(tr("允许编辑所有参数"))),
      baselineLine_(new QLabel),
      status_(new QLabel),
      progress_(new QProgressBar) {
  setWindowTitle(tr("主机总表"));
  setWindowModality(Qt::WindowModal);
  baselineLine_->setTextFormat(Qt::PlainText);  // they name files: data, never markup
  status_->setTextFormat(Qt::PlainText);

  auto* groupBox = new QGroupBox(tr("参数组"));
  auto* groupRow = new QHBoxLayout(groupBox);
  for (ParamGroup g : kTableGroups) {
    QCheckBox* box = makeCheck(groupLabel(g));
    box->setChecked(shownAtFirst(g));
    groups_[static_cast<int>(g)] = box;
    groupRow->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this] { showTable(read_, editedConfigs()); });
  }
  groupRow->addStretch();
  groupRow->addWidget(allowAll_);
  connect(allowAll_, &QCheckBox::toggled, this, [this](bool on) { model_->setAllowAll(on); });

  auto* actionRow = new QHBoxLayout;
  const QString texts[] = {tr("读取"), tr("写入"), tr("导出CSV…"), tr("导入CSV…"), tr("基准配置…")};
  void (FleetTableDialog::*const actions[])() = {&FleetTableDialog::read, &FleetTableDialog::write,
                                                  &FleetTableDialog::exportCsv, &FleetTableDialog::importCsv,
                                                  &FleetTableDialog::openBaseline};
  for (int i = 0; i < 5; ++i) {
    buttons_[i] = new QPushButton(texts[i]);
    buttons_[i]->setAccessibleName(texts[i]);
    buttons_[i]->setAutoDefault(false);
    actionRow->addWidget(buttons_[i]);
    connect(buttons_[i], &QPushButton::clicked, this, actions[i]);
  }
  actionRow->addWidget(baselineLine_, 1);

  std::vector<TableRow> rows;
  for (std::size_t i = 0; i < hosts_.size(); ++i) rows.push_back({static_cast<int>(i), 0, hostName(hosts_[i])});
  model_ = new FleetTableModel(read_, std::move(rows), {}, this);
  view_ = new RecordTableView(model_);
  view_->setAccessibleName(tr("主机总表"));
  showTable(read_, read_);
  status_->setText(tr("%1台主机；按“读取”读取它们的参数").arg(hosts_.size()));

  auto* legend = new QLabel(tr("Ctrl+C 复制，Ctrl+V 粘贴，Ctrl+D 向下填充，Ctrl+Z 撤销") + QStringLiteral("　") +
                            swatch(RecordTableModel::changedColor(), tr("已修改")) + QLatin1Char(' ') +
                            swatch(FleetTableModel::markColor(FleetTableModel::Mark::DiffersFromMajority),
                                   tr("与多数主机或基准配置不同")) +
                            QLatin1Char(' ') +
                            swatch(FleetTableModel::markColor(FleetTableModel::Mark::Shared), tr("IP或终端地址重复")));
  legend->setTextFormat(Qt::RichText);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  progress_->setAccessibleName(tr("进度"));
  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(progress_);
  auto* closeBox = new QDialogButtonBox(QDialogButtonBox::Close);
  closeBox->button(QDialogButtonBox::Close)->setText(tr("关闭"));
  connect(closeBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(groupBox);
  layout->addLayout(actionRow);
  layout->addWidget(view_, 1);
  layout->addWidget(legend);
  layout->addLayout(statusRow);
  layout->addWidget(closeBox);
  resize(1100, 560);

  connect(view_, &RecordTableView::refused, this, [this](const CellRefusal& refusal) {
    notifier_.notify(tr("提示"), cellRefusalText(*model_, refusal), NoticeIcon::Exclamation);
  });
  connect(view_, &RecordTableView::pasted, this, [this](int changed, int skipped) {
    QString text = tr("已粘贴，%1个单元格有改变").arg(changed);
    if (skipped > 0) text += tr("；%1个不可编辑的单元格未改变").arg(skipped);
    status_->setText(text);
  });
}

FleetTableDialog::~FleetTableDialog() {
  // The hosts' jobs end with the dialog; what they still report goes nowhere.
  if (job_) job_->disconnect(this);
}

void FleetTableDialog::reject() {
  if (running()) job_->cancel();
  QDialog::reject();
}

std::vector<HostConfig> FleetTableDialog::editedConfigs() const {
  std::vector<HostConfig> out;
  for (int i = 0; i < int(hosts_.size()); ++i) out.push_back(model_->config(i));
  return out;
}

void FleetTableDialog::showTable(std::vector<HostConfig> started, const std::vector<HostConfig>& edited) {
  std::vector<ParamGroup> chosen;
  for (ParamGroup g : kTableGroups)
    if (groups_[static_cast<int>(g)]->isChecked()) chosen.push_back(g);
  std::vector<TableColumn> columns;
  for (const FieldPath& p : fieldPathsOf(chosen)) columns.push_back(fieldColumn(p.group, p.index, p.field->key));
  std::vector<TableRow> rows;
  for (int r = 0; r < model_->rowCount(); ++r) rows.push_back(model_->row(r));

  auto* model = new FleetTableModel(started, std::move(rows), std::move(columns), this);
  model->setAllowAll(allowAll_->isChecked());
  model->setBaseline(model_->baseline());
  for (int r = 0; r < model->rowCount(); ++r) model->setRowStatus(r, statuses_[std::size_t(r)].first, statuses_[std::size_t(r)].second);
  // What was edited and is still shown stays an edit.
  std::vector<RecordTableModel::CellValue> edits;
  for (int c = 0; c < model->columnCount(); ++c) {
    const TableColumn& column = model->column(c);
    for (int r = 0; r < model->rowCount(); ++r) {
      const FieldValue value = column.field->get(edited[std::size_t(r)], *column.record);
      if (model->holds(r, c) && !sameValue(value, column.field->get(started[std::size_t(r)], *column.record)))
        edits.push_back({{r, c}, value});
    }
  }
  if (!edits.empty()) model->setValues(std::move(edits), tr("修改"));

  view_->setTableModel(model);
  if (model_ != model) model_->deleteLater();
  model_ = model;
}

void FleetTableDialog::setStatus(int row, const QString& text, bool bad) {
  statuses_.at(std::size_t(row)) = {text, bad};
  model_->setRowStatus(row, text, bad);
}

void FleetTableDialog::setControlsEnabled(bool enabled) {
  for (QCheckBox* box : groups_)
    if (box) box->setEnabled(enabled);
  allowAll_->setEnabled(enabled);
  for (QPushButton* b : buttons_) b->setEnabled(enabled);
  view_->setEnabled(enabled);
}

void FleetTableDialog::read() {
  if (running()) return;
  RecordMasks which{};
  for (ParamGroup g : kTableGroups)
    if (groups_[static_cast<int>(g)]->isChecked()) which[static_cast<int>(g)] = allRecordsOf(g);
  std::vector<FleetJob::Host> hosts;
  std::vector<int> rows;
  for (int i = 0; i < int(hosts_.size()); ++i) {
    FleetJob::Host h;
    h.identity = hosts_[std::size_t(i)];
    h.target = [](const HostConfig& current) { return current; };
    h.which = which;
    h.options.dryRun = true;
    hosts.push_back(std::move(h));
    rows.push_back(i);
  }
  start(Job::Read, std::move(hosts), std::move(rows));
}

RosterRow FleetTableDialog::editsOf(int row) const {
  RosterRow edits;
  edits.mac = hosts_.at(std::size_t(row)).mac;
  for (int c = 0; c < model_->columnCount(); ++c) {
    if (!model_->isChanged(row, c)) continue;
    const FieldPath path = pathOf(model_->column(c));
    edits.cells.push_back({path, path.field->get(model_->config(row), path.index)});
  }
  return edits;
}

void FleetTableDialog::write() {
  if (running()) return;
  // A write never gives two hosts one address or one terminal address.
  for (const QModelIndex& cell : model_->changedCells()) {
    if (model_->mark(cell.row(), cell.column()) != FleetTableModel::Mark::Shared) continue;
    notifier_.notify(tr("提示"), tr("%1的%2“%3”与另一台主机相同，没有写入任何主机。请先改正标红的单元格。")
                                   .arg(hostName(hosts_[std::size_t(cell.row())]), model_->column(cell.column()).header,
                                        model_->cellText(cell.row(), cell.column())),
                     NoticeIcon::Exclamation);
    return;
  }
  std::vector<FleetJob::Host> hosts;
  std::vector<int> rows;
  for (int i = 0; i < int(hosts_.size()); ++i) {
    const RecordMasks which = model_->changedRecords(i);
    if (!anyRecord(which)) continue;
    FleetJob::Host h;
    h.identity = hosts_[std::size_t(i)];
    // The changed cells onto what the host holds when it is written; the row
    // names its host, so its address and terminal address are its own too.
    h.target = [edits = editsOf(i)](const HostConfig& current) { return applyRosterRow(edits, current); };
    h.which = which;
    h.options.own = allRecordMasks();
    h.options.history = &history_;
    h.options.lock = &windowLockPlace();
    hosts.push_back(std::move(h));
    rows.push_back(i);
  }
  if (hosts.empty()) {
    notifier_.notify(tr("提示"), tr("表格中没有修改，无需写入"), NoticeIcon::Exclamation);
    return;
  }
  writing_ = editedConfigs();
  start(Job::Write, std::move(hosts), std::move(rows));
}

void FleetTableDialog::start(Job kind, std::vector<FleetJob::Host> hosts, std::vector<int> rows) {
  job_ = std::make_unique<FleetJob>(router_, policy_);
  jobKind_ = kind;
  jobRows_ = std::move(rows);
  failedHosts_ = 0;
  connect(job_.get(), &FleetJob::stageChanged, this, [this](int i, ConfigJob::Stage stage, ParamGroup g) {
    setStatus(jobRows_[std::size_t(i)], tr("正在%1 %2").arg(stageWord(stage), groupLabel(g)));
  });
  connect(job_.get(), &FleetJob::hostFinished, this, &FleetTableDialog::hostFinished);
  connect(job_.get(), &FleetJob::finished, this, &FleetTableDialog::allFinished);
  for (int row : jobRows_) setStatus(row, tr("等待"));
  progress_->setRange(0, int(jobRows_.size()));
  progress_->setValue(0);
  status_->setText(kind == Job::Read ? tr("正在读取%1台主机...").arg(jobRows_.size())
                                     : tr("正在写入%1台主机...").arg(jobRows_.size()));
  setControlsEnabled(false);
  job_->start(std::move(hosts));
}

void FleetTableDialog::hostFinished(int index, const ConfigJobResult& r) {
  const int row = jobRows_[std::size_t(index)];
  progress_->setValue(progress_->value() + 1);
  const JobVerdict verdict = r.verdict();
  if (verdict != JobVerdict::Done) ++failedHosts_;
  QString text;
  switch (verdict) {
    case JobVerdict::Refused: text = tr("固件版本不支持"); break;
    case JobVerdict::NoAnswer: text = tr("没有应答"); break;
    case JobVerdict::Cancelled: text = tr("已取消"); break;
    case JobVerdict::HostGone: text = hostGoneText(r); break;
    case JobVerdict::HistoryNotKept: text = tr("历史记录未能保存"); break;
    default: break;
  }
  if (jobKind_ == Job::Read) {
    // A host not read at all has an empty row: nothing of it is known.
    const bool answered = verdict == JobVerdict::Done || verdict == JobVerdict::Partly;
    read_[std::size_t(row)] = answered ? job_->job(index).current() : HostConfig{};
    if (verdict == JobVerdict::Done) text = tr("已读取");
    if (verdict == JobVerdict::Partly) text = tr("未读到：%1").arg(recordNames(r.failed));
    return setStatus(row, text, verdict != JobVerdict::Done);
  }
  // What the host now holds as the table asked: the records verified, and
  // those read that already held it; they are the row's new starting point.
  RecordMasks settled = r.verified;
  if (verdict == JobVerdict::Done || verdict == JobVerdict::Partly || verdict == JobVerdict::ReadBackDiffers)
    settled = recordsWithout(recordsWithout(job_->host(index).which, r.failed), r.mismatched);
  const HostConfig& written = job_->job(index).target();
  read_[std::size_t(row)] = withRecords(read_[std::size_t(row)], written, settled);
  writing_[std::size_t(row)] = withRecords(writing_[std::size_t(row)], written, settled);
  const int count = recordCount(r.verified);
  switch (verdict) {
    case JobVerdict::Done: text = count ? tr("已校验（写入%1条记录）").arg(count) : tr("已校验（无需写入）"); break;
    case JobVerdict::Partly: text = tr("失败：%1").arg(recordNames(r.failed)); break;
    case JobVerdict::ReadBackDiffers: text = tr("读回不同：%1").arg(recordNames(r.mismatched)); break;
    case JobVerdict::Refused:
    case JobVerdict::NoAnswer:
    case JobVerdict::HistoryNotKept: text = tr("%1，未写入").arg(text); break;
    case JobVerdict::HostGone:
    case JobVerdict::Cancelled: break;
    case JobVerdict::HostBusy: text = hostBusyText(*r.heldBy); break;
  }
  setStatus(row, text, verdict != JobVerdict::Done);
}

void FleetTableDialog::allFinished() {
  setControlsEnabled(true);
  const int hosts = int(jobRows_.size());
  if (jobKind_ == Job::Read) {
    showTable(read_, read_);
    status_->setText(tr("读取完成：%1台主机已读取，%2台未读全").arg(hosts - failedHosts_).arg(failedHosts_));
  } else {
    // Records that failed stay edits, to be written again.
    showTable(read_, writing_);
    status_->setText(tr("写入完成：%1台主机已校验，%2台失败").arg(hosts - failedHosts_).arg(failedHosts_));
  }
  emit jobFinished();
}

void FleetTableDialog::exportCsv() {
  const QString suggested = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1Char('/') +
                            tr("主机总表") + QLatin1Char('_') + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                            QStringLiteral(".csv");
  const QString path = files_.saveTableFile(this, tr("导出CSV"), suggested);
  if (path.isEmpty()) return;
  std::vector<FieldPath> columns;
  for (int c = 0; c < model_->columnCount(); ++c) columns.push_back(pathOf(model_->column(c)));
  std::vector<RosterHost> hosts;
  for (int i = 0; i < int(hosts_.size()); ++i)
    hosts.push_back({hosts_[std::size_t(i)], model_->config(i), model_->config(i).known});
  QString error;
  if (!writeCsvFile(path, csvBytes(rosterTable(columns, hosts)), &error)) {
    notifier_.notify(tr("提示"), tr("无法保存%1：%2").arg(path, error), NoticeIcon::Exclamation);
    return;
  }
  status_->setText(tr("已导出：%1").arg(path));
}

void FleetTableDialog::importCsv() {
  if (running()) return;
  const QString path = files_.openTableFile(this, tr("导入CSV"));
  if (path.isEmpty()) return;
  RosterResult result = readRoster(path);
  if (const auto* e = std::get_if<RosterError>(&result)) {
    notifier_.notify(tr("提示"), rosterErrorText(*e), NoticeIcon::Exclamation);
    return;
  }
  const Roster roster = std::get<Roster>(std::move(result));
  // The groups of the file's columns are shown, so that its cells can be.
  bool more = false;
  for (const FieldPath& p : roster.columns) {
    QCheckBox* box = groups_[static_cast<int>(p.group)];
    if (box->isChecked()) continue;
    const QSignalBlocker quiet(box);
    box->setChecked(true);
    more = true;
  }
  if (more) showTable(read_, editedConfigs());

  QHash<QString, int> columnOf;
  for (int c = 0; c < model_->columnCount(); ++c) columnOf.insert(model_->column(c).tooltip, c);
  std::vector<RecordTableModel::CellValue> values;
  QStringList strangers;
  for (const RosterRow& row : roster.rows) {
    const auto host = std::find_if(hosts_.begin(), hosts_.end(), [&](const HostIdentity& h) { return h.mac == row.mac; });
    if (host == hosts_.end()) {
      strangers << tr("%1（第%2行）").arg(QString::fromStdString(formatMacDashed(row.mac))).arg(row.row);
      continue;
    }
    const int r = int(host - hosts_.begin());
    for (const RosterCell& cell : row.cells)
      if (const auto c = columnOf.constFind(fieldPathText(cell.path)); c != columnOf.cend()) values.push_back({{r, *c}, cell.value});
  }
  int skipped = 0;
  const int changed = model_->setValues(std::move(values), tr("导入CSV"), &skipped);
  status_->setText(tr("已导入%1：%2个单元格有改变，尚未写入").arg(QFileInfo(path).fileName()).arg(changed));
  QStringList notes;
  if (!strangers.isEmpty()) notes << tr("以下主机不在表中，未导入：%1").arg(strangers.join(tr("、")));
  if (skipped > 0)
    notes << tr("%1个单元格未导入：所在主机或记录还没有读取（请先“读取”），或按数据属性不可编辑").arg(skipped);
  if (!notes.isEmpty()) notifier_.notify(tr("提示"), notes.join(QLatin1Char('\n')), NoticeIcon::Exclamation);
}

void FleetTableDialog::openBaseline() {
  const QString path = files_.openFile(this, tr("基准配置"));
  if (path.isEmpty()) return;
  ConfigFileResult result = readConfigFile(path);
  if (const auto* e = std::get_if<ConfigFileError>(&result)) {
    notifier_.notify(tr("提示"), fileErrorText(*e), NoticeIcon::Exclamation);
    return;
  }
  model_->setBaseline(FleetBaseline(std::get<ConfigFile>(std::move(result))));
  baselineLine_->setText(tr("基准配置：%1").arg(QFileInfo(path).fileName()));
}

}  // namespace quendra
