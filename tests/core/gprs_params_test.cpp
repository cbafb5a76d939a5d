#include "records/gprs_params.h"

#include <gtest/gtest.h>

namespace quendra {
namespace {

constexpr char kZhong[] = "\xD6\xD0";  // one double-byte GBK character

std::string bytesAt(const Bytes& image, std::size_t offset, std::size_t count) {
  return std::string(image.begin() + offset, image.begin() + offset + count);
}

GprsParams sampleRecord() {
  GprsParams r;
  r.loginInterval = 3;
  r.heartbeatInterval = 0xFFFF;
  r.dataInterval = 0x0114;
  r.workType = 2;
  r.targetAddress = "example.org";
  r.targetPort = "2404";
  r.alarmPhones = {"13000000001", "13000000002", "", "13000000004", "13000000005"};
  r.alarmPhoneMask = 0x1B;
  r.smsInterval = 200;
  return r;
}

TEST(GprsParams, ImageHasTheHostLayout) {
  const Bytes image = encodeGprsParams(sampleRecord());
  ASSERT_EQ(image.size(), kGprsParamsSize);
  EXPECT_EQ(Bytes(image.begin(), image.begin() + 6), (Bytes{0x03, 0x00, 0xFF, 0xFF, 0x14, 0x01}));
  EXPECT_EQ(bytesAt(image, 6, 65), std::string("example.org") + std::string(54, '\0'));
  EXPECT_EQ(bytesAt(image, 71, 8), std::string("2404\0\0\0\0", 8));
  EXPECT_EQ(image[79], 0x1B);
  EXPECT_EQ(bytesAt(image, 80, 11), "13000000001");
  EXPECT_EQ(bytesAt(image, 91, 11), "13000000002");
  EXPECT_EQ(bytesAt(image, 102, 11), std::string(11, '\0'));
  EXPECT_EQ(bytesAt(image, 113, 11), "13000000004");
  EXPECT_EQ(bytesAt(image, 124, 11), "13000000005");
  EXPECT_EQ(image[135], 200);
  EXPECT_EQ(image[136], 2);
}

TEST(GprsParams, RoundTrip) {
  GprsParams decoded;
  ASSERT_TRUE(decodeGprsParams(encodeGprsParams(sampleRecord()), decoded));
  EXPECT_EQ(decoded, sampleRecord());
}

TEST(GprsParams, ShortImageLeavesTheRecordAlone) {
  const Bytes image = encodeGprsParams(sampleRecord());
  GprsParams record;
  EXPECT_FALSE(decodeGprsParams(ByteView(image).first(kGprsParamsSize - 1), record));
  EXPECT_EQ(record, GprsParams{});
}

TEST(GprsParams, TextAreasAreCutAtWholeCharacters) {
  struct Case {
    std::string address;
    std::string expectedArea;  // the 65 bytes at offset 6
  };
  const std::string a63(63, 'a');
  const Case cases[] = {
      {"", std::string(65, '\0')},
      {std::string(70, 'x'), std::string(64, 'x') + '\0'},
      {std::string(64, 'x'), std::string(64, 'x') + '\0'},
      // The double-byte character would straddle byte 64: it is left out whole.
      {a63 + kZhong, a63 + std::string(2, '\0')},
      {std::string(62, 'a') + kZhong, std::string(62, 'a') + kZhong + '\0'},
  };
  for (const Case& c : cases) {
    GprsParams r;
    r.targetAddress = c.address;
    EXPECT_EQ(bytesAt(encodeGprsParams(r), 6, 65), c.expectedArea) << c.address.size();
  }
  GprsParams r;
  r.targetPort = std::string("240") + kZhong + kZhong;  // 7 bytes allowed: 3 + 2 + 2
  EXPECT_EQ(bytesAt(encodeGprsParams(r), 71, 8), std::string("240") + kZhong + kZhong + '\0');
  r.targetPort = std::string("2404") + kZhong + kZhong;  // second character would end at byte 8
  EXPECT_EQ(bytesAt(encodeGprsParams(r), 71, 8), std::string("2404") + kZhong + std::string(2, '\0'));
}

TEST(GprsParams, DecodeEndsEachTextInsideItsArea) {
  Bytes image(kGprsParamsSize, 0);
  std::fill(image.begin() + 6, image.begin() + 71, 'h');   // address area without a zero
  std::fill(image.begin() + 71, image.begin() + 79, '9');  // port area without a zero
  std::fill(image.begin() + 80, image.begin() + 135, '7');
  GprsParams r;
  ASSERT_TRUE(decodeGprsParams(image, r));
  EXPECT_EQ(r.targetAddress, std::string(64, 'h'));
  EXPECT_EQ(r.targetPort, "9999999");
  EXPECT_EQ(r.alarmPhoneMask, 0);
  for (const auto& phone : r.alarmPhones) EXPECT_EQ(phone, std::string(11, '7'));  // taken whatever the mask
}

TEST(GprsParams, AlarmPhoneAsTyped) {
  struct Case {
    const char* typed;
    bool given;
    std::string slot;
  };
  const std::string previous = "19999999999";
  const Case cases[] = {
      {"  13912345678\t", true, "13912345678"},
      {"1391234567", false, previous},  // 10 digits: not given, slot keeps its bytes
      {"", false, previous},
      {"139123456789", true, "13912345678"},
      {"abcdefghijk", true, "abcdefghijk"},  // digits are not required
      // 12 bytes, but a whole character cannot follow the tenth byte.
      {"1391234567\xD6\xD0", true, "1391234567"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    GprsParams r;
    r.alarmPhones[2] = previous;
    r.alarmPhoneMask = 0x04 | 0x01;
    takeAlarmPhone(r, 3, c.typed);
    EXPECT_EQ(r.alarmPhoneMask, c.given ? 0x05 : 0x01);
    EXPECT_EQ(r.alarmPhones[2], c.slot);
    EXPECT_EQ(bytesAt(encodeGprsParams(r), 102, 11), c.slot + std::string(11 - c.slot.size(), '\0'));
  }
}

TEST(GprsParams, SmsIntervalAsTyped) {
  struct Case {
    const char* typed;
    std::optional<std::uint8_t> value;
  };
  const Case cases[] = {
      {"0", 0},        {"-5", 5},           {"abc", 0},          {"", 0},
      {" 12min", 12},  {"+255", 255},       {"-255", 255},       {"256", std::nullopt},
      {"1000", std::nullopt}, {"-256", std::nullopt}, {"4294967296", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parseSmsInterval(c.typed), c.value) << c.typed;
}

}  // namespace
}  // namespace quendra
