#include "records/base_params.h"

#include <cstdio>

namespace quendra {
namespace {

// Offsets inside the payload (tunnel offset - 2).
constexpr std::size_t kServerCount = 0;
constexpr std::size_t kTerminalAddress = 1;
constexpr std::size_t kLoginInterval = 5;
constexpr std::size_t kHeartbeatInterval = 7;
constexpr std::size_t kDataInterval = 9;
constexpr std::size_t kModbusBaud = 11;
constexpr std::size_t kEnabledChannelCount = 12;
constexpr std::size_t kNormalRecordInterval = 13;
constexpr std::size_t kAlarmRecordInterval = 15;
constexpr std::size_t kStorageType = 17;
constexpr std::size_t kCoordinateEnabled = 18;
constexpr std::size_t kLongitude = 19;
constexpr std::size_t kLatitude = 23;
static_assert(kLatitude + 4 == kBaseParamsSize);

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Bytes encodeBaseParams(const BaseParams& r) {
  Bytes image(kBaseParamsSize, 0);
  image[kServerCount] = r.serverCount;
  putU32LE(image, kTerminalAddress, r.terminalAddress);
  putU16LE(image, kLoginInterval, r.loginInterval);
  putU16LE(image, kHeartbeatInterval, r.heartbeatInterval);
  putU16LE(image, kDataInterval, r.dataInterval);
  image[kModbusBaud] = r.modbusBaud;
  image[kEnabledChannelCount] = r.enabledChannelCount;
  putU16LE(image, kNormalRecordInterval, r.normalRecordInterval);
  putU16LE(image, kAlarmRecordInterval, r.alarmRecordInterval);
  image[kStorageType] = r.storageType;
  image[kCoordinateEnabled] = r.coordinateEnabled;
  putF32LE(image, kLongitude, r.longitude);
  putF32LE(image, kLatitude, r.latitude);
  return image;
}

bool decodeBaseParams(ByteView image, BaseParams& r) {
  if (image.size() < kBaseParamsSize) return false;
  r.serverCount = image[kServerCount];
  r.terminalAddress = getU32LE(image, kTerminalAddress);
  r.loginInterval = getU16LE(image, kLoginInterval);
  r.heartbeatInterval = getU16LE(image, kHeartbeatInterval);
  r.dataInterval = getU16LE(image, kDataInterval);
  r.modbusBaud = image[kModbusBaud];
  r.enabledChannelCount = image[kEnabledChannelCount];
  r.normalRecordInterval = getU16LE(image, kNormalRecordInterval);
  r.alarmRecordInterval = getU16LE(image, kAlarmRecordInterval);
  r.storageType = image[kStorageType];
  r.coordinateEnabled = image[kCoordinateEnabled];
  r.longitude = getF32LE(image, kLongitude);
  r.latitude = getF32LE(image, kLatitude);
  return true;
}

TerminalAddressParse parseTerminalAddress(std::string_view gbk) {
  TerminalAddressParse result;
  if (gbk.size() != 8) {
    result.error = TerminalAddressError::WrongLength;
    return result;
  }
  std::uint32_t value = 0;
  for (char c : gbk) {
    const int digit = hexDigit(c);
    if (digit < 0) {
      result.error = TerminalAddressError::NotHex;
      return result;
    }
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  result.value = value;
  return result;
}

std::string formatTerminalAddress(std::uint32_t address) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(address));
  return buf;
}

}  // namespace quendra
