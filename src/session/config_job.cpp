#include "session/config_job.h"

#include <QCoreApplication>

#include "config/history_store.h"

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

JobVerdict ConfigJobResult::verdict() const {
  if (heldBy) return JobVerdict::HostBusy;
  if (!historySaved) return JobVerdict::HistoryNotKept;  // the job stopped there
  switch (outcome) {
    case Outcome::Cancelled: return JobVerdict::Cancelled;
    case Outcome::VersionRefused: return JobVerdict::Refused;
    case Outcome::HostGone: return JobVerdict::HostGone;
    default: break;
  }
  if (!hostAnswered) return JobVerdict::NoAnswer;
  if (anyRecord(mismatched)) return JobVerdict::ReadBackDiffers;
  if (anyRecord(failed)) return JobVerdict::Partly;
  return JobVerdict::Done;
}

RecordMasks ownRecordsIf(const std::optional<Mac>& from, const Mac& to) {
  return from && *from == to ? allRecordMasks() : RecordMasks{};
}

ConfigJob::ConfigJob(HostSession& session, QObject* parent) : QObject(parent), session_(session) {
  connect(&session_, &HostSession::finished, this, &ConfigJob::onOperation);
  connect(&session_, &HostSession::recordArrived, this, [this](ParamGroup g, int k) {
    if (running_ && !waitingForConfirm_) emit recordStep(stage_, RecordStep::Read, g, k);
  });
  connect(&session_, &HostSession::writeAcknowledged, this, [this](ParamGroup g, int k) {
    if (running_ && stage_ == Stage::Writing) noteWritten(g, 1u << k);
  });
  connect(&session_, &HostSession::aboutToWrite, this, [this](ParamGroup g, std::uint32_t records) {
    if (running_ && !isBatchGroup(g)) at(result_.sent, g) |= records;  // a batch says each record as it goes
  });
  connect(&session_, &HostSession::batchEvent, this, [this](const BatchEvent& e) {
    if (running_ && e.stage == BatchEvent::Stage::Sent && isWriteKind(e.kind)) at(result_.sent, groupOf(e.kind)) |= 1u << e.record;
  });
  connect(&session_, &HostSession::resent, this, [this](ParamGroup g, int k, bool) {
    if (running_) emit recordStep(stage_, RecordStep::Resent, g, k);
  });
  // Another writer is asked again now and then (its lock is an open file: no change to be told of).
  lockRetry_.setSingleShot(true);
  connect(&lockRetry_, &QTimer::timeout, this, &ConfigJob::takeLock);
}

void ConfigJob::start(Target target, const RecordMasks& which, Options options) {
  identityOperation_.reset();
  begin(std::move(target), which, std::move(options));
}

void ConfigJob::startFactoryReset(Options options) { startIdentityOperation(Operation::FactoryReset, std::move(options)); }

void ConfigJob::startMacWrite(const Mac& newMac, Options options) {
  newMac_ = newMac;
  startIdentityOperation(Operation::WriteMac, std::move(options));
}

void ConfigJob::startIdentityOperation(Operation operation, Options options) {
  identityOperation_ = operation;
  options.sendAsAsked = true;  // the network settings as read since the host was chosen are what it holds
  RecordMasks network{};
  at(network, ParamGroup::Network) = 1;
  begin([](const HostConfig& current) { return current; }, network, std::move(options));
}

void ConfigJob::begin(Target target, const RecordMasks& which, Options options) {
  mac_ = session_.target();
  makeTarget_ = std::move(target);
  which_ = which;
  options_ = std::move(options);
  own_ = options_.own.value_or(session_.ownRecords());
  result_ = ConfigJobResult{};
  notRead_ = options_.sendAsAsked ? session_.lastRead().known : RecordMasks{};
  readOk_ = notRead_;
  stage_ = Stage::Reading;
  group_ = -1;
  running_ = true;
  if (options_.lock && !options_.dryRun) {
    lockDeadline_.setRemainingTime(options_.lockWait);
    saidWaiting_ = false;
    return takeLock();
  }
  next();
}

