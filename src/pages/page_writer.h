#pragma once
// The pages' write buttons, the network factory reset and the MAC write, as
// jobs of the core's one write path (session/config_job): what the host holds
// goes into its history first (read first where this host's group was not read
// since it was chosen; nothing is written when the history cannot be kept),
// values from another host never carry its identity, and every write ends
// with a line saying whether the host took it.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "config/history_store.h"
#include "pages/info_log.h"
#include "session/config_job.h"

namespace quendra {

class PageWriter : public QObject {
  Q_OBJECT
 public:
  // `host` names the selected host in its history entries.
  PageWriter(HostSession& session, InfoLog& infoLog, HistoryStore& history, std::function<HostIdentity()> host,
             QObject* parent = nullptr);
  ~PageWriter() override;

  // Writes the group as the session's configuration holds it. `identity`:
  // Replace when the operator typed the identity field since the host was
  // chosen (naming it for this host). `shown` runs when the job ends, for the
  // page to show what was written. False when a write of the group is in hand.
  bool write(ParamGroup group, IdentityChoice identity, std::function<void()> shown = {});
  void factoryReset();
  void writeMac(const Mac& newMac);
  // Where the host locks are that keep two writers of one host apart (none: no lock).
  void setLockPlace(const HostLockPlace* place) { lockPlace_ = place; }

 private:
  struct Running {
    std::unique_ptr<ConfigJob> job;
    ParamGroup group;
    std::optional<Operation> operation;  // a reset or MAC write
  };
  ConfigJob& startJob(ParamGroup group, std::optional<Operation> operation, std::function<void()> shown);
  ConfigJobOptions options() const;
  const HostLockPlace* lockPlace_ = nullptr;
  void finished(ConfigJob* job, const ConfigJobResult& result, const std::function<void()>& shown);
  // The failure line's subject: "基础参数写入", "网络恢复出厂", "写MAC".
  QString subject(const Running& running) const;
  void line(const QString& text);

  HostSession& session_;
  InfoLog& log_;
  HistoryStore& history_;
  std::function<HostIdentity()> host_;
  std::vector<Running> jobs_;
};

}  // namespace quendra
