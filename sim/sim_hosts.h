#pragma once
// The simulated hosts and what each does with a request: the LAN commands and
// the tunnel commands, with the faults the command line asks for (dropped
// requests, silent and late tunnel commands). No sockets here.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "link/bytes.h"
#include "link/outer_frame.h"
#include "sim_options.h"

namespace quendra::sim {

struct SimHost {
  int index = 0;
  Mac mac{};
  std::uint16_t firmwareVersion = 0;
  std::string nameGbk;                        // what its search answers call it
  Bytes network;                              // 292-byte network record
  Bytes factoryNetwork;                       // what a factory reset restores
  std::map<std::uint8_t, Bytes> records;      // read command -> payload image
  std::map<std::uint8_t, int> attempts;       // tunnel command -> requests heard
  std::set<std::uint8_t> silent;              // tunnel commands this host never answers
  int requestsHeard = 0;                      // before the cut of --stop-after
  std::optional<std::chrono::steady_clock::time_point> cutAt;
};

class HostFleet {
 public:
  explicit HostFleet(const SimOptions& options);

  // The replies of every host to one datagram, in host order (possibly none).
  std::vector<Bytes> handle(ByteView datagram);

  const std::vector<SimHost>& hosts() const { return hosts_; }
  // Tests and benchmarks seed odd records and per-host faults here.
  std::vector<SimHost>& hosts() { return hosts_; }
  // Makes the dropped requests of --drop repeatable.
  void seedRandom(unsigned seed) { random_.seed(seed); }

 private:
  void handleOne(SimHost& host, const OuterRequest& request, std::vector<Bytes>& replies);
  void handleTunnel(SimHost& host, ByteView block, std::vector<Bytes>& replies);
  bool heard();
  // --stop-after: the host's link is cut for this request.
  bool cutOff(SimHost& host);

  SimOptions options_;
  std::vector<SimHost> hosts_;
  std::mt19937 random_;
};

// 02-4B-7D-00-00-01 for host 0, counting up.
Mac hostMac(int host);

}  // namespace quendra::sim
