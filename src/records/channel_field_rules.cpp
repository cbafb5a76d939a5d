#include "records/channel_field_rules.h"

#include <utility>

namespace quendra {
namespace {

// One column of the table: what a data property row uses.
struct Column {
  bool quantity1;    // limits, name, unit 1 and their relays
  bool hysteresis1;
  bool quantity2;    // limits, hysteresis, name 2 and their relays
  bool unit2;
  bool gated1;       // coefficients and SMS boxes of quantity 1, when allowed
  bool gated2;
  bool switchTexts;  // unit labels become the alarm and restore texts
};

Column columnOf(int row) {
  switch (row) {
    case 0: return {true, true, true, true, true, true, false};    // both quantities
    case 2: return {false, false, true, true, false, true, false};  // quantity 2 only
    case 6: return {true, false, false, true, true, false, true};   // switch
    default: return {true, true, false, false, true, false, false}; // 1, 3, 4, 5: quantity 1 only
  }
}

}  // namespace

std::optional<ChannelFieldStates> channelFieldStates(int propertyRow, bool allowAll) {
  if (propertyRow < 0 || propertyRow > 6) return std::nullopt;
  const Column c = columnOf(propertyRow);
  ChannelFieldStates s;
  const auto set = [&s](ChannelField f, bool on) { s.enabled[static_cast<int>(f)] = on; };
  using F = ChannelField;
  for (F f : {F::UpperLimit1, F::LowerLimit1, F::Name1, F::Unit1, F::RelayUpper1, F::RelayLower1}) set(f, c.quantity1);
  set(F::Hysteresis1, c.hysteresis1);
  for (F f : {F::UpperLimit2, F::LowerLimit2, F::Hysteresis2, F::Name2, F::RelayUpper2, F::RelayLower2})
    set(f, c.quantity2);
  set(F::Unit2, c.unit2);
  for (F f : {F::CoefA1, F::CoefB1, F::SmsOnAlarm1, F::SmsOnRestore1}) set(f, c.gated1 && allowAll);
  for (F f : {F::CoefA2, F::CoefB2, F::SmsOnAlarm2, F::SmsOnRestore2}) set(f, c.gated2 && allowAll);
  s.switchTexts = c.switchTexts;
  return s;
}

std::optional<ChannelField> channelRuleField(std::string_view key) {
  using F = ChannelField;
  static constexpr std::pair<std::string_view, ChannelField> kKeys[] = {
      {"upperLimit1", F::UpperLimit1}, {"lowerLimit1", F::LowerLimit1},     {"name1", F::Name1},
      {"unit1", F::Unit1},             {"relayUpper1", F::RelayUpper1},     {"relayLower1", F::RelayLower1},
      {"hysteresis1", F::Hysteresis1}, {"upperLimit2", F::UpperLimit2},     {"lowerLimit2", F::LowerLimit2},
      {"hysteresis2", F::Hysteresis2}, {"name2", F::Name2},                 {"relayUpper2", F::RelayUpper2},
      {"relayLower2", F::RelayLower2}, {"unit2", F::Unit2},                 {"coefA1", F::CoefA1},
      {"coefB1", F::CoefB1},           {"smsOnAlarm1", F::SmsOnAlarm1},     {"smsOnRestore1", F::SmsOnRestore1},
      {"coefA2", F::CoefA2},           {"coefB2", F::CoefB2},               {"smsOnAlarm2", F::SmsOnAlarm2},
      {"smsOnRestore2", F::SmsOnRestore2},
  };
  for (const auto& [k, f] : kKeys)
    if (k == key) return f;
  return std::nullopt;
}

}  // namespace quendra
