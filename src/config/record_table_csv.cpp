#include "config/record_table_csv.h"

#include <QRegularExpression>

#include "config/field_json.h"

namespace quendra {
namespace {

using Problem = ConfigFileError::Problem;

QString recordName(ParamGroup group, int index) {
  const QString key = QLatin1String(configGroupKey(group));
  return isBatchGroup(group) ? QStringLiteral("%1[%2]").arg(key).arg(index) : key;
}

// "channels[3]" or "base": the group and record a row is about.
std::optional<std::pair<ParamGroup, int>> parseRecordName(const QString& text) {
  static const QRegularExpression form(QStringLiteral("^([a-z]+)(?:\\[(\\d{1,2})\\])?$"));
  const auto m = form.match(text.trimmed());
  if (!m.hasMatch()) return std::nullopt;
  for (ParamGroup g : kAllGroups) {
    if (m.captured(1) != QLatin1String(configGroupKey(g)) || m.hasCaptured(2) != isBatchGroup(g)) continue;
    const int index = m.hasCaptured(2) ? m.captured(2).toInt() : 0;
    if (index < recordCountOf(g)) return std::make_pair(g, index);
  }
  return std::nullopt;
}

}  // namespace

CsvTable recordTable(const HostConfig& config, ParamGroup group, std::uint32_t records) {
  QStringList header{QStringLiteral("record")};
  for (const RecordField& f : fieldsOf(group)) header << QString::fromUtf8(f.key.data(), qsizetype(f.key.size()));
  CsvTable table{header};
  for (int k = 0; k < recordCountOf(group); ++k) {
    if (!((records >> k) & 1u)) continue;
    QStringList row{recordName(group, k)};
    for (const RecordField& f : fieldsOf(group)) row << fieldCellText(f, f.get(config, k));
    table.push_back(row);
  }
  return table;
}

ConfigFileResult parseRecordTable(const QByteArray& bytes, const QString& fileName) {
  return recordTableOf(parseCsv(bytes), fileName);
}

ConfigFileResult readRecordTable(const QString& path) { return recordTableOf(readCsvFile(path), path); }

ConfigFileResult recordTableOf(const CsvResult& csv, const QString& fileName) {
  if (const auto* e = std::get_if<CsvError>(&csv)) {
    const Problem p = e->problem == CsvError::Problem::TooLarge     ? Problem::TooLarge
                      : e->problem == CsvError::Problem::CannotOpen ? Problem::CannotOpen
                                                                    : Problem::NotJson;
    return ConfigFileError{fileName, e->line ? QStringLiteral("row %1").arg(e->line) : QString(), p, 0, e->line};
  }
  const CsvTable& table = std::get<CsvTable>(csv);
  const auto refuse = [&](int row, const QString& column, Problem p) {
    return ConfigFileError{fileName, column.isEmpty() ? QStringLiteral("row %1").arg(row)
                                                      : QStringLiteral("row %1, column %2").arg(row).arg(column),
                           p};
  };
  if (table.empty() || table[0].value(0).trimmed() != QLatin1String("record")) return refuse(1, {}, Problem::WrongFormat);
  ConfigFile file;
  for (int c = 1; c < table[0].size(); ++c)  // the header's keys are checked against the rows' groups below
    if (table[0].indexOf(table[0][c]) != c) return refuse(1, table[0][c], Problem::Repeated);
  for (std::size_t r = 1; r < table.size(); ++r) {
    const QStringList& cells = table[r];
    const int row = static_cast<int>(r) + 1;
    if (cells.join(QString()).trimmed().isEmpty()) continue;  // a blank line
    const auto record = parseRecordName(cells[0]);
    if (!record) return refuse(row, QStringLiteral("record"), Problem::UnknownKey);
    const auto [group, index] = *record;
    auto& entries = file.records[static_cast<int>(group)];
    entries.resize(static_cast<std::size_t>(recordCountOf(group)));
    if (entries[static_cast<std::size_t>(index)]) return refuse(row, QStringLiteral("record"), Problem::Repeated);
    RecordEntry entry;
    for (int c = 1; c < cells.size(); ++c) {
      const QString key = table[0].value(c).trimmed();
      if (cells[c].trimmed().isEmpty()) continue;
      const RecordField* field = findField(group, key.toStdString());
      if (!field) return refuse(row, key, Problem::UnknownKey);
      auto value = fieldFromText(*field, cells[c]);
      if (const auto* p = std::get_if<Problem>(&value)) return refuse(row, key, *p);
      entry.fields.emplace_back(field, std::get<FieldValue>(value));
    }
    entries[static_cast<std::size_t>(index)] = std::move(entry);
  }
  return file;
}

}  // namespace quendra
