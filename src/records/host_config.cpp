#include "records/host_config.h"

namespace quendra {

static_assert(payloadSizeOf(ParamGroup::Network) == NetworkParams::kSize);
static_assert(payloadSizeOf(ParamGroup::Base) == kBaseParamsSize);
static_assert(payloadSizeOf(ParamGroup::Gprs) == kGprsParamsSize);
static_assert(payloadSizeOf(ParamGroup::Led) == kLedParamsSize);
static_assert(payloadSizeOf(ParamGroup::Channel) == kChannelPayloadSize);
static_assert(payloadSizeOf(ParamGroup::Modbus) == kModbusSlotPayloadSize);
static_assert(payloadSizeOf(ParamGroup::Relay) == kRelayPayloadSize);
static_assert(recordCountOf(ParamGroup::Channel) == kChannelCount);
static_assert(recordCountOf(ParamGroup::Modbus) == kModbusSlotCount);
static_assert(recordCountOf(ParamGroup::Relay) == kRelayCount);

Bytes encodeRecord(const HostConfig& c, ParamGroup group, int index) {
  if (index < 0 || index >= recordCountOf(group)) return {};
  switch (group) {
    case ParamGroup::Network: return Bytes(c.network.bytes.begin(), c.network.bytes.end());
    case ParamGroup::Base: return encodeBaseParams(c.base);
    case ParamGroup::Gprs: return encodeGprsParams(c.gprs);
    case ParamGroup::Led: return encodeLedParams(c.led);
    case ParamGroup::Channel: return encodeChannelPayload(c.channels[index]);
    case ParamGroup::Modbus: return encodeModbusSlot(c.modbus[index]);
    case ParamGroup::Relay: return encodeRelay(c.relays[index]);
  }
  return {};
}

HostConfig withRecords(const HostConfig& base, const HostConfig& from,
                       const std::array<std::uint32_t, kParamGroupCount>& which) {
  HostConfig out = base;
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k)
      if ((which[static_cast<int>(g)] >> k) & 1u) decodeRecord(out, g, k, encodeRecord(from, g, k));
  return out;
}

namespace {

template <typename Record, typename Decode>
bool store(Record& into, ByteView image, Decode decode) {
  const auto record = decode(image);
  if (!record) return false;
  into = *record;
  return true;
}

}  // namespace

bool decodeRecord(HostConfig& c, ParamGroup group, int index, ByteView image) {
  if (index < 0 || index >= recordCountOf(group)) return false;
  bool stored = false;
  switch (group) {
    case ParamGroup::Network: stored = store(c.network, image, &NetworkParams::fromRecord); break;
    case ParamGroup::Base: stored = decodeBaseParams(image, c.base); break;
    case ParamGroup::Gprs: stored = decodeGprsParams(image, c.gprs); break;
    case ParamGroup::Led: stored = decodeLedParams(image, c.led); break;
    case ParamGroup::Channel: stored = store(c.channels[index], image, decodeChannelPayload); break;
    case ParamGroup::Modbus: stored = store(c.modbus[index], image, decodeModbusSlot); break;
    case ParamGroup::Relay: stored = store(c.relays[index], image, decodeRelay); break;
  }
  if (stored) c.markKnown(group, index);
  return stored;
}

}  // namespace quendra
