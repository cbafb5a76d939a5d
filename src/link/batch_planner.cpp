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
  return true;
}

BatchPlanner::Step BatchPlanner::next() {
  Step step;
  if (waiting_) return step;
  if (active_ < 0) {
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
    const std::uint32_t missing = requested_[active_] & ~answered_[active_];
    step.action = Step::Action::FinishPass;
    step.allAnswered = missing == 0;
    step.failed = missing;
    active_ = -1;
    record_ = 0;
    tries_ = 0;
    return step;
  }
  if (tries_ == 0) left_ = AttemptBudget(budget_[active_]);
  step.action = Step::Action::Send;
  step.record = record_;
  step.attempt = tries_ + 1;
  step.budgetLeft = left_.left();
  return step;
}

bool BatchPlanner::sent() {
  if (active_ < 0) return false;
  if (answered_[active_] & bitOf(record_)) return recordDone();
  waiting_ = true;
  return false;
}

bool BatchPlanner::markAnswered(BatchKind kind, int record) {
  if (record < 0 || record >= recordCountOf(groupOf(kind))) return false;
  answered_[index(kind)] |= bitOf(record);
  if (!waiting_ || active_ != index(kind) || record_ != record) return false;
  return recordDone();
}

bool BatchPlanner::recordDone() {
  waiting_ = false;
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
  pending_[active_] &= ~bitOf(record_);
  tries_ = 0;
  ++record_;
  return true;
}

bool BatchPlanner::running() const {
  if (active_ >= 0) return true;
  for (std::uint32_t p : pending_)
    if (p != 0) return true;
  return false;
}

std::optional<BatchKind> BatchPlanner::activeKind() const {
  if (active_ < 0) return std::nullopt;
  return static_cast<BatchKind>(active_);
}

}  // namespace quendra
