#pragma once
// Everything the tool does with one host, without widgets: read and write each
// parameter group (single records directly, channels, relays and ModBus slots
// as batches), the network factory reset and the MAC write. A reply is stored
// in its HostConfig and announced only when it answers a request the session
// has open for that host and record (hosts answer by broadcast, so replies to
// another PC's reads arrive too); every operation that starts ends with one
// OperationResult, and everything it sends goes to the host it started with.
// The read flags gate reads and writes as the window always has: every read
// needs the network settings read, every write its own group read.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>

#include "link/outer_frame.h"
#include "records/config_diff.h"
#include "records/host_config.h"
#include "session/batch_runner.h"
#include "session/operation.h"
#include "session/read_flags.h"
#include "session/request_policy.h"

namespace quendra {

class ReplyRouter;

class HostSession : public QObject {
  Q_OBJECT
 public:
  explicit HostSession(ReplyRouter& router, QObject* parent = nullptr);
  ~HostSession() override;

  // The host to work with. Records and flags stay (the window shares them
  // between hosts); what still waits for the previous host ends Cancelled,
  // batches at once: a batch never mixes two hosts' records.
  void setTarget(const Mac& mac);
  const Mac& target() const { return target_; }

  HostConfig& config() { return config_; }
  const HostConfig& config() const { return config_; }
  // The records as last read from the host now selected, or written to it
  // and acknowledged (empty after a selection until replies arrive): what
  // the host holds before a write.
  const HostConfig& lastRead() const { return lastRead_; }
  // The records of config() that hold this host's own values: read from it
  // since it was chosen (and edited since, perhaps), not taken from elsewhere.
  const RecordMasks& ownRecords() const { return own_; }
  // The records among `which` of config() now hold values from elsewhere (a
  // file, another host): a write to this host treats them as another host's.
  void markForeign(const RecordMasks& which) { own_ = recordsWithout(own_, which); }
  const ReadFlags& flags() const { return flags_; }
  // For the fuzz driver, which starts every input from flags it chooses: no reply clears a flag, so no run of reads
  // gets back there (benches use it to skip reads they do not time). Tests reach a flag by reading the group.
  ReadFlags& flagsForTesting() { return flags_; }
  const SessionPolicy& policy() const { return policy_; }
  void setPolicy(const SessionPolicy& policy);
  // What the session learned of the host's answer times (forgotten when the target changes).
  const AnswerTimes& answerTimes() const { return answerTimes_; }

  // The gate a read or write of the group would meet now.
  std::optional<Refusal> readRefusal(ParamGroup group) const;
  std::optional<Refusal> writeRefusal(ParamGroup group) const;

  // Reads the group (the records of `records` for a batch group) from the
  // host. nullopt: started; it ends with finished(). Otherwise it did not start.
  std::optional<Refusal> read(ParamGroup group, std::uint32_t records = 0xFFFFFFFFu);
  // Writes the group's records as config() holds them now (a batch reads each
  // record when it sends it). The network settings are not acknowledged by
  // hosts: that write is done once sent.
  std::optional<Refusal> write(ParamGroup group, std::uint32_t records = 0xFFFFFFFFu);
  // Writes records of the group that hold this host's values (read from it
  // or written to it), whatever the group's read flag says; records it does
  // not know are refused (GroupNotRead). For jobs that write some records:
  // a single record's acknowledgement is awaited even where the policy sends
  // and forgets (as long as a read of the group waits).
  std::optional<Refusal> writeRecords(ParamGroup group, std::uint32_t records);
  // Restores the host's network factory settings. When the policy awaits
  // single writes (the command line), done only once the host answers a read
  // of its network settings afterwards; otherwise done once sent (the window).
  void factoryReset();
  // Gives the host a new MAC, refusing one no host can use. When awaited, the
  // session then works with the new MAC and is done only once the host
  // answers under it.
  std::optional<Refusal> writeMac(const Mac& newMac);

  // Ends every batch and every single read and write still waiting, Cancelled.
  void stop();
  // No operation is waiting for the host.
  bool idle() const;
  const BatchRunner& batches() const { return *batches_; }

