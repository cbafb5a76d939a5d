// The batch planner without an event loop: which record goes out next, how often, in which order of kinds, and what a
// pass reports at its end.
#include <gtest/gtest.h>

#include <functional>

#include "link/batch_planner.h"

namespace quendra {
namespace {

using namespace std::chrono_literals;

using Action = BatchPlanner::Step::Action;
using Log = std::vector<std::string>;

Log commands(int first, int last) {
  Log out;
  for (int c = first; c <= last; ++c) out.push_back(std::to_string(c));
  return out;
}
Log operator+(Log a, const Log& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A batch driven as the runner drives it; `host` sees each request go out and says whether it is answered. The log:
// the commands sent, "abandon <command>" and "end <kind> ok|fail <failed mask>".
struct Pass {
  const char* name;
  BatchKind kind;
  std::uint32_t records;
  int attempts;
  std::function<bool(BatchPlanner&, std::uint8_t command, int attempt)> host;
  Log log;
};

TEST(BatchPlanner, Passes) {
  const Pass passes[] = {
      {"a silent record goes four times, the others once in order", BatchKind::ChannelRead, ~0u, 4,
       [](BatchPlanner&, std::uint8_t c, int) { return c != 9; },
       commands(5, 9) + Log{"9", "9", "9", "abandon 9"} + commands(10, 36) + Log{"end 0 fail 16"}},
      {"attempts of the kind, each record counted afresh", BatchKind::RelayWrite, 0b111, 2,
       [](BatchPlanner&, std::uint8_t c, int attempt) { return c == 78 && attempt == 2; },
       {"77", "77", "abandon 77", "78", "78", "79", "79", "abandon 79", "end 3 fail 5"}},
      // While the two ModBus writes run, a relay and a channel read wait; the channels go first.
      {"only the requested records, then higher kinds first", BatchKind::ModbusWrite, (1u << 6) | (1u << 31), 4,
       [](BatchPlanner& p, std::uint8_t c, int) {
         EXPECT_TRUE(c != 123 || (p.start(BatchKind::RelayRead, 0xFF) && p.start(BatchKind::ChannelRead, ~0u)));
         return true;
       },
       Log{"123", "148", "end 5 ok 0"} + commands(5, 36) + Log{"end 0 ok 0"} + commands(69, 76) + Log{"end 2 ok 0"}},
      // Relay 1 answers after it was abandoned (not taken); relay 3 before sent(), and never again.
      {"earlier and late answers", BatchKind::RelayRead, 0xFF, 4,
       [](BatchPlanner& p, std::uint8_t c, int) {
         if (c == 70 || c == 71) p.markAnswered(BatchKind::RelayRead, (c - 70) * 2);
         return c != 69 && c != 71;
       },
       Log{"69", "69", "69", "69", "abandon 69"} + commands(70, 76) + Log{"end 2 fail 1"}},
      // The version gate while relay 2 waits: it runs out, not abandoned; the rest and the ModBus write never go,
      // and the ModBus write still ends.
      {"stopAll", BatchKind::RelayWrite, 0xFF, 4,
       [](BatchPlanner& p, std::uint8_t c, int) {
         if (c == 77) p.start(BatchKind::ModbusWrite, ~0u);
         if (c == 78) p.stopAll();
         EXPECT_FALSE(c == 78 && p.start(BatchKind::RelayWrite, 0xFF)) << "its pass still waits out relay 2";
         return c != 78;
       },
       {"77", "78", "end 3 fail 254", "end 5 fail 4294967295"}},
  };
  for (const Pass& pass : passes) {
    BatchPlanner p;
    p.setBudget(pass.kind, pass.attempts * 100ms);  // each wait below runs out after 100 ms
    ASSERT_TRUE(p.start(pass.kind, pass.records));
    Log log;
    for (int guard = 0; p.running() && guard < 10000; ++guard) {
      const BatchPlanner::Step s = p.next();
      const std::uint8_t c = commandOf(s.kind, s.record);
      if (s.action == Action::FinishPass) {
        log.push_back("end " + std::to_string(int(s.kind)) + (s.allAnswered ? " ok " : " fail ") + std::to_string(s.failed) +
                      (s.cancelled ? " cancelled" : ""));
        continue;
      }
      log.push_back(std::to_string(c));
      const bool answered = pass.host(p, c, s.attempt);
      if (p.sent()) continue;
      if (answered)
        EXPECT_TRUE(p.markAnswered(s.kind, s.record));
      else if (p.timedOut(100ms))
        log.push_back("abandon " + std::to_string(c));
    }
    EXPECT_EQ(log, pass.log) << pass.name;
    EXPECT_EQ(p.next().action, Action::Idle) << pass.name;
    EXPECT_TRUE(p.start(pass.kind, pass.records)) << pass.name;
  }
}

TEST(BatchPlanner, StartsStrayAnswersAndCancel) {
  BatchPlanner p;
  for (int record : {8, -1, 3}) EXPECT_FALSE(p.markAnswered(BatchKind::RelayRead, record));
  EXPECT_EQ(p.answered(BatchKind::RelayRead), 0u) << "nothing was asked";
  ASSERT_TRUE(p.start(BatchKind::RelayRead, 0xFF));
  p.markAnswered(BatchKind::RelayRead, 5);
  EXPECT_EQ(p.answered(BatchKind::RelayRead), 0u) << "relay 6 is pending, not asked yet";
  ASSERT_EQ(p.next().action, Action::Send);
  EXPECT_TRUE(p.isOpen(BatchKind::RelayRead, 0));
  EXPECT_FALSE(p.isOpen(BatchKind::RelayRead, 1) || p.isOpen(BatchKind::RelayWrite, 0));
  EXPECT_FALSE(p.start(BatchKind::RelayRead, 0xFF)) << "the kind is pending";
  EXPECT_TRUE(p.start(BatchKind::ChannelRead, ~0u));
  EXPECT_FALSE(p.start(BatchKind::ModbusRead, 0)) << "nothing to do";
  p.cancelAll();  // while relay 1 is sent: given up at once, not awaited; every kind ends, cancelled
  EXPECT_FALSE(p.sent() || p.waiting() || p.isOpen(BatchKind::RelayRead, 0) || p.markAnswered(BatchKind::RelayRead, 0));
  for (BatchKind kind : {BatchKind::RelayRead, BatchKind::ChannelRead}) {
    const BatchPlanner::Step s = p.next();
    EXPECT_TRUE(s.action == Action::FinishPass && s.kind == kind && s.cancelled && !s.allAnswered);
  }
  EXPECT_EQ(p.next().action, Action::Idle);
  EXPECT_FALSE(p.running());
  EXPECT_TRUE(p.start(BatchKind::RelayRead, 0xFF));
}

}  // namespace
}  // namespace quendra
