#include "cli/cli.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonObject>

#include "cli/command_context.h"
#include "cli/fields_command.h"
#include "records/field_text.h"
#include "session/traffic_log.h"
#include "session/transport.h"

namespace quendra::cli {
namespace {

const char* const kHelp = R"(Usage: quendra-cli [OPTIONS] COMMAND [ARGUMENTS]

Reads, compares and writes the configuration of Quendra monitoring hosts on
the local network (UDP port 1901), like the window does.

Commands:
  search                        the hosts that answer: IP, name, MAC, firmware,
                                and the local address that heard each one
  read HOST [GROUP...] [-o FILE]
                                read groups (all by default) into a host
                                configuration file (standard output without -o)
  read HOST GROUP --csv [-o FILE.csv]
                                one group's records as a table, one row each
                                (write takes such a FILE.csv back)
  diff A B [--exit-code]        the fields that differ; A and B are each a file
                                or a HOST
  write HOST FILE [GROUP...] [--dry-run] [--with-network] [--with-identity]
                                read what the host has, show the differences,
                                keep what it had in its history, write only the
                                records that differ, read them back and verify;
                                --dry-run stops after the differences
  clone FILE HOST... | --all [GROUP...] [--with-network]
                                write to many hosts in parallel; a line per host
                                at the end
  table HOST... | --all [GROUP | FIELD...] [-o FILE.csv]
                                read the hosts in parallel into one table (CSV,
                                one row per host): the fields of the GROUPs or
                                the FIELDs named (default: network, base, gprs,
                                led); a host that does not answer keeps a row
                                with its MAC alone
  apply FILE.csv [--template FILE] [--with-network] [--dry-run]
                                commission the hosts a roster names: each gets
                                the template's settings (without the template
                                host's identity) and its row's cells on top,
                                its address and terminal address among them;
                                only differing records are written, read back
                                and verified, a line per host
  report HOST|FILE -o FILE.pdf|FILE.html [--all-channels]
                                the host's commissioning report: its identity,
                                every group with the window's labels, the
                                enabled channels (all with --all-channels) and
                                a block to sign; from a HOST read now, or from
                                a configuration FILE. English when the desktop
                                language is English
  history MAC [--json]          the host's history entries, newest first: ENTRY,
                                when, the groups, the program that wrote it
  history show ENTRY [-o FILE]  one entry as the configuration file it is
  restore HOST ENTRY [GROUP...] [--dry-run]
                                write an entry back, as write does a file
  reset-network HOST --yes      restore the host's network factory settings
  set-mac HOST NEW-MAC --yes    give the host a new MAC address
  fields [GROUP...]             every field a configuration holds: its path,
                                kind, range or GBK byte limit, list rows,
                                label (Chinese and English with --json), and
                                for channels the data properties that use it

A FILE of "-" is standard input (write, clone, apply, --template: a host
configuration file, or apply's roster) or standard output (read -o, table -o,
report -o, which then writes HTML), so that a program passes configurations
through pipes.

HOST is a MAC address in any common spelling (02-4B-7D-00-00-01,
02:4b:7d:00:00:01, 024B7D000001) or an IP address as search shows it.
GROUP is one of network, base, gprs, led, channels, modbus, relays. FIELD
names one field as configuration files do: network.hostAddress,
base.terminalAddress, channels[3].upperLimit1, relays[7].workMode. A roster
(apply) is a CSV file: a header row with "mac", optionally "ip" and "name", and
FIELD columns; one row per host; an empty cell leaves that field as it is.

A host's identity is its MAC, its address, its terminal address and the bytes
of its network record that no field names. A file read from the same host is
written whole; a file of another host never gives its identity away: the
target keeps its own address, terminal address and unnamed network bytes, and
the other network settings are written only with --with-network or the group
"network" named. To replace a failed host by a new one, write the old one's
file with --with-identity: address and terminal address come from the file;
the unnamed bytes and the MAC never cross. Every write keeps what the host held
before in the history the window shows (历史记录...).

One writer per host: every write (write, clone, apply, and the window) holds
a lock per host MAC from its first read to its verdict. Another writer of the
same host waits for it up to --lock-wait, then is refused with the holder
named (program, user, process, since when). Reads never wait.

With --json, read, write, clone, table, apply and report print one JSON object
per line as they go: host-started, host-waiting, stage, record-read,
record-written, record-resent, record-failed, host-finished, cancelled, and first started (see
quendra-cli(1)); the last line is the result. SIGTERM or SIGINT stops sending
at once; each host's line then says which records were written.

Options:
  --json                  machine-readable results (JSON) on standard output
  --csv                   (read) one group as a table, a row per record
  --local-address ADDR    send and listen on this local IPv4 address only
  --timeout MS            the longest wait for an answer (default 801 ms;
                          relays and ModBus slots 8010 ms); below it, waits
                          follow the answer times each host has shown
  --attempts N            give each request N such waits in all (default 4):
                          it is sent again until that time is spent
  --fixed-waits           wait the whole --timeout for every answer and send
                          each request exactly N times (for a host that
                          misbehaves with shorter waits)
  --search-time MS        how long a search listens for answers (default 1500)
  --capture FILE.pcapng   record every datagram sent and received
  -o, --output FILE       (read, table, report) the file to write
  --dry-run               (write, apply) stop after showing the differences
  --all                   (clone, table) every host that answers a search
  --template FILE         (apply) the settings every host of the roster gets
  --with-network          (write, clone, apply) write another host's network
                          settings
  --with-identity         (write) take address and terminal address from the
                          file: the host replaces the file's host
  --exit-code             (diff) exit 5 when the two differ
  --all-channels          (report) every channel, not only the enabled ones
  --yes                   (reset-network, set-mac) do it
  --lock-wait MS          how long a write waits for another writer of the
                          same host (default 10000)
  -h, --help              this text

Results go to standard output; progress (on a terminal) and diagnostics to
standard error.

Exit status:
  0  all done (every write read back and verified)
  1  usage or file error; nothing was sent
  2  a host did not answer or was not found
  3  partly done: some records failed or did not verify
  4  refused: the host's firmware version is not supported, or an invalid value
  5  (diff --exit-code) the two differ
  6  another writer held a host all the while a write waited for it
  7  cancelled by SIGTERM or SIGINT
  8  standard output closed (the reading program went away): stopped as if
     cancelled
)";

std::optional<Options> parse(const QStringList& arguments, Environment& env) {
  QCommandLineParser p;
  p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  const auto valued = [](const QStringList& names, const char* value) {
    return QCommandLineOption(names, QString(), QString::fromLatin1(value));
  };
  const QCommandLineOption json(QStringLiteral("json")), csv(QStringLiteral("csv")), dryRun(QStringLiteral("dry-run")), all(QStringLiteral("all")),
      withNetwork(QStringLiteral("with-network")), withIdentity(QStringLiteral("with-identity")),
      exitCode(QStringLiteral("exit-code")), yes(QStringLiteral("yes")), allChannels(QStringLiteral("all-channels")),
      fixedWaits(QStringLiteral("fixed-waits")), help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption local = valued({QStringLiteral("local-address")}, "ADDR"),
                           timeout = valued({QStringLiteral("timeout")}, "MS"),
                           attempts = valued({QStringLiteral("attempts")}, "N"),
                           searchTime = valued({QStringLiteral("search-time")}, "MS"),
                           capture = valued({QStringLiteral("capture")}, "FILE"),
                           templateFile = valued({QStringLiteral("template")}, "FILE"),
                           output = valued({QStringLiteral("o"), QStringLiteral("output")}, "FILE"),
                           lockWait = valued({QStringLiteral("lock-wait")}, "MS");
  p.addOptions({json, csv, local, timeout, attempts, fixedWaits, searchTime, capture, templateFile, output, dryRun, all,
                withNetwork, withIdentity, exitCode, yes, allChannels, lockWait, help});
  if (!p.parse(QStringList{QStringLiteral("quendra-cli")} + arguments)) {
    env.err << "quendra-cli: " << p.errorText() << "\nTry quendra-cli --help.\n";
    return std::nullopt;
  }
  Options o;
  if (p.isSet(help)) {
    o.command = QStringLiteral("help");
    return o;
  }
  const QStringList positional = p.positionalArguments();
  if (positional.isEmpty()) {
    env.err << "quendra-cli: no command given\nTry quendra-cli --help.\n";
    return std::nullopt;
  }
  o.command = positional.first();
  o.arguments = positional.mid(1);
  o.json = p.isSet(json);
  o.csv = p.isSet(csv);
  o.output = p.value(output);
  o.capture = p.value(capture);
  o.templateFile = p.value(templateFile);
  o.dryRun = p.isSet(dryRun);
  o.all = p.isSet(all);
  o.withNetwork = p.isSet(withNetwork);
  o.withIdentity = p.isSet(withIdentity);
  o.exitCode = p.isSet(exitCode);
  o.yes = p.isSet(yes);
  o.allChannels = p.isSet(allChannels);
  o.fixedWaits = p.isSet(fixedWaits);
  const auto number = [&](const QCommandLineOption& option, int min, int max) -> std::optional<int> {
    bool ok = false;
    const int v = p.value(option).toInt(&ok);
    if (ok && v >= min && v <= max) return v;
    env.err << "quendra-cli: --" << option.names().constLast() << " needs a number from " << min << " to " << max << '\n';
    return std::nullopt;
  };
  if (p.isSet(local)) {
    const auto address = parseDottedAddress(p.value(local).toStdString());
    if (!address) {
      env.err << "quendra-cli: --local-address needs an IPv4 address such as 192.168.0.5\n";
      return std::nullopt;
    }
    o.localAddress = *address;
  }
  if (p.isSet(timeout)) {
    const auto v = number(timeout, 1, 600000);
    if (!v) return std::nullopt;
    o.timeout = std::chrono::milliseconds(*v);
  }
  if (p.isSet(attempts)) {
    const auto v = number(attempts, 1, 100);
    if (!v) return std::nullopt;
    o.attempts = *v;
  }
  if (p.isSet(lockWait)) {
    const auto v = number(lockWait, 0, 3600000);
    if (!v) return std::nullopt;
    o.lockWait = std::chrono::milliseconds(*v);
  }
  if (p.isSet(searchTime)) {
    const auto v = number(searchTime, 1, 600000);
    if (!v) return std::nullopt;
    o.searchTime = std::chrono::milliseconds(*v);
  }
  return o;
}

}  // namespace

