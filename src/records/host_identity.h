#pragma once
// What makes a host itself among the fleet, and what a write of values from
// elsewhere may change of it. A host's identity is its MAC, its address
// (network.hostAddress), the network record's bytes no field names (where
// some hosts keep their MAC) and its terminal address (base.terminalAddress:
// what it reports itself under to the data server). Values read from a host
// go back to that host whole; values from another host, a file or a template
// never carry its identity, unless the operator names it for this host (a
// host replacing a failed one takes the old one's address and terminal
// address; the unnamed bytes and the MAC never cross).
#include <vector>

#include "records/config_diff.h"

namespace quendra {

enum class IdentityChoice {
  Keep,     // the host keeps its own address and terminal address
  Replace,  // they come from the values written (a host replacing another)
};

// The address and the terminal address: the identity that has a field.
bool isIdentityField(ParamGroup group, const RecordField& field);

// What a host holding `current` is to hold after a write of the records among
// `which` from `values`: the records among `own` (the host's own values) as
// `values` has them, byte for byte; every other record as the host has it,
// with the named fields of `values` on top, identity fields left out unless
// `choice` is Replace.
HostConfig carryValues(const HostConfig& values, const RecordMasks& which, const HostConfig& current,
                       const RecordMasks& own, IdentityChoice choice);

// The identity a write of `values` leaves as the host has it although the
// values differ (the field, the host's value, the value not written); a
// record whose unnamed network bytes differ gives a row without a field.
std::vector<FieldDifference> keptIdentity(const HostConfig& values, const RecordMasks& which,
                                          const HostConfig& current, const RecordMasks& own, IdentityChoice choice);

}  // namespace quendra
