#pragma once
// How long to wait for a host's answer, learned from its answers as TCP learns
// a round trip (smoothed answer time and its variation), and how long a
// record keeps being sent again. No clock of its own: callers measure the
// answer times and keep the timers. Qt-free.
#include <array>
#include <chrono>
#include <optional>

#include "link/tunnel_commands.h"

namespace quendra {

using Micros = std::chrono::microseconds;
using Millis = std::chrono::milliseconds;

// One host and one kind of request.
class AnswerTimeEstimator {
 public:
  // The least margin above the smoothed answer time: a host that always
  // answers in the same time would otherwise get a wait just above it, and
  // the timers' own jitter would send again.
  static constexpr Millis kFloor{30};

  // The answer of a request that went out `sends` times came `sinceLast`
  // after the last of them. Only a request sent once gives a sample: the
  // answer of one sent again may answer any of them (Karn's rule).
  void answered(int sends, Micros sinceLast);
  // A wait ran out: after three that did, waits double (up to the ceiling) until the record is
  // answered, or after records that all needed resends, until a first
  // attempt is answered.
  void timedOut();
  // The wait for the next request: until the first sample `prior` (what the
  // host's other answers say; none: `ceiling`, the policy's wait), then
  // baseWait(); doubled per wait that ran out beyond three, at most `ceiling`. Whole
  // milliseconds, rounded up.
  Millis wait(Millis ceiling, std::optional<Micros> prior = std::nullopt) const;
  // Once learned: smoothed + max(4 x variation, kFloor).
  Micros baseWait() const;

  bool learned() const { return learned_; }
  Micros smoothed() const { return smoothed_; }
  Micros variation() const { return variation_; }

 private:
  bool learned_ = false;
  Micros smoothed_{0};
  Micros variation_{0};
  int backoff_ = 0;        // waits that ran out (the first three do not double)
  int resentInARow_ = 0;   // records answered only after a resend since the last sample
};

// What is left of a record's time: attempts x the policy's wait. A request
// waits at most what is left; the record is abandoned once it is spent.
class AttemptBudget {
 public:
  AttemptBudget() = default;
  explicit AttemptBudget(Millis total) : left_(total) {}
  static AttemptBudget of(int attempts, Millis wait) { return AttemptBudget(wait * (attempts < 1 ? 1 : attempts)); }

  Millis waitFor(Millis wanted) const { return wanted < left_ ? wanted : left_; }
  // A wait of `waited` ran out; true when nothing is left.
  bool spend(Millis waited) {
    left_ -= waited;
    return left_ <= Millis::zero();
  }
  Millis left() const { return left_; }

 private:
  Millis left_{0};
};

// The estimators of one host: single records, channels, relays and ModBus
// slots each have a pace of their own, reads and writes apart. With fixed
// waits every wait is the policy's ceiling, learned or not.
class AnswerTimes {
 public:
  void setAdaptive(bool adaptive) { adaptive_ = adaptive; }
  bool adaptive() const { return adaptive_; }
  // Another host: nothing learned holds for it.
  void forget() { estimators_ = {}; }

  // A kind the host has not answered yet starts from what its answers of
  // the other kinds say (see prior()); its own answers take over.
  Millis wait(ParamGroup group, bool write, Millis ceiling) const {
    return adaptive_ ? of(group, write).wait(ceiling, prior()) : ceiling;
  }
  // Twice the slowest base wait the host's answers have taught so far: the
  // kinds of one host travel the same link to the same firmware, and the
  // margin keeps a kind that is somewhat slower from being sent again
  // before it can answer. None before any answer.
  std::optional<Micros> prior() const;
  void answered(ParamGroup group, bool write, int sends, Micros sinceLast) {
    of(group, write).answered(sends, sinceLast);
  }
  void timedOut(ParamGroup group, bool write) { of(group, write).timedOut(); }

  const AnswerTimeEstimator& of(ParamGroup group, bool write) const { return estimators_[index(group, write)]; }
  AnswerTimeEstimator& of(ParamGroup group, bool write) { return estimators_[index(group, write)]; }

 private:
  static int index(ParamGroup group, bool write) {
    const int kind = group == ParamGroup::Channel ? 1
                     : group == ParamGroup::Relay ? 2
                     : group == ParamGroup::Modbus ? 3
                                                   : 0;  // the single records
    return kind * 2 + (write ? 1 : 0);
  }

  bool adaptive_ = true;
  std::array<AnswerTimeEstimator, 8> estimators_{};
};

}  // namespace quendra
