#pragma once
// Moves a whole group of records (32 channels, 8 relays, 32 ModBus slots) one
// record at a time: send, wait for the dispatcher to mark the record answered,
// retry a silent record up to three more times, then go on. Event-driven: an
// answer moves on at once; an attempt times out after 801 ms (channel kinds)
// or 8010 ms (relay and ModBus kinds). One pass serves one kind; kinds wait in
// priority order: channel read, channel write, relay read, relay write,
// ModBus read, ModBus write.
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>

#include "link/batch_masks.h"
#include "link/read_flags.h"
#include "link/tunnel_commands.h"

namespace quendra {

class BatchTransfer : public QObject {
  Q_OBJECT
 public:
  struct Hooks {
    // Builds the tunnel request of this command (with the record's payload for
    // writes) addressed to the SelectedDevice of this moment, and sends it.
    std::function<void(std::uint8_t command)> sendRecordRequest;
    std::function<void(const QString&)> showProgress;  // WaitDialog's line
    std::function<void()> clearInfoLog;
    std::function<void(const QString&)> appendInfoLog;
    std::function<void()> refreshInfoLog;
  };

  BatchTransfer(ReadFlags& flags, Hooks hooks, QObject* parent = nullptr);

  // Starts a batch of all records of the kind. Returns false, changing
  // nothing, while a batch of that kind is still pending, or while its pass
  // still waits out the record in hand after the version gate emptied it
  // (a new batch must not be mixed into the end of the old pass).
  bool startBatch(BatchKind kind);
  // The dispatcher's hook: sets the answered bit of a record reply or ack.
  void markAnswered(const TunnelCommand& command);
  // The version gate: every pending set is emptied.
  void stopAll();

  const BatchMasks& masks() const { return masks_; }
  bool running() const;
  // Tests shorten the per-attempt wait.
  void setAttemptTimeout(BatchKind kind, std::chrono::milliseconds timeout);

 signals:
  void progressChanged(const QString& text);
  void finished(BatchKind kind, bool allAnswered);

 private:
  void scheduleStep();
  void step();
  void sendRecord();
  void recordAnswered();
  void attemptTimedOut();
  void finishPass();
  void showProgress(const QString& text);
  BatchKind activeKind() const { return static_cast<BatchKind>(activeKind_); }

  ReadFlags& flags_;
  Hooks hooks_;
  BatchMasks masks_;
  QTimer attemptTimer_;  // the wait of one attempt
  QTimer stepTimer_;     // the next send, on the event loop
  std::array<std::chrono::milliseconds, kBatchKindCount> attemptTimeout_;
  int activeKind_ = -1;   // the kind whose pass runs, -1 when idle
  int record_ = 0;        // record in hand
  bool waiting_ = false;  // its request is out and its answer not yet seen
  std::uint8_t retryCount_ = 0;
};

}  // namespace quendra
