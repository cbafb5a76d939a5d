#pragma once
// One configuration job per host, for many hosts at once over one router:
// copying a configuration to a fleet, commissioning it from a roster, reading
// it into a table. Each host has its own session and its own job (so each
// keeps its own identity, history and verdict); they run side by side and
// every host ends with one ConfigJobResult.
#include <QObject>
#include <memory>
#include <vector>

#include "session/config_job.h"

namespace quendra {

class ReplyRouter;

class FleetJob : public QObject {
  Q_OBJECT
 public:
  struct Host {
    HostIdentity identity;
    ConfigJob::Target target;  // what this host is to hold, given what it holds
    RecordMasks which{};
    ConfigJobOptions options;  // options.host is set from `identity`
  };

  FleetJob(ReplyRouter& router, const SessionPolicy& policy, QObject* parent = nullptr);
  ~FleetJob() override;

  void start(std::vector<Host> hosts);
  // Cancels every job still running.
  void cancel();

  int size() const { return static_cast<int>(runs_.size()); }
  const Host& host(int i) const;
  const ConfigJob& job(int i) const;
  bool done(int i) const;
  const ConfigJobResult& result(int i) const;  // once done
  bool running() const;

 signals:
  void stageChanged(int host, ConfigJob::Stage stage, ParamGroup group);
  void compared(int host, const RecordMasks& differing);
  void recordStep(int host, ConfigJob::Stage stage, RecordStep step, ParamGroup group, int index);
  void waitingForHost(int host, const LockHolder& holder);
  void hostFinished(int host, const ConfigJobResult& result);
  // Every host has ended.
  void finished();

 private:
  struct Run;
  ReplyRouter& router_;
  SessionPolicy policy_;
  std::vector<std::unique_ptr<Run>> runs_;
};

}  // namespace quendra
