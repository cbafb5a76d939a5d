#include "records/host_identity.h"

namespace quendra {
namespace {

bool has(const RecordMasks& m, ParamGroup g, int k) { return (m[static_cast<int>(g)] >> k) & 1u; }

}  // namespace

bool isIdentityField(ParamGroup group, const RecordField& field) {
  return (group == ParamGroup::Network && field.key == "hostAddress") ||
         (group == ParamGroup::Base && field.key == "terminalAddress");
}

HostConfig carryValues(const HostConfig& values, const RecordMasks& which, const HostConfig& current,
                       const RecordMasks& own, IdentityChoice choice) {
  HostConfig out = withRecords(current, values, commonRecords(which, own));
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k) {
      if (!has(which, g, k) || has(own, g, k)) continue;
      for (const RecordField& f : fieldsOf(g)) {
        if (choice == IdentityChoice::Keep && isIdentityField(g, f)) continue;
        // A field already as wanted is left alone: its bytes may hold more than the field says.
        if (FieldValue v = f.get(values, k); !sameValue(f.get(out, k), v)) f.set(out, k, v);
      }
      out.markKnown(g, k);
    }
  return out;
}

std::vector<FieldDifference> keptIdentity(const HostConfig& values, const RecordMasks& which,
                                          const HostConfig& current, const RecordMasks& own, IdentityChoice choice) {
  std::vector<FieldDifference> kept;
  for (ParamGroup g : {ParamGroup::Network, ParamGroup::Base}) {
    if (!has(which, g, 0) || has(own, g, 0)) continue;
    for (const RecordField& f : fieldsOf(g)) {
      if (choice == IdentityChoice::Replace || !isIdentityField(g, f)) continue;
      FieldValue mine = f.get(current, 0), theirs = f.get(values, 0);
      if (!sameValue(mine, theirs)) kept.push_back({g, 0, &f, std::move(mine), std::move(theirs)});
    }
  }
  // The network record's unnamed bytes: what is left different once every named field is carried.
  if (has(which, ParamGroup::Network, 0) && !has(own, ParamGroup::Network, 0)) {
    const HostConfig carried = carryValues(values, which, current, own, IdentityChoice::Replace);
    if (carried.network.bytes != values.network.bytes) kept.push_back({ParamGroup::Network, 0, nullptr, {}, {}});
  }
  return kept;
}

}  // namespace quendra
