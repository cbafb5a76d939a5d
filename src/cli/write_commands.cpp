// The commands that write a configuration file to hosts: write (one host,
// showing the differences) and clone (many hosts at once).
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/command_context.h"
#include "records/field_text.h"

namespace quendra::cli {
namespace {

std::optional<ConfigFile> loadFile(Context& c, const QString& path) {
  ConfigFileResult file = readConfigFile(path);
  if (const auto* e = std::get_if<ConfigFileError>(&file)) {
    c.fail(describeFileError(*e));
    return std::nullopt;
  }
  return std::get<ConfigFile>(std::move(file));
}

// One host's write, from its search answer to its verified records.
struct HostWrite {
  FoundHost host;
  std::unique_ptr<HostSession> session;
  std::unique_ptr<ConfigJob> job;
  ConfigJobResult result;
  bool done = false;

  int status() const {
    if (result.outcome == Outcome::VersionRefused) return kRefused;
    if (!result.hostAnswered) return kNoAnswer;
    return result.outcome == Outcome::Done ? kDone : kPartly;
  }
  QString line() const {
    switch (status()) {
      case kRefused: return QStringLiteral("refused: its firmware version is not supported; nothing written");
      case kNoAnswer: return QStringLiteral("did not answer; nothing written");
      case kPartly: return QStringLiteral("failed: %1").arg(recordList(result.failed));
      default: return QStringLiteral("verified (%1 records written)").arg(recordCount(result.verified));
    }
  }
  QJsonObject json() const {
    QJsonObject o;
    o[QStringLiteral("host")] = describeHost(host);
    o[QStringLiteral("status")] = status() == kDone ? QStringLiteral("verified")
                                  : status() == kPartly ? QStringLiteral("failed")
                                  : status() == kRefused ? QStringLiteral("refused")
                                                         : QStringLiteral("no answer");
    o[QStringLiteral("verified")] = recordList(result.verified);
    o[QStringLiteral("failed")] = recordList(result.failed);
    return o;
  }
};

void startWrite(Context& c, HostWrite& w, const ConfigFile& file, const RecordMasks& which, bool dryRun) {
  w.session = c.sessionFor(w.host);
  w.job = std::make_unique<ConfigJob>(*w.session);
  const QString who = describeHost(w.host);
  QObject::connect(w.job.get(), &ConfigJob::stageChanged, [&c, who](ConfigJob::Stage stage, ParamGroup g) {
    static const char* const verbs[] = {"reading", "writing", "verifying"};
    c.progress(QStringLiteral("%1: %2 %3...").arg(who, QLatin1String(verbs[static_cast<int>(stage)]),
                                                  QLatin1String(configGroupKey(g))));
  });
  QObject::connect(w.job.get(), &ConfigJob::finished, [&w](const ConfigJobResult& r) {
    w.result = r;
    w.done = true;
  });
  w.job->start([&file](const HostConfig& current) { return applyConfigFile(file, current); }, which, false, dryRun);
}

// Runs the event loop until every write has ended.
void waitForAll(Context& c, std::vector<std::unique_ptr<HostWrite>>& writes) {
  QEventLoop loop;
  const auto check = [&] {
    if (std::all_of(writes.begin(), writes.end(), [](const auto& w) { return w->done; })) loop.quit();
  };
  for (auto& w : writes) QObject::connect(w->job.get(), &ConfigJob::finished, &loop, check, Qt::QueuedConnection);
  check();
  if (!std::all_of(writes.begin(), writes.end(), [](const auto& w) { return w->done; })) loop.exec();
  (void)c;
}

}  // namespace

int writeCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.size() < 2 || !isHostArgument(args[0])) {
    c.fail(QStringLiteral("write needs a HOST and a FILE"));
    return kUsage;
  }
  const auto file = loadFile(c, args[1]);
  if (!file) return kUsage;
  const auto groups = groupsNamed(c, args.mid(2), allRecordMasks());
  if (!groups) return kUsage;
  const RecordMasks which = commonRecords(file->present(), *groups);
  const auto host = c.find(args[0]);
  if (!host) return kNoAnswer;

  std::vector<std::unique_ptr<HostWrite>> writes;
  writes.push_back(std::make_unique<HostWrite>(HostWrite{*host, {}, {}, {}, false}));
  HostWrite& w = *writes.front();
  std::vector<FieldDifference> differences;
  startWrite(c, w, *file, which, c.options().dryRun);
  QObject::connect(w.job.get(), &ConfigJob::compared, [&](const RecordMasks& differing) {
    differences = diffConfigs(w.job->current(), w.job->target(), differing);
    if (!c.options().json) printDifferences(c, differences);
  });
  waitForAll(c, writes);
  if (c.options().json) {
    QJsonObject o = w.json();
    o[QStringLiteral("differences")] = differencesJson(differences);
    c.out() << QJsonDocument(o).toJson(QJsonDocument::Indented);
  } else if (!c.options().dryRun || w.status() != kDone) {
    c.out() << describeHost(w.host) << "  " << w.line() << '\n';
  }
  return w.status();
}

int cloneCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.isEmpty()) {
    c.fail(QStringLiteral("clone needs a FILE, then HOSTs or --all"));
    return kUsage;
  }
  const auto file = loadFile(c, args[0]);
  if (!file) return kUsage;
  QStringList hosts, groupNames;
  for (const QString& a : args.mid(1)) (isHostArgument(a) ? hosts : groupNames) << a;
  if (hosts.isEmpty() == !c.options().all) {
    c.fail(QStringLiteral("clone needs HOSTs or --all, not both"));
    return kUsage;
  }
  const auto groups = groupsNamed(c, groupNames, allRecordMasks());
  if (!groups) return kUsage;
  RecordMasks which = commonRecords(file->present(), *groups);
  // A host's network settings are its identity: another host's would clash.
  if (!c.options().withNetwork) which[static_cast<int>(ParamGroup::Network)] = 0;

  std::vector<std::unique_ptr<HostWrite>> writes;
  QStringList missing;
  const std::vector<FoundHost> heard = c.searchAll();
  if (c.options().all) {
    for (const FoundHost& h : heard) writes.push_back(std::make_unique<HostWrite>(HostWrite{h, {}, {}, {}, false}));
  } else {
    for (const QString& host : hosts) {
      const auto h = std::find_if(heard.begin(), heard.end(), [&](const FoundHost& f) { return namesHost(host, f); });
      if (h == heard.end())
        missing << host;
      else
        writes.push_back(std::make_unique<HostWrite>(HostWrite{*h, {}, {}, {}, false}));
    }
  }
  for (auto& w : writes) startWrite(c, *w, *file, which, false);
  waitForAll(c, writes);

  int worst = writes.empty() && missing.isEmpty() ? kNoAnswer : kDone;
  bool anyDone = false;
  QJsonArray rows;
  for (const auto& w : writes) {
    worst = std::max<int>(worst, w->status() == kNoAnswer ? kPartly : w->status());
    anyDone = anyDone || anyRecord(w->result.verified);
    if (c.options().json)
      rows.append(w->json());
    else
      c.out() << describeHost(w->host) << "  " << w->line() << '\n';
  }
  for (const QString& host : missing) {
    if (c.options().json)
      rows.append(QJsonObject{{QStringLiteral("host"), host}, {QStringLiteral("status"), QStringLiteral("not found")}});
    else
      c.out() << host << "  not found\n";
  }
  if (c.options().json) c.out() << QJsonDocument(rows).toJson(QJsonDocument::Indented);
  if (writes.empty()) return kNoAnswer;
  if (!missing.isEmpty()) worst = std::max<int>(worst, anyDone ? kPartly : kNoAnswer);
  return worst;
}

}  // namespace quendra::cli