 signals:
  // Another host was chosen (setTarget).
  void targetChanged(const Mac& mac);
  // A data reply of the host was stored into config() (the network settings too).
  void recordArrived(ParamGroup group, int index);
  void writeAcknowledged(ParamGroup group, int index);
  // A request of the record went out again: the previous one had no answer in time.
  void resent(ParamGroup group, int index, bool write);
  // A write of these records is about to be sent to the host.
  void aboutToWrite(ParamGroup group, std::uint32_t records);
  // A reply failed the firmware version gate: every batch stops.
  void versionRefused();
  void batchEvent(const BatchEvent& event);
  void finished(const OperationResult& result);

 private:
  friend class ReplyRouter;
  void onNetworkReply(ByteView record);
  void onTunnelReply(const TunnelCommand& command, ByteView payload);
  void onVersionRefused();

  // Whether a host that answered still answers at all. An awaited request
  // starts the clock of silence unless it runs; anything heard from the host
  // stops it. With learned waits, a wait that runs out once the host has been
  // silent as long as a read of its network settings may take sends a probe
  // (that read); nothing heard before the probe's time is up: the host is
  // gone, and everything waiting for it ends HostGone at once. A host never
  // heard since it was chosen gets no probe: its records run their budgets.
  void awaitedSent();
  void heardFromHost();
  void endSilence();
  void checkSilence();
  void sendProbe();
  void probeTimedOut();

  // A single-record read or write waiting for its answer.
  struct Pending {
    bool active = false;          // awaited: its timer runs
    bool unacknowledged = false;  // a write sent and not awaited, until its acknowledgement
    int sends = 0;                // requests since it began waiting
    AttemptBudget budget;         // what is left of attempts x the policy's wait
    Millis ceiling{0};            // the policy's wait it waits by
    Millis wait{0};               // of the last request
    QElapsedTimer sentAt;         // when the last request went out
    std::unique_ptr<QTimer> timer;
  };
  Pending& pendingOf(ParamGroup group, bool write);
  std::optional<Refusal> startWrite(ParamGroup group, std::uint32_t records, bool awaitAck);
  void startSingle(ParamGroup group, bool write, bool awaitAck);
  void sendSingle(ParamGroup group, bool write);
  NetworkParams networkToWrite() const;
  // Sends the request again (or the first time) and waits as the host's answer times say.
  void sendAndWait(ParamGroup group, bool write);
  void singleTimedOut(ParamGroup group, bool write);
  void finishSingle(ParamGroup group, bool write, Outcome outcome);
  // Ends every single-record read or write still waiting.
  void finishAllSingles(Outcome outcome);
  const AttemptPolicy& policyOf(ParamGroup group, bool write) const;
  void onBatchEvent(const BatchEvent& event);
  // Whether a reply of `command` answers a request open now.
  bool answersOpenRequest(const TunnelCommand& command);
  // After a reset or a MAC write the host's network settings are no longer
  // those read: a network write waits for them to be read again.
  void forgetNetwork();
  // An identity operation verified by reading the network settings back.
  void verifyByNetworkRead(Operation operation);
  void sendTunnel(std::uint8_t command, ByteView payload = {});
  void setReadFlag(ParamGroup group);
  bool groupFlag(ParamGroup group) const;

  ReplyRouter& router_;
  Mac target_{};
  HostConfig config_;
  HostConfig lastRead_;
  ReadFlags flags_;
  SessionPolicy policy_ = SessionPolicy::windowDefaults();
  AnswerTimes answerTimes_;  // of the host in target_
  std::unique_ptr<BatchRunner> batches_;
  std::array<Pending, 2 * kParamGroupCount> pending_;
  std::array<bool, kBatchKindCount> stoppedByGate_{};
  RecordMasks own_{};
  std::optional<Operation> verifying_;  // a reset or MAC write whose network read is in hand
  QElapsedTimer silentSince_;  // invalid: the host answered since the last awaited request
  bool answeredOnce_ = false;  // since it was chosen
  QTimer probeTimer_;
  int probesLeft_ = 0;
  static constexpr Millis kLeastSilence{3000};
  // Each waits the learned wait of a network read. Under 30 % loss, six lost
  // after every request of a record was lost too: once in millions of records.
  static constexpr int kProbes = 6;
};

}  // namespace quendra
