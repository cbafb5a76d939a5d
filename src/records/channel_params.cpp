#include "records/channel_params.h"

#include "link/gbk.h"

namespace quendra {
namespace {

// Payload offsets (tunnel-frame offset minus the 7E and command bytes).
constexpr std::size_t kDataSource = 0;
constexpr std::size_t kUpperLimit1 = 1;
constexpr std::size_t kLowerLimit1 = 5;
constexpr std::size_t kCoefA1 = 9;
constexpr std::size_t kCoefB1 = 13;
constexpr std::size_t kHysteresis1 = 17;
constexpr std::size_t kName1 = 21;
constexpr std::size_t kUnit1 = 41;
constexpr std::size_t kUpperLimit2 = 47;
constexpr std::size_t kLowerLimit2 = 51;
constexpr std::size_t kCoefA2 = 55;
constexpr std::size_t kCoefB2 = 59;
constexpr std::size_t kHysteresis2 = 63;
constexpr std::size_t kName2 = 67;
constexpr std::size_t kUnit2 = 87;
constexpr std::size_t kRelayUpper1 = 93;
constexpr std::size_t kRelayLower1 = 94;
constexpr std::size_t kRelayUpper2 = 95;
constexpr std::size_t kRelayLower2 = 96;
constexpr std::size_t kDataProperty = 97;
constexpr std::size_t kAlarmDelay = 98;
constexpr std::size_t kSmsOnAlarm1 = 100;
constexpr std::size_t kSmsOnAlarm2 = 101;
constexpr std::size_t kSmsOnRestore1 = 102;
constexpr std::size_t kSmsOnRestore2 = 103;
static_assert(kSmsOnRestore2 + 1 == kChannelPayloadSize);

void putText(MutableBytes payload, std::size_t offset, std::size_t width, const std::string& gbk) {
  writeTextArea(payload.subspan(offset, width), gbk, width);
}

}  // namespace

std::string cutGbkText(const std::string& gbk, std::size_t maxBytes) {
  return gbk.substr(0, gbkCutLength(gbk, maxBytes));
}

Bytes encodeChannelPayload(const ChannelParams& r) {
  Bytes out(kChannelPayloadSize, 0);
  MutableBytes p(out);
  p[kDataSource] = static_cast<std::uint8_t>(r.dataSource);
  putF32LE(p, kUpperLimit1, r.upperLimit1);
  putF32LE(p, kLowerLimit1, r.lowerLimit1);
  putF32LE(p, kCoefA1, r.coefA1);
  putF32LE(p, kCoefB1, r.coefB1);
  putF32LE(p, kHysteresis1, r.hysteresis1);
  putText(p, kName1, kChannelNameBytes, r.name1);
  putText(p, kUnit1, kChannelUnitBytes, r.unit1);
  putF32LE(p, kUpperLimit2, r.upperLimit2);
  putF32LE(p, kLowerLimit2, r.lowerLimit2);
  putF32LE(p, kCoefA2, r.coefA2);
  putF32LE(p, kCoefB2, r.coefB2);
  putF32LE(p, kHysteresis2, r.hysteresis2);
  putText(p, kName2, kChannelNameBytes, r.name2);
  putText(p, kUnit2, kChannelUnitBytes, r.unit2);
  p[kRelayUpper1] = r.relayUpper1;
  p[kRelayLower1] = r.relayLower1;
  p[kRelayUpper2] = r.relayUpper2;
  p[kRelayLower2] = r.relayLower2;
  p[kDataProperty] = static_cast<std::uint8_t>(r.dataProperty);
  putU16LE(p, kAlarmDelay, r.alarmDelay);
  p[kSmsOnAlarm1] = r.smsOnAlarm1;
  p[kSmsOnAlarm2] = r.smsOnAlarm2;
  p[kSmsOnRestore1] = r.smsOnRestore1;
  p[kSmsOnRestore2] = r.smsOnRestore2;
  return out;
}

std::optional<ChannelParams> decodeChannelPayload(ByteView p) {
  if (p.size() < kChannelPayloadSize) return std::nullopt;
  ChannelParams r;
  r.dataSource = p[kDataSource];
  r.upperLimit1 = getF32LE(p, kUpperLimit1);
  r.lowerLimit1 = getF32LE(p, kLowerLimit1);
  r.coefA1 = getF32LE(p, kCoefA1);
  r.coefB1 = getF32LE(p, kCoefB1);
  r.hysteresis1 = getF32LE(p, kHysteresis1);
  r.name1 = readTextArea(p.subspan(kName1, kChannelNameBytes));
  r.unit1 = readTextArea(p.subspan(kUnit1, kChannelUnitBytes));
  r.upperLimit2 = getF32LE(p, kUpperLimit2);
  r.lowerLimit2 = getF32LE(p, kLowerLimit2);
  r.coefA2 = getF32LE(p, kCoefA2);
  r.coefB2 = getF32LE(p, kCoefB2);
  r.hysteresis2 = getF32LE(p, kHysteresis2);
  r.name2 = readTextArea(p.subspan(kName2, kChannelNameBytes));
  r.unit2 = readTextArea(p.subspan(kUnit2, kChannelUnitBytes));
  r.relayUpper1 = p[kRelayUpper1];
  r.relayLower1 = p[kRelayLower1];
  r.relayUpper2 = p[kRelayUpper2];
  r.relayLower2 = p[kRelayLower2];
  r.dataProperty = p[kDataProperty];
  r.alarmDelay = getU16LE(p, kAlarmDelay);
  r.smsOnAlarm1 = p[kSmsOnAlarm1];
  r.smsOnAlarm2 = p[kSmsOnAlarm2];
  r.smsOnRestore1 = p[kSmsOnRestore1];
  r.smsOnRestore2 = p[kSmsOnRestore2];
  return r;
}

}  // namespace quendra
