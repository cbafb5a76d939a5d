// What differs between two configurations: a value of another kind or of other stored bits, a record by any byte a
// write would send (named by a field or not), only among the records asked about.
#include <gtest/gtest.h>

#include <cmath>

#include "records/config_diff.h"

namespace quendra {
namespace {

TEST(ConfigDiff, ValuesAreTheSameOnlyInKindAndStoredBits) {
  const std::tuple<const char*, FieldValue, FieldValue, bool> cases[] = {
      {"equal numbers", 7u, 7u, true},
      {"a number and a float", 1u, 1.0, false},
      {"a text and a number", std::string("1"), 1u, false},
      {"a float and a text", 0.0, std::string(), false},
      {"one float once stored", 0.1, double(0.1f), true},
      {"zero and minus zero", 0.0, -0.0, false},
      {"NaN as stored", std::nan(""), std::nan(""), true},
      {"other texts", std::string("a"), std::string("b"), false},
  };
  for (const auto& [name, a, b, same] : cases) {
    EXPECT_EQ(sameValue(a, b), same) << name;
    EXPECT_EQ(sameValue(b, a), same) << name;
  }
}

TEST(ConfigDiff, RecordsAndFieldsThatDifferAmongThoseAsked) {
  HostConfig a, b;
  b.network.bytes[200] = 0x55;  // a byte no field names
  b.channels[31].alarmDelay = 5;
  b.relays[2].startDuration = 7;
  RecordMasks which = allRecordMasks(), expected{};
  expected[int(ParamGroup::Network)] = 1;
  expected[int(ParamGroup::Channel)] = 1u << 31;
  expected[int(ParamGroup::Relay)] = 1u << 2;
  EXPECT_EQ(differingRecords(a, b, which), expected);
  which[int(ParamGroup::Relay)] &= ~(1u << 2);
  expected[int(ParamGroup::Relay)] = 0;
  EXPECT_EQ(differingRecords(b, a, which), expected);
  const std::vector<FieldDifference> fields = diffConfigs(a, b, which);
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_TRUE(fields[0].group == ParamGroup::Network && fields[0].field == nullptr);
  EXPECT_TRUE(fields[1].group == ParamGroup::Channel && fields[1].index == 31 && fields[1].field->key == "alarmDelay");
  EXPECT_TRUE(sameValue(fields[1].was, 0u) && sameValue(fields[1].now, 5u));
}

}  // namespace
}  // namespace quendra
