#include "config/config_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "config/atomic_file.h"
#include "config/field_json.h"
#include "link/gbk.h"
#include "records/field_text.h"

namespace quendra {
namespace {

using Problem = ConfigFileError::Problem;
const QString kFormat = QStringLiteral("quendra-host-config");

// The first refusal found; reading stops there.
struct Refusal {
  ConfigFileError error;
};

class Reader {
 public:
  explicit Reader(const QString& file) : file_(file) {}

  [[noreturn]] void refuse(const QString& path, Problem problem, qint64 expected = 0, qint64 actual = 0) const {
    throw Refusal{ConfigFileError{file_, path, problem, expected, actual}};
  }

  QJsonObject object(const QJsonValue& v, const QString& path) const {
    if (!v.isObject()) refuse(path, Problem::WrongType);
    return v.toObject();
  }
  QString string(const QJsonValue& v, const QString& path) const {
    if (!v.isString()) refuse(path, Problem::WrongType);
    return v.toString();
  }
  void onlyKeys(const QJsonObject& o, const QString& path, std::initializer_list<const char*> allowed) const {
    for (const QString& key : o.keys()) {
      bool known = false;
      for (const char* a : allowed) known = known || key == QLatin1String(a);
      if (!known) refuse(join(path, key), Problem::UnknownKey);
    }
  }
  static QString join(const QString& path, const QString& key) { return path.isEmpty() ? key : path + '.' + key; }

  ConfigFile read(const QJsonObject& top) {
    ConfigFile file;
    onlyKeys(top, {}, {"format", "formatVersion", "savedBy", "user", "savedAt", "host", "network", "base", "gprs", "led",
                       "channels", "modbus", "relays"});
    if (top.value(QLatin1String("format")) != QJsonValue(kFormat)) refuse(QStringLiteral("format"), Problem::WrongFormat);
    const QJsonValue version = top.value(QLatin1String("formatVersion"));
    if (!version.isDouble()) refuse(QStringLiteral("formatVersion"), Problem::WrongType);
    if (version.toDouble() != kConfigFormatVersion)
      refuse(QStringLiteral("formatVersion"), Problem::UnsupportedVersion, kConfigFormatVersion, version.toInteger());
    if (top.contains(QLatin1String("savedBy"))) file.header.savedBy = string(top[QLatin1String("savedBy")], "savedBy");
    if (top.contains(QLatin1String("user"))) file.header.user = string(top[QLatin1String("user")], "user");
    if (top.contains(QLatin1String("savedAt")))
      file.header.savedAt = QDateTime::fromString(string(top[QLatin1String("savedAt")], "savedAt"), Qt::ISODate);
    if (top.contains(QLatin1String("host"))) file.header.host = host(object(top[QLatin1String("host")], "host"));
    for (ParamGroup g : kAllGroups) {
      const QString key = QLatin1String(configGroupKey(g));
      if (!top.contains(key)) continue;
      auto& records = file.records[static_cast<int>(g)];
      records.resize(static_cast<std::size_t>(recordCountOf(g)));
      if (!isBatchGroup(g)) {
        records[0] = record(g, top[key], key);
        continue;
      }
      if (!top[key].isArray()) refuse(key, Problem::WrongType);
      const QJsonArray array = top[key].toArray();
      if (array.size() != recordCountOf(g)) refuse(key, Problem::WrongLength, recordCountOf(g), array.size());
      for (int k = 0; k < recordCountOf(g); ++k) {
        const QString path = QStringLiteral("%1[%2]").arg(key).arg(k);
        if (!array[k].isNull()) records[static_cast<std::size_t>(k)] = record(g, array[k], path, k);
      }
    }
    return file;
  }

