#include "config/field_path.h"

#include <algorithm>

#include "config/config_file.h"

namespace quendra {
namespace {

bool isAsciiDigits(QStringView s) {
  return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

// "group.key", or "group[index].key" for the groups of many records.
QString pathText(ParamGroup group, const QString& index, const RecordField& field) {
  const QString key = QString::fromUtf8(field.key.data(), static_cast<qsizetype>(field.key.size()));
  const QString groupKey = QLatin1String(configGroupKey(group));
  return isBatchGroup(group) ? QStringLiteral("%1[%2].%3").arg(groupKey, index, key) : groupKey + '.' + key;
}

}  // namespace

std::variant<FieldPath, FieldPathProblem> parseFieldPath(QStringView text) {
  const qsizetype dot = text.indexOf(QLatin1Char('.'));
  if (dot < 0) return FieldPathProblem::Malformed;
  QStringView group = text.first(dot);
  const QStringView key = text.sliced(dot + 1);
  int index = -1;
  if (const qsizetype open = group.indexOf(QLatin1Char('[')); open >= 0) {
    if (!group.endsWith(QLatin1Char(']'))) return FieldPathProblem::Malformed;
    const QStringView digits = group.sliced(open + 1, group.size() - open - 2);
    if (!isAsciiDigits(digits)) return FieldPathProblem::Malformed;
    bool ok = false;
    const uint n = digits.toUInt(&ok);
    index = ok && n < 1000 ? static_cast<int>(n) : 1000;  // beyond every group
    group = group.first(open);
  }
  const auto* g = std::find_if(kAllGroups.begin(), kAllGroups.end(),
                               [&](ParamGroup candidate) { return group == QLatin1String(configGroupKey(candidate)); });
  if (g == kAllGroups.end()) return FieldPathProblem::UnknownGroup;
  if (isBatchGroup(*g) && index < 0) return FieldPathProblem::MissingIndex;
  if (!isBatchGroup(*g) && index >= 0) return FieldPathProblem::UnexpectedIndex;
  if (index >= recordCountOf(*g)) return FieldPathProblem::IndexOutOfRange;
  const QByteArray keyBytes = key.toUtf8();
  const RecordField* field = findField(*g, std::string_view(keyBytes.constData(), static_cast<std::size_t>(keyBytes.size())));
  if (!field) return FieldPathProblem::UnknownField;
  return FieldPath{*g, std::max(index, 0), field};
}

QString fieldPathText(const FieldPath& path) { return pathText(path.group, QString::number(path.index), *path.field); }

QString fieldPathPattern(ParamGroup group, const RecordField& field) { return pathText(group, QStringLiteral("k"), field); }

std::vector<FieldPath> fieldPathsOf(const std::vector<ParamGroup>& groups) {
  std::vector<FieldPath> paths;
  for (ParamGroup g : groups)
    for (int k = 0; k < recordCountOf(g); ++k)
      for (const RecordField& f : fieldsOf(g)) paths.push_back({g, k, &f});
  return paths;
}

}  // namespace quendra
