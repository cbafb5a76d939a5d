#include "session/host_session.h"

#include <algorithm>
#include <utility>

#include "link/tunnel_frame.h"
#include "records/field_text.h"
#include "records/host_identity.h"
#include "session/reply_router.h"

namespace quendra {

using namespace std::chrono_literals;

HostSession::HostSession(ReplyRouter& router, QObject* parent)
    : QObject(parent),
      router_(router),
      batches_(std::make_unique<BatchRunner>([this](std::uint8_t command) {
        const auto c = classifyTunnelCommand(command);
        awaitedSent();
        if (c) sendTunnel(command, c->isWrite ? encodeRecord(config_, c->group, c->index) : Bytes{});
      }, answerTimes_)) {
  connect(batches_.get(), &BatchRunner::batchEvent, this, &HostSession::onBatchEvent);
  connect(batches_.get(), &BatchRunner::waitRanOut, this, &HostSession::checkSilence);
  probeTimer_.setSingleShot(true);
  probeTimer_.setTimerType(Qt::PreciseTimer);
  connect(&probeTimer_, &QTimer::timeout, this, &HostSession::probeTimedOut);
  setPolicy(policy_);
  router_.attach(this);
}

HostSession::~HostSession() { router_.detach(this); }

void HostSession::setPolicy(const SessionPolicy& policy) {
  policy_ = policy;
  answerTimes_.setAdaptive(policy.adaptiveWaits);
  for (int k = 0; k < kBatchKindCount; ++k) {
    const auto kind = static_cast<BatchKind>(k);
    batches_->setPolicy(kind, isWriteKind(kind) ? policy.writeOf(groupOf(kind)) : policy.readOf(groupOf(kind)));
  }
}

void HostSession::setTarget(const Mac& mac) {
  if (mac == target_) return;
  // Batches end before the target changes: none sends a record to the new host.
  batches_->cancelAll();
  finishAllSingles(Outcome::Cancelled);
  endSilence();  // nothing more is awaited of the host before
  answeredOnce_ = false;
  for (Pending& p : pending_) p.unacknowledged = false;
  target_ = mac;
  lastRead_ = HostConfig{};
  own_ = RecordMasks{};
  answerTimes_.forget();
  emit targetChanged(mac);
}

bool HostSession::groupFlag(ParamGroup group) const {
  switch (group) {
    case ParamGroup::Network: return flags_.networkRead;
    case ParamGroup::Base: return flags_.baseRead;
    case ParamGroup::Gprs: return flags_.gprsRead;
    case ParamGroup::Led: return flags_.ledRead;
    case ParamGroup::Channel: return flags_.channelRead;
    case ParamGroup::Modbus: return flags_.modbusRead;
    case ParamGroup::Relay: return flags_.relayRead;
  }
  return false;
}

void HostSession::setReadFlag(ParamGroup group) {
  switch (group) {
    case ParamGroup::Network: flags_.networkRead = true; break;
    case ParamGroup::Base: flags_.baseRead = true; break;
    case ParamGroup::Gprs: flags_.gprsRead = true; break;
    case ParamGroup::Led: flags_.ledRead = true; break;
    default: break;  // the batch groups' flags follow their passes
  }
}

std::optional<Refusal> HostSession::readRefusal(ParamGroup group) const {
  if (group != ParamGroup::Network && !flags_.networkRead) return Refusal::NetworkNotRead;
  return std::nullopt;
}

std::optional<Refusal> HostSession::writeRefusal(ParamGroup group) const {
  // A network write needs this host's own settings, read since it was chosen:
  // their unnamed bytes go back as it reported them, never another host's.
  if (group == ParamGroup::Network) return lastRead_.isKnown(group) ? std::nullopt : std::optional(Refusal::NetworkNotRead);
  if (!groupFlag(group)) return Refusal::GroupNotRead;
  return std::nullopt;
}

std::optional<Refusal> HostSession::read(ParamGroup group, std::uint32_t records) {
  if (auto refusal = readRefusal(group)) return refusal;
  if (isBatchGroup(group)) {
    const BatchKind kind = batchKindOf(group, false);
    if (!batches_->start(kind, records)) return Refusal::Busy;
    stoppedByGate_[static_cast<int>(kind)] = false;
    return std::nullopt;
  }
  startSingle(group, false, false);
  return std::nullopt;
}

std::optional<Refusal> HostSession::write(ParamGroup group, std::uint32_t records) {
  if (auto refusal = writeRefusal(group)) return refusal;
  return startWrite(group, records, false);
}

std::optional<Refusal> HostSession::writeRecords(ParamGroup group, std::uint32_t records) {
  records &= allRecordsOf(group);
  if (records == 0 || (config_.knownRecords(group) & records) != records) return Refusal::GroupNotRead;
  return startWrite(group, records, /*awaitAck=*/true);
}

std::optional<Refusal> HostSession::startWrite(ParamGroup group, std::uint32_t records, bool awaitAck) {
  records &= allRecordsOf(group);
  if (isBatchGroup(group)) {
    const BatchKind kind = batchKindOf(group, true);
    if (batches_->planner().busy(kind)) return Refusal::Busy;
    emit aboutToWrite(group, records);
    batches_->start(kind, records);
    stoppedByGate_[static_cast<int>(kind)] = false;
    return std::nullopt;
  }
  emit aboutToWrite(group, records);
  startSingle(group, true, awaitAck);
  return std::nullopt;
}

void HostSession::stop() {
  batches_->cancelAll();
  finishAllSingles(Outcome::Cancelled);
  endSilence();
}

void HostSession::factoryReset() {
  router_.sendToAll(OuterFrame::buildFactoryResetRequest(target_));
  forgetNetwork();
  verifyByNetworkRead(Operation::FactoryReset);
}

std::optional<Refusal> HostSession::writeMac(const Mac& newMac) {
  if (!isUsableHostMac(newMac)) return Refusal::UnusableMac;
  router_.sendToAll(OuterFrame::buildWriteMacRequest(target_, newMac));
  forgetNetwork();
  if (policyOf(ParamGroup::Network, true).timeout.count() > 0) setTarget(newMac);
  verifyByNetworkRead(Operation::WriteMac);
  return std::nullopt;
}

void HostSession::forgetNetwork() {
  lastRead_.known[static_cast<int>(ParamGroup::Network)] = 0;
  own_[static_cast<int>(ParamGroup::Network)] = 0;
}

void HostSession::verifyByNetworkRead(Operation operation) {
  if (policyOf(ParamGroup::Network, true).timeout.count() == 0) {
    emit finished(OperationResult{operation, ParamGroup::Network, Outcome::Done, 0});
    return;
  }
  verifying_ = operation;
  startSingle(ParamGroup::Network, false, false);
}

bool HostSession::idle() const {
  if (batches_->running()) return false;
  for (const Pending& p : pending_)
    if (p.active) return false;
  return true;
}

HostSession::Pending& HostSession::pendingOf(ParamGroup group, bool write) {
  return pending_[static_cast<int>(group) * 2 + (write ? 1 : 0)];
}

void HostSession::startSingle(ParamGroup group, bool write, bool awaitAck) {
  const AttemptPolicy& policy = policyOf(group, write);
  // A write the policy does not wait for is done once sent, unless a job awaits its acknowledgement (the version
  // gate may refuse it) as long as a read waits. Hosts never acknowledge a network write.
  const AttemptPolicy& waited = policy.timeout.count() > 0 || !awaitAck ? policy : policyOf(group, false);
  const bool awaited = waited.timeout.count() > 0 && !(write && group == ParamGroup::Network);
  Pending& p = pendingOf(group, write);
  p.unacknowledged = write && !awaited;
  if (!awaited) {
    sendSingle(group, write);
    emit finished(OperationResult{write ? Operation::Write : Operation::Read, group, Outcome::Done, 0});
    return;
  }
  if (!p.active) p.sends = 0;
  p.active = true;
  p.ceiling = waited.timeout;
  p.budget = AttemptBudget::of(waited.attempts, waited.timeout);  // a second press while one waits starts it again
  if (!p.timer) {
    p.timer = std::make_unique<QTimer>();
    p.timer->setSingleShot(true);
    p.timer->setTimerType(Qt::PreciseTimer);
    connect(p.timer.get(), &QTimer::timeout, this, [this, group, write] { singleTimedOut(group, write); });
  }
  sendAndWait(group, write);
}

void HostSession::sendAndWait(ParamGroup group, bool write) {
  Pending& p = pendingOf(group, write);
  p.wait = p.budget.waitFor(answerTimes_.wait(group, write, p.ceiling));
  p.timer->start(p.wait);
  if (++p.sends > 1) emit resent(group, 0, write);
  p.sentAt.start();
  awaitedSent();
  sendSingle(group, write);
}

void HostSession::sendSingle(ParamGroup group, bool write) {
  if (group == ParamGroup::Network) {
    router_.sendToAll(write ? OuterFrame::buildWriteNetworkRequest(target_, networkToWrite().bytes)
                            : OuterFrame::buildReadNetworkRequest(target_));
    return;
  }
  if (write)
    sendTunnel(writeCommandOf(group), encodeRecord(config_, group));
  else
    sendTunnel(readCommandOf(group));
}

NetworkParams HostSession::networkToWrite() const {
  // Settings from elsewhere (a file of another host) go with the bytes no
  // field names as this host last reported them: those never cross.
  if ((own_[static_cast<int>(ParamGroup::Network)] & 1u) || !lastRead_.isKnown(ParamGroup::Network)) return config_.network;
  RecordMasks network{};
  network[static_cast<int>(ParamGroup::Network)] = 1;
  return carryValues(config_, network, lastRead_, RecordMasks{}, IdentityChoice::Replace).network;
}

void HostSession::singleTimedOut(ParamGroup group, bool write) {
  Pending& p = pendingOf(group, write);
  if (!p.active) return;
  answerTimes_.timedOut(group, write);
  checkSilence();
  if (!p.active) return;  // the host is gone
  if (p.budget.spend(p.wait)) {
    finishSingle(group, write, Outcome::NoAnswer);
    return;
  }
  sendAndWait(group, write);
}

void HostSession::finishSingle(ParamGroup group, bool write, Outcome outcome) {
  Pending& p = pendingOf(group, write);
  if (!p.active) return;
  p.active = false;
  p.timer->stop();
  if (outcome == Outcome::Done)
    answerTimes_.answered(group, write, p.sends,
                          std::chrono::duration_cast<Micros>(std::chrono::nanoseconds(p.sentAt.nsecsElapsed())));
  // Taken before the read's result goes out: a job may start the reset it reads for from there.
  const auto verified = group == ParamGroup::Network && !write ? std::exchange(verifying_, std::nullopt) : std::nullopt;
  emit finished(OperationResult{write ? Operation::Write : Operation::Read, group, outcome,
                                outcome == Outcome::Done ? 0u : 1u});
  if (verified) emit finished(OperationResult{*verified, group, outcome, outcome == Outcome::Done ? 0u : 1u});
}

void HostSession::finishAllSingles(Outcome outcome) {
  for (ParamGroup g : kAllGroups)
    for (bool write : {false, true}) finishSingle(g, write, outcome);
}

const AttemptPolicy& HostSession::policyOf(ParamGroup group, bool write) const {
  return write ? policy_.writeOf(group) : policy_.readOf(group);
}

void HostSession::sendTunnel(std::uint8_t command, ByteView payload) {
  const Bytes datagram = OuterFrame::buildTunnelRequest(target_, TunnelFrame::buildRequest(command, payload));
  if (!datagram.empty()) router_.sendToAll(datagram);
}

void HostSession::awaitedSent() {
  if (!silentSince_.isValid()) silentSince_.start();
}

void HostSession::heardFromHost() {
  answeredOnce_ = true;
  endSilence();
}

void HostSession::endSilence() {
  silentSince_.invalidate();
  probeTimer_.stop();
}

void HostSession::checkSilence() {
  const AttemptPolicy& network = policyOf(ParamGroup::Network, false);
  // As long as a read of the network settings may take, and never less than
  // a few seconds: a host busy for a moment, or a link that drops for a
  // second or two (a switch relearning its ports), is not gone. A little
  // below the whole time, as the wait that spends a budget may end a moment
  // before the clock, which started as the request went out.
  const Millis limit = std::max<Millis>(AttemptBudget::of(network.attempts, network.timeout).left(), kLeastSilence) - 2ms;
  if (!policy_.adaptiveWaits || !answeredOnce_ || network.timeout.count() == 0 || probeTimer_.isActive() ||
      !silentSince_.isValid() || silentSince_.elapsed() < limit.count())
    return;
  probesLeft_ = kProbes;
  sendProbe();
}

void HostSession::sendProbe() {
  --probesLeft_;
  const AttemptPolicy& network = policyOf(ParamGroup::Network, false);
  probeTimer_.start(answerTimes_.wait(ParamGroup::Network, false, network.timeout));
  router_.sendToAll(OuterFrame::buildReadNetworkRequest(target_));
}

void HostSession::probeTimedOut() {
  if (probesLeft_ > 0) return sendProbe();
  endSilence();  // the clock starts anew with whatever is asked of the host next
  batches_->giveUpAll();
  finishAllSingles(Outcome::HostGone);
}

void HostSession::onNetworkReply(ByteView record) {
  heardFromHost();
  if (!pendingOf(ParamGroup::Network, false).active) return;  // not asked for by this session
  if (!decodeRecord(config_, ParamGroup::Network, 0, record)) return;
  decodeRecord(lastRead_, ParamGroup::Network, 0, record);
  own_[static_cast<int>(ParamGroup::Network)] |= 1u;
  flags_.networkRead = true;
  emit recordArrived(ParamGroup::Network, 0);
  finishSingle(ParamGroup::Network, false, Outcome::Done);
}

bool HostSession::answersOpenRequest(const TunnelCommand& c) {
  if (isBatchGroup(c.group)) return batches_->planner().isOpen(batchKindOf(c.group, c.isWrite), c.index);
  Pending& p = pendingOf(c.group, c.isWrite);
  return p.active || std::exchange(p.unacknowledged, false);
}

void HostSession::onTunnelReply(const TunnelCommand& command, ByteView payload) {
  heardFromHost();
  // A reply another PC asked for, or a late duplicate of a record that is
  // done, must not overwrite what the operator has typed since.
  if (!answersOpenRequest(command)) return;
  if (command.isWrite) {
    // What the host acknowledged is what it holds now: this host's own values.
    if (config_.isKnown(command.group, command.index)) {
      decodeRecord(lastRead_, command.group, command.index, encodeRecord(config_, command.group, command.index));
      own_[static_cast<int>(command.group)] |= 1u << command.index;
    }
    emit writeAcknowledged(command.group, command.index);
  } else {
    if (!decodeRecord(config_, command.group, command.index, payload)) return;
    decodeRecord(lastRead_, command.group, command.index, payload);
    own_[static_cast<int>(command.group)] |= 1u << command.index;
    setReadFlag(command.group);
    emit recordArrived(command.group, command.index);
  }
  if (isBatchGroup(command.group))
    batches_->markAnswered(batchKindOf(command.group, command.isWrite), command.index);
  else
    finishSingle(command.group, command.isWrite, Outcome::Done);
}

void HostSession::onVersionRefused() {
  heardFromHost();
  // Every batch ends refused: the pass in hand once its record in hand is
  // waited out, the passes still waiting their turn without beginning.
  for (int k = 0; k < kBatchKindCount; ++k) {
    const auto kind = static_cast<BatchKind>(k);
    if (batches_->planner().pending(kind) != 0 || batches_->planner().activeKind() == kind) stoppedByGate_[k] = true;
  }
  batches_->stopAll();
  finishAllSingles(Outcome::VersionRefused);
  emit versionRefused();
}

void HostSession::onBatchEvent(const BatchEvent& e) {
  emit batchEvent(e);
  if (e.stage == BatchEvent::Stage::Sending && e.attempt > 1) emit resent(groupOf(e.kind), e.record, isWriteKind(e.kind));
  const bool channelRead = e.kind == BatchKind::ChannelRead;
  if (e.stage == BatchEvent::Stage::Failed && channelRead) flags_.channelRead = false;
  if (e.stage != BatchEvent::Stage::Finished) return;
  switch (e.kind) {
    case BatchKind::ChannelRead: flags_.channelRead = e.allAnswered; break;
    case BatchKind::RelayRead: flags_.relayRead = flags_.relayRead || e.allAnswered; break;
    case BatchKind::ModbusRead: flags_.modbusRead = flags_.modbusRead || e.allAnswered; break;
    default: break;
  }
  Outcome outcome = Outcome::Done;
  if (e.cancelled)
    outcome = Outcome::Cancelled;
  else if (e.hostGone)
    outcome = Outcome::HostGone;
  else if (!e.allAnswered)
    outcome = stoppedByGate_[static_cast<int>(e.kind)] ? Outcome::VersionRefused : Outcome::NoAnswer;
  emit finished(OperationResult{isWriteKind(e.kind) ? Operation::Write : Operation::Read, groupOf(e.kind), outcome,
                                e.failed});
}

}  // namespace quendra
