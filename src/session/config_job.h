#pragma once
// Writing a configuration to one host as one operation, for every front end:
// read what the host has, compare it with what is asked, keep what the host
// held in its history, write only the records that differ, read them back and
// verify. Nothing is written to a host whose firmware the version gate
// refuses, nor a record that could not be read first; a record counts as
// written only once its read-back matched. Values that are not the host's own
// never carry its identity (see records/host_identity.h).
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "config/config_file.h"
#include "records/host_identity.h"
#include "session/host_lock.h"
#include "session/host_session.h"

namespace quendra {

class HistoryStore;

// How a job ended, as every front end words it.
enum class JobVerdict {
  Done,             // every record read, every differing one written and read back as asked
  Partly,           // some records did not answer (read, write or read-back)
  ReadBackDiffers,  // some records answered but read back otherwise than written
  NoAnswer,         // the host did not answer at all: nothing written
  HostGone,         // the host stopped answering midway: ended at once (written, notWritten())
  HistoryNotKept,   // what the host held could not be kept in its history: nothing written
  Refused,          // the firmware version gate: nothing more was sent
  Cancelled,
  HostBusy,         // another writer held the host all the while the job waited: nothing sent
};

// What became of one record in a job, for progress record by record.
enum class RecordStep {
  Read,     // its data arrived (a read, or a read-back while verifying)
  Written,  // the host acknowledged its write (the network settings: sent)
  Resent,   // its request went out again, the previous one unanswered
  Failed,   // no answer after its last attempt
};

struct ConfigJobResult {
  Outcome outcome = Outcome::Done;
  RecordMasks differing{};   // records that differed from what was asked
  RecordMasks verified{};    // written, and read back as asked
  RecordMasks failed{};      // no answer when read, written or read back
  RecordMasks mismatched{};  // read back otherwise than written
  RecordMasks written{};     // acknowledged (the network settings: sent), verified or not
  RecordMasks sent{};        // whose write went out: beyond `written`, the host may or may not have taken them
  bool hostAnswered = true;  // false: not even the network settings arrived
  // Identity the write left as the host has it while the values differ.
  std::vector<FieldDifference> keptIdentity;
  bool networkLeftOut = false;  // another host's network settings, not asked for
  bool historySaved = true;     // false: the history entry could not be written (nothing was then)
  QString historyError;         // why, as the file system said
  bool hostChanged = false;     // another host was chosen before the write: nothing written
  std::optional<LockHolder> heldBy;  // HostBusy: who held the host

  JobVerdict verdict() const;
  // The records that differed and were not acknowledged.
  RecordMasks notWritten() const { return recordsWithout(differing, written); }
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
  // A job that writes holds the host's lock from its first read to its end,
  // waiting for another writer up to `lockWait` (none: no lock is taken).
  const HostLockPlace* lock = nullptr;
  std::chrono::milliseconds lockWait{10000};
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
  void recordStep(Stage stage, RecordStep step, ParamGroup group, int index);
  // Another writer holds the host: the job waits for it (said once per job).
  void waitingForHost(const LockHolder& holder);
  void compared(const RecordMasks& differing);
  void finished(const ConfigJobResult& result);

 private:
  void next();
  void takeLock();
  // Records among `mask` of the group that did not answer: failed, each said.
  void failRecords(ParamGroup group, std::uint32_t mask);
  // Records among `mask` the host took: written, each said once.
  void noteWritten(ParamGroup group, std::uint32_t mask);
  void compare();
  // What is to be written, from what was asked and what was read.
  void plan();
  void onOperation(const OperationResult& r);
  // The host stopped answering during the operation of `group`, which had
  // `answered` of its records: the job ends at once.
  void hostGone(ParamGroup group, std::uint32_t answered);
  // Sorts the read-back records among `mask` into verified, mismatched and failed.
  void checkReadBack(ParamGroup group, std::uint32_t mask, std::uint32_t answered);
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
  std::unique_ptr<HostLock> lock_;
  QTimer lockRetry_;
  QDeadlineTimer lockDeadline_;
  bool saidWaiting_ = false;
};

// The records a write of `values` from the host `from` treats as `to`'s own:
// all when the two are one host, none otherwise (a file naming no host is
// another host's).
RecordMasks ownRecordsIf(const std::optional<Mac>& from, const Mac& to);

}  // namespace quendra
