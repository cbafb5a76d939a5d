#pragma once
// How typed text becomes field values and how values are shown: the host's
// conventions for integers, floats, dotted addresses and MAC texts. Qt-free.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/outer_frame.h"

namespace quendra {

// atoi-style: leading blanks, optional sign, digits up to the first other
// character; 0 when there are none. Wraps modulo 2^32 instead of overflowing.
std::int32_t parseLeadingInt(std::string_view text);

// An integer field of 16 bits: 70000 -> 4464, -1 -> 65535.
inline std::uint16_t parseU16Field(std::string_view text) {
  return static_cast<std::uint16_t>(parseLeadingInt(text));
}
inline std::uint8_t parseU8Field(std::string_view text) { return static_cast<std::uint8_t>(parseLeadingInt(text)); }

// strtod-style leading number (sign, digits, fraction, exponent), independent
// of the C locale; 0 when the text does not start with one. Rounded to float.
float parseLeadingFloat(std::string_view text);

// Four decimal parts 0..255 separated by dots, nothing else (blanks around the
// whole text are allowed). Returns the address with the first part in the most
// significant byte.
std::optional<std::uint32_t> parseDottedAddress(std::string_view text);
std::string formatDottedAddress(std::uint32_t address);

// "XX-XX-XX-XX-XX-XX", hexadecimal of either case; characters after the
// seventeenth are ignored. nullopt when the text is not of that form.
std::optional<Mac> parseMacText(std::string_view text);
// The device list's 12 digits: pairs of hex digits, a non-hex character counts
// 255 in its nibble, missing pairs stay 0.
Mac parseMacDigits(std::string_view digits);
// A MAC in any common spelling: six pairs of hex digits, together or
// separated by "-", ":", "." or blanks (00-11-22-aa-bb-cc, 00:11:22:AA:BB:CC,
// 001122AABBCC, 0011.22aa.bbcc). nullopt for anything else.
std::optional<Mac> parseMacAnySpelling(std::string_view text);
std::string formatMacDashed(const Mac& mac);  // 00-11-22-AA-BB-CC
std::string formatMacDigits(const Mac& mac);  // 001122AABBCC

// A MAC that a host can use: not all zero, not broadcast, no multicast bit.
bool isUsableHostMac(const Mac& mac);

// printf-style "%f" and "%.1f" in the C locale.
std::string formatFloat6(float value);
std::string formatFloat1(float value);

}  // namespace quendra
