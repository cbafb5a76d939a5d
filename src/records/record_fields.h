#pragma once
// The named fields of every record type: the keys configuration files and the
// command line use (the record types' member names as the code spells them),
// what kind of value each holds, what range a value may take, and how it is
// read from and stored into a host's configuration. Qt-free; values are plain
// numbers and GBK texts, so front ends choose how to show them.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "records/host_config.h"

namespace quendra {

enum class FieldKind {
  Unsigned,  // an integer of the field's width (enumerations: their list position)
  Real,      // a single-precision float
  Text,      // GBK bytes, at most maxBytes
  Hex32,     // a 32-bit number written as 8 hexadecimal digits (the terminal address)
  Ipv4,      // an address written as dotted text, first octet most significant
};

// A field's value: a number for Unsigned, Hex32 and Ipv4, a float widened to
// double for Real, GBK bytes for Text.
using FieldValue = std::variant<std::uint32_t, double, std::string>;

struct RecordField {
  std::string_view key;
  FieldKind kind;
  std::uint32_t max = 0;     // Unsigned: the largest value the field holds
  std::size_t maxBytes = 0;  // Text: the longest text the record takes
  std::function<FieldValue(const HostConfig&, int index)> get;
  std::function<void(HostConfig&, int index, const FieldValue&)> set;  // the value fits (see checkField)
};

// The fields of a group's records, in record order.
std::span<const RecordField> fieldsOf(ParamGroup group);
const RecordField* findField(ParamGroup group, std::string_view key);

enum class FieldProblem {
  WrongType,   // a number where a text belongs, or the other way round
  OutOfRange,  // a number beyond the field's width
  TooLong,     // a text longer than its area takes
};
// Whether `value` fits the field; nullopt when it does.
std::optional<FieldProblem> checkField(const RecordField& field, const FieldValue& value);

}  // namespace quendra
