#pragma once
// Which channel-page fields make sense for a channel's data property, and the
// use of the two unit fields (a switch channel keeps its alarm and restore
// texts there). The coefficients and SMS boxes are further gated by
// "允许编辑所有参数". Qt-free; the channel page applies the result.
#include <array>
#include <optional>
#include <string_view>

namespace quendra {

// The page fields the rules decide, in the order they are applied.
enum class ChannelField {
  UpperLimit1, LowerLimit1, Name1, Unit1, RelayUpper1, RelayLower1,
  Hysteresis1,
  UpperLimit2, LowerLimit2, Hysteresis2, Name2, RelayUpper2, RelayLower2,
  Unit2,
  CoefA1, CoefB1, SmsOnAlarm1, SmsOnRestore1,
  CoefA2, CoefB2, SmsOnAlarm2, SmsOnRestore2,
};
constexpr int kChannelRuleFieldCount = 22;

// The eight fields that "允许编辑所有参数" switches on its own.
constexpr std::array<ChannelField, 8> kAllowAllGatedFields{
    ChannelField::CoefA1, ChannelField::CoefB1, ChannelField::SmsOnAlarm1, ChannelField::SmsOnRestore1,
    ChannelField::CoefA2, ChannelField::CoefB2, ChannelField::SmsOnAlarm2, ChannelField::SmsOnRestore2};

struct ChannelFieldStates {
  std::array<bool, kChannelRuleFieldCount> enabled{};  // indexed by ChannelField
  // A switch channel: the two unit fields hold its alarm and restore texts,
  // and their labels say so.
  bool switchTexts = false;

  bool isEnabled(ChannelField f) const { return enabled[static_cast<int>(f)]; }
};

// The column of the data property row (0..6); `allowAll` is the state of
// "允许编辑所有参数". nullopt for any other row (nothing selected): the page
// is then left as it is.
std::optional<ChannelFieldStates> channelFieldStates(int propertyRow, bool allowAll);

// The field the rules decide for a channel field's key ("upperLimit2"); nullopt
// for the fields they leave alone (data source, data property, alarm delay).
std::optional<ChannelField> channelRuleField(std::string_view key);

}  // namespace quendra
