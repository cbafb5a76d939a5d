#include "app/config_actions.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include "app/clone_dialog.h"
#include "app/compare_dialog.h"
#include "app/config_words.h"
#include "app/file_chooser.h"
#include "app/fleet_table_dialog.h"
#include "app/history_dialog.h"
#include "app/job_progress.h"
#include "pages/info_log.h"
#include "pages/notifier.h"
#include "fields/field_labels.h"
#include "pages/record_page.h"
#include "pages/record_table_dialog.h"
#include "records/field_text.h"
#include "report/host_report.h"

namespace quendra {
namespace {

QString suggestedName(const HostIdentity& host, const char* suffix = "json") {
  QString name = host.name;
  name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + '/' + name + '_' +
         QString::fromStdString(formatMacDigits(host.mac)) + '_' +
         QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('.') + QLatin1String(suffix);
}

}  // namespace

ConfigActions::ConfigActions(Window window, FileChooser& files, HistoryStore& store, QObject* parent)
    : QObject(parent), w_(std::move(window)), files_(&files), store_(store) {}

ConfigActions::~ConfigActions() = default;

void ConfigActions::line(const QString& text) {
  w_.infoLog->append(text + QStringLiteral("\r\n"));
  w_.infoLog->refresh();
}

bool ConfigActions::requireSelectedHost() {
  if (w_.selectedHost() && w_.session->flags().networkRead) return true;
  w_.notifier->notify(tr("警告"), tr("请先搜索到设备,双击选中,再读取参数"), NoticeIcon::Exclamation);
  return false;
}

void ConfigActions::startJob(const QString& title, const RecordMasks& which) {
  jobHost_ = *w_.selectedHost();
  job_ = std::make_unique<ConfigJob>(*w_.session);
  progress_ = new JobProgress(*job_, *w_.session, which, title, w_.parent);
  progress_->setAttribute(Qt::WA_DeleteOnClose);
  progress_->open();
}

void ConfigActions::readWholeHost(const QString& title, void (ConfigActions::*done)(const ConfigJobResult&)) {
  if (job_ || !requireSelectedHost()) return;
  w_.infoLog->clear();
  line(title + QStringLiteral("..."));
  startJob(title, allRecordMasks());
  connect(job_.get(), &ConfigJob::finished, this, done);
  ConfigJob::Options options;
  options.dryRun = true;
  job_->start([](const HostConfig& current) { return current; }, allRecordMasks(), options);
}

void ConfigActions::saveConfig() { readWholeHost(tr("保存配置"), &ConfigActions::saved); }

QString ConfigActions::jobStopped(const ConfigJobResult& r, const QString& cancelled, const QString& notDone) {
  switch (r.verdict()) {
    case JobVerdict::Cancelled: return r.hostChanged ? tr("已选择其他主机，%1").arg(notDone) : cancelled;
    case JobVerdict::HostBusy: return hostBusyText(*r.heldBy);
    case JobVerdict::Refused: return tr("固件版本不支持，%1").arg(notDone);
    case JobVerdict::NoAnswer: return tr("主机没有应答，%1").arg(notDone);
    case JobVerdict::HostGone: return hostGoneText(r);
    case JobVerdict::HistoryNotKept: return tr("历史记录未能保存（%1），%2").arg(r.historyError, notDone);
    default: return {};
  }
}

void ConfigActions::saved(const ConfigJobResult& r) {
  job_.release()->deleteLater();
  if (const QString stopped = jobStopped(r, tr("保存配置已取消"), tr("未保存")); !stopped.isEmpty()) return line(stopped);
  const QString path = files_->saveFile(w_.parent, tr("保存配置"), suggestedName(jobHost_));
  if (path.isEmpty()) return line(tr("保存配置已取消"));
  ConfigFileHeader header;
  header.savedBy = QCoreApplication::applicationName();
  header.savedAt = QDateTime::currentDateTimeUtc();
  header.host = jobHost_;
  QString error;
  if (!writeConfigFile(path, configFileJson(w_.session->lastRead(), recordsWithout(allRecordMasks(), r.failed), header), &error)) {
    w_.notifier->notify(tr("提示"), tr("无法保存配置文件%1：%2").arg(path, error), NoticeIcon::Exclamation);
    return line(tr("配置未保存"));
  }
  line(tr("配置已保存：%1").arg(path));
  if (anyRecord(r.failed)) line(tr("以下记录没有读到：%1").arg(recordNames(r.failed)));
}

void ConfigActions::openConfig() {
  const QString path = files_->openFile(w_.parent, tr("打开配置"));
  if (!path.isEmpty()) openFile(path);
}

void ConfigActions::openFile(const QString& path) {
  if (job_) return;
  ConfigFileResult result = readConfigFile(path);
  if (const auto* e = std::get_if<ConfigFileError>(&result)) {
    w_.notifier->notify(tr("提示"), fileErrorText(*e), NoticeIcon::Exclamation);
    return;
  }
  ConfigFile file = std::get<ConfigFile>(std::move(result));
  // Nothing is sent: the pages show the file's values until a write; another
  // host's values are written to this one without its identity.
  w_.session->config() = applyConfigFile(file, w_.session->config());
  if (file.sourceHost() != w_.session->target()) w_.session->markForeign(file.present());
  showPages(file.present());
  w_.infoLog->clear();
  line(tr("已打开配置文件：%1").arg(path));
  if (file.header.host) line(tr("来自主机：%1").arg(hostName(*file.header.host)));
  opened_.emplace(std::move(file), path);
}

void ConfigActions::showPages(const RecordMasks& which) {
  for (const auto& [group, page] : w_.pages)
    if (which[static_cast<int>(group)]) page->showRecords();
}

void ConfigActions::writeAll() {
  if (job_ || !requireSelectedHost()) return;
  for (const auto& [group, page] : w_.pages)
    if (!page->storeFields()) return;
  const HostConfig target = w_.session->config();
  w_.infoLog->clear();
  line(tr("写入全部..."));
  // The records the pages hold of this host go back whole; values from another
  // host or file go without their identity (the job knows which are which).
  runWrite(tr("写入全部"), [target](const HostConfig&) { return target; }, target.known, {}, target);
}

void ConfigActions::runWrite(const QString& title, ConfigJob::Target target, const RecordMasks& which,
                             std::optional<RecordMasks> own, std::optional<HostConfig> restoreOnCancel, bool confirm) {
  startJob(title, which);
  restoreOnCancel_ = std::move(restoreOnCancel);
  ownBefore_ = w_.session->ownRecords();
  connect(job_.get(), &ConfigJob::finished, this, &ConfigActions::written);
  connect(job_.get(), &ConfigJob::compared, this, [this, confirm](const RecordMasks& differing) {
    const ConfigJobResult& planned = job_->result();
    if (planned.networkLeftOut) line(tr("网口参数来自另一台主机，未写入"));
    if (!confirm) return;  // the job goes on by itself
    if (!anyRecord(differing) && planned.keptIdentity.empty()) return job_->proceed();
    if (progress_) progress_->hide();
    compare_ = new CompareDialog(diffConfigs(job_->current(), job_->target(), differing), planned.keptIdentity,
                                 w_.parent);
    compare_->setAttribute(Qt::WA_DeleteOnClose);
    // "替换主机": this host takes the other's address and terminal address.
    connect(compare_, &CompareDialog::replaceIdentityToggled, this, [this](bool replace) {
      job_->setIdentity(replace ? IdentityChoice::Replace : IdentityChoice::Keep);
      compare_->showDifferences(diffConfigs(job_->current(), job_->target(), job_->result().differing),
                                job_->result().keptIdentity);
    });
    connect(compare_, &QDialog::accepted, this, [this] {
      if (progress_) progress_->show();
      job_->proceed();
    });
    connect(compare_, &QDialog::rejected, job_.get(), &ConfigJob::cancel);
    compare_->open();
  });
  ConfigJob::Options options;
  options.confirm = confirm;
  options.own = own;
  options.history = &store_;
  options.host = jobHost_;
  options.lock = &windowLockPlace();
  job_->start(std::move(target), which, options);
}

void ConfigActions::written(const ConfigJobResult& r) {
  job_.release()->deleteLater();
  if (r.verdict() == JobVerdict::Cancelled && restoreOnCancel_) {
    // The pages show again what was to be written, not what the host holds.
    w_.session->config() = *restoreOnCancel_;
    // and what was another host's is again (the job's reads made the records this host's meanwhile);
    // after another host was chosen, none of them is that host's own
    w_.session->markForeign(r.hostChanged ? allRecordMasks() : recordsWithout(allRecordMasks(), ownBefore_));
    showPages(allRecordMasks());
  }
  restoreOnCancel_.reset();
  if (const QString stopped = jobStopped(r, tr("未写入"), tr("未写入")); !stopped.isEmpty()) return line(stopped);
  if (!anyRecord(r.differing)) return line(tr("主机的配置与要写入的相同，无需写入"));
  if (r.verdict() == JobVerdict::Done) return line(tr("写入完成，%1条记录已读回校验").arg(recordCount(r.verified)));
  if (anyRecord(r.failed)) line(tr("以下记录未能写入或校验：%1").arg(recordNames(r.failed)));
  if (anyRecord(r.mismatched)) line(tr("以下记录读回的值与写入的不同：%1").arg(recordNames(r.mismatched)));
  if (anyRecord(r.verified)) line(tr("其余%1条记录已读回校验").arg(recordCount(r.verified)));
}

void ConfigActions::showHistory() {
  if (job_ || !requireSelectedHost()) return;
  const HostIdentity host = *w_.selectedHost();
  historyDialog_ = new HistoryDialog(store_.entries(host.mac), hostName(host), w_.parent);
  connect(historyDialog_, &HistoryDialog::restoreRequested, this, [this](const QString& path) {
    ConfigFileResult result = readConfigFile(path);
    if (const auto* e = std::get_if<ConfigFileError>(&result)) {
      w_.notifier->notify(tr("提示"), fileErrorText(*e), NoticeIcon::Exclamation);
      return;
    }
    const ConfigFile file = std::get<ConfigFile>(std::move(result));
    w_.infoLog->clear();
    line(tr("恢复历史配置..."));
    // An entry of this host's own history: it goes back whole.
    runWrite(tr("写入全部"), [file](const HostConfig& current) { return applyConfigFile(file, current); },
             file.present(), ownRecordsIf(file.sourceHost(), w_.session->target()), std::nullopt);
  });
  historyDialog_->open();
}

void ConfigActions::cloneToHosts() {
  std::optional<CloneDialog::Source> fromHost, fromFile;
  const HostConfig& read = w_.session->lastRead();
  if (const auto host = w_.selectedHost(); host && anyRecord(read.known))
    fromHost = CloneDialog::Source{hostName(*host),
                                   [read](const HostConfig& current) { return withRecords(current, read, read.known); },
                                   read.known, host->mac};
  if (opened_)
    fromFile = CloneDialog::Source{opened_->second,
                                   [file = opened_->first](const HostConfig& current) { return applyConfigFile(file, current); },
                                   opened_->first.present(), opened_->first.sourceHost()};
  if (!fromHost && !fromFile) {
    w_.notifier->notify(tr("提示"), tr("请先读取所选主机的配置，或打开配置文件"), NoticeIcon::Exclamation);
    return;
  }
  std::vector<HostIdentity> hosts;
  for (const HostIdentity& h : w_.hostsFound())
    if (std::none_of(hosts.begin(), hosts.end(), [&](const HostIdentity& x) { return x.mac == h.mac; })) hosts.push_back(h);
  clone_ = new CloneDialog(*w_.router, w_.session->policy(), store_, hosts, fromHost, fromFile, w_.parent);
  clone_->setAttribute(Qt::WA_DeleteOnClose);
  connect(clone_, &CloneDialog::allFinished, this, [this](int verified, int failed) {
    w_.infoLog->clear();
    line(tr("复制完成：%1台主机已校验，%2台失败").arg(verified).arg(failed));
  });
  clone_->open();
}

void ConfigActions::editTable(ParamGroup group) {
  if (job_) return;
  // The table starts from what the page shows, as a write would take it.
  for (const auto& [g, page] : w_.pages)
    if (g == group && !page->storeFields()) return;
  table_ = new RecordTableDialog(w_.session->config(), group, *w_.notifier, w_.parent);
  table_->setAttribute(Qt::WA_DeleteOnClose);
  connect(table_, &RecordTableDialog::writeRequested, this, &ConfigActions::writeTable);
  table_->open();
}

// The changed records of the table, as one job: read, compare, history,
// write what differs, read back and verify. The pages show the table's values.
void ConfigActions::writeTable() {
  if (job_ || !table_ || !requireSelectedHost()) return;
  const RecordMasks which = table_->changedRecords();
  const ParamGroup group = table_->group();
  HostConfig target = withRecords(w_.session->config(), table_->config(), which);
  target.known = w_.session->config().known;
  table_->accept();
  w_.session->config() = target;
  showPages(which);
  w_.infoLog->clear();
  line(tr("写入%1...").arg(groupLabel(group)));
  runWrite(tr("写入%1").arg(groupLabel(group)), [target](const HostConfig&) { return target; }, which, {}, target,
           /*confirm=*/false);
}

void ConfigActions::showFleetTable() {
  std::vector<HostIdentity> hosts = w_.searchedHosts();
  if (hosts.empty()) {
    w_.notifier->notify(tr("提示"), tr("请先搜索主机"), NoticeIcon::Exclamation);
    return;
  }
  fleet_ = new FleetTableDialog(*w_.router, w_.session->policy(), store_, std::move(hosts), *w_.notifier, *files_,
                                w_.parent);
  fleet_->setAttribute(Qt::WA_DeleteOnClose);
  fleet_->open();
}

// The report shows what the host holds now: everything is read first.
void ConfigActions::exportReport() { readWholeHost(tr("导出报告"), &ConfigActions::reportRead); }

void ConfigActions::reportRead(const ConfigJobResult& r) {
  job_.release()->deleteLater();
  if (const QString stopped = jobStopped(r, tr("导出报告已取消"), tr("未导出报告")); !stopped.isEmpty()) return line(stopped);
  HostReport report;
  report.config = w_.session->lastRead();
  report.read = recordsWithout(allRecordMasks(), r.failed);
  report.host = jobHost_;
  report.readAt = QDateTime::currentDateTime();
  report.readBy = (QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()).trimmed();
  const QString path = files_->saveReportFile(w_.parent, tr("导出报告"), suggestedName(jobHost_, "pdf"));
  if (path.isEmpty()) return line(tr("导出报告已取消"));
  QString error;
  if (!writeReport(path, report, &error)) {
    w_.notifier->notify(tr("提示"), tr("无法导出报告%1：%2").arg(path, error), NoticeIcon::Exclamation);
    return line(tr("未导出报告"));
  }
  line(tr("报告已导出：%1").arg(path));
  if (anyRecord(r.failed)) line(tr("以下记录没有读到：%1").arg(recordNames(r.failed)));
}

}  // namespace quendra
