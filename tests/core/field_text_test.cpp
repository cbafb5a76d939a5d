// Typed text to field values: integers and floats as the host tool reads
// them, dotted addresses, and the two MAC text forms.
#include <gtest/gtest.h>

#include <limits>

#include "records/field_text.h"

namespace quendra {
namespace {

struct IntCase {
  std::string text;
  std::int32_t value;
};

class LeadingInt : public testing::TestWithParam<IntCase> {};

TEST_P(LeadingInt, DigitsUpToFirstOtherCharacter) { EXPECT_EQ(parseLeadingInt(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, LeadingInt,
                         testing::Values(IntCase{"123", 123}, IntCase{"  -42abc", -42}, IntCase{"+7", 7},
                                         IntCase{"\t 9 1", 9}, IntCase{"abc", 0}, IntCase{"", 0}, IntCase{"-", 0},
                                         IntCase{"- 5", 0}, IntCase{"4294967297", 1},
                                         IntCase{"2147483648", INT32_MIN}, IntCase{"99999999999999999999", 1661992959}));

TEST(FieldWidth, KeptToItsBits) {
  EXPECT_EQ(parseU16Field("70000"), 4464);
  EXPECT_EQ(parseU16Field("-1"), 65535);
  EXPECT_EQ(parseU8Field("300"), 44);
  EXPECT_EQ(parseU8Field("x"), 0);
}

struct FloatCase {
  std::string text;
  float value;
};

class LeadingFloat : public testing::TestWithParam<FloatCase> {};

TEST_P(LeadingFloat, LongestNumberPrefix) { EXPECT_EQ(parseLeadingFloat(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, LeadingFloat,
                         testing::Values(FloatCase{"113.25", 113.25f}, FloatCase{" -2.5kg", -2.5f},
                                         FloatCase{"1e3x", 1000.0f}, FloatCase{".5", 0.5f}, FloatCase{"7.", 7.0f},
                                         FloatCase{"1,5", 1.0f}, FloatCase{"abc", 0.0f}, FloatCase{"", 0.0f},
                                         FloatCase{"1e39", std::numeric_limits<float>::infinity()},  // IEEE: saturates
                                         FloatCase{"3.4e38", 3.4e38f}));

TEST(DottedAddress, Accepted) {
  EXPECT_EQ(parseDottedAddress("192.168.0.9"), 0xC0A80009u);
  EXPECT_EQ(parseDottedAddress(" 10.0.0.1 "), 0x0A000001u);
  EXPECT_EQ(parseDottedAddress("255.255.255.255"), 0xFFFFFFFFu);
  EXPECT_EQ(parseDottedAddress("0.0.0.0"), 0u);
}

TEST(DottedAddress, RefusedUnlessFourPartsOfAtMost255) {
  for (const char* text : {"", "192.168.0", "192.168.0.256", "1.2.3.4.5", "1..2.3", "a.b.c.d", "1.2.3.4x",
                           "1.2.3.", ".1.2.3", "1.2.3.-4", "1 .2.3.4", "0001.2.3.4", "1.2.3.4 5"})
    EXPECT_FALSE(parseDottedAddress(text)) << '"' << text << '"';
}

TEST(DottedAddress, FormatsMostSignificantFirst) {
  EXPECT_EQ(formatDottedAddress(0xC0A80009u), "192.168.0.9");
  EXPECT_EQ(formatDottedAddress(0xFFFFFFFFu), "255.255.255.255");
}

TEST(MacText, AcceptedFormsEitherCase) {
  EXPECT_EQ(parseMacText("00-1a-2B-3c-4D-5e"), (Mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
  EXPECT_EQ(parseMacText("02-4B-7D-00-00-01 tail"), (Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01}));
  EXPECT_EQ(parseMacText("FF-FF-FF-FF-FF-FF-FF"), (Mac{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(MacText, Refused) {
  for (const char* text : {"001A2B3C4D5E", "00:1A:2B:3C:4D:5E", "00-1A-2B-3C-4D-5", "00-1A-2B-3C-4D", "",
                           "0G-1A-2B-3C-4D-5E", "00-1A-2B-3C-4D-5G", "00-1A-2B 3C-4D-5E", "-00-1A-2B-3C-4D-5E"})
    EXPECT_FALSE(parseMacText(text)) << '"' << text << '"';
}

struct DigitsCase {
  std::string digits;
  Mac mac;
};

class MacDigits : public testing::TestWithParam<DigitsCase> {};

TEST_P(MacDigits, PairsWithInvalidNibble255) { EXPECT_EQ(parseMacDigits(GetParam().digits), GetParam().mac); }

INSTANTIATE_TEST_SUITE_P(
    Texts, MacDigits,
    testing::Values(DigitsCase{"001122AABBCC", {0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC}},
                    DigitsCase{"001122aabbcc", {0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC}},
                    DigitsCase{"0011", {0x00, 0x11, 0, 0, 0, 0}},
                    DigitsCase{"00112", {0x00, 0x11, 0, 0, 0, 0}},
                    DigitsCase{"G0", {0xF0, 0, 0, 0, 0, 0}},    // 16 * 255 + 0, low 8 bits
                    DigitsCase{"0G", {0xFF, 0, 0, 0, 0, 0}},    // 0 + 255
                    DigitsCase{"--", {0xEF, 0, 0, 0, 0, 0}},    // 16 * 255 + 255
                    DigitsCase{"", {0, 0, 0, 0, 0, 0}}));

TEST(MacFormat, DashedAndDigits) {
  const Mac m{0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC};
  EXPECT_EQ(formatMacDashed(m), "00-11-22-AA-BB-CC");
  EXPECT_EQ(formatMacDigits(m), "001122AABBCC");
  EXPECT_EQ(parseMacText(formatMacDashed(m)), m);
  EXPECT_EQ(parseMacDigits(formatMacDigits(m)), m);
}

TEST(MacFormat, UsableHostMac) {
  EXPECT_TRUE(isUsableHostMac({0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01}));
  EXPECT_FALSE(isUsableHostMac({0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(isUsableHostMac({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_FALSE(isUsableHostMac({0x01, 0x00, 0x5E, 0x00, 0x00, 0x01}));
}

TEST(FloatFormat, FixedDecimalsInTheCLocale) {
  EXPECT_EQ(formatFloat6(113.25f), "113.250000");
  EXPECT_EQ(formatFloat6(-0.5f), "-0.500000");
  EXPECT_EQ(formatFloat1(23.125f), "23.1");
  EXPECT_EQ(formatFloat1(40.0f), "40.0");
  EXPECT_EQ(formatFloat6(3.4028235e38f).size(), 39u + 7u);
}

}  // namespace
}  // namespace quendra
