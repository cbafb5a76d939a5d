// Values from elsewhere carry everything but the host's identity (its address and terminal address unless the
// operator names them, its unnamed network bytes never); its own values go back whole.
#include <gtest/gtest.h>

#include "records/host_identity.h"

namespace quendra {
namespace {

TEST(HostIdentity, ValuesFromElsewhereLeaveTheIdentityValuesOfItsOwnGoBackWhole) {
  HostConfig host, other;
  host.network.setHostAddress(0x0A000001);
  other.network.setHostAddress(0x0A000002);
  other.network.bytes[200] = 0x55;  // where some hosts keep their MAC
  host.base.terminalAddress = 1;
  other.base.terminalAddress = 2;
  other.base.loginInterval = 99;
  other.network.setGateway(0x0A0000FE);  // a named network field like any other: carried
  for (IdentityChoice choice : {IdentityChoice::Keep, IdentityChoice::Replace}) {
    const bool keep = choice == IdentityChoice::Keep;
    const HostConfig out = carryValues(other, allRecordMasks(), host, RecordMasks{}, choice);
    EXPECT_EQ(out.base.loginInterval, 99);
    EXPECT_EQ(out.network.gateway(), 0x0A0000FEu);
    EXPECT_EQ(out.base.terminalAddress, keep ? 1u : 2u);
    EXPECT_EQ(out.network.hostAddress(), keep ? 0x0A000001u : 0x0A000002u);
    EXPECT_EQ(out.network.bytes[200], 0);
    std::vector<std::string_view> kept;
    for (const FieldDifference& d : keptIdentity(other, allRecordMasks(), host, RecordMasks{}, choice))
      kept.push_back(d.field ? d.field->key : "unnamed bytes");
    using Rows = std::vector<std::string_view>;
    const Rows expected = keep ? Rows{"hostAddress", "terminalAddress", "unnamed bytes"} : Rows{"unnamed bytes"};
    EXPECT_EQ(kept, expected);
  }
  const HostConfig back = carryValues(other, allRecordMasks(), host, allRecordMasks(), IdentityChoice::Keep);
  EXPECT_EQ(differingRecords(back, other, allRecordMasks()), RecordMasks{});
  EXPECT_TRUE(keptIdentity(other, allRecordMasks(), host, allRecordMasks(), IdentityChoice::Keep).empty());
}

// Records the operator did not choose stay as the host has them, and say nothing about identity.
TEST(HostIdentity, OnlyTheChosenRecordsAreCarried) {
  HostConfig host, other;
  other.network.setHostAddress(0x0A000002);
  other.base.terminalAddress = 2;
  other.gprs.targetPort = "9000";
  RecordMasks baseOnly{};
  baseOnly[static_cast<int>(ParamGroup::Base)] = 1;
  const HostConfig out = carryValues(other, baseOnly, host, RecordMasks{}, IdentityChoice::Replace);
  EXPECT_EQ(out.base.terminalAddress, 2u);
  EXPECT_EQ(out.gprs.targetPort, host.gprs.targetPort);
  EXPECT_EQ(out.network.hostAddress(), host.network.hostAddress());
  std::vector<std::string_view> kept;
  for (const FieldDifference& d : keptIdentity(other, baseOnly, host, RecordMasks{}, IdentityChoice::Keep))
    kept.push_back(d.field ? d.field->key : "unnamed bytes");
  EXPECT_EQ(kept, std::vector<std::string_view>{"terminalAddress"});
}

}  // namespace
}  // namespace quendra
