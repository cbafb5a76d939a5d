// The tunnel command table: every number 1..150 belongs to one group's read
// or write, and the numbers map back to themselves.
#include <gtest/gtest.h>

#include "link/tunnel_commands.h"

namespace quendra {
namespace {

struct Numbered {
  int command;
  ParamGroup group;
  bool isWrite;
  int index;
};

class TunnelCommandTable : public testing::TestWithParam<Numbered> {};

TEST_P(TunnelCommandTable, Classifies) {
  const auto c = classifyTunnelCommand(static_cast<std::uint8_t>(GetParam().command));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->group, GetParam().group);
  EXPECT_EQ(c->isWrite, GetParam().isWrite);
  EXPECT_EQ(c->index, GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TunnelCommandTable,
    testing::Values(Numbered{1, ParamGroup::Base, false, 0}, Numbered{2, ParamGroup::Base, true, 0},
                    Numbered{3, ParamGroup::Gprs, false, 0}, Numbered{4, ParamGroup::Gprs, true, 0},
                    Numbered{5, ParamGroup::Channel, false, 0}, Numbered{36, ParamGroup::Channel, false, 31},
                    Numbered{37, ParamGroup::Channel, true, 0}, Numbered{68, ParamGroup::Channel, true, 31},
                    Numbered{69, ParamGroup::Relay, false, 0}, Numbered{76, ParamGroup::Relay, false, 7},
                    Numbered{77, ParamGroup::Relay, true, 0}, Numbered{84, ParamGroup::Relay, true, 7},
                    Numbered{85, ParamGroup::Modbus, false, 0}, Numbered{116, ParamGroup::Modbus, false, 31},
                    Numbered{117, ParamGroup::Modbus, true, 0}, Numbered{148, ParamGroup::Modbus, true, 31},
                    Numbered{149, ParamGroup::Led, true, 0}, Numbered{150, ParamGroup::Led, false, 0}));

TEST(TunnelCommands, UnusedNumbers) {
  for (const int c : {0, 151, 200, 255}) EXPECT_FALSE(classifyTunnelCommand(static_cast<std::uint8_t>(c))) << c;
}

TEST(TunnelCommands, EveryNumberMapsBack) {
  for (int n = 1; n <= 150; ++n) {
    const auto c = classifyTunnelCommand(static_cast<std::uint8_t>(n));
    ASSERT_TRUE(c) << n;
    ASSERT_LT(c->index, recordCountOf(c->group));
    EXPECT_EQ(c->isWrite ? writeCommandOf(c->group, c->index) : readCommandOf(c->group, c->index), n);
  }
}

TEST(TunnelCommands, PayloadSizesAndRecordCounts) {
  EXPECT_EQ(payloadSizeOf(ParamGroup::Base), 27u);
  EXPECT_EQ(payloadSizeOf(ParamGroup::Gprs), 137u);
  EXPECT_EQ(payloadSizeOf(ParamGroup::Channel), 104u);
  EXPECT_EQ(payloadSizeOf(ParamGroup::Relay), 5u);
  EXPECT_EQ(payloadSizeOf(ParamGroup::Modbus), 7u);
  EXPECT_EQ(payloadSizeOf(ParamGroup::Led), 141u);
  EXPECT_EQ(recordCountOf(ParamGroup::Channel), 32);
  EXPECT_EQ(recordCountOf(ParamGroup::Relay), 8);
  EXPECT_EQ(recordCountOf(ParamGroup::Modbus), 32);
  EXPECT_EQ(recordCountOf(ParamGroup::Base), 1);
}

}  // namespace
}  // namespace quendra
