// quendra-hostsim: one or many simulated monitoring hosts on UDP port 1901.
// Run it only inside a private network namespace (scripts/netns-run).
#include <cstdio>
#include <string>
#include <vector>

#include "sim_options.h"
#include "sim_server.h"

int main(int argc, char** argv) {
  using namespace quendra::sim;
  std::string error;
  const auto options = parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "quendra-hostsim: %s\nTry quendra-hostsim --help.\n", error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(usageText(), stdout);
    return 0;
  }
  return runServer(*options);
}
