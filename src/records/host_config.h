#pragma once
// Every parameter group of one host, and which of its records hold values a
// host sent (or that were written to it). The window keeps one for the host it
// works with; the command line one per host.
#include <array>
#include <cstdint>

#include "link/bytes.h"
#include "link/tunnel_commands.h"
#include "records/base_params.h"
#include "records/channel_params.h"
#include "records/gprs_params.h"
#include "records/led_params.h"
#include "records/modbus_params.h"
#include "records/network_params.h"
#include "records/relay_params.h"

namespace quendra {

struct HostConfig {
  NetworkParams network;
  BaseParams base;
  GprsParams gprs;
  LedParams led;
  ChannelRecords channels{};
  ModbusSlotRecords modbus{};
  RelayRecords relays{};
  // Per group, bit k: record k holds a host's values.
  std::array<std::uint32_t, kParamGroupCount> known{};

  std::uint32_t knownRecords(ParamGroup group) const { return known[static_cast<int>(group)]; }
  bool isKnown(ParamGroup group, int index = 0) const { return (knownRecords(group) >> index) & 1u; }
  bool groupKnown(ParamGroup group) const { return knownRecords(group) == allRecordsOf(group); }
  void markKnown(ParamGroup group, int index = 0) { known[static_cast<int>(group)] |= 1u << index; }
};

// `base` with the records among `which` (per group, bit k: record k) taken
// from `from`, byte for byte; those records are then known.
HostConfig withRecords(const HostConfig& base, const HostConfig& from, const std::array<std::uint32_t, kParamGroupCount>& which);

// The byte image of record `index` of `group`: the tunnel payload, or the
// 292-byte network record.
Bytes encodeRecord(const HostConfig& config, ParamGroup group, int index = 0);
// Stores an image into record `index` and marks it known; false, changing
// nothing, when the image is too short for the record or the index is outside
// the group.
bool decodeRecord(HostConfig& config, ParamGroup group, int index, ByteView image);

}  // namespace quendra