void ConfigJob::takeLock() {
  if (!running_) return;
  HostLock::Taken taken = HostLock::tryTake(session_.target(), *options_.lock);
  if (auto* lock = std::get_if<std::unique_ptr<HostLock>>(&taken)) {
    lock_ = std::move(*lock);
    return next();
  }
  const LockHolder& holder = std::get<LockHolder>(taken);
  if (lockDeadline_.hasExpired()) {
    result_.heldBy = holder;
    return finish(Outcome::Cancelled);
  }
  if (!std::exchange(saidWaiting_, true)) emit waitingForHost(holder);
  constexpr qint64 kRetryMs = 100;
  lockRetry_.start(static_cast<int>(std::clamp<qint64>(lockDeadline_.remainingTime(), 1, kRetryMs)));
}

void ConfigJob::noteWritten(ParamGroup g, std::uint32_t mask) {
  mask &= ~at(result_.written, g);
  at(result_.written, g) |= mask;
  for (int k = 0; k < recordCountOf(g); ++k)
    if ((mask >> k) & 1u) emit recordStep(stage_, RecordStep::Written, g, k);
}

void ConfigJob::failRecords(ParamGroup g, std::uint32_t mask) {
  at(result_.failed, g) |= mask;
  for (int k = 0; k < recordCountOf(g); ++k)
    if ((mask >> k) & 1u) emit recordStep(stage_, RecordStep::Failed, g, k);
}

// The mask the operation of the group in hand works on.
std::uint32_t ConfigJob::maskOf(ParamGroup g) const {
  switch (stage_) {
    case Stage::Reading:  // the network settings too, which say whether the host is there (a page's write reads only its group)
      return (g == ParamGroup::Network && !options_.sendAsAsked ? allRecordsOf(g) : at(which_, g)) & ~at(notRead_, g);
    case Stage::Writing: return at(result_.differing, g);
    case Stage::Verifying:
      if (options_.sendAsAsked && g != ParamGroup::Network) return 0;  // an acknowledgement is the host taking it
      return at(result_.differing, g) & ~at(result_.failed, g);  // what was acknowledged
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
    failRecords(g, mask);
  }
  if (!running_) return;
  switch (stage_) {
    case Stage::Reading: return compare();
    case Stage::Writing: stage_ = Stage::Verifying; group_ = -1; return next();
    case Stage::Verifying: return finish(Outcome::Done);
  }
}

void ConfigJob::onOperation(const OperationResult& r) {
  if (identityOperation_ && stage_ == Stage::Writing) {
    if (!running_ || r.operation != *identityOperation_) return;
    at(r.outcome == Outcome::Done ? result_.verified : result_.failed, ParamGroup::Network) |= 1u;
    return finish(r.outcome);
  }
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
  if (r.outcome == Outcome::HostGone) return hostGone(g, answered);
  switch (stage_) {
    case Stage::Reading:
      if (g == ParamGroup::Network && answered == 0) {  // the host is not there
        failRecords(g, at(which_, g));
        result_.hostAnswered = false;
        for (ParamGroup each : kAllGroups) at(result_.failed, each) |= at(which_, each);
        return finish(Outcome::NoAnswer);
      }
      at(readOk_, g) |= answered;
      failRecords(g, mask & ~answered);
      break;
    case Stage::Writing:
      failRecords(g, mask & ~answered);
      noteWritten(g, answered);  // the network settings, which no host acknowledges: sent
      if (options_.sendAsAsked && g != ParamGroup::Network) at(result_.verified, g) |= answered;
      break;
    case Stage::Verifying:
      checkReadBack(g, mask, answered);
      break;
  }
  next();
}

void ConfigJob::hostGone(ParamGroup g, std::uint32_t answered) {
  // Nothing more is asked of it: what this stage has not done yet fails.
  RecordMasks undone{};
  switch (stage_) {
    case Stage::Reading:
      at(readOk_, g) |= answered;
      undone = recordsWithout(which_, readOk_);
      break;
    case Stage::Writing:
      noteWritten(g, answered);
      undone = result_.notWritten();
      break;
    case Stage::Verifying:
      checkReadBack(g, answered, answered);
      undone = recordsWithout(recordsWithout(result_.written, result_.verified), result_.mismatched);
      break;
  }
  for (ParamGroup each : kAllGroups) at(result_.failed, each) |= at(undone, each);
  finish(Outcome::HostGone);
}

