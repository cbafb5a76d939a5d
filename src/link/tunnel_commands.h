#pragma once
// The parameter groups of a host and the numbering of tunnel commands: one
// read and one write number per record of every group but the network
// settings, which travel over plain LAN commands. The reply always bears the
// request's number.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quendra {

// In the order a host's configuration lists them.
enum class ParamGroup { Network, Base, Gprs, Led, Channel, Modbus, Relay };
constexpr int kParamGroupCount = 7;
constexpr std::array<ParamGroup, kParamGroupCount> kAllGroups{ParamGroup::Network, ParamGroup::Base,
                                                              ParamGroup::Gprs,    ParamGroup::Led,
                                                              ParamGroup::Channel, ParamGroup::Modbus,
                                                              ParamGroup::Relay};

struct TunnelCommand {
  ParamGroup group;
  bool isWrite;  // write request / acknowledgement; otherwise read request / data reply
  int index;     // record index inside the group (0 for single-record groups)
};

namespace tunnel_table {

struct GroupNumbers {
  ParamGroup group;
  std::uint8_t firstRead;
  std::uint8_t firstWrite;
  int records;
  std::size_t payload;  // bytes of a write request and of a data reply
};

// The network settings have no tunnel numbers; their record is 292 bytes.
constexpr GroupNumbers kGroups[] = {
    {ParamGroup::Network, 0, 0, 1, 292},    {ParamGroup::Base, 1, 2, 1, 27},
    {ParamGroup::Gprs, 3, 4, 1, 137},       {ParamGroup::Led, 150, 149, 1, 141},
    {ParamGroup::Channel, 5, 37, 32, 104},  {ParamGroup::Modbus, 85, 117, 32, 7},
    {ParamGroup::Relay, 69, 77, 8, 5},
};

constexpr const GroupNumbers& numbersOf(ParamGroup group) {
  for (const auto& g : kGroups)
    if (g.group == group) return g;
  return kGroups[0];
}

}  // namespace tunnel_table

// nullopt for 0 and 151..255.
constexpr std::optional<TunnelCommand> classifyTunnelCommand(std::uint8_t command) {
  for (const auto& g : tunnel_table::kGroups) {
    if (g.firstRead == 0) continue;
    if (command >= g.firstRead && command < g.firstRead + g.records)
      return TunnelCommand{g.group, false, command - g.firstRead};
    if (command >= g.firstWrite && command < g.firstWrite + g.records)
      return TunnelCommand{g.group, true, command - g.firstWrite};
  }
  return std::nullopt;
}

constexpr std::uint8_t readCommandOf(ParamGroup group, int index = 0) {
  return static_cast<std::uint8_t>(tunnel_table::numbersOf(group).firstRead + index);
}

constexpr std::uint8_t writeCommandOf(ParamGroup group, int index = 0) {
  return static_cast<std::uint8_t>(tunnel_table::numbersOf(group).firstWrite + index);
}

// Number of records of a group (32 channels, 32 ModBus slots, 8 relays, else 1).
constexpr int recordCountOf(ParamGroup group) { return tunnel_table::numbersOf(group).records; }

// Every record of the group as a mask (bit k = record k).
constexpr std::uint32_t allRecordsOf(ParamGroup group) {
  const int n = recordCountOf(group);
  return n >= 32 ? 0xFFFFFFFFu : ((1u << n) - 1u);
}

// Payload bytes of a write request and of a data reply (the network record's size for Network).
constexpr std::size_t payloadSizeOf(ParamGroup group) { return tunnel_table::numbersOf(group).payload; }

// A data reply (isReply) or a write request that holds less than its group's
// record: the dispatcher refuses such a reply whole, and hosts ignore such a
// write. Read requests and acknowledgements carry no record.
constexpr bool lacksRecord(const TunnelCommand& command, bool isReply, std::size_t payloadBytes) {
  return command.isWrite != isReply && payloadBytes < payloadSizeOf(command.group);
}

// Groups moved record by record, in batches.
constexpr bool isBatchGroup(ParamGroup group) { return recordCountOf(group) > 1; }

}  // namespace quendra
