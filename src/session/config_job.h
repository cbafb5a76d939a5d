#pragma once
// Writing a configuration to one host as one operation, for every front end:
// read what the host has, compare it with what is asked, keep what the host
// held in its history, write only the records that differ, read them back and
// verify. Nothing is written to a host whose firmware the version gate
// refuses, nor a record that could not be read first; a record counts as
// written only once its read-back matched. Values that are not the host's own
// never carry its identity (see records/host_identity.h).
#include <QObject>
#include <functional>
#include <optional>

#include "config/config_file.h"
#include "records/host_identity.h"
#include "session/host_session.h"

namespace quendra {

class HistoryStore;

// How a job ended, as every front end words it.
enum class JobVerdict {
  Done,             // every record read, every differing one written and read back as asked
  Partly,           // some records did not answer (read, write or read-back)
  ReadBackDiffers,  // some records answered but read back otherwise than written
  NoAnswer,         // the host did not answer at all: nothing written
  HistoryNotKept,   // what the host held could not be kept in its history: nothing written
  Refused,          // the firmware version gate: nothing more was sent
  Cancelled,
};

struct ConfigJobResult {
  Outcome outcome = Outcome::Done;
  RecordMasks differing{};   // records that differed from what was asked
  RecordMasks verified{};    // written, and read back as asked
  RecordMasks failed{};      // no answer when read, written or read back
  RecordMasks mismatched{};  // read back otherwise than written
  bool hostAnswered = true;  // false: not even the network settings arrived
  // Identity the write left as the host has it while the values differ.
  std::vector<FieldDifference> keptIdentity;
  bool networkLeftOut = false;  // another host's network settings, not asked for
  bool historySaved = true;     // false: the history entry could not be written (nothing was then)
  QString historyError;         // why, as the file system said
  bool hostChanged = false;     // another host was chosen before the write: nothing written

  JobVerdict verdict() const;
};

struct ConfigJobOptions {
  bool confirm = false;  // wait at compared() for proceed() or cancel()
  bool dryRun = false;   // stop at compared()
  // The records of the target whose values are this host's own (written
  // whole); nullopt: those the session holds of it (HostSession::ownRecords).
  std::optional<RecordMasks> own;
  IdentityChoice identity = IdentityChoice::Keep;
  // Another host's network settings are written only when asked for.
  bool networkAsked = false;
  // Where what the host held goes before the first write (none: not kept).
  HistoryStore* history = nullptr;
  HostIdentity host;  // names the host in its history entry
  // A page's write button: every record among `which` is sent, also one the
  // host holds already; a group read from the host since it was chosen is not
  // read again; an acknowledged record counts as written (the network
  // settings, which hosts never acknowledge, are read back and compared).
  bool sendAsAsked = false;
};

class ConfigJob : public QObject {
  Q_OBJECT
 public:
  enum class Stage { Reading, Writing, Verifying };
  // What the host is to hold, given what it holds now.
  using Target = std::function<HostConfig(const HostConfig& current)>;

  using Options = ConfigJobOptions;

  ConfigJob(HostSession& session, QObject* parent = nullptr);

  // Reads the records among `which` (and the network settings, which every
  // read needs), then says compared(); goes on as the options say.
  void start(Target target, const RecordMasks& which, Options options = {});
  // The network factory reset and a new MAC, as jobs: the host's network
  // settings go into its history first (read first when not read from it
  // since it was chosen).
  void startFactoryReset(Options options);
  void startMacWrite(const Mac& newMac, Options options);
  // While the job waits for confirmation: the identity choice the operator
  // made after seeing the differences (target(), result() follow it).
  void setIdentity(IdentityChoice choice);
  void proceed();
  // Ends the job Cancelled and stops what its session still waits for.
  void cancel();

  const HostConfig& current() const { return current_; }  // as read, before anything was written
  const HostConfig& target() const { return target_; }
  const ConfigJobResult& result() const { return result_; }

 signals:
  void stageChanged(Stage stage, ParamGroup group);
  void compared(const RecordMasks& differing);
  void finished(const ConfigJobResult& result);

 private:
  void next();
  void compare();
  // What is to be written, from what was asked and what was read.
  void plan();
  void onOperation(const OperationResult& r);
  void finish(Outcome outcome);
  // False, with the job finished, when the history could not be kept.
  bool saveHistory();
  void startIdentityOperation(Operation operation, Options options);
  void begin(Target target, const RecordMasks& which, Options options);
  std::uint32_t maskOf(ParamGroup group) const;
  ParamGroup groupInHand() const;

  HostSession& session_;
  Mac mac_{};  // the host the job started with: nothing goes to another one
  std::optional<Operation> identityOperation_;  // a factory reset or MAC write instead of records
  Mac newMac_{};
  Target makeTarget_;
  RecordMasks which_{};
  Options options_;
  RecordMasks own_{};
  bool waitingForConfirm_ = false;
  Stage stage_ = Stage::Reading;
  int group_ = -1;  // index into kAllGroups of the operation in hand, -1 before the first
  bool running_ = false;
  RecordMasks readOk_{};  // records that arrived in this job's reads (or were read before, notRead_)
  RecordMasks notRead_{};  // sendAsAsked: what the host held as read since it was chosen, not read again
  HostConfig current_;
  HostConfig asked_;  // what the target function gave, before the identity rule
  HostConfig target_;
  ConfigJobResult result_;
};

// The records a write of `values` from the host `from` treats as `to`'s own:
// all when the two are one host, none otherwise (a file naming no host is
// another host's).
RecordMasks ownRecordsIf(const std::optional<Mac>& from, const Mac& to);

}  // namespace quendra
