#pragma once
// What every command works with: the options, the output streams, one reply
// router over the transport, the session policy the options ask for, and a
// way to wait on the event loop for what the hosts answer.
#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <vector>

#include "cli/cli.h"
#include "cli/stop_signals.h"
#include "config/config_file.h"
#include "config/csv.h"
#include "config/history_store.h"
#include "session/config_job.h"
#include "session/fleet_job.h"
#include "session/host_finder.h"
#include "session/host_lock.h"
#include "session/reply_router.h"

namespace quendra::cli {

class Context {
 public:
  Context(Environment& environment, Options options, Transport& transport);

  const Options& options() const { return options_; }
  QTextStream& out() { return env_.out; }
  QTextStream& err() { return env_.err; }
  // Standard output is a terminal: a table written there is read, not stored.
  bool outIsTerminal() const;
  ReplyRouter& router() { return router_; }
  // A session for the host, with the command line's policy.
  std::unique_ptr<HostSession> sessionFor(const FoundHost& host);
  // Where every write keeps what the host held before.
  HistoryStore& history() { return history_; }
  const SessionPolicy& policy() const { return policy_; }
  // The host locks every write of the command line takes.
  const HostLockPlace& lockPlace();

  // A FILE argument "-": standard input, read whole (once); nullopt after a diagnostic.
  std::optional<QByteArray> standardInput(qint64 limit);
  // One JSON line on standard output at once, for a program that follows the command live.
  void event(const QJsonObject& event);
  // A stop signal came, or standard output went away: nothing more is sent.
  bool stopped() const { return stopSignals_.received() != 0 || outputClosed_; }
  bool outputClosed() const { return outputClosed_; }
  // Live progress of one host's job (JSON lines with --json, lines on a
  // terminal), connected before the job starts; stopping ends it.
  void follow(ConfigJob& job, const HostIdentity& host);
  // Runs `run`; a stop meanwhile calls `stopIt`.
  void whileRunning(std::function<void()> stopIt, const std::function<void()>& run);
  void hostStarted(const HostIdentity& host);

  // Diagnostics on stderr; progress only on a terminal.
  void fail(const QString& message) { env_.err << "quendra-cli: " << message << Qt::endl; }
  void progress(const QString& message) {
    if (env_.progress) env_.err << message << Qt::endl;
  }

  // Every host that answers within the search time; with `onePerHost`, a
  // host heard on two local addresses is listed once.
  std::vector<FoundHost> searchAll(bool onePerHost = true);
  // The host named by a MAC (any spelling) or an IP address; nullopt, with
  // a diagnostic, when it does not answer. `host` must be valid (see isHostArgument).
  std::optional<FoundHost> find(const QString& host);

  // The hosts HOST arguments name among those a search finds (every host
  // with --all); those not found go to `missing`.
  std::vector<FoundHost> hostsNamed(const QStringList& hosts, QStringList& missing);
  // Runs the hosts' jobs to their end, with progress on a terminal.
  void run(FleetJob& fleet, std::vector<FleetJob::Host> hosts);
  // One line (or JSON row) per host and per host not found; the exit status
  // of them all.
  int reportFleet(const FleetJob& fleet, const QStringList& missing);

  // Runs the event loop until `done` is emitted by `sender` (or the time runs out).
  template <typename Sender, typename Signal>
  void waitFor(Sender* sender, Signal signal, std::chrono::milliseconds limit = std::chrono::hours(1)) {
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec();
  }

 private:
  void stop(int signal);
  void stageEvent(const HostIdentity& host, ConfigJob::Stage stage, ParamGroup group);
  void recordEvent(const HostIdentity& host, ConfigJob::Stage stage, RecordStep step, ParamGroup group, int index);
  void waitingEvent(const HostIdentity& host, const LockHolder& holder);
  void finishedEvent(const HostIdentity& host, const ConfigJobResult& result);

  Environment& env_;
  Options options_;
  ReplyRouter router_;
  SessionPolicy policy_;
  HistoryStore history_;
  HostLockPlace lockPlace_;
  StopSignals stopSignals_;
  std::function<void()> stopRunning_;  // ends what runs now (a search, jobs)
  bool outputClosed_ = false;
  bool inputTaken_ = false;
};

// A text a host (or a file) gave, as a line of text output shows it: control
// characters (C0, DEL, C1: ESC above all) and the marks that turn a line's
// direction become visible escapes ("\x1b", "\u202e"), so no host drives the
// terminal, fakes a line or breaks the columns. --json and files stay exact.
QString terminalText(const QString& text);

// A table as standard output takes it: on a terminal, which shows it rather
// than stores it, every cell through terminalText.
CsvTable forStandardOutput(const Context& c, CsvTable table);

// HOST: a MAC in any common spelling, or a dotted IPv4 address.
bool isHostArgument(const QString& text);
// Whether the search answer `found` is the host the HOST argument names.
bool namesHost(const QString& host, const FoundHost& found);
// "02-4B-7D-00-00-01 192.168.1.10" for messages and result lines.
QString describeHost(const FoundHost& host);
QString describeHost(const HostIdentity& host);
// The groups named on the command line ("network", "base", "gprs", "led",
// "channels", "modbus", "relays"); all when none; nullopt after a diagnostic.
std::optional<RecordMasks> groupsNamed(Context& c, const QStringList& names, const RecordMasks& all);
QString recordPath(ParamGroup group, int index);  // "channels[4]", "base"
QString recordList(const RecordMasks& masks);    // "channels[4], relays[2]"

// The exit status of a job's verdict, and its words on a result line.
int statusOf(JobVerdict verdict);
QString verdictLine(const ConfigJobResult& result);
// A host's result as a JSON row: host, status, verified, failed, mismatched,
// written (and heldBy when another writer held it).
QJsonObject resultJson(const HostIdentity& host, const ConfigJobResult& result);
QJsonObject resultJson(const FleetJob& fleet, int host);
QJsonObject holderJson(const LockHolder& holder);
// The identity of a host as a search heard it, for files and history entries.
HostIdentity identityOf(const FoundHost& host);

// Whether an output FILE means standard output (none given, or "-").
bool toStandardOutput(const QString& path);
// A host configuration file (a record table for FILE.csv); "-": standard
// input, a configuration file. nullopt after a diagnostic.
std::optional<ConfigFile> loadConfigFile(Context& c, const QString& path);
// What every write of the command line asks of a job: the history, the host lock.
void setWriteOptions(Context& c, ConfigJobOptions& options);

// The words of a refused configuration file.
QString describeFileError(const ConfigFileError& error);
// The differences, as text lines or as a JSON array.
void printDifferences(Context& c, const std::vector<FieldDifference>& differences);
QJsonArray differencesJson(const std::vector<FieldDifference>& differences);
// The identity a write left as the host has it, one line each ("kept").
void printKeptIdentity(Context& c, const ConfigJobResult& result);

// The commands.
int searchCommand(Context& c);
int readCommand(Context& c);
int diffCommand(Context& c);
int writeCommand(Context& c);
int cloneCommand(Context& c);
int tableCommand(Context& c);
int applyCommand(Context& c);
int resetNetworkCommand(Context& c);
int setMacCommand(Context& c);
int reportCommand(Context& c);
// The history kept on this computer: no network.
int historyCommand(Environment& env, const Options& options);
int historyShowCommand(Environment& env, const Options& options);
int restoreCommand(Context& c);
// The file of a history entry as `history` lists it (relative to the history
// folder); nullopt for anything else, which is never read.
std::optional<QString> historyEntryPath(const QString& historyFolder, const QString& entry);

}  // namespace quendra::cli
