// The batch planner without an event loop: which record goes out next, how
// often, in which order of kinds, and what a pass reports at its end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/batch_planner.h"

namespace quendra {
namespace {

using Action = BatchPlanner::Step::Action;

// Drives the planner like the runner does: sends, and lets `host` decide per
// request whether it is answered (true) or times out (false). Returns the
// commands sent and the pass ends as "end <kind> ok|fail <failed mask>".
struct Driver {
  BatchPlanner planner;
  std::function<bool(std::uint8_t command, int attempt)> host = [](std::uint8_t, int) { return true; };
  std::function<void(std::uint8_t command)> onSend;
  std::vector<std::string> log;

  void run() {
    for (int guard = 0; guard < 10000; ++guard) {
      const BatchPlanner::Step s = planner.next();
      if (s.action == Action::Idle) return;
      if (s.action == Action::FinishPass) {
        log.push_back("end " + std::to_string(static_cast<int>(s.kind)) + (s.allAnswered ? " ok " : " fail ") +
                      std::to_string(s.failed));
        continue;
      }
      const std::uint8_t command = commandOf(s.kind, s.record);
      log.push_back(std::to_string(command));
      if (onSend) onSend(command);
      if (planner.sent()) continue;
      if (host(command, s.attempt))
        EXPECT_TRUE(planner.markAnswered(s.kind, s.record));
      else if (planner.timedOut())
        log.push_back("abandon " + std::to_string(command));
    }
    FAIL() << "the planner never went idle";
  }
};

std::vector<std::string> commands(int first, int last) {
  std::vector<std::string> out;
  for (int c = first; c <= last; ++c) out.push_back(std::to_string(c));
  return out;
}
std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
using Log = std::vector<std::string>;

TEST(BatchPlanner, PromptHostGetsEveryRecordOnceInOrder) {
  Driver d;
  ASSERT_TRUE(d.planner.start(BatchKind::ChannelRead, 0xFFFFFFFF));
  d.run();
  EXPECT_EQ(d.log, commands(5, 36) + Log{"end 0 ok 0"});
  EXPECT_FALSE(d.planner.running());
  EXPECT_EQ(d.planner.answered(BatchKind::ChannelRead), 0xFFFFFFFFu);
}

TEST(BatchPlanner, SilentRecordIsSentFourTimesThenAbandoned) {
  Driver d;
  d.host = [](std::uint8_t c, int) { return c != 9; };
  d.planner.start(BatchKind::ChannelRead, 0xFFFFFFFF);
  d.run();
  EXPECT_EQ(d.log, (commands(5, 9) + Log{"9", "9", "9", "abandon 9"} + commands(10, 36) + Log{"end 0 fail 16"}));
}

TEST(BatchPlanner, AttemptsFollowThePolicy) {
  Driver d;
  d.host = [](std::uint8_t, int) { return false; };
  d.planner.setAttempts(BatchKind::RelayWrite, 2);
  d.planner.start(BatchKind::RelayWrite, 0b1);
  d.run();
  EXPECT_EQ(d.log, (Log{"77", "77", "abandon 77", "end 3 fail 1"}));
}

TEST(BatchPlanner, AnsweredOnTheSecondAttempt) {
  Driver d;
  d.host = [](std::uint8_t c, int attempt) { return c != 71 || attempt == 2; };
  d.planner.start(BatchKind::RelayRead, 0xFF);
  d.run();
  EXPECT_EQ(d.log, (Log{"69", "70", "71", "71", "72", "73", "74", "75", "76", "end 2 ok 0"}));
}

TEST(BatchPlanner, OnlyTheRequestedRecordsAndTheirOwnSuccess) {
  Driver d;
  d.planner.start(BatchKind::ModbusWrite, (1u << 6) | (1u << 31));
  d.run();
  EXPECT_EQ(d.log, (Log{"123", "148", "end 5 ok 0"}));
}

TEST(BatchPlanner, HigherKindsGoFirstOnceThePassInHandEnds) {
  Driver d;
  d.onSend = [&d](std::uint8_t c) {
    if (c != 117) return;  // while a ModBus write runs, a relay and a channel read wait
    EXPECT_TRUE(d.planner.start(BatchKind::RelayRead, 0xFF));
    EXPECT_TRUE(d.planner.start(BatchKind::ChannelRead, 0xFFFFFFFF));
  };
  d.planner.start(BatchKind::ModbusWrite, 0xFFFFFFFF);
  d.run();
  EXPECT_EQ(d.log, commands(117, 148) + Log{"end 5 ok 0"} + commands(5, 36) + Log{"end 0 ok 0"} +
                       commands(69, 76) + Log{"end 2 ok 0"});
}

TEST(BatchPlanner, SecondStartOfARunningKindIsRefused) {
  BatchPlanner p;
  ASSERT_TRUE(p.start(BatchKind::ChannelRead, 0xFFFFFFFF));
  p.next();
  p.sent();
  p.markAnswered(BatchKind::ChannelRead, 20);
  EXPECT_FALSE(p.start(BatchKind::ChannelRead, 0xFFFFFFFF));
  EXPECT_EQ(p.answered(BatchKind::ChannelRead), 1u << 20) << "a refused start changes nothing";
  EXPECT_TRUE(p.start(BatchKind::ChannelWrite, 0xFFFFFFFF));
  EXPECT_FALSE(p.start(BatchKind::RelayRead, 0)) << "nothing to do";
}

TEST(BatchPlanner, StopAllLetsTheRecordInHandRunOutThenSkipsTheRest) {
  BatchPlanner p;
  p.start(BatchKind::RelayWrite, 0xFF);
  p.start(BatchKind::ModbusWrite, 0xFFFFFFFF);
  p.next();
  p.sent();
  p.stopAll();
  EXPECT_FALSE(p.start(BatchKind::RelayWrite, 0xFF)) << "its pass still waits out relay 1";
  EXPECT_FALSE(p.timedOut()) << "not abandoned: the record would go again, but its bit is gone";
  const auto end = p.next();
  EXPECT_EQ(end.action, Action::FinishPass);
  EXPECT_FALSE(end.allAnswered);
  EXPECT_EQ(p.next().action, Action::Idle) << "the queued ModBus write never begins";
  EXPECT_TRUE(p.start(BatchKind::RelayWrite, 0xFF));
}

TEST(BatchPlanner, EarlierAnswersCountAtOnceAndLateOnesCompleteThePass) {
  Driver d;
  d.onSend = [&d](std::uint8_t c) {
    if (c == 70) d.planner.markAnswered(BatchKind::RelayRead, 0);  // relay 1 answers after it was abandoned
    if (c == 71) d.planner.markAnswered(BatchKind::RelayRead, 2);  // during its own send
  };
  d.host = [](std::uint8_t c, int) { return c != 69; };
  d.planner.start(BatchKind::RelayRead, 0xFF);
  d.run();
  EXPECT_EQ(d.log, (Log{"69", "69", "69", "69", "abandon 69"} + commands(70, 76) + Log{"end 2 ok 0"}));
}

TEST(BatchPlanner, NewBatchForgetsThePreviousAnswersAndStrayIndexesAreIgnored) {
  BatchPlanner p;
  EXPECT_FALSE(p.markAnswered(BatchKind::RelayRead, 8));
  EXPECT_FALSE(p.markAnswered(BatchKind::ModbusRead, -1));
  p.markAnswered(BatchKind::RelayRead, 3);
  EXPECT_EQ(p.answered(BatchKind::RelayRead), 1u << 3);
  EXPECT_EQ(p.answered(BatchKind::RelayWrite), 0u);
  p.start(BatchKind::RelayRead, 0xFF);
  EXPECT_EQ(p.answered(BatchKind::RelayRead), 0u);
}

}  // namespace
}  // namespace quendra
