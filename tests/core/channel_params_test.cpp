#include "records/channel_params.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace quendra {
namespace {

// Offsets of the channel tables are tunnel-frame offsets; the payload starts
// after 7E and the command byte.
constexpr std::size_t at(std::size_t tunnelOffset) { return tunnelOffset - 2; }

float floatAt(const Bytes& p, std::size_t tunnelOffset) { return getF32LE(p, at(tunnelOffset)); }

TEST(ChannelParams, PayloadIs104Bytes) {
  EXPECT_EQ(encodeChannelPayload(ChannelParams{}).size(), 104u);
  EXPECT_EQ(encodeChannelPayload(ChannelParams{}), Bytes(104, 0));
}

struct FloatField {
  const char* name;
  float ChannelParams::*field;
  std::size_t tunnelOffset;
};

TEST(ChannelParams, FloatsSitAtTheirOffsets) {
  const FloatField fields[] = {
      {"upperLimit1", &ChannelParams::upperLimit1, 3}, {"lowerLimit1", &ChannelParams::lowerLimit1, 7},
      {"coefA1", &ChannelParams::coefA1, 11},          {"coefB1", &ChannelParams::coefB1, 15},
      {"hysteresis1", &ChannelParams::hysteresis1, 19}, {"upperLimit2", &ChannelParams::upperLimit2, 49},
      {"lowerLimit2", &ChannelParams::lowerLimit2, 53}, {"coefA2", &ChannelParams::coefA2, 57},
      {"coefB2", &ChannelParams::coefB2, 61},          {"hysteresis2", &ChannelParams::hysteresis2, 65},
  };
  for (const auto& f : fields) {
    ChannelParams r;
    r.*f.field = -1234.5f;
    const Bytes p = encodeChannelPayload(r);
    EXPECT_EQ(floatAt(p, f.tunnelOffset), -1234.5f) << f.name;
    Bytes expected(104, 0);
    putF32LE(expected, at(f.tunnelOffset), -1234.5f);
    EXPECT_EQ(p, expected) << f.name << " writes nothing else";
  }
}

TEST(ChannelParams, ByteFieldsSitAtTheirOffsets) {
  struct ByteField {
    const char* name;
    std::function<void(ChannelParams&)> set;  // sets the field to 0x5A
    std::size_t tunnelOffset;
  };
  const ByteField fields[] = {
      {"dataSource", [](ChannelParams& r) { r.dataSource = 0x5A; }, 2},
      {"relayUpper1", [](ChannelParams& r) { r.relayUpper1 = 0x5A; }, 95},
      {"relayLower1", [](ChannelParams& r) { r.relayLower1 = 0x5A; }, 96},
      {"relayUpper2", [](ChannelParams& r) { r.relayUpper2 = 0x5A; }, 97},
      {"relayLower2", [](ChannelParams& r) { r.relayLower2 = 0x5A; }, 98},
      {"dataProperty", [](ChannelParams& r) { r.dataProperty = 0x5A; }, 99},
      {"smsOnAlarm1", [](ChannelParams& r) { r.smsOnAlarm1 = 0x5A; }, 102},
      {"smsOnAlarm2", [](ChannelParams& r) { r.smsOnAlarm2 = 0x5A; }, 103},
      {"smsOnRestore1", [](ChannelParams& r) { r.smsOnRestore1 = 0x5A; }, 104},
      {"smsOnRestore2", [](ChannelParams& r) { r.smsOnRestore2 = 0x5A; }, 105},
  };
  for (const auto& f : fields) {
    ChannelParams r;
    f.set(r);
    Bytes expected(104, 0);
    expected[at(f.tunnelOffset)] = 0x5A;
    EXPECT_EQ(encodeChannelPayload(r), expected) << f.name;
  }
}

TEST(ChannelParams, AlarmDelay300GoesOutAs2C01) {
  ChannelParams r;
  r.alarmDelay = 300;
  const Bytes p = encodeChannelPayload(r);
  EXPECT_EQ(p[at(100)], 0x2C);
  EXPECT_EQ(p[at(101)], 0x01);
}

TEST(ChannelParams, NoSelectionTravelsAsFF) {
  ChannelParams r;
  r.dataSource = -1;
  r.dataProperty = -1;
  const Bytes p = encodeChannelPayload(r);
  EXPECT_EQ(p[at(2)], 0xFF);
  EXPECT_EQ(p[at(99)], 0xFF);
  // and comes back zero-extended
  const auto back = decodeChannelPayload(p);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->dataSource, 255);
  EXPECT_EQ(back->dataProperty, 255);
}

