#include "config/fleet_roster.h"

#include <QSet>
#include <algorithm>
#include <map>

#include "config/field_json.h"
#include "records/field_text.h"

namespace quendra {
namespace {

using Problem = RosterError::Problem;

struct Refusal {
  RosterError error;
};

RosterError fromCsv(const CsvError& e, const QString& file) {
  static constexpr Problem kProblems[] = {Problem::CannotOpen, Problem::TooLarge, Problem::NotText,
                                          Problem::UnterminatedQuote};
  RosterError error;
  error.file = file;
  error.problem = kProblems[static_cast<int>(e.problem)];
  error.line = e.line;
  return error;
}

// What each column of the header is.
struct Column {
  enum class Role { None, Mac, Ip, Name, Field } role = Role::None;
  FieldPath path;
};

class RosterReader {
 public:
  RosterReader(const CsvTable& table, const QString& file) : table_(table), file_(file) {}

  Roster read() {
    Roster roster;
    readHeader(roster);
    for (std::size_t r = 1; r < table_.size(); ++r) {
      const QStringList& cells = table_[r];
      if (std::all_of(cells.begin(), cells.end(), [](const QString& c) { return c.trimmed().isEmpty(); })) continue;
      roster.rows.push_back(readRow(static_cast<int>(r) + 1, cells));
    }
    return roster;
  }

 private:
  RosterError at(Problem problem, int row, int column) const {
    RosterError error;
    error.file = file_;
    error.problem = problem;
    error.row = row;
    error.column = column;
    if (column > 0 && !table_.empty() && column <= table_[0].size()) error.header = table_[0][column - 1];
    return error;
  }
  [[noreturn]] void refuse(Problem problem, int row, int column, int otherRow = 0) const {
    RosterError error = at(problem, row, column);
    error.otherRow = otherRow;
    throw Refusal{error};
  }

  void readHeader(Roster& roster) {
    const QStringList header = table_.empty() ? QStringList() : table_[0];
    QSet<QString> named;  // mac, ip, name and the field paths as written back
    for (qsizetype k = 0; k < header.size(); ++k) {
      const int column = static_cast<int>(k) + 1;
      const QString text = header[k].trimmed();
      Column c;
      if (text.compare(QLatin1String("mac"), Qt::CaseInsensitive) == 0) {
        c.role = Column::Role::Mac;
      } else if (text.compare(QLatin1String("ip"), Qt::CaseInsensitive) == 0) {
        c.role = Column::Role::Ip;
      } else if (text.compare(QLatin1String("name"), Qt::CaseInsensitive) == 0) {
        c.role = Column::Role::Name;
      } else if (!text.isEmpty()) {
        const auto parsed = parseFieldPath(text);
        if (const auto* problem = std::get_if<FieldPathProblem>(&parsed)) {
          RosterError error = at(Problem::UnknownColumn, 1, column);
          error.pathProblem = *problem;
          throw Refusal{error};
        }
        c = {Column::Role::Field, std::get<FieldPath>(parsed)};
      }
      if (c.role != Column::Role::None) {
        const QString key = c.role == Column::Role::Field ? fieldPathText(c.path) : text.toLower();
        if (named.contains(key)) refuse(Problem::DuplicateColumn, 1, column);
        named.insert(key);
      }
      if (c.role == Column::Role::Field) roster.columns.push_back(c.path);
      columns_.push_back(c);
    }
    if (std::none_of(columns_.begin(), columns_.end(), [](const Column& c) { return c.role == Column::Role::Mac; }))
      refuse(Problem::MissingMacColumn, 1, 0);
  }

  RosterRow readRow(int row, const QStringList& cells) {
    RosterRow out;
    out.row = row;
    // A row shorter than the header has empty cells at its end.
    for (qsizetype k = 0; k < std::max(cells.size(), qsizetype(columns_.size())); ++k) {
      const int column = static_cast<int>(k) + 1;
      const QString text = k < cells.size() ? cells[k] : QString();
      const Column::Role role = k < qsizetype(columns_.size()) ? columns_[k].role : Column::Role::None;
      if (role == Column::Role::Mac) {
        const auto mac = parseMacAnySpelling(text.trimmed().toStdString());
        if (!mac) refuse(Problem::BadMac, row, column);
        if (const auto [it, fresh] = macRows_.emplace(*mac, row); !fresh) refuse(Problem::DuplicateMac, row, column, it->second);
        out.mac = *mac;
      } else if (role == Column::Role::Ip) {
        out.ip = text;
      } else if (role == Column::Role::Name) {
        out.name = text;
      } else if (!text.trimmed().isEmpty()) {
        if (role == Column::Role::None) refuse(Problem::CellWithoutColumn, row, column);
        out.cells.push_back(readCell(row, column, columns_[k].path, text));
      }
    }
    return out;
  }

