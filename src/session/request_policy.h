#pragma once
// How long a request waits for its answer and how often it is sent before the
// operation gives up: a policy value per group and direction, so the window
// waits as long as the slowest hosts need to answer and the command line can
// choose its own.
#include <array>
#include <chrono>

#include "link/tunnel_commands.h"

namespace quendra {

struct AttemptPolicy {
  // The longest wait of one attempt (the only one with fixed waits). Zero:
  // nothing is awaited, the operation is done once the request is out (a
  // single write in the window, whose acknowledgement only adds a line).
  std::chrono::milliseconds timeout{801};
  // A request is sent again until attempts x timeout is spent waiting: with
  // fixed waits, exactly `attempts` times.
  int attempts = 4;
};

struct SessionPolicy {
  std::array<AttemptPolicy, kParamGroupCount> read;
  std::array<AttemptPolicy, kParamGroupCount> write;
  // Waits learn each host's answer time (never longer than the policy's);
  // false: every wait is the policy's, for a host that misbehaves when it is
  // asked again sooner.
  bool adaptiveWaits = true;

  AttemptPolicy& readOf(ParamGroup g) { return read[static_cast<int>(g)]; }
  AttemptPolicy& writeOf(ParamGroup g) { return write[static_cast<int>(g)]; }
  const AttemptPolicy& readOf(ParamGroup g) const { return read[static_cast<int>(g)]; }
  const AttemptPolicy& writeOf(ParamGroup g) const { return write[static_cast<int>(g)]; }

  // The window's: 801 ms per attempt for channel records and single reads,
  // 8010 ms for relays and ModBus slots, four attempts' time; a single-record
  // write is sent once and not awaited.
  static SessionPolicy windowDefaults() {
    using namespace std::chrono_literals;
    SessionPolicy p;
    for (ParamGroup g : kAllGroups) {
      const auto wait = (g == ParamGroup::Relay || g == ParamGroup::Modbus) ? 8010ms : 801ms;
      p.readOf(g) = {wait, 4};
      p.writeOf(g) = isBatchGroup(g) ? AttemptPolicy{wait, 4} : AttemptPolicy{0ms, 1};
    }
    return p;
  }
};

}  // namespace quendra
