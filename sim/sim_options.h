#pragma once
// The simulator's command line. Kept stable: tests and benchmarks script it.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quendra::sim {

enum class ReplyMode { Broadcast, Unicast };

struct SimOptions {
  int hosts = 1;
  ReplyMode reply = ReplyMode::Broadcast;
  std::string logPath;                  // empty: no request log
  double dropPercent = 0;               // share of requests each host does not hear
  std::set<std::uint8_t> silent;        // tunnel commands never answered
  std::map<std::uint8_t, int> late;     // tunnel command -> first attempt that is answered
  int delayMs = 0;                      // every reply leaves this much later
  std::map<int, std::string> names;     // host index -> the GBK name its search answers give
  int stopAfter = 0;                    // each host hears this many requests, then none (0: no cut)
  int stopForMs = 0;                    // for this long after the cut (0: for good)
  std::uint8_t trailerHigh = 7;         // version bytes of every tunnel reply trailer
  std::uint8_t trailerLow = 10;
  bool help = false;
};

constexpr int kMaxHosts = 10000;

// Parses argv[1..]. On a bad command line returns nullopt and sets `error`.
std::optional<SimOptions> parseOptions(const std::vector<std::string>& args, std::string& error);

// The --help text (it serves as the manual page).
const char* usageText();

}  // namespace quendra::sim
