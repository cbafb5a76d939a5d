// Waits learned from a host's answers, without an event loop or a clock: samples in, wait out (the smoothing,
// Karn's rule, doubling, floor and ceiling), and the waits a record gets from its budget before it is abandoned.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "link/answer_time_estimator.h"

namespace quendra {
namespace {

using namespace std::chrono_literals;

// Plays `events` into an estimator: "sN" the answer of a request sent once, N µs after it; "aK:N" the answer of one
// sent K times, N µs after the last; "t" a wait that ran out.
AnswerTimeEstimator played(const std::string& events) {
  AnswerTimeEstimator e;
  std::istringstream in(events);
  for (std::string ev; in >> ev;) {
    if (ev == "t") e.timedOut();
    else if (ev[0] == 's') e.answered(1, Micros(std::stol(ev.substr(1))));
    else e.answered(std::stoi(ev.substr(1)), Micros(std::stol(ev.substr(ev.find(':') + 1))));
  }
  return e;
}

TEST(AnswerTimeEstimator, Waits) {
  const struct { const char* name; std::string events; Millis ceiling, wait; } cases[] = {
      {"the policy's wait before the first answer", "", 8010ms, 8010ms},
      {"and after waits that ran out, or an answer to a request sent twice", "t t a2:1000", 801ms, 801ms},
      {"a prompt host: its time plus the floor, 0.4 + max(4 x 0.2, 30) rounded up", "s400", 801ms, 31ms},
      {"never above the ceiling", "s400", 20ms, 20ms},
      {"a slow host: smoothed + 4 x variation, 100 + 4 x 50", "s100000", 801ms, 300ms},
      {"later samples move variation by 1/4, smoothed by 1/8: 112.5 + 4 x 62.5", "s100000 s200000", 801ms, 363ms},
      {"three waits that ran out keep the wait: loss is random", "s400 t t t", 801ms, 31ms},
      {"each one more doubles it", "s400 t t t t t", 801ms, 122ms},
      {"up to the ceiling", "s400 t t t t t t t t", 801ms, 801ms},
      {"a record answered after a resend: lost, not slow; the next starts undoubled", "s100000 t a2:1", 801ms, 300ms},
      {"three in a row: a slower host, the doubled wait stays", "s1000 t a2:1 t a2:1 t t t t t a6:1", 801ms, 124ms},
      {"a first attempt answered between starts the count again", "s1000 t a2:1 t a2:1 s1000 t t t t t a6:1", 801ms,
       31ms},
      {"until a first attempt is answered: 63.375 + 4 x 125.125", "s1000 t a2:1 t a2:1 t a2:1 s500000", 801ms, 564ms},
  };
  for (const auto& c : cases) EXPECT_EQ(played(c.events).wait(c.ceiling), c.wait) << c.name;
  std::string steady;
  for (int i = 0; i < 100; ++i) steady += "s300000 ";
  EXPECT_EQ(played(steady).wait(8010ms), 330ms) << "a host that always takes 300 ms keeps the floor above it";
}

TEST(AttemptBudget, ARecordIsSentUntilItsTimeIsSpent) {
  const struct { const char* name; std::string events; int attempts; Millis wait; std::vector<long> waits; } rows[] = {
      {"a host not heard yet: the policy's attempts", "", 4, 801ms, {801, 801, 801, 801}},
      {"a prompt host: steady, then doubling waits in the same 3204 ms, the last cut to what is left", "s400", 4, 801ms,
       {31, 31, 31, 31, 61, 122, 244, 487, 801, 801, 564}},
      {"nothing to wait for: sent once", "s400", 4, 0ms, {0}},
      {"no attempts asked: still sent once", "", 0, 801ms, {801}},
  };
  for (const auto& r : rows) {
    AnswerTimeEstimator e = played(r.events);
    AttemptBudget budget = AttemptBudget::of(r.attempts, r.wait);
    std::vector<long> waits;
    for (bool spent = false; !spent && waits.size() < 100; e.timedOut()) {
      const Millis w = budget.waitFor(e.wait(r.wait));
      waits.push_back(static_cast<long>(w.count()));
      spent = budget.spend(w);
    }
    EXPECT_EQ(waits, r.waits) << r.name;
  }
}

TEST(AnswerTimes, EachKindLearnsAloneFromWhatTheOthersSayAndFixedWaitsIgnoreIt) {
  AnswerTimes times;
  times.answered(ParamGroup::Base, false, 1, 100ms);  // a single read, as the LED screen's: 100 + 4 x 50
  EXPECT_EQ(times.wait(ParamGroup::Led, false, 801ms), 300ms);
  // A kind not answered yet: twice the slowest learned, doubled per wait that ran out, within the ceiling.
  EXPECT_EQ(times.wait(ParamGroup::Channel, false, 801ms), 600ms);
  EXPECT_EQ(times.wait(ParamGroup::Relay, true, 500ms), 500ms);
  for (int i = 0; i < 4; ++i) times.timedOut(ParamGroup::Modbus, false);
  EXPECT_EQ(times.wait(ParamGroup::Modbus, false, 8010ms), 1200ms);
  times.answered(ParamGroup::Channel, false, 1, 400us);  // a faster kind does not lower the others' start
  EXPECT_EQ(times.wait(ParamGroup::Channel, false, 801ms), 31ms);
  EXPECT_EQ(times.wait(ParamGroup::Relay, false, 8010ms), 600ms);
  times.answered(ParamGroup::Relay, false, 2, 1ms);  // nor does an answer to a resent request teach anything
  EXPECT_EQ(times.wait(ParamGroup::Relay, false, 8010ms), 600ms);
  times.setAdaptive(false);
  EXPECT_EQ(times.wait(ParamGroup::Led, false, 801ms), 801ms);
  EXPECT_EQ(times.wait(ParamGroup::Relay, false, 8010ms), 8010ms);
  times.setAdaptive(true);
  times.forget();
  EXPECT_EQ(times.wait(ParamGroup::Led, false, 801ms), 801ms) << "another host";
}

}  // namespace
}  // namespace quendra
