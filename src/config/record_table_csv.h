#pragma once
// One group's records as a spreadsheet table, for `quendra-cli read HOST
// GROUP --csv` and `write HOST FILE.csv`: a header of `record` and the
// group's field keys (as configuration files name them), one row per record.
//
//   record,dataSource,upperLimit1,lowerLimit1,...
//   channels[0],1,45.5,-10,...
//
// Values are written and read as configuration files take them (numbers,
// texts, dotted addresses); an empty cell leaves the field as the host has
// it. Read through csv.h (UTF-8 or GBK, comma or semicolon), checked whole,
// every refusal naming row and column.
#include "config/config_file.h"
#include "config/csv.h"

namespace quendra {

// The records among `records` of `group`, as `config` holds them.
CsvTable recordTable(const HostConfig& config, ParamGroup group, std::uint32_t records);

// The configuration a record table asks for: the fields of each row's record,
// without images (so the host's own bytes stay where no cell speaks). A
// refusal's path is "row N" or "row N, column KEY".
ConfigFileResult parseRecordTable(const QByteArray& bytes, const QString& fileName);
ConfigFileResult readRecordTable(const QString& path);
ConfigFileResult recordTableOf(const CsvResult& csv, const QString& fileName);

}  // namespace quendra
