#include "records/gprs_params.h"

#include "link/gbk.h"

namespace quendra {
namespace {

// Offsets inside the payload (tunnel offset - 2).
constexpr std::size_t kLoginInterval = 0;
constexpr std::size_t kHeartbeatInterval = 2;
constexpr std::size_t kDataInterval = 4;
constexpr std::size_t kTargetAddress = 6;
constexpr std::size_t kTargetAddressArea = 65;
constexpr std::size_t kTargetPort = 71;
constexpr std::size_t kTargetPortArea = 8;
constexpr std::size_t kPhoneMask = 79;
constexpr std::size_t kPhones = 80;
constexpr std::size_t kSmsInterval = 135;
constexpr std::size_t kWorkType = 136;
static_assert(kTargetAddress + kTargetAddressArea == kTargetPort);
static_assert(kTargetPort + kTargetPortArea == kPhoneMask);
static_assert(kPhones + GprsParams::kPhoneCount * GprsParams::kPhoneBytes == kSmsInterval);
static_assert(kWorkType + 1 == kGprsParamsSize);

std::size_t phoneOffset(int slot) { return kPhones + static_cast<std::size_t>(slot) * GprsParams::kPhoneBytes; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

Bytes encodeGprsParams(const GprsParams& r) {
  Bytes image(kGprsParamsSize, 0);
  const MutableBytes out(image);
  putU16LE(out, kLoginInterval, r.loginInterval);
  putU16LE(out, kHeartbeatInterval, r.heartbeatInterval);
  putU16LE(out, kDataInterval, r.dataInterval);
  writeTextArea(out.subspan(kTargetAddress, kTargetAddressArea), r.targetAddress, GprsParams::kAddressBytes);
  writeTextArea(out.subspan(kTargetPort, kTargetPortArea), r.targetPort, GprsParams::kPortBytes);
  image[kPhoneMask] = r.alarmPhoneMask;
  for (int slot = 0; slot < GprsParams::kPhoneCount; ++slot)
    writeTextArea(out.subspan(phoneOffset(slot), GprsParams::kPhoneBytes), r.alarmPhones[slot],
                  GprsParams::kPhoneBytes);
  image[kSmsInterval] = r.smsInterval;
  image[kWorkType] = r.workType;
  return image;
}

bool decodeGprsParams(ByteView image, GprsParams& r) {
  if (image.size() < kGprsParamsSize) return false;
  r.loginInterval = getU16LE(image, kLoginInterval);
  r.heartbeatInterval = getU16LE(image, kHeartbeatInterval);
  r.dataInterval = getU16LE(image, kDataInterval);
  // The last byte of each area is the text's terminator whatever it holds.
  r.targetAddress = readTextArea(image.subspan(kTargetAddress, GprsParams::kAddressBytes));
  r.targetPort = readTextArea(image.subspan(kTargetPort, GprsParams::kPortBytes));
  r.alarmPhoneMask = image[kPhoneMask];
  for (int slot = 0; slot < GprsParams::kPhoneCount; ++slot)
    r.alarmPhones[slot] = readTextArea(image.subspan(phoneOffset(slot), GprsParams::kPhoneBytes));
  r.smsInterval = image[kSmsInterval];
  r.workType = image[kWorkType];
  return true;
}

void takeAlarmPhone(GprsParams& r, int number, std::string_view gbk) {
  if (number < 1 || number > GprsParams::kPhoneCount) return;
  while (!gbk.empty() && isBlank(gbk.front())) gbk.remove_prefix(1);
  while (!gbk.empty() && isBlank(gbk.back())) gbk.remove_suffix(1);
  const auto bit = static_cast<std::uint8_t>(1u << (number - 1));
  if (gbk.size() < GprsParams::kPhoneBytes) {
    r.alarmPhoneMask = static_cast<std::uint8_t>(r.alarmPhoneMask & ~bit);
    return;
  }
  r.alarmPhoneMask = static_cast<std::uint8_t>(r.alarmPhoneMask | bit);
  r.alarmPhones[number - 1] = std::string(gbk.substr(0, gbkCutLength(gbk, GprsParams::kPhoneBytes)));
}

std::optional<std::uint8_t> parseSmsInterval(std::string_view text) {
  // atoi's reading, but saturating: a long digit string must not wrap back
  // into 0..255.
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  unsigned value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (value > 255) return std::nullopt;
  }
  return static_cast<std::uint8_t>(value);
}

}  // namespace quendra
