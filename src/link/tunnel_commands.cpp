#include "link/tunnel_commands.h"

namespace quendra {
namespace {

struct GroupNumbers {
  ParamGroup group;
  std::uint8_t firstRead;
  std::uint8_t firstWrite;
  int records;
  std::size_t payload;
};

constexpr GroupNumbers kGroups[] = {
    {ParamGroup::Base, 1, 2, 1, 27},
    {ParamGroup::Gprs, 3, 4, 1, 137},
    {ParamGroup::Channel, 5, 37, 32, 104},
    {ParamGroup::Relay, 69, 77, 8, 5},
    {ParamGroup::Modbus, 85, 117, 32, 7},
    {ParamGroup::Led, 150, 149, 1, 141},
};

const GroupNumbers& numbersOf(ParamGroup group) {
  for (const auto& g : kGroups)
    if (g.group == group) return g;
  return kGroups[0];
}

}  // namespace

std::optional<TunnelCommand> classifyTunnelCommand(std::uint8_t command) {
  for (const auto& g : kGroups) {
    if (command >= g.firstRead && command < g.firstRead + g.records)
      return TunnelCommand{g.group, false, command - g.firstRead};
    if (command >= g.firstWrite && command < g.firstWrite + g.records)
      return TunnelCommand{g.group, true, command - g.firstWrite};
  }
  return std::nullopt;
}

std::uint8_t readCommandOf(ParamGroup group, int index) {
  return static_cast<std::uint8_t>(numbersOf(group).firstRead + index);
}

std::uint8_t writeCommandOf(ParamGroup group, int index) {
  return static_cast<std::uint8_t>(numbersOf(group).firstWrite + index);
}

int recordCountOf(ParamGroup group) { return numbersOf(group).records; }

std::size_t payloadSizeOf(ParamGroup group) { return numbersOf(group).payload; }

}  // namespace quendra