void ConfigJob::checkReadBack(ParamGroup g, std::uint32_t mask, std::uint32_t answered) {
  for (int k = 0; k < recordCountOf(g); ++k) {
    if (!((mask >> k) & 1u)) continue;
    if (!((answered >> k) & 1u))
      failRecords(g, 1u << k);
    else if (encodeRecord(session_.config(), g, k) == encodeRecord(target_, g, k))
      at(result_.verified, g) |= 1u << k;
    else
      at(result_.mismatched, g) |= 1u << k;
  }
}

void ConfigJob::compare() {
  // What the host holds: what this job read, and what was read from it before where the job read nothing.
  current_ = withRecords(session_.config(), session_.lastRead(), notRead_);
  for (ParamGroup g : kAllGroups) at(result_.failed, g) |= at(which_, g) & ~at(readOk_, g);
  asked_ = makeTarget_(current_);
  if (identityOperation_) {  // nothing of the records changes here; the network settings are kept in the history
    target_ = current_;
    result_.differing = commonRecords(which_, readOk_);
    emit compared(result_.differing);
    return proceed();
  }
  plan();
  waitingForConfirm_ = options_.confirm;
  emit compared(result_.differing);
  if (options_.dryRun) return finish(Outcome::Done);
  if (!options_.confirm) proceed();
}

void ConfigJob::plan() {
  RecordMasks readable = commonRecords(which_, readOk_);
  // Another host's network settings stay out unless asked for: they are
  // where that host is on the LAN. A host replacing another takes them.
  auto& network = at(readable, ParamGroup::Network);
  result_.networkLeftOut = network && !(at(own_, ParamGroup::Network) & 1u) && !options_.networkAsked &&
                           options_.identity == IdentityChoice::Keep;
  if (result_.networkLeftOut) network = 0;
  target_ = carryValues(asked_, readable, current_, own_, options_.identity);
  result_.keptIdentity = keptIdentity(asked_, readable, current_, own_, options_.identity);
  result_.differing = options_.sendAsAsked ? readable : differingRecords(current_, target_, readable);
}

void ConfigJob::setIdentity(IdentityChoice choice) {
  if (!waitingForConfirm_) return;
  options_.identity = choice;
  plan();
}

bool ConfigJob::saveHistory() {
  if (!options_.history || !anyRecord(result_.differing)) return true;
  ConfigFileHeader header;
  // The program, and the one that ran it when that says so (the browser page does).
  const QString caller = qEnvironmentVariable("QUENDRA_CALLER");
  header.savedBy = QCoreApplication::applicationName() + (caller.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(caller));
  header.user = operatingSystemUser();
  header.savedAt = QDateTime::currentDateTimeUtc();
  header.host = options_.host;
  header.host->mac = session_.target();
  // Whole groups, so that restoring gives each back whole.
  RecordMasks groups{};
  for (ParamGroup g : kAllGroups)
    if (at(result_.differing, g)) at(groups, g) = allRecordsOf(g);
  result_.historySaved = options_.history->save(current_, groups, header, &result_.historyError);
  // Nothing is written that could not be undone.
  if (!result_.historySaved) finish(Outcome::Cancelled);
  return result_.historySaved;
}

void ConfigJob::proceed() {
  if (!running_) return;
  waitingForConfirm_ = false;
  // Confirmed after another host was chosen: the records are not that host's to take.
  if (session_.target() != mac_) {
    result_.hostChanged = true;
    return finish(Outcome::Cancelled);
  }
  if (!saveHistory()) return;
  if (identityOperation_) {
    stage_ = Stage::Writing;
    if (*identityOperation_ == Operation::FactoryReset) return session_.factoryReset();
    if (session_.writeMac(newMac_)) {  // one no host can use
      at(result_.failed, ParamGroup::Network) |= 1u;
      finish(Outcome::NoAnswer);
    }
    return;
  }
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
  session_.stop();  // what still waits for the host ends too, as part of this job
  finish(Outcome::Cancelled);
}

void ConfigJob::finish(Outcome outcome) {
  if (!running_) return;
  running_ = false;
  waitingForConfirm_ = false;
  lockRetry_.stop();
  lock_.reset();
  result_.outcome = outcome == Outcome::Done && (anyRecord(result_.failed) || anyRecord(result_.mismatched))
                        ? Outcome::NoAnswer
                        : outcome;
  emit finished(result_);
}

}  // namespace quendra
