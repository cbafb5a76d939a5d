// Texts on the wire: UTF-8 to GBK and back, cutting at whole characters, and the fixed-width text areas of records.
#include <gtest/gtest.h>

#include "link/gbk.h"

namespace quendra {
namespace {

TEST(Gbk, ConversionCuttingAndAreas) {
  EXPECT_EQ(utf8ToGbk("中"), std::string("\xD6\xD0"));
  for (const char* text : {"模拟主机1", "℃", "%RH", "a中b文c"}) EXPECT_EQ(gbkToUtf8(*utf8ToGbk(text)), text);
  for (const char* text : {"ok 😀", "\xFF"}) EXPECT_FALSE(utf8ToGbk(text)) << text;
  EXPECT_EQ(gbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(gbkToUtf8("a\xD6"), "a\xEF\xBF\xBD");
  const std::tuple<std::string, std::size_t, std::size_t> cuts[] = {
      {"\xD6\xD0\xCE\xC4", 4, 4}, {"\xD6\xD0\xCE\xC4", 3, 2}, {"\xD6\xD0\xCE\xC4", 1, 0}, {"a\xD6\xD0", 2, 1},
      {"abc", 2, 2}, {"ab\xD6", 3, 3}, {"\x81\x40\x81\x40", 3, 2}, {"\xFE\x50\xFE\x50", 3, 2},  // lead bytes 81..FE
      {"\x80\x41", 1, 1}, {"\xFF\x41", 1, 1}};
  for (const auto& [gbk, max, length] : cuts) EXPECT_EQ(gbkCutLength(gbk, max), length) << gbk << max;
  Bytes a(6, 0xEE);
  writeTextArea(a, "\xD6\xD0\xCE\xC4\xD6\xD0", 5);
  EXPECT_EQ(a, (Bytes{0xD6, 0xD0, 0xCE, 0xC4, 0x00, 0x00}));
  EXPECT_EQ(readTextArea(Bytes{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(readTextArea(Bytes{'a', 'b', 'c'}), "abc");
}

}  // namespace
}  // namespace quendra
