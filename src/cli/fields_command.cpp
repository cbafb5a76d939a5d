#include "cli/fields_command.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTranslator>
#include <functional>

#include "config/config_file.h"
#include "config/field_labels.h"
#include "records/channel_field_rules.h"

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
    if (!english_->load(QStringLiteral(":/i18n/quendra_en.qm"))) english_.reset();
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

QString keyText(std::string_view key) { return QString::fromUtf8(key.data(), qsizetype(key.size())); }

QString kindName(ParamGroup group, const RecordField& field) {
  if (isCheckField(group, field.key)) return QStringLiteral("check");
  if (!fieldChoices(group, field.key).isEmpty()) return QStringLiteral("list");
  switch (field.kind) {
    case FieldKind::Unsigned: return QStringLiteral("integer");
    case FieldKind::Real: return QStringLiteral("real");
    case FieldKind::Text: return QStringLiteral("text");
    case FieldKind::Hex32: return QStringLiteral("hex32");
    case FieldKind::Ipv4: return QStringLiteral("ipv4");
  }
  return QString();
}

// The data-property rows (0..6) in which the channel page lets the operator
// edit the field, and whether "允许编辑所有参数" must be ticked as well.
QJsonObject channelRule(ChannelField field) {
  QJsonArray rows, rowsAllowingAll, switchRows;
  for (int row = 0; row <= 6; ++row) {
    const auto plain = channelFieldStates(row, false), all = channelFieldStates(row, true);
    if (plain && plain->isEnabled(field)) rows.append(row);
    if (all && all->isEnabled(field)) rowsAllowingAll.append(row);
    if (all && all->switchTexts) switchRows.append(row);
  }
  const bool gated = rows != rowsAllowingAll;
  QJsonObject o{{QStringLiteral("dataPropertyRows"), gated ? rowsAllowingAll : rows},
                {QStringLiteral("needsAllowAll"), gated}};
  if (field == ChannelField::Unit1 || field == ChannelField::Unit2) o[QStringLiteral("switchTextRows")] = switchRows;
  return o;
}

bool isIdentity(ParamGroup group, std::string_view key) {
  return (group == ParamGroup::Network && key == "hostAddress") || (group == ParamGroup::Base && key == "terminalAddress");
}

QJsonObject describeField(Bilingual& words, ParamGroup group, const RecordField& field) {
  const QString groupKey = QLatin1String(configGroupKey(group));
  QJsonObject o;
  o[QStringLiteral("key")] = keyText(field.key);
  o[QStringLiteral("path")] = isBatchGroup(group) ? QStringLiteral("%1[k].%2").arg(groupKey, keyText(field.key))
                                                  : groupKey + QLatin1Char('.') + keyText(field.key);
  o[QStringLiteral("label")] = words.text([&] { return fieldLabel(group, field.key); });
  o[QStringLiteral("kind")] = kindName(group, field);
  o[QStringLiteral("identity")] = isIdentity(group, field.key);
  if (field.kind == FieldKind::Unsigned) {
    o[QStringLiteral("min")] = 0;
    o[QStringLiteral("max")] = double(field.max);
  }
  if (field.kind == FieldKind::Text) o[QStringLiteral("maxBytes")] = qint64(field.maxBytes);
  const auto [zh, en] = words.both([&] { return fieldChoices(group, field.key); });
  if (!zh.isEmpty()) {
    QJsonArray rows;
    for (qsizetype i = 0; i < zh.size(); ++i)
      rows.append(QJsonObject{{QStringLiteral("zh"), zh[i]}, {QStringLiteral("en"), en.value(i, zh[i])}});
    o[QStringLiteral("choices")] = rows;
  }
  if (group == ParamGroup::Channel)
    if (const auto rule = channelRuleField(field.key)) o[QStringLiteral("enabled")] = channelRule(*rule);
  return o;
}

QJsonObject describeGroup(Bilingual& words, ParamGroup group) {
  QJsonArray fields;
  for (const RecordField& f : fieldsOf(group)) fields.append(describeField(words, group, f));
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