 private:
  HostIdentity host(const QJsonObject& o) const {
    onlyKeys(o, QStringLiteral("host"), {"mac", "name", "ip", "firmware"});
    HostIdentity h;
    if (o.contains(QLatin1String("mac"))) {
      const auto mac = parseMacAnySpelling(string(o[QLatin1String("mac")], "host.mac").toStdString());
      if (!mac) refuse(QStringLiteral("host.mac"), Problem::BadAddress);
      h.mac = *mac;
    }
    if (o.contains(QLatin1String("name"))) h.name = string(o[QLatin1String("name")], "host.name");
    if (o.contains(QLatin1String("ip"))) {
      const auto ip = parseDottedAddress(string(o[QLatin1String("ip")], "host.ip").toStdString());
      if (!ip) refuse(QStringLiteral("host.ip"), Problem::BadAddress);
      h.ip = *ip;
    }
    if (o.contains(QLatin1String("firmware"))) {
      const QJsonValue f = o[QLatin1String("firmware")];
      if (!f.isDouble()) refuse(QStringLiteral("host.firmware"), Problem::WrongType);
      if (f.toDouble() < 0 || f.toDouble() > 0xFFFF || f.toDouble() != f.toInteger())
        refuse(QStringLiteral("host.firmware"), Problem::OutOfRange);
      h.firmware = static_cast<std::uint16_t>(f.toInteger());
    }
    return h;
  }

  RecordEntry record(ParamGroup g, const QJsonValue& value, const QString& path, int index = 0) const {
    const QJsonObject o = object(value, path);
    onlyKeys(o, path, {"fields", "image"});
    RecordEntry entry;
    HostConfig decoded;  // what the image holds, to drop fields that change nothing
    if (o.contains(QLatin1String("image"))) {
      const QString imagePath = join(path, QStringLiteral("image"));
      const QString hex = string(o[QLatin1String("image")], imagePath);
      const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
      const bool isHex = hex.size() % 2 == 0 && bytes.size() * 2 == hex.size() &&
                         std::all_of(hex.begin(), hex.end(), [](QChar c) { return std::isxdigit(c.unicode()) && c.unicode() < 128; });
      if (!isHex) refuse(imagePath, Problem::BadHex);
      if (static_cast<std::size_t>(bytes.size()) != payloadSizeOf(g))
        refuse(imagePath, Problem::WrongLength, static_cast<qint64>(payloadSizeOf(g)), bytes.size());
      entry.image = Bytes(bytes.begin(), bytes.end());
      decodeRecord(decoded, g, index, *entry.image);
    }
    if (o.contains(QLatin1String("fields"))) {
      const QString fieldsPath = join(path, QStringLiteral("fields"));
      const QJsonObject fields = object(o[QLatin1String("fields")], fieldsPath);
      for (auto it = fields.begin(); it != fields.end(); ++it) {
        const QString fieldPath = join(fieldsPath, it.key());
        const RecordField* field = findField(g, it.key().toStdString());
        if (!field) refuse(fieldPath, Problem::UnknownKey);
        // A text as the image holds it keeps the image's bytes, also where GBK cannot show them.
        if (entry.image && field->kind == FieldKind::Text && it->isString() &&
            it->toString() == fieldToJson(*field, field->get(decoded, index)).toString())
          continue;
        auto value = fieldFromJson(*field, *it);
        if (const auto* problem = std::get_if<Problem>(&value))
          refuse(fieldPath, *problem, field->kind == FieldKind::Text ? static_cast<qint64>(field->maxBytes) : 0);
        const FieldValue& v = std::get<FieldValue>(value);
        if (entry.image && sameValue(field->get(decoded, index), v)) continue;
        entry.fields.emplace_back(field, v);
      }
    } else if (!entry.image) {
      refuse(path, Problem::EmptyRecord);
    }
    return entry;
  }

