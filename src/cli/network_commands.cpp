// The guarded commands that change a host's identity: its network factory
// settings and its MAC address. Both need --yes.
#include "cli/command_context.h"
#include "records/field_text.h"

namespace quendra::cli {
namespace {

bool confirmed(Context& c, const char* what) {
  if (c.options().yes) return true;
  c.fail(QStringLiteral("%1; add --yes to do it").arg(QLatin1String(what)));
  return false;
}

// Runs the reset or MAC write as a job to its end: the host's network
// settings are kept in its history first (nothing is sent when they cannot
// be), and it is done only once the host answered a read of its network
// settings afterwards.
ConfigJobResult runToEnd(Context& c, HostSession& session, const FoundHost& host,
                         const std::function<void(ConfigJob&, const ConfigJobOptions&)>& start) {
  ConfigJob job(session);
  ConfigJobResult result;
  bool ended = false;
  QEventLoop loop;
  QObject::connect(&job, &ConfigJob::finished, &loop, [&](const ConfigJobResult& r) {
    result = r;
    ended = true;
    loop.quit();
  });
  ConfigJobOptions options;
  options.history = &c.history();
  options.host = identityOf(host);
  start(job, options);
  if (!ended) loop.exec();
  return result;
}

// Why nothing was sent, or nullopt when it was.
std::optional<QString> notSent(const ConfigJobResult& r) {
  if (r.verdict() == JobVerdict::HistoryNotKept)
    return QStringLiteral("the history entry could not be written (%1); nothing sent").arg(r.historyError);
  if (!r.hostAnswered) return QStringLiteral("did not answer; nothing sent");
  return std::nullopt;
}

QString addressOf(const HostSession& session) {
  return QString::fromStdString(formatDottedAddress(session.config().network.hostAddress()));
}

}  // namespace

int resetNetworkCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.size() != 1 || !isHostArgument(args[0])) {
    c.fail(QStringLiteral("reset-network needs one HOST"));
    return kUsage;
  }
  if (!confirmed(c, "reset-network restores the host's network factory settings")) return kUsage;
  const auto host = c.find(args[0]);
  if (!host) return kNoAnswer;
  auto session = c.sessionFor(*host);
  const ConfigJobResult r =
      runToEnd(c, *session, *host, [](ConfigJob& job, const ConfigJobOptions& o) { job.startFactoryReset(o); });
  if (const auto why = notSent(r)) {
    c.fail(QStringLiteral("%1: %2").arg(describeHost(*host), *why));
    return statusOf(r.verdict());
  }
  if (r.verdict() != JobVerdict::Done) {
    c.fail(QStringLiteral("%1: the reset was sent, but the host did not answer afterwards").arg(describeHost(*host)));
    return kNoAnswer;
  }
  c.out() << describeHost(*host) << "  network factory settings restored; it answers at " << addressOf(*session) << '\n';
  return kDone;
}

int setMacCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.size() != 2 || !isHostArgument(args[0])) {
    c.fail(QStringLiteral("set-mac needs a HOST and the NEW-MAC"));
    return kUsage;
  }
  const auto newMac = parseMacAnySpelling(args[1].toStdString());
  if (!newMac) {
    c.fail(QStringLiteral("%1 is not a MAC address").arg(args[1]));
    return kUsage;
  }
  if (!confirmed(c, "set-mac gives the host a new MAC address")) return kUsage;
  const auto host = c.find(args[0]);
  if (!host) return kNoAnswer;
  // Zero, broadcast and multicast addresses would make the host unreachable.
  if (!isUsableHostMac(*newMac)) {
    c.fail(QStringLiteral("%1 is not a MAC a host can use; nothing sent").arg(args[1]));
    return kRefused;
  }
  auto session = c.sessionFor(*host);
  const ConfigJobResult r = runToEnd(c, *session, *host, [&newMac](ConfigJob& job, const ConfigJobOptions& o) {
    job.startMacWrite(*newMac, o);
  });
  if (const auto why = notSent(r)) {
    c.fail(QStringLiteral("%1: %2").arg(describeHost(*host), *why));
    return statusOf(r.verdict());
  }
  const QString newName = QString::fromStdString(formatMacDashed(*newMac));
  if (r.verdict() != JobVerdict::Done) {
    c.fail(QStringLiteral("%1: the new MAC was sent, but no host answers as %2").arg(describeHost(*host), newName));
    return kNoAnswer;
  }
  c.out() << describeHost(*host) << "  now answers as " << newName << '\n';
  return kDone;
}

}  // namespace quendra::cli
