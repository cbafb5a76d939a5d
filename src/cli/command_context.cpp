#include "cli/command_context.h"

#include <QJsonArray>
#include <QJsonObject>

#include "config/field_json.h"
#include "config/field_labels.h"
#include "records/field_text.h"

namespace quendra::cli {

Context::Context(Environment& environment, Options options, Transport& transport)
    : env_(environment), options_(std::move(options)), transport_(transport), router_(transport) {
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

// Runs a search until the time is up or `enough` says so. The request goes
// out once per attempt, spread over the search time, so a lost request or
// answer costs only a part of it; a host that answers again is listed once
// per local address that heard it.
std::vector<FoundHost> search(Context& c, Transport& transport, const std::function<bool(const FoundHost&)>& enough) {
  std::vector<FoundHost> found;
  QEventLoop loop;
  const auto heard = QObject::connect(&c.router(), &ReplyRouter::searchAnswered,
                                      [&](const SearchAnswer& a, std::uint32_t local) {
                                        const bool again = std::any_of(found.begin(), found.end(), [&](const FoundHost& f) {
                                          return f.answer.mac == a.mac && f.localAddress == local;
                                        });
                                        if (!again) found.push_back({a, local});
                                        if (enough && enough(found.back())) loop.quit();
                                      });
  const int attempts = c.options().attempts.value_or(4);
  QTimer resend;
  resend.setInterval(c.options().searchTime / attempts);
  int sent = 0;
  QObject::connect(&resend, &QTimer::timeout, [&] {
    if (++sent == attempts) loop.quit();
    else c.router().sendSearch();
  });
  transport.refreshInterfaces();
  c.router().sendSearch();
  resend.start();
  loop.exec();
  QObject::disconnect(heard);
  return found;
}

}  // namespace

std::vector<FoundHost> Context::searchAll(bool onePerHost) {
  progress(QStringLiteral("searching..."));
  std::vector<FoundHost> found = search(*this, transport_, nullptr);
  if (!onePerHost) return found;
  // A host heard from two local addresses answers twice; list it once.
  std::vector<FoundHost> unique;
  for (const FoundHost& h : found)
    if (std::none_of(unique.begin(), unique.end(), [&](const FoundHost& u) { return u.answer.mac == h.answer.mac; }))
      unique.push_back(h);
  return unique;
}

std::optional<FoundHost> Context::find(const QString& host) {
  const auto matches = [&](const FoundHost& h) { return namesHost(host, h); };
  progress(QStringLiteral("looking for %1...").arg(host));
  for (const FoundHost& h : search(*this, transport_, matches))
    if (matches(h)) return h;
  fail(QStringLiteral("host %1 did not answer the search").arg(host));
  return std::nullopt;
}

bool isHostArgument(const QString& text) {
  return parseMacAnySpelling(text.toStdString()) || parseDottedAddress(text.toStdString());
}

bool namesHost(const QString& host, const FoundHost& found) {
  if (const auto mac = parseMacAnySpelling(host.toStdString())) return found.answer.mac == *mac;
  return parseDottedAddress(host.toStdString()) == found.answer.ip;
}

QString describeHost(const FoundHost& host) {
  return QString::fromStdString(formatMacDashed(host.answer.mac) + " " + formatDottedAddress(host.answer.ip));
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
