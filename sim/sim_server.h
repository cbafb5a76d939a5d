#pragma once
// The simulator's socket on port 1901 and its event loop: hears every
// datagram, logs requests, lets the hosts answer, and sends the replies
// (now or after --delay) by broadcast through the receiving interface's
// address, or back to the sender.
#include <string>

#include "sim_options.h"

namespace quendra::sim {

// Runs until SIGINT or SIGTERM. Returns the process exit code; prints
// "ready" on stdout once the socket is bound.
int runServer(const SimOptions& options);

}  // namespace quendra::sim