struct TextCase {
  const char* name;
  std::string ChannelParams::*field;
  std::size_t tunnelOffset;
  std::size_t width;
};

const TextCase kTexts[] = {
    {"name1", &ChannelParams::name1, 23, 20},
    {"unit1", &ChannelParams::unit1, 43, 6},
    {"name2", &ChannelParams::name2, 69, 20},
    {"unit2", &ChannelParams::unit2, 89, 6},
};

std::string areaOf(const Bytes& p, const TextCase& t) {
  return std::string(p.begin() + at(t.tunnelOffset), p.begin() + at(t.tunnelOffset) + t.width);
}

TEST(ChannelParams, TextsAreZeroPaddedOrCutToTheirWidth) {
  for (const auto& t : kTexts) {
    for (std::size_t length : {std::size_t{3}, t.width, t.width + 5}) {
      ChannelParams r;
      r.*t.field = std::string(length, 'x');
      const Bytes p = encodeChannelPayload(r);
      const std::size_t kept = std::min(length, t.width);
      EXPECT_EQ(areaOf(p, t), std::string(kept, 'x') + std::string(t.width - kept, '\0'))
          << t.name << " of " << length << " bytes";
      // nothing spills into the next field
      Bytes rest = p;
      std::fill(rest.begin() + at(t.tunnelOffset), rest.begin() + at(t.tunnelOffset) + t.width, 0);
      EXPECT_EQ(rest, Bytes(104, 0)) << t.name;
    }
  }
}

TEST(ChannelParams, DoubleByteCharacterIsNeverSplit) {
  const std::string zhong = "\xD6\xD0";  // GBK for 中
  for (const auto& t : kTexts) {
    ChannelParams r;
    r.*t.field = std::string(t.width - 1, 'a') + zhong;  // straddles the last byte
    const Bytes p = encodeChannelPayload(r);
    EXPECT_EQ(areaOf(p, t), std::string(t.width - 1, 'a') + '\0') << t.name;
  }
  EXPECT_EQ(cutGbkText(std::string(19, 'a') + zhong, 20), std::string(19, 'a'));
  EXPECT_EQ(cutGbkText(std::string(18, 'a') + zhong, 20), std::string(18, 'a') + zhong);
  EXPECT_EQ(cutGbkText("abc", 20), "abc");
}

TEST(ChannelParams, ReceivedTextEndsAtItsFirstZero) {
  Bytes p(104, 0);
  std::memcpy(&p[at(23)], "ABCDE\0GHIJKLMNOPQRST", 20);
  std::memcpy(&p[at(43)], "UVWXYZ", 6);  // a full unit area has no zero of its own
  const auto r = decodeChannelPayload(p);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->name1, "ABCDE");
  EXPECT_EQ(r->unit1, "UVWXYZ");
}

TEST(ChannelParams, EveryFieldSurvivesARoundTrip) {
  ChannelParams r;
  r.dataSource = 146;
  r.upperLimit1 = 25.5f;
  r.lowerLimit1 = -3.25f;
  r.hysteresis1 = 0.5f;
  r.hysteresis2 = 1.5f;
  r.upperLimit2 = 80;
  r.lowerLimit2 = 10;
  r.coefA1 = 1.25f;
  r.coefB1 = -2;
  r.coefA2 = 3;
  r.coefB2 = 4;
  r.relayUpper1 = 1;
  r.relayLower1 = 2;
  r.relayUpper2 = 7;
  r.relayLower2 = 8;
  r.dataProperty = 6;
  r.alarmDelay = 65535;
  r.smsOnAlarm1 = 1;
  r.smsOnRestore2 = 1;
  r.name1 = "\xCE\xC2\xB6\xC8";  // 温度
  r.name2 = "humidity";
  r.unit1 = "C";
  r.unit2 = "%RH";
  const auto back = decodeChannelPayload(encodeChannelPayload(r));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, r);
}

TEST(ChannelParams, ShortPayloadIsRefusedAndLongerOneRead) {
  EXPECT_FALSE(decodeChannelPayload(Bytes(103, 0)));
  Bytes longer = encodeChannelPayload(ChannelParams{});
  longer.resize(111, 0x99);  // the trailer follows the payload in a reply
  EXPECT_TRUE(decodeChannelPayload(longer));
}

}  // namespace
}  // namespace quendra
