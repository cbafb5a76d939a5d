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

// Runs the session's operation to its end: done only once the host answered
// a read of its network settings afterwards. `start` says whether it started.
OperationResult runToEnd(HostSession& session, Operation operation, const std::function<bool()>& start) {
  OperationResult result{operation, ParamGroup::Network, Outcome::NoAnswer, 1};
  bool ended = false;
  QEventLoop loop;
  QObject::connect(&session, &HostSession::finished, &loop, [&](const OperationResult& r) {
    if (r.operation != operation) return;
    result = r;
    ended = true;
    loop.quit();
  });
  if (start() && !ended) loop.exec();
  return result;
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
  const OperationResult r = runToEnd(*session, Operation::FactoryReset, [&] {
    session->factoryReset();
    return true;
  });
  if (r.outcome != Outcome::Done) {
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
  auto session = c.sessionFor(*host);
  // Zero, broadcast and multicast addresses would make the host unreachable: the session refuses them.
  std::optional<Refusal> refusal;
  const OperationResult r = runToEnd(*session, Operation::WriteMac, [&] {
    refusal = session->writeMac(*newMac);
    return !refusal;
  });
  if (refusal) {
    c.fail(QStringLiteral("%1 is not a MAC a host can use; nothing sent").arg(args[1]));
    return kRefused;
  }
  const QString newName = QString::fromStdString(formatMacDashed(*newMac));
  if (r.outcome != Outcome::Done) {
    c.fail(QStringLiteral("%1: the new MAC was sent, but no host answers as %2").arg(describeHost(*host), newName));
    return kNoAnswer;
  }
  c.out() << describeHost(*host) << "  now answers as " << newName << '\n';
  return kDone;
}

}  // namespace quendra::cli
