#include "cli/command_context.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <unistd.h>

#include "config/field_json.h"
#include "fields/field_labels.h"
#include "link/gbk.h"
#include "records/field_text.h"

namespace quendra::cli {

Context::Context(Environment& environment, Options options, Transport& transport)
    : env_(environment),
      options_(std::move(options)),
      router_(transport),
      history_(environment.historyFolder.isEmpty() ? HistoryStore::defaultFolder() : environment.historyFolder) {
  lockPlace_.folders = environment.lockFolders;
  lockPlace_.program = QStringLiteral("quendra-cli");
  QObject::connect(&stopSignals_, &StopSignals::stopRequested, [this](int signal) { stop(signal); });
  // The window's timing, except that single writes wait for their
  // acknowledgement too: a script wants to know.
  policy_ = SessionPolicy::windowDefaults();
  policy_.adaptiveWaits = !options_.fixedWaits;
  for (ParamGroup g : kAllGroups)
    for (AttemptPolicy* p : {&policy_.readOf(g), &policy_.writeOf(g)}) {
      if (p->timeout.count() == 0) *p = {std::chrono::milliseconds(801), 4};
      if (options_.timeout) p->timeout = *options_.timeout;
      if (options_.attempts) p->attempts = *options_.attempts;
    }
}

std::unique_ptr<HostSession> Context::sessionFor(const FoundHost& host) {
  auto session = std::make_unique<HostSession>(router_);
  session->setPolicy(policy_);
  session->setTarget(host.answer.mac);
  return session;
}

namespace {

// Searches until the search time is up or `enough` says so.
std::vector<FoundHost> search(Context& c, const std::function<bool(const FoundHost&)>& enough) {
  HostFinder finder(c.router());
  QEventLoop loop;
  QObject::connect(&finder, &HostFinder::finished, &loop, &QEventLoop::quit);
  QObject::connect(&finder, &HostFinder::hostFound, [&](const FoundHost& h) {
    if (enough && enough(h)) finder.stop();
  });
  if (c.stopped()) return {};
  c.whileRunning([&finder] { finder.stop(); }, [&] {
    finder.search(c.options().attempts.value_or(4), c.options().searchTime);
    if (finder.searching()) loop.exec();
  });
  return c.stopped() ? std::vector<FoundHost>{} : finder.found();
}

const char* const kStageWords[] = {"reading", "writing", "verifying"};

}  // namespace

const HostLockPlace& Context::lockPlace() {
  if (lockPlace_.folders.isEmpty()) lockPlace_.folders = HostLockPlace::defaultFolders();  // made when first needed
  return lockPlace_;
}

void Context::whileRunning(std::function<void()> stopIt, const std::function<void()>& run) {
  stopRunning_ = std::move(stopIt);
  run();
  stopRunning_ = nullptr;
}

void Context::stop(int signal) {
  if (options_.json)
    event({{QStringLiteral("event"), QStringLiteral("cancelled")},
           {QStringLiteral("signal"), signal == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM")}});
  else
    fail(QStringLiteral("cancelled: nothing more is sent"));
  if (stopRunning_) stopRunning_();
}

std::optional<QByteArray> Context::standardInput(qint64 limit) {
  if (std::exchange(inputTaken_, true) || !env_.in) {
    fail(QStringLiteral("standard input can be read once only"));
    return std::nullopt;
  }
  // To its end (a pipe gives it in pieces), or past the limit, which the file's checks refuse.
  QByteArray bytes;
  while (bytes.size() <= limit) {
    const QByteArray piece = env_.in->read(limit + 1 - bytes.size());
    if (piece.isEmpty()) break;
    bytes += piece;
  }
  return bytes;
}

void Context::event(const QJsonObject& e) {
  if (outputClosed_) return;
  out() << QJsonDocument(e).toJson(QJsonDocument::Compact) << '\n';
  out().flush();
  // The program that follows went away: the command stops as if cancelled.
  if (out().status() != QTextStream::Ok) {
    outputClosed_ = true;
    if (stopRunning_) stopRunning_();
  }
}

void Context::hostStarted(const HostIdentity& host) {
  if (options_.json)
    event({{QStringLiteral("event"), QStringLiteral("host-started")}, {QStringLiteral("host"), describeHost(host)}});
}

void Context::stageEvent(const HostIdentity& host, ConfigJob::Stage stage, ParamGroup g) {
  const QLatin1String word(kStageWords[static_cast<int>(stage)]);
  if (!options_.json)
    return progress(QStringLiteral("%1: %2 %3...").arg(describeHost(host), word, QLatin1String(configGroupKey(g))));
  event({{QStringLiteral("event"), QStringLiteral("stage")}, {QStringLiteral("host"), describeHost(host)},
         {QStringLiteral("stage"), word}, {QStringLiteral("group"), QLatin1String(configGroupKey(g))}});
}

void Context::recordEvent(const HostIdentity& host, ConfigJob::Stage stage, RecordStep step, ParamGroup g, int k) {
  static const char* const names[] = {"record-read", "record-written", "record-resent", "record-failed"};
  if (!options_.json) {
    if (step == RecordStep::Failed) progress(QStringLiteral("%1: no answer for %2").arg(describeHost(host), recordPath(g, k)));
    return;
  }
  event({{QStringLiteral("event"), QLatin1String(names[static_cast<int>(step)])},
         {QStringLiteral("host"), describeHost(host)},
         {QStringLiteral("stage"), QLatin1String(kStageWords[static_cast<int>(stage)])},
         {QStringLiteral("group"), QLatin1String(configGroupKey(g))},
         {QStringLiteral("index"), k},
         {QStringLiteral("record"), recordPath(g, k)}});
}

void Context::waitingEvent(const HostIdentity& host, const LockHolder& holder) {
  if (!options_.json)
    return progress(QStringLiteral("%1: waiting for another writer (%2, process %3)").arg(describeHost(host), holder.program).arg(holder.pid));
  event({{QStringLiteral("event"), QStringLiteral("host-waiting")}, {QStringLiteral("host"), describeHost(host)},
         {QStringLiteral("heldBy"), holderJson(holder)}});
}

void Context::finishedEvent(const HostIdentity& host, const ConfigJobResult& r) {
  if (!r.historySaved) fail(QStringLiteral("%1: the history entry could not be written").arg(describeHost(host)));
  if (!options_.json) return;
  QJsonObject e = resultJson(host, r);
  e.insert(QStringLiteral("event"), QStringLiteral("host-finished"));
  event(e);
}

void Context::follow(ConfigJob& job, const HostIdentity& host) {
  QObject::connect(&job, &ConfigJob::stageChanged, [this, host](ConfigJob::Stage s, ParamGroup g) { stageEvent(host, s, g); });
  QObject::connect(&job, &ConfigJob::recordStep, [this, host](ConfigJob::Stage s, RecordStep step, ParamGroup g, int k) {
    recordEvent(host, s, step, g, k);
  });
  QObject::connect(&job, &ConfigJob::waitingForHost, [this, host](const LockHolder& h) { waitingEvent(host, h); });
  QObject::connect(&job, &ConfigJob::finished, [this, host](const ConfigJobResult& r) { finishedEvent(host, r); });
}

std::vector<FoundHost> Context::searchAll(bool onePerHost) {
  progress(QStringLiteral("searching..."));
  std::vector<FoundHost> found = search(*this, nullptr);
  return onePerHost ? distinctHosts(found) : found;
}

std::optional<FoundHost> Context::find(const QString& host) {
  const auto matches = [&](const FoundHost& h) { return namesHost(host, h); };
  progress(QStringLiteral("looking for %1...").arg(host));
  for (const FoundHost& h : search(*this, matches))
    if (matches(h)) return h;
  if (!stopped()) fail(QStringLiteral("host %1 did not answer the search").arg(host));
  return std::nullopt;
}

int statusOf(JobVerdict verdict) {
  switch (verdict) {
    case JobVerdict::Done: return kDone;
    case JobVerdict::Partly:
    case JobVerdict::ReadBackDiffers: return kPartly;
    case JobVerdict::Refused: return kRefused;
    case JobVerdict::HistoryNotKept:  // nothing was written
    case JobVerdict::NoAnswer:
    case JobVerdict::HostGone: return kNoAnswer;
    case JobVerdict::HostBusy: return kBusy;
    case JobVerdict::Cancelled: return kCancelled;
  }
  return kNoAnswer;
}

namespace {

QString hostGoneLine(const ConfigJobResult& r) {
  if (!anyRecord(r.differing)) return QStringLiteral("stopped answering; not read: %1").arg(recordList(r.failed));
  const auto list = [](const RecordMasks& m) { return anyRecord(m) ? recordList(m) : QStringLiteral("none"); };
  return QStringLiteral("stopped answering; written: %1; not written: %2").arg(list(r.written), list(r.notWritten()));
}

}  // namespace

QString verdictLine(const ConfigJobResult& r) {
  switch (r.verdict()) {
    case JobVerdict::Refused: return QStringLiteral("refused: its firmware version is not supported; nothing written");
    case JobVerdict::NoAnswer: return QStringLiteral("did not answer; nothing written");
    case JobVerdict::Cancelled:
      if (!anyRecord(r.sent)) return QStringLiteral("cancelled; nothing written");
      return QStringLiteral("cancelled; written: %1; sent without acknowledgement: %2")
          .arg(anyRecord(r.written) ? recordList(r.written) : QStringLiteral("none"),
               anyRecord(recordsWithout(r.sent, r.written)) ? recordList(recordsWithout(r.sent, r.written)) : QStringLiteral("none"));
    case JobVerdict::HostBusy:
      return QStringLiteral("refused: another writer holds the host (%1, user %2, process %3, since %4); nothing written")
          .arg(r.heldBy->program, r.heldBy->user)
          .arg(r.heldBy->pid)
          .arg(r.heldBy->since.toLocalTime().toString(Qt::ISODate));
    case JobVerdict::HostGone: return hostGoneLine(r);
    case JobVerdict::HistoryNotKept:
      return QStringLiteral("the history entry could not be written (%1); nothing written").arg(r.historyError);
    case JobVerdict::ReadBackDiffers:
      return anyRecord(r.failed) ? QStringLiteral("failed: %1 read back otherwise than written; no answer for %2")
                                       .arg(recordList(r.mismatched), recordList(r.failed))
                                 : QStringLiteral("failed: %1 read back otherwise than written").arg(recordList(r.mismatched));
    case JobVerdict::Partly: return QStringLiteral("failed: no answer for %1").arg(recordList(r.failed));
    case JobVerdict::Done: break;
  }
  return QStringLiteral("verified (%1 records written)").arg(recordCount(r.verified));
}

HostIdentity identityOf(const FoundHost& host) {
  return HostIdentity{host.answer.mac, QString::fromStdString(gbkToUtf8(host.answer.nameGbk)), host.answer.ip,
                      host.answer.firmwareVersion};
}

std::vector<FoundHost> Context::hostsNamed(const QStringList& hosts, QStringList& missing) {
  const std::vector<FoundHost> heard = searchAll();
  if (options_.all || stopped()) return heard;
  std::vector<FoundHost> named;
  for (const QString& host : hosts) {
    const auto h = std::find_if(heard.begin(), heard.end(), [&](const FoundHost& f) { return namesHost(host, f); });
    if (h == heard.end())
      missing << host;
    else
      named.push_back(*h);
  }
  return named;
}

void Context::run(FleetJob& fleet, std::vector<FleetJob::Host> hosts) {
  const auto identity = [&fleet](int i) { return fleet.host(i).identity; };
  const QMetaObject::Connection lines[] = {
      QObject::connect(&fleet, &FleetJob::stageChanged,
                       [&, this](int i, ConfigJob::Stage s, ParamGroup g) { stageEvent(identity(i), s, g); }),
      QObject::connect(&fleet, &FleetJob::recordStep,
                       [&, this](int i, ConfigJob::Stage s, RecordStep step, ParamGroup g, int k) {
                         recordEvent(identity(i), s, step, g, k);
                       }),
      QObject::connect(&fleet, &FleetJob::waitingForHost,
                       [&, this](int i, const LockHolder& h) { waitingEvent(identity(i), h); }),
      QObject::connect(&fleet, &FleetJob::hostFinished,
                       [&, this](int i, const ConfigJobResult& r) { finishedEvent(identity(i), r); }),
  };
  for (const FleetJob::Host& h : hosts) hostStarted(h.identity);
  QEventLoop loop;
  QObject::connect(&fleet, &FleetJob::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  if (!stopped())  // else the program that follows went away meanwhile
    whileRunning([&fleet] { fleet.cancel(); }, [&] {
      fleet.start(std::move(hosts));
      if (fleet.running()) loop.exec();
    });
  for (const auto& line : lines) QObject::disconnect(line);
}

int Context::reportFleet(const FleetJob& fleet, const QStringList& missing) {
  int worst = kDone;
  bool anyDone = false;
  QJsonArray rows;
  for (int i = 0; i < fleet.size(); ++i) {
    const ConfigJobResult& r = fleet.result(i);
    const int status = statusOf(r.verdict());
    // Among many hosts, one that did not answer leaves the whole partly done.
    worst = std::max(worst, status == kNoAnswer ? kPartly : status);
    anyDone = anyDone || anyRecord(r.verified);
    if (options_.json)
      rows.append(resultJson(fleet, i));
    else
      out() << describeHost(fleet.host(i).identity) << "  "
            << (options_.dryRun && r.verdict() == JobVerdict::Done
                    ? QStringLiteral("%1 records differ; nothing written").arg(recordCount(r.differing))
                    : verdictLine(r))
            << '\n';
  }
  for (const QString& host : missing) {
    if (options_.json)
      rows.append(QJsonObject{{QStringLiteral("host"), host}, {QStringLiteral("status"), QStringLiteral("not found")}});
    else
      out() << host << "  not found\n";
  }
  if (options_.json) out() << QJsonDocument(rows).toJson(QJsonDocument::Compact) << '\n';
  if (fleet.size() == 0) return kNoAnswer;
  if (!missing.isEmpty()) worst = std::max<int>(worst, anyDone ? kPartly : kNoAnswer);
  return worst;
}

QJsonObject resultJson(const FleetJob& fleet, int i) { return resultJson(fleet.host(i).identity, fleet.result(i)); }

QJsonObject resultJson(const HostIdentity& host, const ConfigJobResult& r) {
  static const char* const words[] = {"verified", "failed", "failed", "no answer", "stopped answering",
                                      "history not kept", "refused", "cancelled", "busy"};
  QJsonObject o;
  o[QStringLiteral("host")] = describeHost(host);
  o[QStringLiteral("status")] = QLatin1String(words[static_cast<int>(r.verdict())]);
  o[QStringLiteral("verified")] = recordList(r.verified);
  o[QStringLiteral("failed")] = recordList(r.failed);
  o[QStringLiteral("mismatched")] = recordList(r.mismatched);
  o[QStringLiteral("written")] = recordList(r.written);
  o[QStringLiteral("differing")] = recordList(r.differing);  // what a dry run would write
  o[QStringLiteral("unconfirmed")] = recordList(recordsWithout(r.sent, r.written));
  if (r.verdict() == JobVerdict::HostGone) o[QStringLiteral("notWritten")] = recordList(r.notWritten());
  if (r.heldBy) o[QStringLiteral("heldBy")] = holderJson(*r.heldBy);
  return o;
}

QJsonObject holderJson(const LockHolder& h) {
  return {{QStringLiteral("program"), h.program},
          {QStringLiteral("user"), h.user},
          {QStringLiteral("pid"), h.pid},
          {QStringLiteral("since"), h.since.toString(Qt::ISODate)}};
}

bool isHostArgument(const QString& text) {
  return parseMacAnySpelling(text.toStdString()) || parseDottedAddress(text.toStdString());
}

bool namesHost(const QString& host, const FoundHost& found) {
  if (const auto mac = parseMacAnySpelling(host.toStdString())) return found.answer.mac == *mac;
  return parseDottedAddress(host.toStdString()) == found.answer.ip;
}

bool Context::outIsTerminal() const {
  const auto* file = qobject_cast<const QFile*>(env_.out.device());  // stdout is a QFile, a test's QString none
  return file && isatty(file->handle());
}

QString terminalText(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (const QChar ch : text) {
    const char16_t u = ch.unicode();
    const bool turnsDirection =
        u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
    if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
      shown += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
    } else if (turnsDirection) {
      shown += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
    } else {
      shown += ch;
    }
  }
  return shown;
}

CsvTable forStandardOutput(const Context& c, CsvTable table) {
  if (c.outIsTerminal())
    for (QStringList& row : table)
      for (QString& cell : row) cell = terminalText(cell);
  return table;
}

QString describeHost(const FoundHost& host) { return describeHost(identityOf(host)); }

QString describeHost(const HostIdentity& host) {
  return QString::fromStdString(formatMacDashed(host.mac) + " " + formatDottedAddress(host.ip));
}

std::optional<RecordMasks> groupsNamed(Context& c, const QStringList& names, const RecordMasks& all) {
  if (names.isEmpty()) return all;
  RecordMasks m{};
  for (const QString& name : names) {
    const auto g = std::find_if(kAllGroups.begin(), kAllGroups.end(),
                                [&](ParamGroup each) { return name == QLatin1String(configGroupKey(each)); });
    if (g == kAllGroups.end()) {
      c.fail(QStringLiteral("unknown group \"%1\" (network, base, gprs, led, channels, modbus, relays)").arg(name));
      return std::nullopt;
    }
    m[static_cast<int>(*g)] = all[static_cast<int>(*g)];
  }
  return m;
}

QString recordPath(ParamGroup group, int index) {
  const QString key = QLatin1String(configGroupKey(group));
  return isBatchGroup(group) ? QStringLiteral("%1[%2]").arg(key).arg(index) : key;
}

QString recordList(const RecordMasks& masks) {
  QStringList parts;
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k)
      if ((masks[static_cast<int>(g)] >> k) & 1u) parts << recordPath(g, k);
  return parts.join(QStringLiteral(", "));
}

QString describeFileError(const ConfigFileError& e) {
  using P = ConfigFileError::Problem;
  QString what;
  switch (e.problem) {
    case P::CannotOpen: what = QStringLiteral("cannot be read"); break;
    case P::TooLarge: what = QStringLiteral("is %1 bytes, more than a configuration can be (%2)").arg(e.actual).arg(e.expected); break;
    case P::NotJson: what = QStringLiteral("is not JSON (fault at byte %1)").arg(e.actual); break;
    case P::WrongFormat: what = QStringLiteral("is not a host configuration (\"format\" must be \"quendra-host-config\")"); break;
    case P::UnsupportedVersion: what = QStringLiteral("has format version %1; this tool reads %2").arg(e.actual).arg(e.expected); break;
    case P::UnknownKey: what = QStringLiteral("unknown key"); break;
    case P::WrongType: what = QStringLiteral("wrong type of value"); break;
    case P::OutOfRange: what = QStringLiteral("value out of range"); break;
    case P::TooLong: what = QStringLiteral("text longer than %1 bytes").arg(e.expected); break;
    case P::NotGbk: what = QStringLiteral("text with characters a host cannot show"); break;
    case P::BadHex: what = QStringLiteral("not hexadecimal"); break;
    case P::BadAddress: what = QStringLiteral("not an address"); break;
    case P::WrongLength: what = QStringLiteral("wrong length: %1 instead of %2").arg(e.actual).arg(e.expected); break;
    case P::EmptyRecord: what = QStringLiteral("a record needs \"fields\" or \"image\""); break;
    case P::Repeated: what = QStringLiteral("given twice"); break;
  }
  return e.path.isEmpty() ? QStringLiteral("%1 %2").arg(e.file, what) : QStringLiteral("%1: %2: %3").arg(e.file, e.path, what);
}

QJsonArray differencesJson(const std::vector<FieldDifference>& differences) {
  QJsonArray rows;
  for (const FieldDifference& d : differences) {
    QJsonObject row;
    row[QLatin1String("record")] = recordPath(d.group, d.index);
    if (d.field) {
      row[QLatin1String("key")] = QString::fromUtf8(d.field->key.data(), qsizetype(d.field->key.size()));
      row[QLatin1String("label")] = recordLabel(d.group, d.index) + ' ' + fieldLabel(d.group, d.field->key);
      row[QLatin1String("a")] = fieldToJson(*d.field, d.was);
      row[QLatin1String("b")] = fieldToJson(*d.field, d.now);
    }
    rows.append(row);
  }
  return rows;
}

void printKeptIdentity(Context& c, const ConfigJobResult& r) {
  for (const FieldDifference& d : r.keptIdentity) {
    if (!d.field) {
      c.out() << recordPath(d.group, d.index) << "  (bytes no field names)  kept as the host has them\n";
      continue;
    }
    c.out() << recordPath(d.group, d.index) << '.' << QString::fromUtf8(d.field->key.data(), qsizetype(d.field->key.size()))
            << "  [" << recordLabel(d.group, d.index) << ' ' << fieldLabel(d.group, d.field->key) << "]  "
            << terminalText(fieldText(*d.field, d.was)) << " kept (not " << terminalText(fieldText(*d.field, d.now))
            << "): the host's identity\n";
  }
  if (r.networkLeftOut)
    c.out() << "network  left out: another host's network settings (--with-network writes them)\n";
}

void printDifferences(Context& c, const std::vector<FieldDifference>& differences) {
  for (const FieldDifference& d : differences) {
    const QString record = recordPath(d.group, d.index);
    if (!d.field) {
      c.out() << record << "  (bytes no field names)\n";
      continue;
    }
    c.out() << record << '.' << QString::fromUtf8(d.field->key.data(), qsizetype(d.field->key.size())) << "  ["
            << recordLabel(d.group, d.index) << ' ' << fieldLabel(d.group, d.field->key) << "]  "
            << terminalText(fieldText(*d.field, d.was)) << " -> " << terminalText(fieldText(*d.field, d.now)) << '\n';
  }
}

}  // namespace quendra::cli
