#include "records/channel_field_rules.h"

#include <gtest/gtest.h>

namespace quendra {
namespace {

using F = ChannelField;

// One row per field: expected enabled state for data property rows 0, 1, 2, 6
// ('E' = enabled exactly when "允许编辑所有参数" is checked).
struct Expectation {
  F field;
  const char* name;
  char row0, row1, row2, row6;
};

const Expectation kTable[] = {
    {F::UpperLimit1, "upperLimit1", '1', '1', '0', '1'},
    {F::LowerLimit1, "lowerLimit1", '1', '1', '0', '1'},
    {F::Name1, "name1", '1', '1', '0', '1'},
    {F::Unit1, "unit1", '1', '1', '0', '1'},
    {F::RelayUpper1, "relayUpper1", '1', '1', '0', '1'},
    {F::RelayLower1, "relayLower1", '1', '1', '0', '1'},
    {F::Hysteresis1, "hysteresis1", '1', '1', '0', '0'},
    {F::UpperLimit2, "upperLimit2", '1', '0', '1', '0'},
    {F::LowerLimit2, "lowerLimit2", '1', '0', '1', '0'},
    {F::Hysteresis2, "hysteresis2", '1', '0', '1', '0'},
    {F::Name2, "name2", '1', '0', '1', '0'},
    {F::RelayUpper2, "relayUpper2", '1', '0', '1', '0'},
    {F::RelayLower2, "relayLower2", '1', '0', '1', '0'},
    {F::Unit2, "unit2", '1', '0', '1', '1'},
    {F::CoefA1, "coefA1", 'E', 'E', '0', 'E'},
    {F::CoefB1, "coefB1", 'E', 'E', '0', 'E'},
    {F::SmsOnAlarm1, "smsOnAlarm1", 'E', 'E', '0', 'E'},
    {F::SmsOnRestore1, "smsOnRestore1", 'E', 'E', '0', 'E'},
    {F::CoefA2, "coefA2", 'E', '0', 'E', '0'},
    {F::CoefB2, "coefB2", 'E', '0', 'E', '0'},
    {F::SmsOnAlarm2, "smsOnAlarm2", 'E', '0', 'E', '0'},
    {F::SmsOnRestore2, "smsOnRestore2", 'E', '0', 'E', '0'},
};

bool expected(char cell, bool allowAll) { return cell == '1' || (cell == 'E' && allowAll); }

TEST(ChannelFieldRules, TableCoversEveryField) { EXPECT_EQ(std::size(kTable), std::size_t{kChannelRuleFieldCount}); }

TEST(ChannelFieldRules, ColumnsOfRows0126) {
  for (bool allowAll : {false, true}) {
    for (const auto& e : kTable) {
      const std::pair<int, char> columns[] = {{0, e.row0}, {1, e.row1}, {2, e.row2}, {6, e.row6}};
      for (const auto& [row, cell] : columns) {
        const auto s = channelFieldStates(row, allowAll);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->isEnabled(e.field), expected(cell, allowAll))
            << e.name << " row " << row << " allowAll " << allowAll;
      }
    }
  }
}

TEST(ChannelFieldRules, Rows3To5AreRow1) {
  for (bool allowAll : {false, true})
    for (int row : {3, 4, 5}) EXPECT_EQ(channelFieldStates(row, allowAll)->enabled, channelFieldStates(1, allowAll)->enabled);
}

TEST(ChannelFieldRules, OnlySwitchChannelsUseTheUnitsForTexts) {
  for (int row = 0; row <= 5; ++row) EXPECT_FALSE(channelFieldStates(row, false)->switchTexts) << row;
  EXPECT_TRUE(channelFieldStates(6, true)->switchTexts);
}

TEST(ChannelFieldRules, NoSelectionChangesNothing) {
  for (int row : {-1, 7, 255}) EXPECT_FALSE(channelFieldStates(row, true)) << row;
}

}  // namespace
}  // namespace quendra
