// Every record's byte image, field by field against golden bytes, in both directions; texts cut at whole characters;
// what typed values become; the network record's hidden bytes left alone.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "records/config_diff.h"
#include "records/field_text.h"
#include "support/image_bytes.h"

namespace quendra {
namespace {

using test::area;
using test::hex;
using test::operator+;

constexpr char kZhong[] = "\xD6\xD0";  // one double-byte GBK character

struct Golden {
  const char* name;
  ParamGroup group;
  int index;
  std::function<void(HostConfig&)> set;
  Bytes image;
};

TEST(RecordImages, EncodedAsTheHostLaysItOutAndDecodedBack) {
  const Golden goldens[] = {
      {"base", ParamGroup::Base, 0,
       [](HostConfig& c) { c.base = {0x1A2B3C4D, 8, 3, 60, 0x1234, 2, 32, 0xFFFF, 0x0102, 1, 1, 113.25f, -1.0f}; },
       // server count before the terminal address; 113.25f is 00 80 E2 42
       hex("08 4d3c2b1a 0300 3c00 3412 02 20 ffff 0201 01 01 0080e242 000080bf")},
      {"gprs", ParamGroup::Gprs, 0,
       [](HostConfig& c) {
         c.gprs.loginInterval = 3, c.gprs.heartbeatInterval = 0xFFFF, c.gprs.dataInterval = 0x0114;
         c.gprs.targetAddress = "example.org", c.gprs.targetPort = "2404";
         c.gprs.alarmPhones = {"13000000001", "13000000002", "", "13000000004", "13000000005"};
         c.gprs.alarmPhoneMask = 0x1B, c.gprs.smsInterval = 200, c.gprs.workType = 2;
       },
       hex("0300 ffff 1401") + area("example.org", 65) + area("2404", 8) + hex("1b") +
           area("1300000000113000000002", 22) + area("", 11) + area("1300000000413000000005", 22) +
           hex("c8 02")},
      {"led", ParamGroup::Led, 0,
       [](HostConfig& c) { c.led = {1, 1, 0, 192, 0x0140, 8, 2, 0xFFFF, "\xB1\xEA\xCD\xB7 A", "end"}; },
       hex("01 01 00 c000 4001 0800 0200 ffff") + area("\xB1\xEA\xCD\xB7 A", 64) + area("end", 64)},
      {"channel 32", ParamGroup::Channel, 31,
       [](HostConfig& c) {
         ChannelParams& r = c.channels[31];
         r.dataSource = 146, r.upperLimit1 = 25.5f, r.lowerLimit1 = -3.25f, r.coefA1 = 1.25f, r.coefB1 = -2;
         r.hysteresis1 = 0.5f, r.name1 = "\xCE\xC2\xB6\xC8", r.unit1 = "C", r.upperLimit2 = 80;
         r.lowerLimit2 = 10, r.coefA2 = 3, r.coefB2 = 4, r.hysteresis2 = 1.5f, r.name2 = "humidity";
         r.unit2 = "%RH", r.relayUpper1 = 1, r.relayLower1 = 2, r.relayUpper2 = 7, r.relayLower2 = 8;
         r.dataProperty = 6, r.alarmDelay = 300, r.smsOnAlarm1 = 1, r.smsOnRestore2 = 1;
       },
       hex("92 0000cc41 000050c0 0000a03f 000000c0 0000003f") + area("\xCE\xC2\xB6\xC8", 20) + area("C", 6) +
           hex("0000a042 00002041 00004040 00008040 0000c03f") + area("humidity", 20) + area("%RH", 6) +
           hex("01 02 07 08 06 2c01 01 00 00 01")},
      {"modbus slot 6", ParamGroup::Modbus, 5, [](HostConfig& c) { c.modbus[5] = {1, 1, 5, 0, 10}; },
       hex("01 01 05 0000 0a00")},
      {"modbus slot 32", ParamGroup::Modbus, 31, [](HostConfig& c) { c.modbus[31] = {247, 0, 0xFF, 0x1234, 0xABCD}; },
       hex("f7 00 ff 3412 cdab")},
      {"relay 3", ParamGroup::Relay, 2, [](HostConfig& c) { c.relays[2] = {2, 60, 30}; }, hex("02 3c00 1e00")},
      {"relay 8", ParamGroup::Relay, 7, [](HostConfig& c) { c.relays[7] = {0xFF, 0xFFFF, 0x8001}; },
       hex("ff ffff 0180")}};
  for (const Golden& g : goldens) {
    SCOPED_TRACE(g.name);
    HostConfig original;
    g.set(original);
    EXPECT_EQ(encodeRecord(original, g.group, g.index), g.image);
    HostConfig decoded;
    ASSERT_TRUE(decodeRecord(decoded, g.group, g.index, g.image + Bytes{0xEE, 0xEE}));  // longer: read at its offsets
    for (const RecordField& f : fieldsOf(g.group))
      EXPECT_TRUE(sameValue(f.get(decoded, g.index), f.get(original, g.index))) << f.key;
    EXPECT_TRUE(decoded.isKnown(g.group, g.index));
    HostConfig untouched;
    EXPECT_FALSE(decodeRecord(untouched, g.group, g.index, ByteView(g.image).first(g.image.size() - 1)));
    EXPECT_EQ(encodeRecord(untouched, g.group, g.index), encodeRecord(HostConfig{}, g.group, g.index));
    EXPECT_FALSE(untouched.isKnown(g.group, g.index));
  }
}

// Text areas: zero-filled, cut at the last whole character, ended at the first zero when read.
struct TextArea {
  const char* name;
  std::function<void(HostConfig&, const std::string&)> set;
  ParamGroup group;
  std::size_t offset, width, maxText;
};

TEST(RecordTexts, CutAtWholeCharactersAndReadToTheirZero) {
  const TextArea areas[] = {
      {"gprs address", [](HostConfig& c, const std::string& t) { c.gprs.targetAddress = t; }, ParamGroup::Gprs, 6, 65, 64},
      {"gprs port", [](HostConfig& c, const std::string& t) { c.gprs.targetPort = t; }, ParamGroup::Gprs, 71, 8, 7},
      {"led header", [](HostConfig& c, const std::string& t) { c.led.headerText = t; }, ParamGroup::Led, 13, 64, 64},
      {"led footer", [](HostConfig& c, const std::string& t) { c.led.footerText = t; }, ParamGroup::Led, 77, 64, 64},
      {"channel name2", [](HostConfig& c, const std::string& t) { c.channels[0].name2 = t; }, ParamGroup::Channel, 67, 20, 20},
      {"channel unit1", [](HostConfig& c, const std::string& t) { c.channels[0].unit1 = t; }, ParamGroup::Channel, 41, 6, 6},
  };
  for (const TextArea& a : areas) {
    const std::string fits(a.maxText, 'x');
    const std::string straddles = std::string(a.maxText - 1, 'a') + kZhong;
    const std::string ends = std::string(a.maxText - 2, 'a') + kZhong;
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {fits, fits}, {fits + "yyy", fits}, {straddles, std::string(a.maxText - 1, 'a')}, {ends, ends}};
    for (const auto& [typed, kept] : cases) {
      HostConfig c;
      a.set(c, typed);
      const Bytes image = encodeRecord(c, a.group, 0);
      EXPECT_EQ(Bytes(image.begin() + a.offset, image.begin() + a.offset + a.width), area(kept, a.width))
          << a.name << " " << typed.size();
    }
  }
  Bytes p(104, 0);
  std::copy_n("ABCDE\0GHIJKLMNOPQRST", 20, p.begin() + 21);
  std::copy_n("UVWXYZ", 6, p.begin() + 41);  // a full unit area has no zero of its own
  HostConfig c;
  ASSERT_TRUE(decodeRecord(c, ParamGroup::Channel, 0, p));
  EXPECT_EQ(std::tie(c.channels[0].name1, c.channels[0].unit1), std::tuple("ABCDE", "UVWXYZ"));
  Bytes g(137, 'h');  // GPRS areas without zeros keep their last byte for the terminator
  ASSERT_TRUE(decodeRecord(c, ParamGroup::Gprs, 0, g));
  EXPECT_EQ(std::tie(c.gprs.targetAddress, c.gprs.targetPort, c.gprs.alarmPhones[4]),  // the phone whatever the mask
            std::tuple(std::string(64, 'h'), std::string(7, 'h'), std::string(11, 'h')));
}

TEST(TypedValues, AlarmPhonesSmsIntervalAndTerminalAddress) {
  const std::string previous = "19999999999";
  const std::tuple<const char*, bool, std::string> phones[] = {
      {"  13912345678\t", true, "13912345678"}, {"1391234567", false, previous}, {"", false, previous},
      {"139123456789", true, "13912345678"}, {"1391234567\xD6\xD0", true, "1391234567"}};
  for (const auto& [typed, given, slot] : phones) {
    GprsParams r;
    r.alarmPhones[2] = previous;
    r.alarmPhoneMask = 0x05;
    takeAlarmPhone(r, 3, typed);
    EXPECT_EQ(r.alarmPhoneMask, given ? 0x05 : 0x01) << typed;
    EXPECT_EQ(r.alarmPhones[2], slot) << typed;
  }
  const std::pair<const char*, std::optional<std::uint8_t>> sms[] = {
      {"0", 0}, {"-5", 5}, {"abc", 0}, {" 12min", 12}, {"+255", 255}, {"256", std::nullopt}, {"99999999999999999999", std::nullopt}};
  for (const auto& [typed, value] : sms) EXPECT_EQ(parseSmsInterval(typed), value) << typed;
  const std::tuple<const char*, std::optional<std::uint32_t>, TerminalAddressError> addresses[] = {
      {"1A2b3C4d", 0x1A2B3C4Du, {}}, {"ffffFFFF", 0xFFFFFFFFu, {}}, {"1234567", std::nullopt, TerminalAddressError::WrongLength},
      {"123456789", std::nullopt, TerminalAddressError::WrongLength}, {"1234567G", std::nullopt, TerminalAddressError::NotHex},
      {"123456\xD6\xD0", std::nullopt, TerminalAddressError::NotHex}};
  for (const auto& [text, value, error] : addresses) {
    const auto parsed = parseTerminalAddress(text);
    EXPECT_EQ(parsed.value, value) << text;
    EXPECT_TRUE(value || parsed.error == error) << text << ": the error";
  }
  EXPECT_EQ(formatTerminalAddress(0x1A2B3C4D), "1a2b3c4d");
  EXPECT_EQ(formatTerminalAddress(0x12), "00000012");
}

TEST(NetworkRecord, FieldsAtTheirOffsetsAndEveryOtherByteLeftAlone) {
  Bytes original(NetworkParams::kSize);
  std::iota(original.begin(), original.end(), std::uint8_t{1});
  NetworkParams p = *NetworkParams::fromRecord(original);
  EXPECT_EQ(std::tuple(p.staticAddress(), p.hostAddress(), p.gateway(), p.subnetMask(), int(p.maxConnections())),
            std::tuple(false, 0x05040302u, 0x09080706u, 0x0D0C0B0Au, 20));  // static: bit 7 of byte 0
  EXPECT_EQ(std::pair(p.sourcePort(1), p.listenPort(0)), (std::pair<std::uint16_t, std::uint16_t>(0x3837, 0x1817)));
  p.setStaticAddress(true), p.setHostAddress(0xC0A80009), p.setListenPort(1, 4);
  ASSERT_TRUE(p.setServerAddress(0, "host"));
  EXPECT_EQ(Bytes(p.bytes.begin(), p.bytes.begin() + 5), hex("80 0900a8c0"));
  EXPECT_EQ(Bytes(p.bytes.begin() + 24, p.bytes.begin() + 30), (Bytes{'h', 'o', 's', 't', 0, 30}));  // after the zero: as it was
  EXPECT_EQ(Bytes(p.bytes.begin() + 56, p.bytes.begin() + 58), hex("0400"));
  for (std::size_t i : {13u, 18u, 19u, 88u, 291u}) EXPECT_EQ(p.bytes[i], original[i]) << i;
  const auto before = p.bytes;
  EXPECT_FALSE(p.setServerAddress(1, std::string(30, 'x')));  // 29 bytes and the zero at most
  EXPECT_EQ(p.bytes, before);
  ASSERT_TRUE(p.setServerAddress(1, std::string(29, 'x')));
  EXPECT_EQ(p.bytes[58 + 29], 0);
  std::fill(p.bytes.begin() + 58, p.bytes.begin() + 88, 'z');
  EXPECT_EQ(p.serverAddress(1), std::string(30, 'z'));  // an area without its zero ends with the area
  EXPECT_FALSE(NetworkParams::fromRecord(Bytes(291)));
}

}  // namespace
}  // namespace quendra
