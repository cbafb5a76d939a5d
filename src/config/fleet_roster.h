#pragma once
// The fleet roster: a table (CSV, see csv.h) with one row per host, for
// commissioning many hosts at once and for seeing a fleet side by side.
//
//   mac,ip,name,network.hostAddress,base.terminalAddress,channels[0].name1
//   02-4B-7D-00-00-01,192.168.1.10,仓库1,192.168.1.21,00000021,温度
//   02:4b:7d:00:00:02,192.168.1.10,仓库2,192.168.1.22,00000022,
//
// The header row names the columns: `mac` (required; any common MAC spelling
// in the cells), optional `ip` and `name` (as a search shows them; kept for
// the operator, never applied), and field paths (field_path.h) whose cells
// hold values as configuration files write them (field_json.h: fieldFromText).
// Blanks around a header are ignored; `mac`, `ip` and `name` match in any
// case, field paths exactly. A cell that is empty (or only blanks) leaves the
// field as the host has it, so a roster cannot empty a text; a row of empty
// cells is skipped. A roster is untrusted input: it is checked whole before
// anything is used, and every refusal names file, row and column.
#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

#include "config/config_file.h"
#include "config/csv.h"
#include "config/field_path.h"
#include "records/host_identity.h"

namespace quendra {

struct RosterCell {
  FieldPath path;
  FieldValue value;
};

struct RosterRow {
  int row = 0;   // as a spreadsheet numbers it: the header is row 1
  Mac mac{};
  QString ip;    // the cells as written (informational)
  QString name;
  std::vector<RosterCell> cells;  // the non-empty field cells, in column order
};

struct Roster {
  std::vector<FieldPath> columns;  // the field columns, in file order
  std::vector<RosterRow> rows;     // one per host, in file order
};

struct RosterError {
  enum class Problem {
    CannotOpen,             // the file cannot be read
    TooLarge,               // more than kMaxCsvBytes
    NotText,                // neither UTF-8 nor GBK (line)
    UnterminatedQuote,      // a quoted cell never closes (line: where it opens)
    MissingMacColumn,       // the header (row 1) has no `mac` column
    UnknownColumn,          // a header that is none of mac, ip, name or a field path (pathProblem)
    DuplicateColumn,        // a column given twice (column: the second)
    CellWithoutColumn,      // a cell under no header (beyond the header, or under an empty one)
    BadMac,                 // a `mac` cell that is no MAC
    BadValue,               // a cell the column's field cannot take (valueProblem)
    DuplicateMac,           // a host named twice (otherRow: its first row)
    SharedHostAddress,      // network.hostAddress of another row (otherRow)
    SharedTerminalAddress,  // base.terminalAddress of another row (otherRow)
  };
  QString file;
  Problem problem = Problem::CannotOpen;
  int row = 0;     // 1-based, the header is row 1; 0: the file as a whole
  int column = 0;  // 1-based (A = 1); 0: the row as a whole
  QString header;  // the column's header text, as written
  int line = 0;    // NotText, UnterminatedQuote: the file's line (1-based)
  int otherRow = 0;
  std::optional<FieldPathProblem> pathProblem;
  std::optional<ConfigFileError::Problem> valueProblem;
};

using RosterResult = std::variant<Roster, RosterError>;
RosterResult readRoster(const QString& path);
RosterResult parseRoster(const QByteArray& bytes, const QString& fileName);

// The records the row's cells set.
RecordMasks rosterRecords(const RosterRow& row);
// `config` with the row's values set. The records they touch keep their other
// fields as `config` has them, and are marked known: read them from the host
// (or take them from a template) first.
HostConfig applyRosterRow(const RosterRow& row, const HostConfig& config);

// What commissioning gives the row's host, which holds `current`: the
// template's settings (`templateValues`: the template applied onto `current`,
// the records among `templateRecords`) without the identity of the template's
// host, then the row's cells on top, its identity among them (the row names
// the host). Written whole to that host (its unnamed bytes are its own).
HostConfig commissionedConfig(const HostConfig& current, const HostConfig& templateValues,
                              const RecordMasks& templateRecords, const RosterRow& row);

// One host of a table to write: who it is, and what was read from it.
struct RosterHost {
  HostIdentity identity;
  HostConfig config;
  RecordMasks read{};  // none: the host did not answer
};
// The table of `hosts` (header: mac, ip, name, then `columns`), to save with
// csvBytes. A host's cells of records not read stay empty; so does a value no
// cell can give back (a float that is not a number, a text GBK cannot
// decode), which applying the table then leaves as the host has it. A host of
// which nothing was read gets its MAC alone. Reading the table back gives
// every other value exactly.
CsvTable rosterTable(const std::vector<FieldPath>& columns, const std::vector<RosterHost>& hosts);

}  // namespace quendra
