// Data replies shorter than their record are refused whole, for every group
// (a partial record would mix two hosts' values); the full size is taken.
// Search answers under 22 bytes and network answers under 302 bytes are
// covered with the outer frame and the dispatcher's ignored datagrams.
#include <gtest/gtest.h>

#include <ostream>

#include "link/response_dispatcher.h"
#include "link/tunnel_frame.h"

namespace quendra {
namespace {

Bytes tunnelDatagram(const Bytes& block) {
  Bytes d{0x55, static_cast<std::uint8_t>(block.size() >> 8), static_cast<std::uint8_t>(block.size()), kTunnel,
          0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};
  d.insert(d.end(), block.begin(), block.end());
  d.push_back(0x00);
  return d;
}

struct GroupRecord {
  const char* name;
  std::uint8_t readCommand;
  std::size_t recordBytes;
};

void PrintTo(const GroupRecord& g, std::ostream* os) { *os << g.name; }

class ShortDataReply : public testing::TestWithParam<GroupRecord> {
 protected:
  // How many bytes the page's handler got; -1 when it was not called.
  long handed(std::size_t payloadBytes) {
    ResponseDispatcher d;
    long got = -1;
    int answered = 0;
    const auto group = classifyTunnelCommand(GetParam().readCommand)->group;
    d.routeGroup(group, [&](const TunnelCommand&, ByteView p) { got = static_cast<long>(p.size()); }, nullptr);
    d.onAnswered([&](const TunnelCommand&, ByteView) { ++answered; });
    d.onDeviceDatagram(tunnelDatagram(
        TunnelFrame::buildReply(GetParam().readCommand, Bytes(payloadBytes, 0x5A), 7, 10)));
    EXPECT_EQ(answered, got < 0 ? 0 : 1) << "a refused reply answers no batch record";
    return got;
  }
};

TEST_P(ShortDataReply, RefusedUnlessTheWholeRecordArrived) {
  const std::size_t size = GetParam().recordBytes;
  EXPECT_EQ(handed(0), -1);
  EXPECT_EQ(handed(size / 2), -1);
  EXPECT_EQ(handed(size - 1), -1);
  EXPECT_EQ(handed(size), static_cast<long>(size));
}

INSTANTIATE_TEST_SUITE_P(Groups, ShortDataReply,
                         testing::Values(GroupRecord{"base", 1, 27}, GroupRecord{"gprs", 3, 137},
                                         GroupRecord{"channel32", 36, 104}, GroupRecord{"relay1", 69, 5},
                                         GroupRecord{"modbus32", 116, 7}, GroupRecord{"led", 150, 141}),
                         [](const testing::TestParamInfo<GroupRecord>& info) { return info.param.name; });

}  // namespace
}  // namespace quendra
