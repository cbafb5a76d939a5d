#pragma once
// The batch planner on the event loop: sends what the planner says, waits for
// each record's answer with a single-shot timer, moves on the moment an answer
// arrives, and reports every step as a BatchEvent. Each wait is the one the
// host's answer times call for (at most the group's policy: 801 ms for
// channels, 8010 ms for relays and ModBus slots in the window), and a record is
// sent again until attempts x that policy wait is spent. No texts: the front
// ends word the events.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>

#include "link/batch_planner.h"
#include "session/request_policy.h"

namespace quendra {

struct BatchEvent {
  enum class Stage {
    Sending,   // the request of `record` is about to go out
    Sent,      // it is out
    Answered,  // its reply or acknowledgement arrived
    Failed,    // abandoned after its last attempt
    Finished,  // the pass of `kind` ended (allAnswered, failed, cancelled)
  };
  Stage stage = Stage::Sending;
  BatchKind kind = BatchKind::ChannelRead;
  int record = 0;
  int attempt = 0;
  bool allAnswered = false;
  std::uint32_t failed = 0;
  std::uint32_t done = 0;  // Finished: the requested records that were answered
  bool cancelled = false;  // ended because another host was chosen
  bool hostGone = false;   // ended because the host stopped answering altogether
};

class BatchRunner : public QObject {
  Q_OBJECT
 public:
  // Builds and sends the tunnel request of `command` (with the record's
  // current values for a write) to the host of this moment.
  using Sender = std::function<void(std::uint8_t command)>;

  // `answerTimes`: the host's, learned from and asked for each wait; it
  // outlives the runner.
  BatchRunner(Sender send, AnswerTimes& answerTimes, QObject* parent = nullptr);

  void setPolicy(BatchKind kind, const AttemptPolicy& policy);
  // False, changing nothing, while a batch of the kind runs (see BatchPlanner::start).
  bool start(BatchKind kind, std::uint32_t records);
  // A reply or acknowledgement of a record of the kind.
  void markAnswered(BatchKind kind, int record);
  // The version gate: every pending record is dropped.
  void stopAll();
  // Every batch ends now, cancelled: nothing more is sent and every kind
  // that had a batch reports its Finished event before this returns.
  void cancelAll();
  // The host stopped answering altogether: every batch ends now, as with
  // cancelAll, each Finished event failed with hostGone.
  void giveUpAll();

  const BatchPlanner& planner() const { return planner_; }
  bool running() const { return planner_.running(); }

 signals:
  void batchEvent(const BatchEvent& event);
  // The wait of a request ran out (before the record is sent again or abandoned).
  void waitRanOut();

 private:
  void scheduleStep() { stepTimer_.start(); }
  void step();
  void attemptTimedOut();
  void endAll(void (BatchPlanner::*end)());
  void report(BatchEvent::Stage stage, const BatchPlanner::Step& step);

  Sender send_;
  BatchPlanner planner_;
  AnswerTimes& answerTimes_;
  std::array<Millis, kBatchKindCount> ceiling_{};  // the policy's wait per kind
  BatchPlanner::Step inHand_;  // the last record sent
  Millis wait_{0};             // of the request in hand
  QElapsedTimer sentAt_;       // when it went out
  QTimer attemptTimer_;        // the wait of one attempt
  QTimer stepTimer_;           // the next send, on the event loop
};

}  // namespace quendra
