// Arbitrary bytes as a fleet roster: the reader must refuse or accept without reading outside what it was given;
// every table it reads must be written and read back cell for cell, and every host of an accepted roster must get
// the same values from a table written of it.
#include <cstddef>
#include <cstdint>
#include <variant>

#include "config/fleet_roster.h"

namespace {

using namespace quendra;

void checkTableRoundTrip(const QByteArray& bytes) {
  const CsvResult table = parseCsv(bytes);
  if (!std::holds_alternative<CsvTable>(table)) return;
  const CsvResult again = parseCsv(csvBytes(std::get<CsvTable>(table)));
  if (!std::holds_alternative<CsvTable>(again) || std::get<CsvTable>(again) != std::get<CsvTable>(table)) __builtin_trap();
}

// A table of one host written from what the row sets reads back as a row setting the same.
void checkRowRoundTrip(const Roster& roster, const RosterRow& row) {
  const RecordMasks touched = rosterRecords(row);
  const HostConfig config = applyRosterRow(row, HostConfig{});
  const CsvTable table = rosterTable(roster.columns, {{HostIdentity{row.mac, row.name, 0, 0}, config, touched}});
  const RosterResult back = parseRoster(csvBytes(table), QStringLiteral("g"));
  const auto* reread = std::get_if<Roster>(&back);
  if (!reread || reread->rows.size() != 1) __builtin_trap();
  const RosterRow& again = reread->rows.front();
  if (again.mac != row.mac || rosterRecords(again) != touched) __builtin_trap();
  if (differingRecords(applyRosterRow(again, HostConfig{}), config, touched) != RecordMasks{}) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  checkTableRoundTrip(bytes);
  const RosterResult r = parseRoster(bytes, QStringLiteral("f"));
  const auto* roster = std::get_if<Roster>(&r);
  if (!roster) return 0;
  for (std::size_t k = 0; k < roster->rows.size() && k < 8; ++k) checkRowRoundTrip(*roster, roster->rows[k]);
  return 0;
}
