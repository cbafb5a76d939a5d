#include "cli/command_context.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "config/field_json.h"
#include "config/field_labels.h"
#include "link/gbk.h"
#include "records/field_text.h"

namespace quendra::cli {

Context::Context(Environment& environment, Options options, Transport& transport)
    : env_(environment),
      options_(std::move(options)),
      router_(transport),
      history_(environment.historyFolder.isEmpty() ? HistoryStore::defaultFolder() : environment.historyFolder) {
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
  finder.search(c.options().attempts.value_or(4), c.options().searchTime);
  if (finder.searching()) loop.exec();
  return finder.found();
}

}  // namespace

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
  fail(QStringLiteral("host %1 did not answer the search").arg(host));
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
    case JobVerdict::Cancelled: return kNoAnswer;
  }
  return kNoAnswer;
}

QString verdictLine(const ConfigJobResult& r) {
  switch (r.verdict()) {
    case JobVerdict::Refused: return QStringLiteral("refused: its firmware version is not supported; nothing written");
    case JobVerdict::NoAnswer: return QStringLiteral("did not answer; nothing written");
    case JobVerdict::Cancelled: return QStringLiteral("cancelled");
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
  if (options_.all) return heard;
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
  const auto progressLine = QObject::connect(&fleet, &FleetJob::stageChanged, [this, &fleet](int i, ConfigJob::Stage stage, ParamGroup g) {
    static const char* const verbs[] = {"reading", "writing", "verifying"};
    progress(QStringLiteral("%1: %2 %3...").arg(describeHost(fleet.host(i).identity),
                                                QLatin1String(verbs[static_cast<int>(stage)]), QLatin1String(configGroupKey(g))));
  });
  const auto historyLine = QObject::connect(&fleet, &FleetJob::hostFinished, [this, &fleet](int i, const ConfigJobResult& r) {
    if (!r.historySaved) fail(QStringLiteral("%1: the history entry could not be written; nothing written").arg(describeHost(fleet.host(i).identity)));
  });
  QEventLoop loop;
  QObject::connect(&fleet, &FleetJob::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  fleet.start(std::move(hosts));
  if (fleet.running()) loop.exec();
  QObject::disconnect(progressLine);
  QObject::disconnect(historyLine);
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
  if (options_.json) out() << QJsonDocument(rows).toJson(QJsonDocument::Indented);
  if (fleet.size() == 0) return kNoAnswer;
  if (!missing.isEmpty()) worst = std::max<int>(worst, anyDone ? kPartly : kNoAnswer);
  return worst;
}

QJsonObject resultJson(const FleetJob& fleet, int i) {
  static const char* const words[] = {"verified", "failed", "failed", "no answer", "refused", "cancelled"};
  const ConfigJobResult& r = fleet.result(i);
  QJsonObject o;
  o[QStringLiteral("host")] = describeHost(fleet.host(i).identity);
  o[QStringLiteral("status")] = QLatin1String(words[static_cast<int>(r.verdict())]);
  o[QStringLiteral("verified")] = recordList(r.verified);
  o[QStringLiteral("failed")] = recordList(r.failed);
  o[QStringLiteral("mismatched")] = recordList(r.mismatched);
  return o;
}

bool isHostArgument(const QString& text) {
  return parseMacAnySpelling(text.toStdString()) || parseDottedAddress(text.toStdString());
}

bool namesHost(const QString& host, const FoundHost& found) {
  if (const auto mac = parseMacAnySpelling(host.toStdString())) return found.answer.mac == *mac;
  return parseDottedAddress(host.toStdString()) == found.answer.ip;
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
            << fieldText(*d.field, d.was) << " kept (not " << fieldText(*d.field, d.now) << "): the host's identity\n";
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
            << fieldText(*d.field, d.was) << " -> " << fieldText(*d.field, d.now) << '\n';
  }
}

}  // namespace quendra::cli
