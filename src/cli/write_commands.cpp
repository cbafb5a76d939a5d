// The commands that write a configuration file to hosts: write (one host,
// showing the differences) and clone (many hosts at once).
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/command_context.h"
#include "config/record_table_csv.h"
#include "records/field_text.h"

namespace quendra::cli {
namespace {

// How a file is written to a host: whole to the host it came from; to any
// other host without its identity, the network settings only when asked.
FleetJob::Host fileWrite(Context& c, const ConfigFile& file, const FoundHost& host, const RecordMasks& which,
                         bool networkAsked) {
  FleetJob::Host h;
  h.identity = identityOf(host);
  h.target = [&file](const HostConfig& current) { return applyConfigFile(file, current); };
  h.which = which;
  h.options.dryRun = c.options().dryRun;
  h.options.own = ownRecordsIf(file.sourceHost(), host.answer.mac);
  h.options.identity = c.options().withIdentity ? IdentityChoice::Replace : IdentityChoice::Keep;
  h.options.networkAsked = networkAsked || c.options().withNetwork;
  setWriteOptions(c, h.options);
  return h;
}

bool namesNetwork(const QStringList& groupNames) { return groupNames.contains(QLatin1String("network")); }

}  // namespace

std::optional<ConfigFile> loadConfigFile(Context& c, const QString& path) {
  ConfigFileResult file;
  if (path == QLatin1String("-")) {
    const auto bytes = c.standardInput(kMaxConfigFileBytes);
    if (!bytes) return std::nullopt;
    file = parseConfigFile(*bytes, QStringLiteral("standard input"));
  } else {
    file = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? readRecordTable(path) : readConfigFile(path);
  }
  if (const auto* e = std::get_if<ConfigFileError>(&file)) {
    c.fail(describeFileError(*e));
    return std::nullopt;
  }
  return std::get<ConfigFile>(std::move(file));
}

void setWriteOptions(Context& c, ConfigJobOptions& options) {
  options.history = &c.history();
  options.lock = &c.lockPlace();
  options.lockWait = c.options().lockWait;
}

namespace {

// Writes FILE (GROUPS of it) to HOST: what the host has is read, the
// differences shown, kept in its history, only what differs written, read
// back and verified.
int writeFile(Context& c, const QString& hostArgument, const QString& path, const QStringList& groupNames) {
  const auto file = loadConfigFile(c, path);
  if (!file) return kUsage;
  const auto groups = groupsNamed(c, groupNames, allRecordMasks());
  if (!groups) return kUsage;
  const RecordMasks which = commonRecords(file->present(), *groups);
  const auto host = c.find(hostArgument);
  if (!host) return kNoAnswer;

  FleetJob fleet(c.router(), c.policy());
  std::vector<FieldDifference> differences;
  QObject::connect(&fleet, &FleetJob::compared, [&](int, const RecordMasks& differing) {
    differences = diffConfigs(fleet.job(0).current(), fleet.job(0).target(), differing);
    if (c.options().json) return;
    printDifferences(c, differences);
    printKeptIdentity(c, fleet.job(0).result());
  });
  c.run(fleet, {fileWrite(c, *file, *host, which, namesNetwork(groupNames))});
  if (fleet.size() == 0) return kCancelled;  // stopped before it began
  const ConfigJobResult& r = fleet.result(0);
  if (c.options().json) {
    QJsonObject o = resultJson(fleet, 0);
    o[QStringLiteral("differences")] = differencesJson(differences);
    o[QStringLiteral("kept")] = differencesJson(r.keptIdentity);
    o[QStringLiteral("networkLeftOut")] = r.networkLeftOut;
    c.out() << QJsonDocument(o).toJson(QJsonDocument::Compact) << '\n';
  } else if (!c.options().dryRun || r.verdict() != JobVerdict::Done) {
    c.out() << describeHost(*host) << "  " << verdictLine(r) << '\n';
  }
  return statusOf(r.verdict());
}

}  // namespace

int writeCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.size() < 2 || !isHostArgument(args[0])) {
    c.fail(QStringLiteral("write needs a HOST and a FILE"));
    return kUsage;
  }
  return writeFile(c, args[0], args[1], args.mid(2));
}

// A history entry written back: as `write` of the file it is, so the host
// compares, keeps what it holds now in its history, and verifies.
int restoreCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.size() < 2 || !isHostArgument(args[0])) {
    c.fail(QStringLiteral("restore needs a HOST and an ENTRY as history lists it"));
    return kUsage;
  }
  const auto path = historyEntryPath(c.history().folder(), args[1]);
  if (!path) {
    c.fail(QStringLiteral("no history entry \"%1\" (quendra-cli history HOST lists them)").arg(args[1]));
    return kUsage;
  }
  return writeFile(c, args[0], *path, args.mid(2));
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
  const auto file = loadConfigFile(c, args[0]);
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

  QStringList missing;
  std::vector<FleetJob::Host> writes;
  for (const FoundHost& h : c.hostsNamed(hosts, missing))
    writes.push_back(fileWrite(c, *file, h, which, namesNetwork(groupNames)));
  FleetJob fleet(c.router(), c.policy());
  c.run(fleet, std::move(writes));
  return c.reportFleet(fleet, missing);
}

}  // namespace quendra::cli
