#include "records/base_params.h"

#include <gtest/gtest.h>

#include "records/field_text.h"

namespace quendra {
namespace {

BaseParams sampleRecord() {
  BaseParams r;
  r.terminalAddress = 0x1A2B3C4D;
  r.serverCount = 8;
  r.loginInterval = 3;
  r.heartbeatInterval = 60;
  r.dataInterval = 0x1234;
  r.modbusBaud = 2;
  r.enabledChannelCount = 32;
  r.normalRecordInterval = 0xFFFF;
  r.alarmRecordInterval = 0x0102;
  r.storageType = 1;
  r.coordinateEnabled = 1;
  r.longitude = 113.25f;
  r.latitude = -1.0f;
  return r;
}

TEST(BaseParams, ImageHasTheHostLayout) {
  const Bytes expected = {
      0x08,                    // serverCount, before the address
      0x4D, 0x3C, 0x2B, 0x1A,  // terminal address 1A2B3C4D, little-endian
      0x03, 0x00,              // login interval
      0x3C, 0x00,              // heartbeat interval
      0x34, 0x12,              // data interval
      0x02,                    // baud index
      0x20,                    // enabled channels
      0xFF, 0xFF,              // normal record interval
      0x02, 0x01,              // alarm record interval
      0x01,                    // storage type
      0x01,                    // coordinates in use
      0x00, 0x80, 0xE2, 0x42,  // 113.25f
      0x00, 0x00, 0x80, 0xBF,  // -1.0f
  };
  EXPECT_EQ(encodeBaseParams(sampleRecord()), expected);
}

TEST(BaseParams, RoundTrip) {
  BaseParams decoded;
  ASSERT_TRUE(decodeBaseParams(encodeBaseParams(sampleRecord()), decoded));
  EXPECT_EQ(decoded, sampleRecord());
}

TEST(BaseParams, ShortImageLeavesTheRecordAlone) {
  const Bytes image = encodeBaseParams(sampleRecord());
  BaseParams record;
  EXPECT_FALSE(decodeBaseParams(ByteView(image).first(kBaseParamsSize - 1), record));
  EXPECT_EQ(record, BaseParams{});
}

TEST(BaseParams, LongerPayloadIsReadAtItsOffsets) {
  Bytes image = encodeBaseParams(sampleRecord());
  image.insert(image.end(), {0xEE, 0xEE});
  BaseParams decoded;
  ASSERT_TRUE(decodeBaseParams(image, decoded));
  EXPECT_EQ(decoded, sampleRecord());
}

TEST(BaseParams, MixedCaseTerminalAddressTravelsLittleEndianAndShowsLowerCase) {
  const auto parsed = parseTerminalAddress("1A2b3C4d");
  ASSERT_TRUE(parsed.value);
  BaseParams r;
  r.terminalAddress = *parsed.value;
  const Bytes image = encodeBaseParams(r);
  EXPECT_EQ(Bytes(image.begin() + 1, image.begin() + 5), (Bytes{0x4D, 0x3C, 0x2B, 0x1A}));
  BaseParams back;
  ASSERT_TRUE(decodeBaseParams(image, back));
  EXPECT_EQ(formatTerminalAddress(back.terminalAddress), "1a2b3c4d");
}

TEST(BaseParams, TerminalAddressText) {
  struct Case {
    const char* text;
    std::optional<std::uint32_t> value;
    TerminalAddressError error;
  };
  const Case cases[] = {
      {"12345678", 0x12345678u, {}},
      {"00000000", 0u, {}},
      {"ffffFFFF", 0xFFFFFFFFu, {}},
      {"1234567", std::nullopt, TerminalAddressError::WrongLength},
      {"123456789", std::nullopt, TerminalAddressError::WrongLength},
      {"", std::nullopt, TerminalAddressError::WrongLength},
      {"1234567G", std::nullopt, TerminalAddressError::NotHex},
      {" 1234567", std::nullopt, TerminalAddressError::NotHex},
      {"123456\xD6\xD0", std::nullopt, TerminalAddressError::NotHex},  // 8 bytes of GBK
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = parseTerminalAddress(c.text);
    EXPECT_EQ(parsed.value, c.value);
    if (!c.value) {
      EXPECT_EQ(parsed.error, c.error);
    }
  }
}

TEST(BaseParams, TerminalAddressIsShownWithEightDigits) {
  EXPECT_EQ(formatTerminalAddress(0x12), "00000012");
  EXPECT_EQ(formatTerminalAddress(0xABCDEF01), "abcdef01");
}

TEST(BaseParams, LongitudeTypedAs113_25) {
  BaseParams r;
  r.longitude = parseLeadingFloat("113.25");
  const Bytes image = encodeBaseParams(r);
  EXPECT_EQ(Bytes(image.begin() + 19, image.begin() + 23), (Bytes{0x00, 0x80, 0xE2, 0x42}));
  BaseParams back;
  ASSERT_TRUE(decodeBaseParams(image, back));
  EXPECT_EQ(formatFloat6(back.longitude), "113.250000");
}

}  // namespace
}  // namespace quendra
