#include "link/answer_time_estimator.h"

#include <algorithm>

namespace quendra {
namespace {

constexpr int kMaxBackoff = 20;  // 2^(20 - 3) x the base passes any ceiling
// Under 30 % loss three records in a row need a resend 2.7 % of the time.
constexpr int kResentInARowOfASlowHost = 3;
constexpr int kPriorMargin = 2;
// Waits that run out before the doubling begins. A LAN loses requests at
// random, not because the host is slow: the next attempt is as likely to get
// through after the same wait, and doubling at once made a record lost five
// times cost 31 x 31 ms rather than 6 x 31. A host slower than learned still
// meets doubled waits from the fifth attempt on.
constexpr int kSteadyResends = 3;

}  // namespace

void AnswerTimeEstimator::answered(int sends, Micros sinceLast) {
  if (sinceLast < Micros::zero()) sinceLast = Micros::zero();
  if (sends == 1) {
    // RFC 6298: the first sample sets the smoothed time and half of it as
    // variation; later ones move them by 1/8 and 1/4.
    if (!learned_) {
      smoothed_ = sinceLast;
      variation_ = sinceLast / 2;
      learned_ = true;
    } else {
      const Micros error = smoothed_ > sinceLast ? smoothed_ - sinceLast : sinceLast - smoothed_;
      variation_ = (3 * variation_ + error) / 4;
      smoothed_ = (7 * smoothed_ + sinceLast) / 8;
    }
    backoff_ = 0;
    resentInARow_ = 0;
    return;
  }
  // No sample. On a link that loses requests, the answer of the last one
  // sent: the next record starts from the undoubled wait. Three records in a
  // row that needed resends rather show a host slower than learned, whose
  // answers come after each wait: the doubled wait stays, so that a first
  // attempt can be answered and teach the new pace.
  if (++resentInARow_ < kResentInARowOfASlowHost) backoff_ = 0;
}

void AnswerTimeEstimator::timedOut() { backoff_ = std::min(backoff_ + 1, kMaxBackoff); }

Micros AnswerTimeEstimator::baseWait() const {
  return smoothed_ + std::max<Micros>(4 * variation_, kFloor);
}

Millis AnswerTimeEstimator::wait(Millis ceiling, std::optional<Micros> prior) const {
  if (!learned_ && !prior) return ceiling;
  const int doublings = std::max(0, backoff_ - kSteadyResends);
  const Micros doubled = (learned_ ? baseWait() : *prior) * (std::int64_t{1} << doublings);
  const Millis rounded = std::chrono::ceil<Millis>(doubled);
  return std::min(rounded, ceiling);
}

std::optional<Micros> AnswerTimes::prior() const {
  std::optional<Micros> slowest;
  for (const AnswerTimeEstimator& e : estimators_)
    if (e.learned() && (!slowest || e.baseWait() > *slowest)) slowest = e.baseWait();
  if (slowest) *slowest *= kPriorMargin;
  return slowest;
}

}  // namespace quendra
