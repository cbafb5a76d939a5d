#include "records/config_diff.h"

#include <bit>

namespace quendra {

bool sameValue(const FieldValue& a, const FieldValue& b) {
  if (a.index() != b.index()) return false;
  if (const auto* x = std::get_if<double>(&a))
    return std::bit_cast<std::uint32_t>(static_cast<float>(*x)) == std::bit_cast<std::uint32_t>(static_cast<float>(std::get<double>(b)));
  return a == b;
}

RecordMasks differingRecords(const HostConfig& a, const HostConfig& b, const RecordMasks& which) {
  RecordMasks out{};
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k)
      if (((which[static_cast<int>(g)] >> k) & 1u) && encodeRecord(a, g, k) != encodeRecord(b, g, k))
        out[static_cast<int>(g)] |= 1u << k;
  return out;
}

std::vector<FieldDifference> diffConfigs(const HostConfig& a, const HostConfig& b, const RecordMasks& which) {
  std::vector<FieldDifference> out;
  const RecordMasks differing = differingRecords(a, b, which);
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k) {
      if (!((differing[static_cast<int>(g)] >> k) & 1u)) continue;
      const std::size_t before = out.size();
      for (const RecordField& f : fieldsOf(g)) {
        FieldValue was = f.get(a, k), now = f.get(b, k);
        if (!sameValue(was, now)) out.push_back({g, k, &f, std::move(was), std::move(now)});
      }
      if (out.size() == before) out.push_back({g, k, nullptr, {}, {}});
    }
  return out;
}

}  // namespace quendra
