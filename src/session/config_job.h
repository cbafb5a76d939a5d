#pragma once
// Writing a configuration to one host as one operation, for every front end:
// read what the host has, compare it with what is asked, write only the
// records that differ, read them back and verify. Nothing is written to a host
// whose firmware the version gate refuses, nor a record that could not be read
// first; a record counts as written only once its read-back matched.
#include <QObject>
#include <functional>

#include "records/config_diff.h"
#include "session/host_session.h"

namespace quendra {

struct ConfigJobResult {
  Outcome outcome = Outcome::Done;  // Done: every differing record verified
  RecordMasks differing{};          // records that differed from what was asked
  RecordMasks verified{};           // written, and read back as asked
  RecordMasks failed{};             // could not be read, written or read back, or read back otherwise
  bool hostAnswered = true;         // false: not even the network settings arrived
};

class ConfigJob : public QObject {
  Q_OBJECT
 public:
  enum class Stage { Reading, Writing, Verifying };
  // What the host is to hold, given what it holds now.
  using Target = std::function<HostConfig(const HostConfig& current)>;

  ConfigJob(HostSession& session, QObject* parent = nullptr);

  // Reads the records among `which` (and the network settings, which every
  // read needs), then says compared(). With `confirm`, the job waits for
  // proceed() or cancel() there; without, it goes on (or stops, for a dry run,
  // when `dryRun` is set).
  void start(Target target, const RecordMasks& which, bool confirm = false, bool dryRun = false);
  void proceed();
  // Ends the job Cancelled and stops what its session still waits for.
  void cancel();

  const HostConfig& current() const { return current_; }  // as read, before anything was written
  const HostConfig& target() const { return target_; }

 signals:
  void stageChanged(Stage stage, ParamGroup group);
  void compared(const RecordMasks& differing);
  void finished(const ConfigJobResult& result);

 private:
  void next();
  void compare();
  void onOperation(const OperationResult& r);
  void finish(Outcome outcome);
  std::uint32_t maskOf(ParamGroup group) const;
  ParamGroup groupInHand() const;

  HostSession& session_;
  Target makeTarget_;
  RecordMasks which_{};
  bool confirm_ = false;
  bool dryRun_ = false;
  bool waitingForConfirm_ = false;
  Stage stage_ = Stage::Reading;
  int group_ = -1;  // index into kAllGroups of the operation in hand, -1 before the first
  bool running_ = false;
  RecordMasks readOk_{};  // records that arrived in this job's reads
  HostConfig current_;
  HostConfig target_;
  ConfigJobResult result_;
};

}  // namespace quendra
