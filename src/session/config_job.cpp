#include "session/config_job.h"

namespace quendra {
namespace {

// Reads begin with the network settings (every other read needs them); the
// network settings are written last, after the records that need the host as it is.
constexpr std::array<ParamGroup, kParamGroupCount> kReadOrder = kAllGroups;
constexpr std::array<ParamGroup, kParamGroupCount> kWriteOrder{ParamGroup::Base,   ParamGroup::Gprs,
                                                               ParamGroup::Led,    ParamGroup::Channel,
                                                               ParamGroup::Modbus, ParamGroup::Relay,
                                                               ParamGroup::Network};

std::uint32_t& at(RecordMasks& m, ParamGroup g) { return m[static_cast<int>(g)]; }
std::uint32_t at(const RecordMasks& m, ParamGroup g) { return m[static_cast<int>(g)]; }

}  // namespace

ConfigJob::ConfigJob(HostSession& session, QObject* parent) : QObject(parent), session_(session) {
  connect(&session_, &HostSession::finished, this, &ConfigJob::onOperation);
}

void ConfigJob::start(Target target, const RecordMasks& which, bool confirm, bool dryRun) {
  makeTarget_ = std::move(target);
  which_ = which;
  confirm_ = confirm;
  dryRun_ = dryRun;
  result_ = ConfigJobResult{};
  readOk_ = RecordMasks{};
  stage_ = Stage::Reading;
  group_ = -1;
  running_ = true;
  next();
}

// The mask the operation of the group in hand works on.
std::uint32_t ConfigJob::maskOf(ParamGroup g) const {
  switch (stage_) {
    case Stage::Reading: return g == ParamGroup::Network ? allRecordsOf(g) : at(which_, g);
    case Stage::Writing: return at(result_.differing, g);
    case Stage::Verifying: return at(result_.differing, g) & ~at(result_.failed, g);
  }
  return 0;
}

ParamGroup ConfigJob::groupInHand() const {
  return (stage_ == Stage::Writing ? kWriteOrder : kReadOrder)[static_cast<std::size_t>(group_)];
}

void ConfigJob::next() {
  while (running_ && ++group_ < kParamGroupCount) {
    const ParamGroup g = groupInHand();
    const std::uint32_t mask = maskOf(g);
    if (mask == 0) continue;
    emit stageChanged(stage_, g);
    const auto refusal = stage_ == Stage::Writing ? session_.writeRecords(g, mask) : session_.read(g, mask);
    if (!refusal) return;  // its result comes back through onOperation
    at(result_.failed, g) |= mask;
  }
  if (!running_) return;
  switch (stage_) {
    case Stage::Reading: return compare();
    case Stage::Writing: stage_ = Stage::Verifying; group_ = -1; return next();
    case Stage::Verifying: return finish(Outcome::Done);
  }
}

void ConfigJob::onOperation(const OperationResult& r) {
  if (!running_ || waitingForConfirm_ || group_ < 0 || group_ >= kParamGroupCount) return;
  const ParamGroup g = groupInHand();
  const bool write = stage_ == Stage::Writing;
  if (r.group != g || (r.operation == Operation::Write) != write || r.operation == Operation::FactoryReset ||
      r.operation == Operation::WriteMac)
    return;
  if (r.outcome == Outcome::VersionRefused) return finish(Outcome::VersionRefused);
  if (r.outcome == Outcome::Cancelled) return finish(Outcome::Cancelled);
  const std::uint32_t mask = maskOf(g);
  const std::uint32_t answered = mask & ~(r.outcome == Outcome::Done ? 0u : (isBatchGroup(g) ? r.failedRecords : mask));
  switch (stage_) {
    case Stage::Reading:
      if (g == ParamGroup::Network && answered == 0) {  // the host is not there
        result_.hostAnswered = false;
        for (ParamGroup each : kAllGroups) at(result_.failed, each) |= at(which_, each);
        return finish(Outcome::NoAnswer);
      }
      at(readOk_, g) |= answered;
      break;
    case Stage::Writing:
      at(result_.failed, g) |= mask & ~answered;
      break;
    case Stage::Verifying:
      for (int k = 0; k < recordCountOf(g); ++k) {
        if (!((mask >> k) & 1u)) continue;
        const bool same = ((answered >> k) & 1u) && encodeRecord(session_.config(), g, k) == encodeRecord(target_, g, k);
        at(same ? result_.verified : result_.failed, g) |= 1u << k;
      }
      break;
  }
  next();
}

void ConfigJob::compare() {
  current_ = session_.config();
  target_ = makeTarget_(current_);
  RecordMasks readable{};
  for (ParamGroup g : kAllGroups) {
    at(readable, g) = at(which_, g) & at(readOk_, g);
    at(result_.failed, g) |= at(which_, g) & ~at(readOk_, g);
  }
  result_.differing = differingRecords(current_, target_, readable);
  waitingForConfirm_ = confirm_;
  emit compared(result_.differing);
  if (dryRun_) return finish(Outcome::Done);
  if (!confirm_) proceed();
}

void ConfigJob::proceed() {
  if (!running_) return;
  waitingForConfirm_ = false;
  // The session writes what its configuration holds: the records asked for go there first.
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k)
      if ((at(result_.differing, g) >> k) & 1u) decodeRecord(session_.config(), g, k, encodeRecord(target_, g, k));
  stage_ = Stage::Writing;
  group_ = -1;
  next();
}

void ConfigJob::cancel() {
  if (!running_) return;
  finish(Outcome::Cancelled);
  session_.stop();  // what is still waiting for the host ends too
}

void ConfigJob::finish(Outcome outcome) {
  running_ = false;
  waitingForConfirm_ = false;
  result_.outcome = outcome == Outcome::Done && anyRecord(result_.failed) ? Outcome::NoAnswer : outcome;
  emit finished(result_);
}

}  // namespace quendra
