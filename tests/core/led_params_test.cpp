#include "records/led_params.h"

#include <gtest/gtest.h>

namespace quendra {
namespace {

constexpr char kZhong[] = "\xD6\xD0";  // one double-byte GBK character

std::string headerArea(const Bytes& image) { return std::string(image.begin() + 13, image.begin() + 77); }
std::string footerArea(const Bytes& image) { return std::string(image.begin() + 77, image.begin() + 141); }

LedParams sampleRecord() {
  LedParams r;
  r.showDataTable = 1;
  r.headerEnabled = 1;
  r.footerEnabled = 0;
  r.sizeX = 192;
  r.sizeY = 0x0140;
  r.channelCount = 8;
  r.columnCount = 2;
  r.refreshInterval = 0xFFFF;
  r.headerText = std::string("\xB1\xEA\xCD\xB7") + " A";  // GBK "标头 A"
  r.footerText = "end";
  return r;
}

TEST(LedParams, ImageHasTheHostLayout) {
  const Bytes image = encodeLedParams(sampleRecord());
  ASSERT_EQ(image.size(), kLedParamsSize);
  const Bytes numbers = {0x01, 0x01, 0x00, 0xC0, 0x00, 0x40, 0x01, 0x08, 0x00, 0x02, 0x00, 0xFF, 0xFF};
  EXPECT_EQ(Bytes(image.begin(), image.begin() + 13), numbers);
  EXPECT_EQ(headerArea(image), std::string("\xB1\xEA\xCD\xB7 A") + std::string(58, '\0'));
  EXPECT_EQ(footerArea(image), std::string("end") + std::string(61, '\0'));
}

TEST(LedParams, RoundTrip) {
  LedParams decoded;
  ASSERT_TRUE(decodeLedParams(encodeLedParams(sampleRecord()), decoded));
  EXPECT_EQ(decoded, sampleRecord());
}

TEST(LedParams, ShortImageLeavesTheRecordAlone) {
  const Bytes image = encodeLedParams(sampleRecord());
  LedParams record;
  EXPECT_FALSE(decodeLedParams(ByteView(image).first(kLedParamsSize - 1), record));
  EXPECT_EQ(record, LedParams{});
}

TEST(LedParams, TextsOfAroundSixtyFourBytes) {
  struct Case {
    std::string typed;
    std::string area;  // the 64 bytes on the wire
    std::string readBack;
  };
  const Case cases[] = {
      {std::string(63, 'h'), std::string(63, 'h') + '\0', std::string(63, 'h')},
      {std::string(64, 'h'), std::string(64, 'h'), std::string(64, 'h')},  // whole, no zero
      {std::string(65, 'h'), std::string(64, 'h'), std::string(64, 'h')},
      {"", std::string(64, '\0'), ""},
      // A double-byte character straddling byte 64 is left out whole.
      {std::string(63, 'h') + kZhong, std::string(63, 'h') + '\0', std::string(63, 'h')},
      {std::string(62, 'h') + kZhong, std::string(62, 'h') + kZhong, std::string(62, 'h') + kZhong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.size());
    LedParams r;
    r.headerText = c.typed;
    r.footerText = c.typed;
    const Bytes image = encodeLedParams(r);
    EXPECT_EQ(headerArea(image), c.area);
    EXPECT_EQ(footerArea(image), c.area);
    LedParams back;
    ASSERT_TRUE(decodeLedParams(image, back));
    EXPECT_EQ(back.headerText, c.readBack);
    EXPECT_EQ(back.footerText, c.readBack);
  }
}

TEST(LedParams, ShorterTextLeavesNoStaleBytes) {
  LedParams r;
  r.headerText = std::string(64, 'x');
  Bytes image = encodeLedParams(r);
  ASSERT_TRUE(decodeLedParams(image, r));
  r.headerText = "ab";
  image = encodeLedParams(r);
  EXPECT_EQ(headerArea(image), std::string("ab") + std::string(62, '\0'));
}

}  // namespace
}  // namespace quendra
