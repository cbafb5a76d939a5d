#pragma once
// The one place where text crosses between the UI's Unicode and the hosts' GBK
// (code page 936). Everything on the wire is GBK; everything on screen is UTF-8.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "link/bytes.h"

namespace quendra {

// UTF-8 to GBK. nullopt when the text holds a character GBK cannot represent.
std::optional<std::string> utf8ToGbk(std::string_view utf8);

// GBK to UTF-8. Bytes that are not valid GBK become U+FFFD; never fails.
std::string gbkToUtf8(std::string_view gbk);

// Length of the longest prefix of `gbk` that is at most `maxBytes` long and
// does not end inside a double-byte character.
std::size_t gbkCutLength(std::string_view gbk, std::size_t maxBytes);

// Zero-fills `area`, then copies `gbk` cut at a whole character to at most
// `maxTextBytes` bytes (maxTextBytes <= area.size()).
void writeTextArea(MutableBytes area, std::string_view gbk, std::size_t maxTextBytes);

// The text of a received area: its bytes up to the first zero, or the whole area.
std::string readTextArea(ByteView area);

}  // namespace quendra
