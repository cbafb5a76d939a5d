// Text into values and back: typed integers and floats read from their leading digits and wrapped to the record
// field's width (what an operator's typing puts in the record), dotted addresses, the MAC spellings, and which
// channel fields a data property enables.
#include <gtest/gtest.h>

#include <limits>

#include "records/channel_field_rules.h"
#include "records/field_text.h"

namespace quendra {
namespace {

TEST(TypedNumbers, LeadingDigitsWrappedToTheFieldWidth) {
  const std::pair<const char*, std::int32_t> ints[] = {
      {"123", 123}, {"  -42abc", -42}, {"\n\r\v\f\t 12", 12}, {"+7", 7}, {"\t 9 1", 9}, {"abc", 0}, {"", 0}, {"- 5", 0},
      {"4294967297", 1}, {"2147483648", INT32_MIN}, {"99999999999999999999", 1661992959}};
  for (const auto& [text, value] : ints) EXPECT_EQ(parseLeadingInt(text), value) << text;
  EXPECT_EQ(std::tuple(parseU16Field("70000"), parseU16Field("-1"), parseU8Field("300")), std::tuple(4464, 65535, 44));
  const std::pair<const char*, float> floats[] = {
      {"113.25", 113.25f}, {" -2.5kg", -2.5f}, {"1e3x", 1000.0f}, {".5", 0.5f}, {"1,5", 1.0f}, {"abc", 0.0f},
      {"1e39", std::numeric_limits<float>::infinity()}};
  for (const auto& [text, value] : floats) EXPECT_EQ(parseLeadingFloat(text), value) << text;
  EXPECT_EQ(std::tuple(formatFloat6(113.25f), formatFloat1(23.125f), formatFloat6(3.4028235e38f).size()),
            std::tuple("113.250000", "23.1", 46u));
}

TEST(TypedAddresses, DottedTextAndMacSpellings) {
  EXPECT_EQ(parseDottedAddress(" 192.168.0.9 "), 0xC0A80009u);
  EXPECT_EQ(parseDottedAddress("255.255.255.255"), 0xFFFFFFFFu);
  for (const char* text : {"", "192.168.0", "192.168.0.256", "1.2.3.4.5", "1..2.3", "1.2.3.4x", "1.2.3.", "0001.2.3.4"})
    EXPECT_FALSE(parseDottedAddress(text)) << text;
  EXPECT_EQ(formatDottedAddress(0xC0A80009u), "192.168.0.9");

  const Mac m{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  for (const char* text : {"00-1a-2B-3c-4D-5e", "00-1A-2B-3C-4D-5E tail"}) EXPECT_EQ(parseMacText(text), m) << text;
  EXPECT_EQ(parseMacText("90-AF-af-F0-f0-09"), (Mac{0x90, 0xAF, 0xAF, 0xF0, 0xF0, 0x09}));  // the hex digits' bounds
  for (const char* text : {"001A2B3C4D5E", "00:1A:2B:3C:4D:5E", "00-1A-2B-3C-4D-5", "-00-1A-2B-3C-4D-5E", "0G-1A-2B-3C-4D-5E",
                           "0/-1A-2B-3C-4D-5E", "0:-1A-2B-3C-4D-5E", "0@-1A-2B-3C-4D-5E", "0`-1A-2B-3C-4D-5E", "0g-1A-2B-3C-4D-5E"})
    EXPECT_FALSE(parseMacText(text)) << text;
  for (const char* text : {"00-1a-2B-3c-4D-5e", "00:1A:2B:3C:4D:5E", "001A2B3C4D5E", "001a.2b3c.4d5e"})
    EXPECT_EQ(parseMacAnySpelling(text), m) << text;
  for (const char* text : {"001A2B3C4D5", "001A2B3C4D5EF", "00_1A_2B_3C_4D_5E", "192.168.1.10"})
    EXPECT_FALSE(parseMacAnySpelling(text)) << text;
  // The device list's digits: a character that is not hex counts 255 in its nibble.
  for (const auto& [digits, mac] : {std::pair{"001122aabbcc", Mac{0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC}},
                                    {"00112", Mac{0x00, 0x11, 0, 0, 0, 0}}, {"G0--", Mac{0xF0, 0xEF, 0, 0, 0, 0}}})
    EXPECT_EQ(parseMacDigits(digits), mac) << digits;
  EXPECT_EQ(formatMacDashed(m), "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(formatMacDigits(m), "001A2B3C4D5E");
  EXPECT_TRUE(isUsableHostMac({0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01}));
  for (const Mac& bad : {Mac{}, Mac{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, Mac{0x01, 0x00, 0x5E, 0x00, 0x00, 0x01}})
    EXPECT_FALSE(isUsableHostMac(bad));
}

TEST(ChannelFieldRules, ColumnsOfTheDataProperty) {
  using F = ChannelField;
  // Enabled per data property row 0, 1, 2, 6 ('E': only while "允许编辑所有参数" is checked).
  const std::tuple<F, const char*> rows[] = {
      {F::UpperLimit1, "11 01"}, {F::LowerLimit1, "11 01"}, {F::Name1, "11 01"},       {F::Unit1, "11 01"},
      {F::RelayUpper1, "11 01"}, {F::RelayLower1, "11 01"}, {F::Hysteresis1, "11 00"}, {F::UpperLimit2, "10 10"},
      {F::LowerLimit2, "10 10"}, {F::Hysteresis2, "10 10"}, {F::Name2, "10 10"},       {F::RelayUpper2, "10 10"},
      {F::RelayLower2, "10 10"}, {F::Unit2, "10 11"},       {F::CoefA1, "EE 0E"},      {F::CoefB1, "EE 0E"},
      {F::SmsOnAlarm1, "EE 0E"}, {F::SmsOnRestore1, "EE 0E"}, {F::CoefA2, "E0 E0"},   {F::CoefB2, "E0 E0"},
      {F::SmsOnAlarm2, "E0 E0"}, {F::SmsOnRestore2, "E0 E0"}};
  static_assert(std::size(rows) == kChannelRuleFieldCount);
  for (bool allowAll : {false, true})
    for (const auto& [field, cells] : rows) {
      const int propertyRows[] = {0, 1, 2, 6};
      const char columns[] = {cells[0], cells[1], cells[3], cells[4]};
      for (int i = 0; i < 4; ++i)
        EXPECT_EQ(channelFieldStates(propertyRows[i], allowAll)->isEnabled(field),
                  columns[i] == '1' || (columns[i] == 'E' && allowAll))
            << int(field) << " row " << propertyRows[i] << " allowAll " << allowAll;
      for (int row : {3, 4, 5})
        EXPECT_EQ(channelFieldStates(row, allowAll)->enabled, channelFieldStates(1, allowAll)->enabled);
    }
  for (int row = 0; row <= 5; ++row) EXPECT_FALSE(channelFieldStates(row, false)->switchTexts) << row;
  EXPECT_TRUE(channelFieldStates(6, true)->switchTexts);
  for (int row : {-1, 7, 255}) EXPECT_FALSE(channelFieldStates(row, true)) << row;
}

}  // namespace
}  // namespace quendra
