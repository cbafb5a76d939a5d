#pragma once
// What a batch of records does next, without timers or sockets: channels,
// relays and ModBus slots travel one record per tunnel exchange. A batch marks
// its records pending; one pass serves one kind at a time, in priority order
// (channel read, channel write, relay read, relay write, ModBus read, ModBus
// write); each record is sent, waited for, and sent again while its time
// budget (attempts x the policy's wait) is not spent, then abandoned. The
// caller sends what next() says, chooses each wait within the budget, reports
// answers and time-outs, and keeps the clock.
#include <array>
#include <cstdint>
#include <optional>

#include "link/answer_time_estimator.h"
#include "link/tunnel_commands.h"

namespace quendra {

enum class BatchKind { ChannelRead, ChannelWrite, RelayRead, RelayWrite, ModbusRead, ModbusWrite };
constexpr int kBatchKindCount = 6;

constexpr ParamGroup groupOf(BatchKind kind) {
  switch (kind) {
    case BatchKind::ChannelRead:
    case BatchKind::ChannelWrite: return ParamGroup::Channel;
    case BatchKind::RelayRead:
    case BatchKind::RelayWrite: return ParamGroup::Relay;
    default: return ParamGroup::Modbus;
  }
}
constexpr bool isWriteKind(BatchKind kind) {
  return kind == BatchKind::ChannelWrite || kind == BatchKind::RelayWrite || kind == BatchKind::ModbusWrite;
}
// The kind that moves `group` (Channel, Relay or Modbus) in that direction.
constexpr BatchKind batchKindOf(ParamGroup group, bool write) {
  const int base = group == ParamGroup::Channel ? 0 : group == ParamGroup::Relay ? 2 : 4;
  return static_cast<BatchKind>(base + (write ? 1 : 0));
}
constexpr std::uint8_t commandOf(BatchKind kind, int record) {
  return isWriteKind(kind) ? writeCommandOf(groupOf(kind), record) : readCommandOf(groupOf(kind), record);
}

class BatchPlanner {
 public:
  struct Step {
    enum class Action { Idle, Send, FinishPass };
    Action action = Action::Idle;
    BatchKind kind = BatchKind::ChannelRead;
    int record = 0;            // Send: the record to send
    int attempt = 0;           // Send: 1 for the first request of the record
    Millis budgetLeft{0};      // Send: the longest its wait may be
    bool allAnswered = false;  // FinishPass: every requested record answered
    std::uint32_t failed = 0;  // FinishPass: requested records without an answer
    std::uint32_t done = 0;    // FinishPass: requested records answered
    bool cancelled = false;    // FinishPass: the batch was cancelled (cancelAll)
    bool hostGone = false;     // FinishPass: ended because the host stopped answering (giveUpAll)
  };

  // The time each record of the kind gets: it is sent at least once, and
  // again after each wait that runs out while some of it is left.
  void setBudget(BatchKind kind, Millis total) { budget_[index(kind)] = total; }

  // Marks `records` of the kind pending and forgets its answers. False,
  // changing nothing, while a batch of the kind is pending or its pass still
  // waits out the record in hand (after stopAll): a new batch must not be
  // mixed into the end of the old pass.
  bool start(BatchKind kind, std::uint32_t records);

  // What to do while no request is waiting for its answer: send the next
  // pending record of the pass in hand, end that pass, begin the pass of the
  // first pending kind, or nothing.
  Step next();
  // The request of the last Send is out. True when its answer had already
  // arrived (a late reply of an earlier attempt): the record is done and the
  // caller goes on with next(); false: wait for markAnswered or timedOut.
  bool sent();
  // Whether an answer of `record` would answer a request this planner has
  // open: the record in hand, from its Send until it is done or abandoned.
  // Nothing else is an answer (a reply another PC asked for, a late
  // duplicate of a record that is done).
  bool isOpen(BatchKind kind, int record) const {
    return open_ && active_ == index(kind) && record_ == record;
  }
  // A reply or acknowledgement of `record`. True when it answers the request
  // in hand, which is then done; anything that is not open is ignored.
  bool markAnswered(BatchKind kind, int record);
  // The wait of the request in hand (`waited`) ran out. True when the
  // record's budget is spent and it is abandoned; false when it is to be sent
  // again.
  bool timedOut(Millis waited);
  // The version gate: every pending record is dropped; the pass in hand
  // finishes after the wait of its current request, every other pending kind
  // with its next step.
  void stopAll();
  // Another host was chosen: every batch ends now, cancelled, the record in
  // hand without waiting for its answer. Each kind that had a batch still
  // finishes its pass (FinishPass, cancelled) so that every batch ends.
  void cancelAll();
  // The host stopped answering altogether: every batch ends now, as
  // cancelAll ends them, but failed (hostGone) rather than cancelled.
  void giveUpAll();

  // A batch of the kind is pending, or its pass has not ended yet.
  bool busy(BatchKind kind) const {
    return pending_[index(kind)] != 0 || active_ == index(kind) || owed_[index(kind)];
  }
  bool waiting() const { return waiting_; }
  bool running() const;
  std::optional<BatchKind> activeKind() const;
  std::uint32_t pending(BatchKind kind) const { return pending_[index(kind)]; }
  std::uint32_t answered(BatchKind kind) const { return answered_[index(kind)]; }

 private:
  static int index(BatchKind kind) { return static_cast<int>(kind); }
  bool recordDone();
  Step finishPass(int kind);
  // Kinds whose pending records were dropped before their pass began: each
  // still ends with a FinishPass.
  void owePasses();
  // Every batch ends now, the record in hand without its answer; `ended`
  // marks the kinds that had one.
  void endAll(std::array<bool, kBatchKindCount>& ended);

  std::array<std::uint32_t, kBatchKindCount> pending_{};
  std::array<std::uint32_t, kBatchKindCount> answered_{};
  std::array<std::uint32_t, kBatchKindCount> requested_{};
  std::array<Millis, kBatchKindCount> budget_{};
  int active_ = -1;  // the kind whose pass runs
  int record_ = 0;   // the record in hand
  int tries_ = 0;    // requests of the record in hand that ran out
  AttemptBudget left_;  // of the record in hand
  bool waiting_ = false;
  bool open_ = false;  // the record in hand has been sent and is not done
  std::array<bool, kBatchKindCount> owed_{};       // a FinishPass without a pass
  std::array<bool, kBatchKindCount> cancelled_{};  // ended by cancelAll
  std::array<bool, kBatchKindCount> gone_{};       // ended by giveUpAll
};

}  // namespace quendra
