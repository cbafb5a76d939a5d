#include "cli/fields_command.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTranslator>
#include <functional>

#include "config/config_file.h"
#include "fields/field_description.h"
#include "fields/field_labels.h"
#include "language/interface_language.h"

namespace quendra::cli {
namespace {

// Gives every text as the sources spell it: the hosts' Chinese, whatever
// translation the desktop's language installed beneath it.
class SourceTexts : public QTranslator {
 public:
  QString translate(const char*, const char* source, const char*, int) const override {
    return QString::fromUtf8(source);
  }
  bool isEmpty() const override { return false; }
};

// A text in both languages of the window: {"zh": ..., "en": ...}.
class Bilingual {
 public:
  Bilingual() : english_(std::make_unique<QTranslator>()) {
    if (!loadEnglish(*english_)) english_.reset();
  }
  bool hasEnglish() const { return english_ != nullptr; }

  template <typename Make>
  auto both(Make make) -> std::pair<decltype(make()), decltype(make())> {
    QCoreApplication::installTranslator(&source_);
    auto zh = make();
    QCoreApplication::removeTranslator(&source_);
    if (english_) QCoreApplication::installTranslator(english_.get());
    auto en = make();
    if (english_) QCoreApplication::removeTranslator(english_.get());
    return {zh, en};
  }
  QJsonObject text(const std::function<QString()>& make) {
    const auto [zh, en] = both(make);
    return {{QStringLiteral("zh"), zh}, {QStringLiteral("en"), en}};
  }

 private:
  SourceTexts source_;
  std::unique_ptr<QTranslator> english_;
};

const char* inputName(FieldInput input) {
  switch (input) {
    case FieldInput::Check: return "check";
    case FieldInput::List: return "list";
    case FieldInput::Integer: return "integer";
    case FieldInput::Real: return "real";
    case FieldInput::Text: return "text";
    case FieldInput::Hex32: return "hex32";
    case FieldInput::Ipv4: return "ipv4";
  }
  return "";
}

QJsonArray numbers(const std::vector<int>& list) {
  QJsonArray a;
  for (int n : list) a.append(n);
  return a;
}

QJsonObject fieldJson(Bilingual& words, ParamGroup group, const RecordField& field) {
  const auto [zh, en] = words.both([&] { return describeField(group, field); });
  QJsonObject o;
  o[QStringLiteral("key")] = zh.key;
  o[QStringLiteral("path")] = zh.path;
  o[QStringLiteral("label")] = QJsonObject{{QStringLiteral("zh"), zh.label}, {QStringLiteral("en"), en.label}};
  o[QStringLiteral("kind")] = QLatin1String(inputName(zh.input));
  o[QStringLiteral("identity")] = zh.identity;
  if (zh.max) {
    o[QStringLiteral("min")] = 0;
    o[QStringLiteral("max")] = double(*zh.max);
  }
  if (zh.maxBytes) o[QStringLiteral("maxBytes")] = qint64(*zh.maxBytes);
  if (!zh.choices.isEmpty()) {
    QJsonArray rows;
    for (qsizetype i = 0; i < zh.choices.size(); ++i)
      rows.append(QJsonObject{{QStringLiteral("zh"), zh.choices[i]}, {QStringLiteral("en"), en.choices.value(i, zh.choices[i])}});
    o[QStringLiteral("choices")] = rows;
  }
  if (const auto& rule = zh.enabled) {
    QJsonObject e{{QStringLiteral("dataPropertyRows"), numbers(rule->dataPropertyRows)},
                  {QStringLiteral("needsAllowAll"), rule->needsAllowAll}};
    if (rule->switchTextRows) e[QStringLiteral("switchTextRows")] = numbers(*rule->switchTextRows);
    o[QStringLiteral("enabled")] = e;
  }
  return o;
}

QJsonObject describeGroup(Bilingual& words, ParamGroup group) {
  QJsonArray fields;
  for (const RecordField& f : fieldsOf(group)) fields.append(fieldJson(words, group, f));
  QJsonObject o{{QStringLiteral("group"), QLatin1String(configGroupKey(group))},
                {QStringLiteral("label"), words.text([&] { return groupLabel(group); })},
                {QStringLiteral("records"), recordCountOf(group)},
                {QStringLiteral("fields"), fields}};
  if (isBatchGroup(group))
    o[QStringLiteral("recordLabels")] = words.text([&] { return recordLabel(group, 0).replace(QLatin1Char('1'), QStringLiteral("{n}")); });
  return o;
}

QString rangeText(const QJsonObject& f) {
  const QString kind = f[QStringLiteral("kind")].toString();
  if (kind == QLatin1String("integer")) return QStringLiteral("0..%1").arg(qint64(f[QStringLiteral("max")].toDouble()));
  if (kind == QLatin1String("text")) return QStringLiteral("<= %1 bytes GBK").arg(f[QStringLiteral("maxBytes")].toInt());
  if (kind == QLatin1String("list") || kind == QLatin1String("check"))
    return QStringLiteral("0..%1 (list)").arg(f[QStringLiteral("choices")].toArray().size() - 1);
  return QString();
}

}  // namespace

int fieldsCommand(const Options& options, Environment& env) {
  std::vector<ParamGroup> groups;
  for (const QString& name : options.arguments) {
    bool known = false;
    for (int g = 0; g < kParamGroupCount; ++g)
      if (name == QLatin1String(configGroupKey(ParamGroup(g)))) {
        groups.push_back(ParamGroup(g));
        known = true;
      }
    if (!known) {
      env.err << "quendra-cli: unknown group \"" << name
              << "\" (network, base, gprs, led, channels, modbus, relays)" << Qt::endl;
      return kUsage;
    }
  }
  if (groups.empty())
    for (int g = 0; g < kParamGroupCount; ++g) groups.push_back(ParamGroup(g));

  Bilingual words;
  QJsonArray described;
  for (ParamGroup g : groups) described.append(describeGroup(words, g));
  if (options.json) {
    env.out << QJsonDocument(described).toJson(QJsonDocument::Indented);
    return kDone;
  }
  for (const auto& g : described) {
    for (const auto& value : g.toObject()[QStringLiteral("fields")].toArray()) {
      const QJsonObject f = value.toObject();
      env.out << qSetFieldWidth(34) << Qt::left << f[QStringLiteral("path")].toString() << qSetFieldWidth(8)
              << f[QStringLiteral("kind")].toString() << qSetFieldWidth(20) << rangeText(f) << qSetFieldWidth(0)
              << f[QStringLiteral("label")].toObject()[QStringLiteral("zh")].toString()
              << (f[QStringLiteral("identity")].toBool() ? QStringLiteral("  [identity]") : QString()) << '\n';
    }
  }
  return kDone;
}

}  // namespace quendra::cli
