#include "config/field_json.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "link/gbk.h"
#include "records/field_text.h"

namespace quendra {
namespace {

using Problem = ConfigFileError::Problem;

// The shortest decimal that reads back as the same float, as a double.
double shortestDouble(float f) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, f);
  double d = 0;
  std::from_chars(buf, r.ptr, d);
  return d;
}

QString hex8(std::uint32_t v) { return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')); }

}  // namespace

QJsonValue fieldToJson(const RecordField& field, const FieldValue& value) {
  switch (field.kind) {
    case FieldKind::Unsigned: return static_cast<double>(std::get<std::uint32_t>(value));
    case FieldKind::Real: {
      const auto f = static_cast<float>(std::get<double>(value));
      return std::isfinite(f) ? QJsonValue(shortestDouble(f)) : QJsonValue(QJsonValue::Undefined);
    }
    case FieldKind::Text: return QString::fromStdString(gbkToUtf8(std::get<std::string>(value)));
    case FieldKind::Hex32: return hex8(std::get<std::uint32_t>(value));
    case FieldKind::Ipv4: return QString::fromStdString(formatDottedAddress(std::get<std::uint32_t>(value)));
  }
  return QJsonValue::Undefined;
}

std::variant<FieldValue, Problem> fieldFromJson(const RecordField& field, const QJsonValue& json) {
  switch (field.kind) {
    case FieldKind::Unsigned: {
      if (!json.isDouble()) return Problem::WrongType;
      const double d = json.toDouble();
      if (d != std::floor(d)) return Problem::WrongType;
      if (d < 0 || d > field.max) return Problem::OutOfRange;
      return FieldValue{static_cast<std::uint32_t>(d)};
    }
    case FieldKind::Real: {
      if (!json.isDouble()) return Problem::WrongType;
      const double d = json.toDouble();
      // Numbers up to half a unit in the last place above the largest float round to it: the largest float is
      // written as 3.4028235e38, which lies above it.
      if (std::fabs(d) >= double(std::numeric_limits<float>::max()) + std::ldexp(1.0, 103)) return Problem::OutOfRange;
      return FieldValue{static_cast<double>(static_cast<float>(d))};
    }
    case FieldKind::Text: {
      if (!json.isString()) return Problem::WrongType;
      const auto gbk = utf8ToGbk(json.toString().toStdString());
      // A zero byte would end the text early on the host.
      if (!gbk || gbk->find('\0') != std::string::npos) return Problem::NotGbk;
      if (gbk->size() > field.maxBytes) return Problem::TooLong;
      return FieldValue{*gbk};
    }
    case FieldKind::Hex32: {
      if (!json.isString()) return Problem::WrongType;
      const auto parsed = parseTerminalAddress(json.toString().toStdString());
      if (!parsed.value) return Problem::BadHex;
      return FieldValue{*parsed.value};
    }
    case FieldKind::Ipv4: {
      if (!json.isString()) return Problem::WrongType;
      const auto address = parseDottedAddress(json.toString().toStdString());
      if (!address) return Problem::BadAddress;
      return FieldValue{*address};
    }
  }
  return Problem::WrongType;
}

std::variant<FieldValue, Problem> fieldFromText(const RecordField& field, const QString& text) {
  if (field.kind == FieldKind::Text) return fieldFromJson(field, QJsonValue(text));
  if (field.kind == FieldKind::Hex32 || field.kind == FieldKind::Ipv4) return fieldFromJson(field, QJsonValue(text.trimmed()));
  bool ok = false;
  const double d = text.trimmed().toDouble(&ok);  // the C locale's decimal point, whatever the user's locale
  if (!ok || !std::isfinite(d)) return Problem::WrongType;
  return fieldFromJson(field, QJsonValue(d));
}

QString fieldCellText(const RecordField& field, const FieldValue& value) {
  const QString text = fieldText(field, value);
  if (field.kind != FieldKind::Real && field.kind != FieldKind::Text) return text;
  const auto back = fieldFromText(field, text);
  const auto* v = std::get_if<FieldValue>(&back);
  return v && sameValue(*v, value) && !text.trimmed().isEmpty() ? text : QString();
}

QString fieldText(const RecordField& field, const FieldValue& value) {
  if (field.kind == FieldKind::Real) {
    const auto f = static_cast<float>(std::get<double>(value));
    if (!std::isfinite(f)) return QString::number(static_cast<double>(f));
    char buf[32];
    return QString::fromLatin1(buf, std::to_chars(buf, buf + sizeof buf, f).ptr - buf);
  }
  const QJsonValue json = fieldToJson(field, value);
  return json.isString() ? json.toString() : QString::number(std::get<std::uint32_t>(value));
}

}  // namespace quendra
