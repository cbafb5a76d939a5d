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
  // nothing, while a batch of that kind is still pending.
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
  // implementation state: current kind, record index, retry count, timer ...
  void advance();
  ReadFlags& flags_;
  Hooks hooks_;
  BatchMasks masks_;
  QTimer attemptTimer_;
  std::array<std::chrono::milliseconds, kBatchKindCount> attemptTimeout_;
  int activeKind_ = -1;
  int record_ = -1;
  std::uint8_t retryCount_ = 0;
};

}  // namespace quendra