  QString file_;
};

}  // namespace

const char* configGroupKey(ParamGroup group) {
  switch (group) {
    case ParamGroup::Network: return "network";
    case ParamGroup::Base: return "base";
    case ParamGroup::Gprs: return "gprs";
    case ParamGroup::Led: return "led";
    case ParamGroup::Channel: return "channels";
    case ParamGroup::Modbus: return "modbus";
    case ParamGroup::Relay: return "relays";
  }
  return "";
}

RecordMasks ConfigFile::present() const {
  RecordMasks m{};
  for (ParamGroup g : kAllGroups) {
    const auto& entries = records[static_cast<int>(g)];
    for (std::size_t k = 0; k < entries.size(); ++k)
      if (entries[k]) m[static_cast<int>(g)] |= 1u << k;
  }
  return m;
}

ConfigFileResult parseConfigFile(const QByteArray& json, const QString& fileName) {
  if (json.size() > kMaxConfigFileBytes)
    return ConfigFileError{fileName, {}, Problem::TooLarge, kMaxConfigFileBytes, json.size()};
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
  if (parseError.error != QJsonParseError::NoError)
    return ConfigFileError{fileName, {}, Problem::NotJson, 0, parseError.offset};
  if (!doc.isObject()) return ConfigFileError{fileName, {}, Problem::WrongType};
  try {
    return Reader(fileName).read(doc.object());
  } catch (const Refusal& r) {
    return r.error;
  }
}

ConfigFileResult readConfigFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return ConfigFileError{path, {}, Problem::CannotOpen};
  // Refused before reading: a file of any size must not be taken into memory.
  if (f.size() > kMaxConfigFileBytes) return ConfigFileError{path, {}, Problem::TooLarge, kMaxConfigFileBytes, f.size()};
  return parseConfigFile(f.read(kMaxConfigFileBytes + 1), path);
}

HostConfig applyConfigFile(const ConfigFile& file, const HostConfig& current) {
  HostConfig target = current;
  for (ParamGroup g : kAllGroups) {
    const auto& entries = file.records[static_cast<int>(g)];
    for (std::size_t k = 0; k < entries.size(); ++k) {
      if (!entries[k]) continue;
      const int index = static_cast<int>(k);
      if (entries[k]->image) decodeRecord(target, g, index, *entries[k]->image);
      for (const auto& [field, value] : entries[k]->fields) field->set(target, index, value);
      target.markKnown(g, index);
    }
  }
  return target;
}

QByteArray configFileJson(const HostConfig& config, const RecordMasks& which, const ConfigFileHeader& header) {
  QJsonObject top;
  top[QLatin1String("format")] = kFormat;
  top[QLatin1String("formatVersion")] = kConfigFormatVersion;
  if (!header.savedBy.isEmpty()) top[QLatin1String("savedBy")] = header.savedBy;
  if (!header.user.isEmpty()) top[QLatin1String("user")] = header.user;
  if (header.savedAt.isValid()) top[QLatin1String("savedAt")] = header.savedAt.toUTC().toString(Qt::ISODate);
  if (header.host) {
    QJsonObject host;
    host[QLatin1String("mac")] = QString::fromStdString(formatMacDashed(header.host->mac));
    host[QLatin1String("name")] = header.host->name;
    host[QLatin1String("ip")] = QString::fromStdString(formatDottedAddress(header.host->ip));
    host[QLatin1String("firmware")] = header.host->firmware;
    top[QLatin1String("host")] = host;
  }
  for (ParamGroup g : kAllGroups) {
    const std::uint32_t mask = which[static_cast<int>(g)];
    if (mask == 0) continue;
    QJsonArray records;
    for (int k = 0; k < recordCountOf(g); ++k) {
      if (!((mask >> k) & 1u)) {
        records.append(QJsonValue::Null);
        continue;
      }
      QJsonObject fields;
      for (const RecordField& f : fieldsOf(g)) {
        const QJsonValue v = fieldToJson(f, f.get(config, k));
        if (!v.isUndefined()) fields[QString::fromUtf8(f.key.data(), qsizetype(f.key.size()))] = v;
      }
      const Bytes image = encodeRecord(config, g, k);
      QJsonObject record;
      record[QLatin1String("fields")] = fields;
      record[QLatin1String("image")] =
          QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size())).toHex());
      records.append(record);
    }
    top[QLatin1String(configGroupKey(g))] = isBatchGroup(g) ? QJsonValue(records) : records.first();
  }
  return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

bool writeConfigFile(const QString& path, const QByteArray& json, QString* error) {
  return writeFileAtomically(path, json, error);
}

}  // namespace quendra
