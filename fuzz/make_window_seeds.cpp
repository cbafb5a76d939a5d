// Writes seed corpora from what the simulated host answers: a valid reply for
// every command (the search, the network parameters, every tunnel data reply
// and every write acknowledgement), plus a tunnel reply the version gate
// refuses and two sessions of many replies in a row.
//
//   make_window_seeds WINDOW_DIR [REPLY_PATH_DIR]
//
// WINDOW_DIR gets the inputs of fuzz_window_replies (operations, see window_driver.h);
// REPLY_PATH_DIR, when given, the bare datagrams for fuzz_reply_path, named
// sim_*. The files are checked in; rerun after changing the simulator's records:
//   cmake --build build/fuzz --target make_window_seeds
//   build/fuzz/fuzz/make_window_seeds fuzz/corpus/window_replies fuzz/corpus/reply_path
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "link/outer_frame.h"
#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"
#include "sim_hosts.h"

namespace {

using namespace quendra;

constexpr std::uint8_t kDatagramOp = 0;
constexpr std::uint8_t kFlagsOp = 4;
constexpr std::uint8_t kTabOp = 5;

struct Seed {
  std::string name;
  Bytes datagram;
};

// The one reply of a single simulated host to `request`.
Bytes answer(sim::HostFleet& fleet, const Bytes& request) {
  const std::vector<Bytes> replies = fleet.handle(request);
  if (replies.size() != 1) {
    std::cerr << "make_window_seeds: the simulator gave " << replies.size() << " replies\n";
    std::exit(1);
  }
  return replies.front();
}

Bytes tunnelRequest(std::uint8_t command, ByteView payload = {}) {
  return OuterFrame::buildTunnelRequest(sim::hostMac(0), TunnelFrame::buildRequest(command, payload));
}

std::string numbered(const char* prefix, int command) {
  char name[32];
  std::snprintf(name, sizeof name, "%s_%03d", prefix, command);
  return name;
}

// Every command's reply, in command order after the search and network answers.
std::vector<Seed> everyReply() {
  sim::HostFleet fleet{sim::SimOptions{}};
  std::vector<Seed> seeds;
  seeds.push_back({"search_answer", answer(fleet, OuterFrame::buildSearchRequest())});
  seeds.push_back({"network_answer", answer(fleet, OuterFrame::buildReadNetworkRequest(sim::hostMac(0)))});
  for (int c = 1; c <= 150; ++c) {
    const auto command = classifyTunnelCommand(static_cast<std::uint8_t>(c));
    if (!command) continue;
    if (command->isWrite) {
      // Writes back what the read gave, so the host acknowledges.
      const Bytes read = answer(fleet, tunnelRequest(readCommandOf(command->group, command->index)));
      const auto block = OuterFrame::readTunnelBlock(read);
      const ByteView payload = block->subspan(2, payloadSizeOf(command->group));
      seeds.push_back({numbered("ack", c), answer(fleet, tunnelRequest(static_cast<std::uint8_t>(c), payload))});
    } else {
      seeds.push_back({numbered("reply", c), answer(fleet, tunnelRequest(static_cast<std::uint8_t>(c)))});
    }
  }
  sim::SimOptions old;
  old.trailerLow = 2;  // firmware 702
  sim::HostFleet oldFleet{old};
  seeds.push_back({"version_702", answer(oldFleet, tunnelRequest(readCommandOf(ParamGroup::Base)))});
  return seeds;
}

void appendDatagram(Bytes& input, const Bytes& datagram) {
  input.push_back(kDatagramOp);
  input.push_back(static_cast<std::uint8_t>(datagram.size() >> 8));
  input.push_back(static_cast<std::uint8_t>(datagram.size() & 0xFF));
  input.insert(input.end(), datagram.begin(), datagram.end());
}

void write(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::cerr << "make_window_seeds: cannot write " << path << "\n";
    std::exit(1);
  }
}

bool isAck(const Seed& s) { return s.name.rfind("ack_", 0) == 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: make_window_seeds WINDOW_DIR [REPLY_PATH_DIR]\n";
    return 2;
  }
  const std::string windowDir = argv[1];
  const std::vector<Seed> seeds = everyReply();
  for (const Seed& s : seeds) {
    Bytes input;
    appendDatagram(input, s.datagram);
    write(windowDir + "/" + s.name, input);
    if (argc == 3) write(std::string(argv[2]) + "/sim_" + s.name, s.datagram);
  }

  // A whole read session, every flag set and every tab shown on the way; and
  // every acknowledgement in a row.
  Bytes reads{kFlagsOp, 0x7F};
  Bytes acks{kFlagsOp, 0x7F};
  int tab = 0;
  for (const Seed& s : seeds) {
    if (s.name == "version_702") continue;
    if (isAck(s)) {
      appendDatagram(acks, s.datagram);
    } else {
      reads.push_back(kTabOp);
      reads.push_back(static_cast<std::uint8_t>(0x80 | (tab++ % 7)));  // shown
      appendDatagram(reads, s.datagram);
    }
  }
  write(windowDir + "/session_reads", reads);
  write(windowDir + "/session_acks", acks);
  return 0;
}
