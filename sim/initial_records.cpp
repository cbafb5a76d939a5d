#include "initial_records.h"

#include "link/gbk.h"
#include "link/outer_frame.h"
#include "records/base_params.h"
#include "records/gprs_params.h"
#include "records/led_params.h"
#include "records/modbus_params.h"
#include "records/relay_params.h"

namespace quendra::sim {
namespace {

std::string gbk(const std::string& utf8) { return utf8ToGbk(utf8).value_or(std::string()); }

void putText(Bytes& image, std::size_t offset, std::size_t width, const std::string& gbkText) {
  writeTextArea(MutableBytes(image).subspan(offset, width), gbkText, width);
}

void putAddress(Bytes& image, std::size_t offset, std::uint32_t address) { putU32LE(image, offset, address); }

constexpr std::uint32_t ipv4(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

}  // namespace

std::uint32_t hostAddress(int host) {
  return ipv4(192, 168, 1 + static_cast<unsigned>(host) / 200, 10 + static_cast<unsigned>(host) % 200);
}

std::string hostNameGbk(int host) { return gbk("模拟主机" + std::to_string(host + 1)); }

Bytes initialNetworkRecord(int host) {
  Bytes r(kNetworkRecordSize, 0);
  const std::uint32_t ip = hostAddress(host);
  r[0] = 0x80;  // static address
  putAddress(r, 1, ip);
  putAddress(r, 5, (ip & 0xFFFFFF00u) | 1);  // gateway x.x.x.1
  putAddress(r, 9, ipv4(255, 255, 255, 0));
  r[19] = 8;  // maximum connections
  putU16LE(r, 20, 2000);
  putU16LE(r, 22, 2404);
  putText(r, 24, 30, "192.168.0.166");
  // Server 2 stays empty (ports 0, no address). The bytes the tool does not
  // show get a pattern that is never zero, so a test sees them come back.
  for (std::size_t o = 13; o < 19; ++o) r[o] = static_cast<std::uint8_t>(0x80 | ((o + host) & 0x7F));
  for (std::size_t o = 88; o < kNetworkRecordSize; ++o) r[o] = static_cast<std::uint8_t>(0x80 | ((o + host) & 0x7F));
  return r;
}

Bytes initialBaseRecord(int host) {
  BaseParams r;
  r.serverCount = 2;
  r.terminalAddress = 0x20250001u + static_cast<std::uint32_t>(host);
  r.loginInterval = 60;       // s
  r.heartbeatInterval = 30;   // s
  r.dataInterval = 300;       // s
  r.modbusBaud = 2;           // 9600
  r.enabledChannelCount = 16;
  r.normalRecordInterval = 10;  // min
  r.alarmRecordInterval = 1;    // min
  r.storageType = 2;            // 开启
  r.coordinateEnabled = 1;
  r.longitude = 113.25f;
  r.latitude = 23.125f;
  return encodeBaseParams(r);
}

Bytes initialGprsRecord(int host) {
  GprsParams r;
  r.loginInterval = 60;
  r.heartbeatInterval = 120;
  r.dataInterval = 300;
  r.targetAddress = "iot.quendra.net";
  r.targetPort = std::to_string(5001 + host % 1000);
  r.alarmPhoneMask = 0x03;  // numbers 1 and 2 present
  r.alarmPhones[0] = "13800138000";
  r.alarmPhones[1] = "13912345678";
  r.smsInterval = 30;  // min
  r.workType = 1;
  return encodeGprsParams(r);
}

Bytes initialChannelRecord(int k) {
  Bytes r(104, 0);
  const float f = static_cast<float>(k);
  r[0] = static_cast<std::uint8_t>(k == 0 ? 64 : k - 1);  // 机载温湿度, then ModBus slots
  putF32LE(r, 1, 40.0f + f);         // upperLimit1
  putF32LE(r, 5, -10.0f + f / 2);    // lowerLimit1
  putF32LE(r, 9, 1.0f);              // coefA1
  putF32LE(r, 13, f / 10);           // coefB1
  putF32LE(r, 17, 0.5f);             // hysteresis1
  putText(r, 21, 20, gbk("温度" + std::to_string(k + 1)));
  putText(r, 41, 6, gbk("℃"));
  putF32LE(r, 47, 80.0f + f);        // upperLimit2
  putF32LE(r, 51, 20.0f);            // lowerLimit2
  putF32LE(r, 55, 1.0f);             // coefA2
  putF32LE(r, 59, 0.0f);             // coefB2
  putF32LE(r, 63, 1.0f);             // hysteresis2
  putText(r, 67, 20, gbk("湿度" + std::to_string(k + 1)));
  putText(r, 87, 6, "%RH");
  r[93] = static_cast<std::uint8_t>(k % 9);        // relayUpper1
  r[94] = 0;                                       // relayLower1
  r[95] = static_cast<std::uint8_t>((k + 1) % 9);  // relayUpper2
  r[96] = 0;                                       // relayLower2
  r[97] = static_cast<std::uint8_t>(k % 7);        // dataProperty
  putU16LE(r, 98, static_cast<std::uint16_t>(10 + k));  // alarmDelay, s
  r[100] = 1;  // smsOnAlarm1
  r[101] = 0;  // smsOnAlarm2
  r[102] = 1;  // smsOnRestore1
  r[103] = 0;  // smsOnRestore2
  return r;
}

Bytes initialRelayRecord(int k) {
  RelayParams r;
  r.workMode = static_cast<std::uint8_t>(k % 3);
  r.startInterval = static_cast<std::uint16_t>(60 + 5 * k);  // min
  r.startDuration = static_cast<std::uint16_t>(30 + k);      // s
  return encodeRelay(r);
}

Bytes initialModbusRecord(int k) {
  ModbusSlotParams r;
  r.slaveAddress = static_cast<std::uint8_t>(k + 1);
  r.slotEnabled = k < 4 ? 1 : 0;
  r.deviceType = static_cast<std::uint8_t>(k % 5);
  r.registerStart = static_cast<std::uint16_t>(100 * k);
  r.registerCount = static_cast<std::uint16_t>(2 + k % 10);
  return encodeModbusSlot(r);
}

Bytes initialLedRecord() {
  LedParams r;
  r.showDataTable = 1;
  r.headerEnabled = 1;
  r.footerEnabled = 0;
  r.sizeX = 192;
  r.sizeY = 96;
  r.channelCount = 8;
  r.columnCount = 2;
  r.refreshInterval = 5;  // s
  r.headerText = gbk("Quendra 监测主机");
  r.footerText = gbk("欢迎使用");
  return encodeLedParams(r);
}

}  // namespace quendra::sim
