// GBK on the wire: conversion both ways, cutting at whole characters, and
// the fixed-size text areas.
#include <gtest/gtest.h>

#include "link/gbk.h"

namespace quendra {
namespace {

TEST(Gbk, KnownBytes) {
  EXPECT_EQ(utf8ToGbk("中"), std::string("\xD6\xD0"));
  EXPECT_EQ(utf8ToGbk("abc"), std::string("abc"));
  EXPECT_EQ(utf8ToGbk(""), std::string());
}

TEST(Gbk, RoundTrip) {
  for (const char* text : {"模拟主机1", "Quendra 监测主机", "温度1", "℃", "%RH", "搜索到设备\r\n", "a中b文c"}) {
    const auto gbk = utf8ToGbk(text);
    ASSERT_TRUE(gbk) << text;
    EXPECT_EQ(gbkToUtf8(*gbk), text);
  }
}

TEST(Gbk, UnrepresentableTextIsRefused) {
  EXPECT_FALSE(utf8ToGbk("😀"));
  EXPECT_FALSE(utf8ToGbk("ok 😀"));
  EXPECT_FALSE(utf8ToGbk("\xFF"));  // not UTF-8 at all
}

TEST(Gbk, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(gbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(gbkToUtf8("a\xD6"), "a\xEF\xBF\xBD");  // a lead byte cut off at the end
}

struct Cut {
  std::string gbk;
  std::size_t max;
  std::size_t length;
};

class GbkCut : public testing::TestWithParam<Cut> {};

TEST_P(GbkCut, NeverEndsInsideACharacter) {
  EXPECT_EQ(gbkCutLength(GetParam().gbk, GetParam().max), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(Texts, GbkCut,
                         testing::Values(Cut{"\xD6\xD0\xCE\xC4", 4, 4}, Cut{"\xD6\xD0\xCE\xC4", 3, 2},
                                         Cut{"\xD6\xD0\xCE\xC4", 1, 0}, Cut{"a\xD6\xD0", 2, 1},
                                         Cut{"abc", 2, 2}, Cut{"abc", 10, 3}, Cut{"", 5, 0},
                                         Cut{"ab\xD6", 3, 3}));  // a lone lead byte counts as one

TEST(GbkTextArea, ZeroFilledAndCut) {
  Bytes area(6, 0xEE);
  writeTextArea(area, "\xD6\xD0\xCE\xC4\xD6\xD0", 5);
  EXPECT_EQ(area, (Bytes{0xD6, 0xD0, 0xCE, 0xC4, 0x00, 0x00}));
  writeTextArea(area, "ab", 5);
  EXPECT_EQ(area, (Bytes{'a', 'b', 0, 0, 0, 0}));
}

TEST(GbkTextArea, ReadStopsAtZeroOrAreaEnd) {
  EXPECT_EQ(readTextArea(Bytes{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(readTextArea(Bytes{'a', 'b', 'c'}), "abc");
  EXPECT_EQ(readTextArea(Bytes{}), "");
}

}  // namespace
}  // namespace quendra
