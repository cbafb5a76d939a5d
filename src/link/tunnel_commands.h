#pragma once
// The numbering of tunnel commands: one read and one write number per record
// of every parameter group. The reply always bears the request's number.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quendra {

enum class ParamGroup { Base, Gprs, Channel, Relay, Modbus, Led };

struct TunnelCommand {
  ParamGroup group;
  bool isWrite;  // write request / acknowledgement; otherwise read request / data reply
  int index;     // record index inside the group (0 for single-record groups)
};

// nullopt for 0 and 151..255.
std::optional<TunnelCommand> classifyTunnelCommand(std::uint8_t command);

std::uint8_t readCommandOf(ParamGroup group, int index = 0);
std::uint8_t writeCommandOf(ParamGroup group, int index = 0);

// Number of records of a group (32 channels, 8 relays, 32 ModBus slots, else 1).
int recordCountOf(ParamGroup group);

// Payload bytes of a write request and of a data reply.
std::size_t payloadSizeOf(ParamGroup group);

}  // namespace quendra