int run(const QStringList& arguments, Environment& env) {
  const auto options = parse(arguments, env);
  if (!options) return kUsage;
  if (options->command == QLatin1String("help")) {
    env.out << kHelp;
    return kDone;
  }
  if (options->command == QLatin1String("fields")) return fieldsCommand(*options, env);
  if (options->command == QLatin1String("history")) {
    Options o = *options;
    const bool show = !o.arguments.isEmpty() && o.arguments.first() == QLatin1String("show");
    if (show) o.arguments.removeFirst();
    const int status = show ? historyShowCommand(env, o) : historyCommand(env, o);
    env.out.flush();
    return status;
  }
  using Command = int (*)(Context&);
  const std::pair<const char*, Command> commands[] = {
      {"search", searchCommand},          {"read", readCommand},     {"diff", diffCommand},
      {"write", writeCommand},            {"clone", cloneCommand},   {"reset-network", resetNetworkCommand},
      {"set-mac", setMacCommand},         {"report", reportCommand}, {"table", tableCommand},
      {"apply", applyCommand},            {"restore", restoreCommand},
  };
  for (const auto& [name, command] : commands) {
    if (options->command != QLatin1String(name)) continue;
    Transport* transport = env.transport(*options);
    if (!transport) return kNoAnswer;
    // A capture keeps everything of the run (a clone to 100 hosts is some 45 000 datagrams).
    std::unique_ptr<TrafficLog> capture;
    if (!options->capture.isEmpty()) capture = std::make_unique<TrafficLog>(*transport, 1000000);
    Context context(env, *options, *transport);
    // A program that runs a long command learns whom to send SIGTERM first, so
    // it can stop the command and still read what it says it wrote.
    static const QStringList kWithProgress{"read", "write", "clone", "table", "apply", "report", "restore"};
    if (options->json && kWithProgress.contains(options->command))
      context.event(QJsonObject{{QStringLiteral("event"), QStringLiteral("started")},
                                {QStringLiteral("command"), options->command},
                                {QStringLiteral("pid"), QCoreApplication::applicationPid()}});
    int status = command(context);
    if (capture && !capture->writePcapng(options->capture)) {
      env.err << "quendra-cli: cannot write the capture " << options->capture << '\n';
      status = std::max<int>(status, kUsage);
    }
    env.out.flush();
    if (context.outputClosed() || env.out.status() != QTextStream::Ok) {
      context.fail(QStringLiteral("standard output is closed; stopped"));
      status = kOutputClosed;
    } else if (context.stopped()) {
      status = kCancelled;
    }
    env.err.flush();
    return status;
  }
  env.err << "quendra-cli: unknown command \"" << options->command << "\"\nTry quendra-cli --help.\n";
  return kUsage;
}

}  // namespace quendra::cli
