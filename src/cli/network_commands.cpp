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
  c.sessionFor(*host)->factoryReset();
  c.out() << describeHost(*host) << "  network factory reset sent\n";
  return kDone;
}

int setMacCommand(Context& c) {
  const QStringList& args = c.options().arguments;
  if (args.size() != 2 || !isHostArgument(args[0])) {
    c.fail(QStringLiteral("set-mac needs a HOST and the NEW-MAC"));
    return kUsage;
  }
  const auto newMac = parseMacAnySpelling(args[1].toStdString());
  // Zero, broadcast and multicast addresses would make the host unreachable.
  if (!newMac || !isUsableHostMac(*newMac)) {
    c.fail(QStringLiteral("%1 is not a MAC a host can use").arg(args[1]));
    return kRefused;
  }
  if (!confirmed(c, "set-mac gives the host a new MAC address")) return kUsage;
  const auto host = c.find(args[0]);
  if (!host) return kNoAnswer;
  c.sessionFor(*host)->writeMac(*newMac);
  // Verified when the host answers a search under its new address.
  const QString newName = QString::fromStdString(formatMacDashed(*newMac));
  if (!c.find(newName)) return kPartly;
  c.out() << describeHost(*host) << "  now answers as " << newName << '\n';
  return kDone;
}

}  // namespace quendra::cli
