#pragma once
// What differs between two configurations of a host, record by record and
// field by field. Records are compared by the bytes a write would send, so a
// difference in bytes no field names (the network record's hidden bytes)
// counts too.
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "records/record_fields.h"

namespace quendra {

// Per group, bit k: record k.
using RecordMasks = std::array<std::uint32_t, kParamGroupCount>;

constexpr RecordMasks allRecordMasks() {
  RecordMasks m{};
  for (ParamGroup g : kAllGroups) m[static_cast<int>(g)] = allRecordsOf(g);
  return m;
}
inline RecordMasks knownRecords(const HostConfig& c) { return c.known; }

inline int recordCount(const RecordMasks& m) {
  int n = 0;
  for (std::uint32_t bits : m) n += std::popcount(bits);
  return n;
}
inline bool anyRecord(const RecordMasks& m) { return recordCount(m) > 0; }
// The records marked in both; those of `a` not marked in `b`.
inline RecordMasks commonRecords(RecordMasks a, const RecordMasks& b) {
  for (std::size_t g = 0; g < a.size(); ++g) a[g] &= b[g];
  return a;
}
inline RecordMasks recordsWithout(RecordMasks a, const RecordMasks& b) {
  for (std::size_t g = 0; g < a.size(); ++g) a[g] &= ~b[g];
  return a;
}

struct FieldDifference {
  ParamGroup group;
  int index;
  const RecordField* field;  // null: the records differ only in bytes no field names
  FieldValue was;            // in the first configuration
  FieldValue now;            // in the second
};

// The records among `which` whose images differ.
RecordMasks differingRecords(const HostConfig& a, const HostConfig& b, const RecordMasks& which);
// Every field that differs among `which`, in group, record and field order.
std::vector<FieldDifference> diffConfigs(const HostConfig& a, const HostConfig& b, const RecordMasks& which);
// Values compare as the record stores them (floats by their bits).
bool sameValue(const FieldValue& a, const FieldValue& b);

}  // namespace quendra
