#include "session/batch_runner.h"

namespace quendra {

BatchRunner::BatchRunner(Sender send, AnswerTimes& answerTimes, QObject* parent)
    : QObject(parent), send_(std::move(send)), answerTimes_(answerTimes) {
  const SessionPolicy defaults = SessionPolicy::windowDefaults();
  for (int k = 0; k < kBatchKindCount; ++k) {
    const auto kind = static_cast<BatchKind>(k);
    setPolicy(kind, isWriteKind(kind) ? defaults.writeOf(groupOf(kind)) : defaults.readOf(groupOf(kind)));
  }
  attemptTimer_.setSingleShot(true);
  attemptTimer_.setTimerType(Qt::PreciseTimer);
  connect(&attemptTimer_, &QTimer::timeout, this, &BatchRunner::attemptTimedOut);
  stepTimer_.setSingleShot(true);
  stepTimer_.setInterval(0);
  connect(&stepTimer_, &QTimer::timeout, this, &BatchRunner::step);
}

void BatchRunner::setPolicy(BatchKind kind, const AttemptPolicy& policy) {
  ceiling_[static_cast<int>(kind)] = policy.timeout;
  planner_.setBudget(kind, AttemptBudget::of(policy.attempts, policy.timeout).left());
}

bool BatchRunner::start(BatchKind kind, std::uint32_t records) {
  const bool idle = !planner_.activeKind();
  if (!planner_.start(kind, records)) return false;
  if (idle) scheduleStep();
  return true;
}

void BatchRunner::markAnswered(BatchKind kind, int record) {
  if (!planner_.markAnswered(kind, record)) return;
  attemptTimer_.stop();
  answerTimes_.answered(groupOf(kind), isWriteKind(kind), inHand_.attempt,
                        std::chrono::duration_cast<Micros>(std::chrono::nanoseconds(sentAt_.nsecsElapsed())));
  report(BatchEvent::Stage::Answered, inHand_);
  scheduleStep();
}

void BatchRunner::stopAll() {
  planner_.stopAll();
  // Kinds waiting behind the pass in hand end as soon as nothing is awaited.
  if (!planner_.waiting()) scheduleStep();
}

void BatchRunner::cancelAll() { endAll(&BatchPlanner::cancelAll); }

void BatchRunner::giveUpAll() { endAll(&BatchPlanner::giveUpAll); }

void BatchRunner::endAll(void (BatchPlanner::*end)()) {
  if (!planner_.running()) return;
  (planner_.*end)();
  attemptTimer_.stop();
  stepTimer_.stop();
  // Every kind reports its end before this returns, so nothing of the
  // cancelled batches can follow what the caller does next.
  for (BatchPlanner::Step s = planner_.next(); s.action == BatchPlanner::Step::Action::FinishPass; s = planner_.next())
    report(BatchEvent::Stage::Finished, s);
}

// Sends the next pending record, ends a pass, or begins the pass of the
// first pending kind.
void BatchRunner::step() {
  const BatchPlanner::Step s = planner_.next();
  switch (s.action) {
    case BatchPlanner::Step::Action::Idle: return;
    case BatchPlanner::Step::Action::FinishPass:
      report(BatchEvent::Stage::Finished, s);
      scheduleStep();  // the next pending kind, if any
      return;
    case BatchPlanner::Step::Action::Send: break;
  }
  inHand_ = s;
  report(BatchEvent::Stage::Sending, s);
  sentAt_.start();
  send_(commandOf(s.kind, s.record));
  report(BatchEvent::Stage::Sent, s);
  // An answer that came in before this point (during the send, or a late or
  // duplicate reply of an earlier attempt) answers the record at once.
  if (planner_.sent()) {
    report(BatchEvent::Stage::Answered, s);
    scheduleStep();
    return;
  }
  const Millis ceiling = ceiling_[static_cast<int>(s.kind)];
  wait_ = std::min(answerTimes_.wait(groupOf(s.kind), isWriteKind(s.kind), ceiling), s.budgetLeft);
  attemptTimer_.start(wait_);
}

void BatchRunner::attemptTimedOut() {
  if (!planner_.waiting()) return;
  answerTimes_.timedOut(groupOf(inHand_.kind), isWriteKind(inHand_.kind));
  emit waitRanOut();
  if (!planner_.waiting()) return;  // every batch ended meanwhile
  if (planner_.timedOut(wait_)) report(BatchEvent::Stage::Failed, inHand_);
  // Otherwise the same record again, unless the version gate emptied its bit.
  scheduleStep();
}

void BatchRunner::report(BatchEvent::Stage stage, const BatchPlanner::Step& s) {
  emit batchEvent(BatchEvent{stage, s.kind, s.record, s.attempt, s.allAnswered, s.failed, s.done, s.cancelled, s.hostGone});
}

}  // namespace quendra
