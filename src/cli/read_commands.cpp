// The commands that only read: search, read, diff and report.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/command_context.h"
#include "config/record_table_csv.h"
#include "link/gbk.h"
#include "records/field_text.h"
#include "report/host_report.h"

namespace quendra::cli {
namespace {

QString dotted(std::uint32_t ip) { return QString::fromStdString(formatDottedAddress(ip)); }

struct HostRecords {
  HostConfig config;
  RecordMasks read{};  // the records that arrived
  int status = kDone;
  ConfigJobResult result;
};

QString readFailure(const ConfigJobResult& r) {
  switch (r.verdict()) {
    case JobVerdict::Refused: return QStringLiteral("its firmware version is refused");
    case JobVerdict::NoAnswer: return QStringLiteral("did not answer");
    case JobVerdict::Cancelled: return QStringLiteral("cancelled");
    case JobVerdict::HostGone: return QStringLiteral("stopped answering; not read: %1").arg(recordList(r.failed));
    default: return QStringLiteral("no answer for %1").arg(recordList(r.failed));
  }
}

// Reads the records among `which` from the host.
HostRecords readHost(Context& c, const FoundHost& host, const RecordMasks& which) {
  HostRecords r;
  auto session = c.sessionFor(host);
  ConfigJob job(*session);
  c.follow(job, identityOf(host));
  ConfigJobResult& result = r.result;
  bool done = false;
  QObject::connect(&job, &ConfigJob::finished, [&](const ConfigJobResult& res) {
    result = res;
    done = true;
  });
  ConfigJob::Options options;
  options.dryRun = true;
  c.hostStarted(identityOf(host));
  if (c.stopped()) {
    r.status = kCancelled;
    return r;
  }
  c.whileRunning([&job] { job.cancel(); }, [&] {
    job.start([](const HostConfig& current) { return current; }, which, options);
    if (!done) c.waitFor(&job, &ConfigJob::finished);
  });
  r.config = session->config();
  r.read = recordsWithout(which, result.failed);
  r.status = statusOf(result.verdict());
  if (r.status != kDone && r.status != kCancelled) c.fail(QStringLiteral("%1: %2").arg(describeHost(host), readFailure(result)));
  return r;
}

ConfigFileHeader headerFor(const FoundHost& host) {
  ConfigFileHeader h;
  h.savedBy = QStringLiteral("quendra-cli %1").arg(QStringLiteral(QUENDRA_VERSION));
  h.savedAt = QDateTime::currentDateTimeUtc();
  h.host = identityOf(host);
  return h;
}

// The result of a read, as the last JSON line: the host's result row, and
// what went to standard output (the file's object, or the table's text).
void printReadJson(Context& c, const FoundHost& host, const HostRecords& r, const QByteArray& printed) {
  QJsonObject o = resultJson(identityOf(host), r.result);
  o.remove(QStringLiteral("written"));
  o.remove(QStringLiteral("unconfirmed"));
  o.remove(QStringLiteral("mismatched"));
  o[QStringLiteral("read")] = recordList(r.read);
  if (!printed.isEmpty() && c.options().csv) o[QStringLiteral("csv")] = QString::fromUtf8(printed);
  if (!printed.isEmpty() && !c.options().csv) o[QStringLiteral("config")] = QJsonDocument::fromJson(printed).object();
  c.out() << QJsonDocument(o).toJson(QJsonDocument::Compact) << '\n';
}

}  // namespace

bool toStandardOutput(const QString& path) { return path.isEmpty() || path == QLatin1String("-"); }

int searchCommand(Context& c) {
  if (!c.options().arguments.isEmpty()) {
    c.fail(QStringLiteral("search takes no arguments"));
    return kUsage;
  }
  const std::vector<FoundHost> all = c.searchAll(/*onePerHost=*/false);
  QJsonArray rows;
  for (const FoundHost& h : all) {
    const QString name = QString::fromStdString(gbkToUtf8(h.answer.nameGbk));
    const QString mac = QString::fromStdString(formatMacDashed(h.answer.mac));
    // Two hosts on one address (a fresh batch from the factory), one host with two.
    const HostConflicts conflicts = conflictsOf(h, all);
    QStringList said;
    if (conflicts.sharedAddress) said << QStringLiteral("address shared with another host");
    if (conflicts.twoAddresses) said << QStringLiteral("answers with two addresses");
    if (c.options().json) {
      QJsonObject row{{QStringLiteral("ip"), dotted(h.answer.ip)}, {QStringLiteral("name"), name},
                      {QStringLiteral("mac"), mac}, {QStringLiteral("firmware"), h.answer.firmwareVersion},
                      {QStringLiteral("localAddress"), dotted(h.localAddress)}};
      if (conflicts.any()) row[QStringLiteral("conflicts")] = QJsonArray::fromStringList(said);
      rows.append(row);
    } else {
      c.out() << qSetFieldWidth(16) << Qt::left << dotted(h.answer.ip) << qSetFieldWidth(0) << ' ' << mac << "  "
              << h.answer.firmwareVersion << "  heard on " << dotted(h.localAddress) << "  " << terminalText(name);
      if (conflicts.any()) c.out() << "  ! " << said.join(QStringLiteral(", "));
      c.out() << '\n';
    }
  }
  if (c.options().json) c.out() << QJsonDocument(rows).toJson(QJsonDocument::Indented);
  if (all.empty()) c.fail(QStringLiteral("no host answered"));
  return all.empty() ? kNoAnswer : kDone;
}

int readCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.isEmpty() || !isHostArgument(args.first())) {
    c.fail(QStringLiteral("read needs a HOST (a MAC or an IP address)"));
    return kUsage;
  }
  const auto which = groupsNamed(c, args.mid(1), allRecordMasks());
  if (!which) return kUsage;
  // --csv: one group's records as a spreadsheet table, one row each.
  const auto groups = std::count_if(which->begin(), which->end(), [](std::uint32_t m) { return m != 0; });
  if (c.options().csv && groups != 1) {
    c.fail(QStringLiteral("read --csv needs one GROUP"));
    return kUsage;
  }
  const auto host = c.find(args.first());
  if (!host) return kNoAnswer;
  const HostRecords r = readHost(c, *host, *which);
  if (r.status == kNoAnswer || r.status == kRefused || r.status == kCancelled) {
    if (c.options().json) printReadJson(c, *host, r, {});  // a program still gets its last line
    return r.status;
  }
  QByteArray bytes;
  if (c.options().csv) {
    const auto g = static_cast<ParamGroup>(std::find_if(which->begin(), which->end(), [](auto m) { return m; }) - which->begin());
    const CsvTable table = recordTable(r.config, g, r.read[static_cast<int>(g)]);
    bytes = csvBytes(toStandardOutput(c.options().output) && !c.options().json ? forStandardOutput(c, table) : table);
  } else {
    bytes = configFileJson(r.config, r.read, headerFor(*host));
  }
  if (toStandardOutput(c.options().output)) {
    if (c.options().json) printReadJson(c, *host, r, bytes);
    else c.out() << QString::fromUtf8(bytes);
  } else {
    QString error;
    if (!(c.options().csv ? writeCsvFile(c.options().output, bytes, &error)
                          : writeConfigFile(c.options().output, bytes, &error))) {
      c.fail(QStringLiteral("%1: %2").arg(c.options().output, error));
      return kUsage;
    }
    if (c.options().json) printReadJson(c, *host, r, {});
  }
  return r.status;
}

int diffCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.size() != 2) {
    c.fail(QStringLiteral("diff needs two arguments, each a file or a HOST"));
    return kUsage;
  }
  // Files are read and checked before any host is asked.
  struct Side {
    HostConfig config;
    RecordMasks which{};
    std::optional<QString> host;
  };
  Side sides[2];
  for (int i = 0; i < 2; ++i) {
    if (QFileInfo::exists(args[i])) {
      const ConfigFileResult file = readConfigFile(args[i]);
      if (const auto* e = std::get_if<ConfigFileError>(&file)) {
        c.fail(describeFileError(*e));
        return kUsage;
      }
      const ConfigFile& f = std::get<ConfigFile>(file);
      sides[i].config = applyConfigFile(f, HostConfig{});
      sides[i].which = f.present();
    } else if (isHostArgument(args[i])) {
      sides[i].host = args[i];
    } else {
      c.fail(QStringLiteral("%1 is neither a file nor a HOST").arg(args[i]));
      return kUsage;
    }
  }
  int status = kDone;
  for (Side& side : sides) {
    if (!side.host) continue;
    const auto host = c.find(*side.host);
    if (!host) return kNoAnswer;
    HostRecords r = readHost(c, *host, allRecordMasks());
    if (r.status == kNoAnswer || r.status == kRefused || r.status == kCancelled) return r.status;
    status = std::max(status, r.status);
    side.config = r.config;
    side.which = r.read;
  }
  RecordMasks both{};
  for (int g = 0; g < kParamGroupCount; ++g) both[g] = sides[0].which[g] & sides[1].which[g];
  const auto differences = diffConfigs(sides[0].config, sides[1].config, both);
  if (c.options().json)
    c.out() << QJsonDocument(differencesJson(differences)).toJson(QJsonDocument::Indented);
  else
    printDifferences(c, differences);
  // A script can tell a host that drifted from its baseline.
  if (status == kDone && c.options().exitCode && !differences.empty()) return kDiffers;
  return status;
}

int reportCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  const QString& output = c.options().output;
  if (args.size() != 1 || output.isEmpty()) {
    c.fail(QStringLiteral("report needs a HOST or a configuration FILE, and -o FILE.pdf or -o FILE.html"));
    return kUsage;
  }
  if (output != QLatin1String("-") && !reportFormatOf(output)) {
    c.fail(QStringLiteral("%1: a report is a .pdf or an .html file").arg(output));
    return kUsage;
  }
  HostReport report;
  report.allChannels = c.options().allChannels;
  int status = kDone;
  if (QFileInfo::exists(args.first())) {
    const ConfigFileResult file = readConfigFile(args.first());
    if (const auto* e = std::get_if<ConfigFileError>(&file)) {
      c.fail(describeFileError(*e));
      return kUsage;
    }
    const ConfigFile& f = std::get<ConfigFile>(file);
    report.config = applyConfigFile(f, HostConfig{});
    report.read = f.present();
    report.host = f.header.host;
    report.readAt = f.header.savedAt;
    report.readBy = f.header.savedBy;
  } else if (isHostArgument(args.first())) {
    const auto host = c.find(args.first());
    if (!host) return kNoAnswer;
    const HostRecords r = readHost(c, *host, allRecordMasks());
    if (r.status == kNoAnswer || r.status == kRefused || r.status == kCancelled) return r.status;
    status = r.status;
    const ConfigFileHeader header = headerFor(*host);
    report.config = r.config;
    report.read = r.read;
    report.host = header.host;
    report.readAt = header.savedAt;
    report.readBy = header.savedBy;
  } else {
    c.fail(QStringLiteral("%1 is neither a file nor a HOST").arg(args.first()));
    return kUsage;
  }
  if (output == QLatin1String("-")) {  // HTML, the report's text form
    if (c.options().json) {
      c.out() << QJsonDocument(QJsonObject{{QStringLiteral("status"), status}, {QStringLiteral("html"), reportHtml(report)}})
                     .toJson(QJsonDocument::Compact) << '\n';
    } else {
      c.out() << reportHtml(report);
    }
    return status;
  }
  QString error;
  if (!writeReport(output, report, &error)) {
    c.fail(QStringLiteral("%1: %2").arg(output, error));
    return kUsage;
  }
  if (c.options().json)
    c.out() << QJsonDocument(QJsonObject{{QStringLiteral("status"), status}, {QStringLiteral("output"), output}})
                   .toJson(QJsonDocument::Compact) << '\n';
  return status;
}

}  // namespace quendra::cli
