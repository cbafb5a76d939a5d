#include "session/fleet_job.h"

#include <algorithm>

namespace quendra {

struct FleetJob::Run {
  Host host;
  std::unique_ptr<HostSession> session;
  std::unique_ptr<ConfigJob> job;
  ConfigJobResult result;
  bool done = false;
};

FleetJob::FleetJob(ReplyRouter& router, const SessionPolicy& policy, QObject* parent)
    : QObject(parent), router_(router), policy_(policy) {}

FleetJob::~FleetJob() = default;

const FleetJob::Host& FleetJob::host(int i) const { return runs_.at(static_cast<std::size_t>(i))->host; }
const ConfigJob& FleetJob::job(int i) const { return *runs_.at(static_cast<std::size_t>(i))->job; }
bool FleetJob::done(int i) const { return runs_.at(static_cast<std::size_t>(i))->done; }
const ConfigJobResult& FleetJob::result(int i) const { return runs_.at(static_cast<std::size_t>(i))->result; }

bool FleetJob::running() const {
  return std::any_of(runs_.begin(), runs_.end(), [](const auto& r) { return !r->done; });
}

void FleetJob::start(std::vector<Host> hosts) {
  runs_.clear();
  for (Host& h : hosts) {
    auto run = std::make_unique<Run>();
    run->host = std::move(h);
    run->host.options.host = run->host.identity;
    run->session = std::make_unique<HostSession>(router_);
    run->session->setPolicy(policy_);
    run->session->setTarget(run->host.identity.mac);
    run->job = std::make_unique<ConfigJob>(*run->session);
    const int i = size();
    connect(run->job.get(), &ConfigJob::stageChanged, this,
            [this, i](ConfigJob::Stage stage, ParamGroup g) { emit stageChanged(i, stage, g); });
    connect(run->job.get(), &ConfigJob::compared, this, [this, i](const RecordMasks& d) { emit compared(i, d); });
    connect(run->job.get(), &ConfigJob::recordStep, this,
            [this, i](ConfigJob::Stage stage, RecordStep step, ParamGroup g, int k) { emit recordStep(i, stage, step, g, k); });
    connect(run->job.get(), &ConfigJob::waitingForHost, this, [this, i](const LockHolder& h) { emit waitingForHost(i, h); });
    connect(run->job.get(), &ConfigJob::finished, this, [this, i](const ConfigJobResult& r) {
      Run& done = *runs_[static_cast<std::size_t>(i)];
      done.result = r;
      done.done = true;
      emit hostFinished(i, r);
      if (!running()) emit finished();
    });
    runs_.push_back(std::move(run));
  }
  // Every host at once, on the one transport.
  for (auto& run : runs_) run->job->start(run->host.target, run->host.which, run->host.options);
  if (runs_.empty()) emit finished();
}

void FleetJob::cancel() {
  for (auto& run : runs_)
    if (!run->done) run->job->cancel();
}

}  // namespace quendra
