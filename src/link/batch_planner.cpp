#include "link/batch_planner.h"

namespace quendra {
namespace {

std::uint32_t bitOf(int record) { return 1u << record; }

}  // namespace

bool BatchPlanner::start(BatchKind kind, std::uint32_t records) {
  const int k = index(kind);
  records &= allRecordsOf(groupOf(kind));
  if (records == 0 || busy(kind)) return false;
  answered_[k] = 0;
  requested_[k] = records;
  pending_[k] = records;
  cancelled_[k] = false;
  gone_[k] = false;
  return true;
}

void BatchPlanner::owePasses() {
  for (int k = 0; k < kBatchKindCount; ++k)
    if (k != active_ && pending_[k] != 0) owed_[k] = true;
  pending_.fill(0);
}

void BatchPlanner::stopAll() { owePasses(); }

void BatchPlanner::cancelAll() { endAll(cancelled_); }

void BatchPlanner::giveUpAll() { endAll(gone_); }

void BatchPlanner::endAll(std::array<bool, kBatchKindCount>& ended) {
  for (int k = 0; k < kBatchKindCount; ++k)
    if (pending_[k] != 0 || k == active_) ended[k] = true;
  owePasses();
  // The record in hand is given up now: its answer is no longer awaited.
  waiting_ = false;
  open_ = false;
}

BatchPlanner::Step BatchPlanner::finishPass(int kind) {
  Step step;
  step.action = Step::Action::FinishPass;
  step.kind = static_cast<BatchKind>(kind);
  step.failed = requested_[kind] & ~answered_[kind];
  step.done = requested_[kind] & answered_[kind];
  step.allAnswered = step.failed == 0;
  step.cancelled = cancelled_[kind];
  step.hostGone = gone_[kind];
  owed_[kind] = false;
  return step;
}

BatchPlanner::Step BatchPlanner::next() {
  Step step;
  if (waiting_) return step;
  if (active_ < 0) {
    for (int k = 0; k < kBatchKindCount; ++k)
      if (owed_[k]) return finishPass(k);
    for (int k = 0; k < kBatchKindCount && active_ < 0; ++k)
      if (pending_[k] != 0) active_ = k;
    if (active_ < 0) return step;
    record_ = 0;
    tries_ = 0;
  }
  const auto kind = static_cast<BatchKind>(active_);
  step.kind = kind;
  const int records = recordCountOf(groupOf(kind));
  while (record_ < records && (pending_[active_] & bitOf(record_)) == 0) ++record_;
  if (record_ >= records) {
    step = finishPass(active_);
    active_ = -1;
    record_ = 0;
    tries_ = 0;
    open_ = false;
    return step;
  }
  open_ = true;
  if (tries_ == 0) left_ = AttemptBudget(budget_[active_]);
  step.action = Step::Action::Send;
  step.record = record_;
  step.attempt = tries_ + 1;
  step.budgetLeft = left_.left();
  return step;
}

bool BatchPlanner::sent() {
  if (active_ < 0 || !open_) return false;  // cancelled while it was sent
  if (answered_[active_] & bitOf(record_)) return recordDone();
  waiting_ = true;
  return false;
}

bool BatchPlanner::markAnswered(BatchKind kind, int record) {
  if (!isOpen(kind, record)) return false;
  answered_[index(kind)] |= bitOf(record);
  // Answered during its own send: sent() finds the bit and ends the record.
  if (!waiting_) return false;
  return recordDone();
}

bool BatchPlanner::recordDone() {
  waiting_ = false;
  open_ = false;
  pending_[active_] &= ~bitOf(record_);
  tries_ = 0;
  ++record_;
  return true;
}

bool BatchPlanner::timedOut(Millis waited) {
  if (!waiting_) return false;
  waiting_ = false;
  ++tries_;
  if (!left_.spend(waited)) return false;  // the same record again, unless the gate emptied its bit
  open_ = false;
  pending_[active_] &= ~bitOf(record_);
  tries_ = 0;
  ++record_;
  return true;
}

bool BatchPlanner::running() const {
  if (active_ >= 0) return true;
  for (int k = 0; k < kBatchKindCount; ++k)
    if (pending_[k] != 0 || owed_[k]) return true;
  return false;
}

std::optional<BatchKind> BatchPlanner::activeKind() const {
  if (active_ < 0) return std::nullopt;
  return static_cast<BatchKind>(active_);
}

}  // namespace quendra
