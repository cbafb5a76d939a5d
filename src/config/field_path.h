#pragma once
// One field of one record, named as configuration files name it: the group's
// key, the record's index for the groups of many records, the field's key.
//
//   network.hostAddress   base.terminalAddress   led.headerText
//   channels[3].upperLimit1   modbus[0].slaveAddress   relays[7].workMode
//
// Tables name their columns so, and the command line its fields.
#include <QString>
#include <QStringView>
#include <variant>
#include <vector>

#include "records/record_fields.h"

namespace quendra {

struct FieldPath {
  ParamGroup group = ParamGroup::Network;
  int index = 0;                      // the record within its group; 0 for groups of one record
  const RecordField* field = nullptr;  // one of fieldsOf(group)

  bool operator==(const FieldPath&) const = default;
};

enum class FieldPathProblem {
  Malformed,        // not "group.key" nor "group[n].key"
  UnknownGroup,     // not a group key of configuration files
  MissingIndex,     // "channels.upperLimit1": a group of many records needs one
  UnexpectedIndex,  // "base[0].dataInterval": a group of one record has none
  IndexOutOfRange,  // "relays[8].workMode" (expected: 0 to record count - 1)
  UnknownField,     // no field of that key in the group
};

// The path `text` names, exactly as written (keys are case-sensitive; no blanks).
std::variant<FieldPath, FieldPathProblem> parseFieldPath(QStringView text);
QString fieldPathText(const FieldPath& path);
// The field in any record of its group: "channels[k].upperLimit1", "network.hostAddress".
QString fieldPathPattern(ParamGroup group, const RecordField& field);

// Every field of every record of `groups`, in the order given, then record
// and field order: the columns of a table of those groups.
std::vector<FieldPath> fieldPathsOf(const std::vector<ParamGroup>& groups);

}  // namespace quendra
