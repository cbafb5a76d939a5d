#include "pages/page_writer.h"

#include <algorithm>

#include "fields/field_labels.h"

namespace quendra {

PageWriter::PageWriter(HostSession& session, InfoLog& infoLog, HistoryStore& history,
                       std::function<HostIdentity()> host, QObject* parent)
    : QObject(parent), session_(session), log_(infoLog), history_(history), host_(std::move(host)) {}

PageWriter::~PageWriter() = default;

ConfigJobOptions PageWriter::options() const {
  ConfigJobOptions o;
  o.sendAsAsked = true;
  o.networkAsked = true;  // the operator pressed the network page's own write
  o.history = &history_;
  o.host = host_();
  o.lock = lockPlace_;
  return o;
}

ConfigJob& PageWriter::startJob(ParamGroup group, std::optional<Operation> operation, std::function<void()> shown) {
  auto job = std::make_unique<ConfigJob>(session_);
  ConfigJob* j = job.get();
  jobs_.push_back({std::move(job), group, operation});
  connect(j, &ConfigJob::compared, this, [this, j] {
    // The identity the write leaves as the host has it, said in one line.
    QStringList kept;
    for (const FieldDifference& d : j->result().keptIdentity)
      kept << (d.field ? tr("%1保持本机：%2")
                             .arg(fieldHeading(d.group, d.field->key),
                                  fieldDisplayText(d.group, *d.field, d.was))
                       : tr("页面上不显示的字节保持本机"));
    if (!kept.isEmpty()) line(kept.join(tr("，")));
  });
  connect(j, &ConfigJob::finished, this,
          [this, j, shown = std::move(shown)](const ConfigJobResult& r) { finished(j, r, shown); });
  return *j;
}

bool PageWriter::write(ParamGroup group, IdentityChoice identity, std::function<void()> shown) {
  for (const Running& r : jobs_)
    if (r.group == group && !r.operation) return false;
  const HostConfig target = session_.config();
  ConfigJobOptions o = options();
  o.identity = identity;
  RecordMasks which{};
  which[static_cast<int>(group)] = allRecordsOf(group);
  startJob(group, std::nullopt, std::move(shown)).start([target](const HostConfig&) { return target; }, which, o);
  return true;
}

void PageWriter::factoryReset() { startJob(ParamGroup::Network, Operation::FactoryReset, {}).startFactoryReset(options()); }

void PageWriter::writeMac(const Mac& newMac) {
  startJob(ParamGroup::Network, Operation::WriteMac, {}).startMacWrite(newMac, options());
}

QString PageWriter::subject(const Running& r) const {
  if (r.operation == Operation::FactoryReset) return tr("网络恢复出厂");
  if (r.operation == Operation::WriteMac) return tr("写MAC");
  return tr("%1写入").arg(groupLabel(r.group));
}

void PageWriter::finished(ConfigJob* job, const ConfigJobResult& r, const std::function<void()>& shown) {
  const auto it = std::find_if(jobs_.begin(), jobs_.end(), [job](const Running& x) { return x.job.get() == job; });
  if (it == jobs_.end()) return;
  Running running = std::move(*it);
  jobs_.erase(it);
  running.job.release()->deleteLater();  // it is still emitting
  if (shown) shown();
  const bool batch = isBatchGroup(running.group) && !running.operation;
  QString why;
  switch (r.verdict()) {
    case JobVerdict::Done:
      if (running.group == ParamGroup::Network && !running.operation) line(tr("下载网络参数成功！"));
      return;
    case JobVerdict::HistoryNotKept: why = tr("历史记录未能保存（%1），没有写入").arg(r.historyError); break;
    case JobVerdict::Refused: why = tr("固件版本不支持"); break;
    case JobVerdict::Cancelled: why = tr("已取消"); break;
    case JobVerdict::HostGone: why = tr("主机不再应答"); break;
    case JobVerdict::HostBusy:
      why = tr("另一程序正在写入此主机（%1，用户%2，进程%3）").arg(r.heldBy->program, r.heldBy->user).arg(r.heldBy->pid);
      break;
    case JobVerdict::ReadBackDiffers: {
      QStringList fields;
      for (const FieldDifference& d : diffConfigs(job->target(), session_.config(), r.mismatched))
        fields << (d.field ? fieldHeading(d.group, d.field->key) : tr("页面上不显示的字节"));
      why = tr("读回的值不同：%1").arg(fields.join(tr("、")));
      break;
    }
    case JobVerdict::NoAnswer:
    case JobVerdict::Partly:
      if (batch && r.hostAnswered) return;  // the batch's own lines name every record that failed
      why = tr("主机没有应答");
      break;
  }
  line(tr("%1失败：%2").arg(subject(running), why));
}

void PageWriter::line(const QString& text) {
  log_.append(text + QStringLiteral("\r\n"));
  log_.refresh();
}

}  // namespace quendra