  RosterCell readCell(int row, int column, const FieldPath& path, const QString& text) {
    auto value = fieldFromText(*path.field, text);
    if (const auto* problem = std::get_if<ConfigFileError::Problem>(&value)) {
      RosterError error = at(Problem::BadValue, row, column);
      error.valueProblem = *problem;
      throw Refusal{error};
    }
    const FieldValue& v = std::get<FieldValue>(value);
    // Two hosts must never be given one identity.
    const auto unique = [&](std::map<std::uint32_t, int>& seen, Problem problem) {
      if (const auto [it, fresh] = seen.emplace(std::get<std::uint32_t>(v), row); !fresh)
        refuse(problem, row, column, it->second);
    };
    if (path.group == ParamGroup::Network && path.field->key == "hostAddress") unique(hostAddressRows_, Problem::SharedHostAddress);
    if (path.group == ParamGroup::Base && path.field->key == "terminalAddress")
      unique(terminalAddressRows_, Problem::SharedTerminalAddress);
    return {path, v};
  }

  const CsvTable& table_;
  QString file_;
  std::vector<Column> columns_;
  std::map<Mac, int> macRows_;
  std::map<std::uint32_t, int> hostAddressRows_;
  std::map<std::uint32_t, int> terminalAddressRows_;
};

RosterResult rosterOf(const CsvResult& csv, const QString& file) {
  if (const auto* error = std::get_if<CsvError>(&csv)) return fromCsv(*error, file);
  try {
    return RosterReader(std::get<CsvTable>(csv), file).read();
  } catch (const Refusal& r) {
    return r.error;
  }
}

}  // namespace

RosterResult parseRoster(const QByteArray& bytes, const QString& fileName) { return rosterOf(parseCsv(bytes), fileName); }
RosterResult readRoster(const QString& path) { return rosterOf(readCsvFile(path), path); }

RecordMasks rosterRecords(const RosterRow& row) {
  RecordMasks masks{};
  for (const RosterCell& cell : row.cells) masks[static_cast<int>(cell.path.group)] |= 1u << cell.path.index;
  return masks;
}

HostConfig applyRosterRow(const RosterRow& row, const HostConfig& config) {
  HostConfig out = config;
  for (const RosterCell& cell : row.cells) {
    cell.path.field->set(out, cell.path.index, cell.value);
    out.markKnown(cell.path.group, cell.path.index);
  }
  return out;
}

CsvTable rosterTable(const std::vector<FieldPath>& columns, const std::vector<RosterHost>& hosts) {
  CsvTable table;
  QStringList header{QStringLiteral("mac"), QStringLiteral("ip"), QStringLiteral("name")};
  for (const FieldPath& path : columns) header.append(fieldPathText(path));
  table.push_back(header);
  for (const RosterHost& host : hosts) {
    QStringList row{QString::fromStdString(formatMacDashed(host.identity.mac))};
    if (anyRecord(host.read)) {
      row << QString::fromStdString(formatDottedAddress(host.identity.ip)) << host.identity.name;
      for (const FieldPath& path : columns) {
        const bool read = (host.read[static_cast<int>(path.group)] >> path.index) & 1u;
        row.append(read ? fieldCellText(*path.field, path.field->get(host.config, path.index)) : QString());
      }
    } else {
      while (row.size() < header.size()) row.append(QString());
    }
    table.push_back(row);
  }
  return table;
}

HostConfig commissionedConfig(const HostConfig& current, const HostConfig& templateValues,
                              const RecordMasks& templateRecords, const RosterRow& row) {
  return applyRosterRow(row, carryValues(templateValues, templateRecords, current, RecordMasks{}, IdentityChoice::Keep));
}

}  // namespace quendra
