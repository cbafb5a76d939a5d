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

  int status() const { return statusOf(result.verdict()); }
  QJsonObject json() const {
    static const char* const words[] = {"verified", "failed", "failed", "no answer", "refused", "cancelled"};
    QJsonObject o;
    o[QStringLiteral("host")] = describeHost(host);
    o[QStringLiteral("status")] = QLatin1String(words[static_cast<int>(result.verdict())]);
    o[QStringLiteral("verified")] = recordList(result.verified);
    o[QStringLiteral("failed")] = recordList(result.failed);
    o[QStringLiteral("mismatched")] = recordList(result.mismatched);
    return o;
  }
};

// How a file is written to a host: whole to the host it came from; to any
// other host without its identity, the network settings only when asked.
ConfigJob::Options writeOptions(Context& c, const ConfigFile& file, const FoundHost& host, bool networkAsked) {
  ConfigJob::Options o;
  o.dryRun = c.options().dryRun;
  o.own = ownRecordsIf(file.sourceHost(), host.answer.mac);
  o.identity = c.options().withIdentity ? IdentityChoice::Replace : IdentityChoice::Keep;
  o.networkAsked = networkAsked || c.options().withNetwork;
  o.history = &c.history();
  o.host = identityOf(host);
  return o;
}

void startWrite(Context& c, HostWrite& w, const ConfigFile& file, const RecordMasks& which, ConfigJob::Options options) {
  w.session = c.sessionFor(w.host);
  w.job = std::make_unique<ConfigJob>(*w.session);
  const QString who = describeHost(w.host);
  QObject::connect(w.job.get(), &ConfigJob::stageChanged, [&c, who](ConfigJob::Stage stage, ParamGroup g) {
    static const char* const verbs[] = {"reading", "writing", "verifying"};
    c.progress(QStringLiteral("%1: %2 %3...").arg(who, QLatin1String(verbs[static_cast<int>(stage)]),
                                                  QLatin1String(configGroupKey(g))));
  });
  QObject::connect(w.job.get(), &ConfigJob::finished, [&c, &w](const ConfigJobResult& r) {
    w.result = r;
    w.done = true;
    if (!r.historySaved) c.fail(QStringLiteral("%1: the history entry could not be written").arg(describeHost(w.host)));
  });
  w.job->start([&file](const HostConfig& current) { return applyConfigFile(file, current); }, which, options);
}

// Runs the event loop until every write has ended.
void waitForAll(std::vector<std::unique_ptr<HostWrite>>& writes) {
  QEventLoop loop;
  const auto allDone = [&] { return std::all_of(writes.begin(), writes.end(), [](const auto& w) { return w->done; }); };
  for (auto& w : writes)
    QObject::connect(w->job.get(), &ConfigJob::finished, &loop, [&] { if (allDone()) loop.quit(); }, Qt::QueuedConnection);
  if (!allDone()) loop.exec();
}

bool namesNetwork(const QStringList& groupNames) { return groupNames.contains(QLatin1String("network")); }

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
  startWrite(c, w, *file, which, writeOptions(c, *file, *host, namesNetwork(args.mid(2))));
  QObject::connect(w.job.get(), &ConfigJob::compared, [&](const RecordMasks& differing) {
    differences = diffConfigs(w.job->current(), w.job->target(), differing);
    if (c.options().json) return;
    printDifferences(c, differences);
    printKeptIdentity(c, w.job->result());
  });
  waitForAll(writes);
  if (c.options().json) {
    QJsonObject o = w.json();
    o[QStringLiteral("differences")] = differencesJson(differences);
    o[QStringLiteral("kept")] = differencesJson(w.result.keptIdentity);
    o[QStringLiteral("networkLeftOut")] = w.result.networkLeftOut;
    c.out() << QJsonDocument(o).toJson(QJsonDocument::Indented);
  } else if (!c.options().dryRun || w.status() != kDone) {
    c.out() << describeHost(w.host) << "  " << verdictLine(w.result) << '\n';
  }
  return w.status();
}

int cloneCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.isEmpty()) {
    c.fail(QStringLiteral("clone needs a FILE, then HOSTs or --all"));
    return kUsage;
  }
  if (c.options().withIdentity) {
    c.fail(QStringLiteral("clone never writes one host's identity to many; use write HOST FILE --with-identity"));
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
  const RecordMasks which = commonRecords(file->present(), *groups);

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
  for (auto& w : writes) startWrite(c, *w, *file, which, writeOptions(c, *file, w->host, namesNetwork(groupNames)));
  waitForAll(writes);

  int worst = writes.empty() && missing.isEmpty() ? kNoAnswer : kDone;
  bool anyDone = false;
  QJsonArray rows;
  for (const auto& w : writes) {
    worst = std::max<int>(worst, w->status() == kNoAnswer ? kPartly : w->status());
    anyDone = anyDone || anyRecord(w->result.verified);
    if (c.options().json)
      rows.append(w->json());
    else
      c.out() << describeHost(w->host) << "  " << verdictLine(w->result) << '\n';
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
