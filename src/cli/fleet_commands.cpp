// The commands that work on a fleet as a table: table (read hosts into one
// CSV row each) and apply (commission the hosts of a roster).
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/command_context.h"
#include "config/fleet_roster.h"
#include "records/field_text.h"

namespace quendra::cli {
namespace {

QString describeRosterError(const RosterError& e) {
  using P = RosterError::Problem;
  QString what;
  switch (e.problem) {
    case P::CannotOpen: what = QStringLiteral("cannot be read"); break;
    case P::TooLarge: what = QStringLiteral("is larger than a roster can be (4 MB)"); break;
    case P::NotText: what = QStringLiteral("is neither UTF-8 nor GBK text (line %1)").arg(e.line); break;
    case P::UnterminatedQuote: what = QStringLiteral("has a quote that never closes (line %1)").arg(e.line); break;
    case P::MissingMacColumn: what = QStringLiteral("has no \"mac\" column"); break;
    case P::UnknownColumn: what = QStringLiteral("unknown column (mac, ip, name or a field path such as channels[3].upperLimit1)"); break;
    case P::DuplicateColumn: what = QStringLiteral("the column is given twice"); break;
    case P::CellWithoutColumn: what = QStringLiteral("a value under no column"); break;
    case P::BadMac: what = QStringLiteral("not a MAC address"); break;
    case P::BadValue: what = QStringLiteral("a value this field cannot take"); break;
    case P::DuplicateMac: what = QStringLiteral("the host is named again (first in row %1)").arg(e.otherRow); break;
    case P::SharedHostAddress: what = QStringLiteral("the address of row %1 again: two hosts on one address").arg(e.otherRow); break;
    case P::SharedTerminalAddress:
      what = QStringLiteral("the terminal address of row %1 again: two hosts would report as one").arg(e.otherRow);
      break;
  }
  QString where;
  if (e.row) where += QStringLiteral(": row %1").arg(e.row);
  if (e.column) where += QStringLiteral(", column %1 (%2)").arg(e.column).arg(e.header);
  return where.isEmpty() ? QStringLiteral("%1 %2").arg(e.file, what) : QStringLiteral("%1%2: %3").arg(e.file, where, what);
}

// The records a table of these columns reads.
RecordMasks recordsOf(const std::vector<FieldPath>& columns) {
  RecordMasks m{};
  for (const FieldPath& p : columns) m[static_cast<int>(p.group)] |= 1u << p.index;
  return m;
}

}  // namespace

int tableCommand(Context& c) {
  QStringList hosts;
  std::vector<ParamGroup> groups;
  std::vector<FieldPath> fields;
  for (const QString& a : c.options().arguments) {
    if (isHostArgument(a)) {
      hosts << a;
      continue;
    }
    const auto g = std::find_if(kAllGroups.begin(), kAllGroups.end(),
                                [&](ParamGroup each) { return a == QLatin1String(configGroupKey(each)); });
    if (g != kAllGroups.end()) {
      groups.push_back(*g);
      continue;
    }
    const auto path = parseFieldPath(a);
    if (!std::holds_alternative<FieldPath>(path)) {
      c.fail(QStringLiteral("\"%1\" is neither a HOST, a GROUP nor a field such as channels[3].upperLimit1").arg(a));
      return kUsage;
    }
    fields.push_back(std::get<FieldPath>(path));
  }
  if (hosts.isEmpty() == !c.options().all) {
    c.fail(QStringLiteral("table needs HOSTs or --all, not both"));
    return kUsage;
  }
  if (groups.empty() && fields.empty()) groups = {ParamGroup::Network, ParamGroup::Base, ParamGroup::Gprs, ParamGroup::Led};
  std::vector<FieldPath> columns = fieldPathsOf(groups);
  columns.insert(columns.end(), fields.begin(), fields.end());
  const RecordMasks which = recordsOf(columns);

  QStringList missing;
  std::vector<FleetJob::Host> reads;
  for (const FoundHost& h : c.hostsNamed(hosts, missing)) {
    FleetJob::Host read;
    read.identity = identityOf(h);
    read.target = [](const HostConfig& current) { return current; };
    read.which = which;
    read.options.dryRun = true;
    reads.push_back(std::move(read));
  }
  FleetJob fleet(c.router(), c.policy());
  c.run(fleet, std::move(reads));

  int status = fleet.size() == 0 && !missing.isEmpty() ? kNoAnswer : kDone;
  std::vector<RosterHost> rows;
  for (int i = 0; i < fleet.size(); ++i) {
    const ConfigJobResult& r = fleet.result(i);
    RosterHost row{fleet.host(i).identity, fleet.job(i).current(), {}};
    if (r.hostAnswered && r.verdict() != JobVerdict::Refused) row.read = recordsWithout(which, r.failed);
    if (r.verdict() != JobVerdict::Done) {
      c.fail(QStringLiteral("%1: %2").arg(describeHost(row.identity), recordCount(row.read) ? QStringLiteral("no answer for %1").arg(recordList(r.failed))
                                                                                       : QStringLiteral("did not answer")));
      status = std::max<int>(status, r.verdict() == JobVerdict::Refused ? kRefused : kPartly);
    }
    rows.push_back(std::move(row));
  }
  for (const QString& host : missing) {  // a host named by its MAC keeps its row
    c.fail(QStringLiteral("host %1 did not answer the search").arg(host));
    if (const auto mac = parseMacAnySpelling(host.toStdString())) rows.push_back({HostIdentity{*mac, {}, 0, 0}, {}, {}});
    status = std::max<int>(status, fleet.size() ? kPartly : kNoAnswer);
  }
  const CsvTable table = rosterTable(columns, rows);
  const QByteArray csv = csvBytes(table);
  if (c.options().json) {
    // The last JSON line: a row per host, and the table when it goes to standard output.
    QJsonArray results;
    for (int i = 0; i < fleet.size(); ++i) results.append(resultJson(fleet, i));
    for (const QString& host : missing)
      results.append(QJsonObject{{QStringLiteral("host"), host}, {QStringLiteral("status"), QStringLiteral("not found")}});
    QJsonObject o{{QStringLiteral("hosts"), results}};
    if (toStandardOutput(c.options().output)) o[QStringLiteral("csv")] = QString::fromUtf8(csv);
    c.out() << QJsonDocument(o).toJson(QJsonDocument::Compact) << '\n';
  }
  if (toStandardOutput(c.options().output)) {
    if (!c.options().json) c.out() << QString::fromUtf8(csvBytes(forStandardOutput(c, table)));
  } else if (QString error; !writeCsvFile(c.options().output, csv, &error)) {
    c.fail(QStringLiteral("%1: %2").arg(c.options().output, error));
    return kUsage;
  }
  return status;
}

int applyCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.size() != 1) {
    c.fail(QStringLiteral("apply needs one roster FILE.csv"));
    return kUsage;
  }
  RosterResult parsed;
  if (args[0] == QLatin1String("-")) {
    const auto bytes = c.standardInput(kMaxCsvBytes);
    if (!bytes) return kUsage;
    parsed = parseRoster(*bytes, QStringLiteral("standard input"));
  } else {
    parsed = readRoster(args[0]);
  }
  if (const auto* e = std::get_if<RosterError>(&parsed)) {
    c.fail(describeRosterError(*e));
    return kUsage;
  }
  const Roster& roster = std::get<Roster>(parsed);
  std::optional<ConfigFile> templateFile;
  RecordMasks templateRecords{};
  if (!c.options().templateFile.isEmpty()) {
    templateFile = loadConfigFile(c, c.options().templateFile);
    if (!templateFile) return kUsage;
    templateRecords = templateFile->present();
    // The template's network settings, as for clone, only when asked for.
    if (!c.options().withNetwork) templateRecords[static_cast<int>(ParamGroup::Network)] = 0;
  }

  const std::vector<FoundHost> heard = c.searchAll();
  QStringList missing;
  std::vector<FleetJob::Host> writes;
  for (const RosterRow& row : roster.rows) {
    const auto h = std::find_if(heard.begin(), heard.end(), [&](const FoundHost& f) { return f.answer.mac == row.mac; });
    if (h == heard.end()) {
      missing << QString::fromStdString(formatMacDashed(row.mac));
      continue;
    }
    FleetJob::Host w;
    w.identity = identityOf(*h);
    // The row names its host: what commissioning gives it is its own, identity cells included.
    w.target = [&templateFile, templateRecords, &row](const HostConfig& current) {
      const HostConfig templateValues = templateFile ? applyConfigFile(*templateFile, current) : current;
      return commissionedConfig(current, templateValues, templateRecords, row);
    };
    w.which = rosterRecords(row);
    for (ParamGroup g : kAllGroups) w.which[static_cast<int>(g)] |= templateRecords[static_cast<int>(g)];
    w.options.own = allRecordMasks();
    w.options.dryRun = c.options().dryRun;
    setWriteOptions(c, w.options);
    writes.push_back(std::move(w));
  }
  FleetJob fleet(c.router(), c.policy());
  if (c.options().dryRun && !c.options().json)
    QObject::connect(&fleet, &FleetJob::compared, [&](int i, const RecordMasks& differing) {
      c.out() << "== " << describeHost(fleet.host(i).identity) << '\n';
      printDifferences(c, diffConfigs(fleet.job(i).current(), fleet.job(i).target(), differing));
    });
  c.run(fleet, std::move(writes));
  return c.reportFleet(fleet, missing);
}

}  // namespace quendra::cli
