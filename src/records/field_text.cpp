#include "records/field_text.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cstdio>

namespace quendra {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view trimmed(std::string_view t) {
  while (!t.empty() && isBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && isBlank(t.back())) t.remove_suffix(1);
  return t;
}

}  // namespace

std::int32_t parseLeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::uint32_t value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

float parseLeadingFloat(std::string_view text) {
  // strtod_l with the C locale: the process locale (set by Qt) must not turn
  // "113.25" into 113 on a machine whose decimal separator is a comma.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string copy(text);  // strtod needs a terminated string
  return static_cast<float>(strtod_l(copy.c_str(), nullptr, cLocale));
}

std::optional<std::uint32_t> parseDottedAddress(std::string_view text) {
  text = trimmed(text);
  std::uint32_t address = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (text.empty() || text.front() != '.') return std::nullopt;
      text.remove_prefix(1);
    }
    std::size_t digits = 0;
    unsigned value = 0;
    while (digits < text.size() && isDigit(text[digits]) && digits < 3) value = value * 10 + (text[digits++] - '0');
    if (digits == 0 || value > 255 || (digits < text.size() && isDigit(text[digits]))) return std::nullopt;
    text.remove_prefix(digits);
    address = (address << 8) | value;
  }
  if (!text.empty()) return std::nullopt;
  return address;
}

std::string formatDottedAddress(std::uint32_t a) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", (a >> 24) & 0xFF, (a >> 16) & 0xFF, (a >> 8) & 0xFF, a & 0xFF);
  return buf;
}

std::optional<Mac> parseMacText(std::string_view text) {
  Mac mac{};
  std::size_t j = 0;
  for (std::size_t p = 0; p + 1 < text.size() && p < 18; p += 3) {
    const int high = hexValue(text[p]);
    const int low = hexValue(text[p + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    if (j < 6) mac[j] = static_cast<std::uint8_t>(high * 16 + low);
    if (p < 15 && (p + 2 >= text.size() || text[p + 2] != '-')) return std::nullopt;
    ++j;
  }
  if (j != 6) return std::nullopt;
  return mac;
}

Mac parseMacDigits(std::string_view digits) {
  Mac mac{};
  const auto value = [](char c) { const int v = hexValue(c); return v < 0 ? 255 : v; };
  for (std::size_t i = 0; i < 6 && 2 * i + 1 < digits.size(); ++i)
    mac[i] = static_cast<std::uint8_t>(16 * value(digits[2 * i]) + value(digits[2 * i + 1]));
  return mac;
}

std::optional<Mac> parseMacAnySpelling(std::string_view text) {
  std::string digits;
  for (char c : text) {
    if (hexValue(c) >= 0)
      digits.push_back(c);
    else if (c != '-' && c != ':' && c != '.' && c != ' ')
      return std::nullopt;
  }
  if (digits.size() != 12) return std::nullopt;
  return parseMacDigits(digits);
}

std::string formatMacDashed(const Mac& m) {
  char buf[18];
  std::snprintf(buf, sizeof buf, "%02X-%02X-%02X-%02X-%02X-%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
  return buf;
}

std::string formatMacDigits(const Mac& m) {
  char buf[13];
  std::snprintf(buf, sizeof buf, "%02X%02X%02X%02X%02X%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
  return buf;
}

bool isUsableHostMac(const Mac& mac) {
  const Mac zero{};
  const Mac broadcast{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  return mac != zero && mac != broadcast && (mac[0] & 0x01) == 0;
}

namespace {
std::string formatFixed(float value, int decimals) {
  char buf[64];  // FLT_MAX in fixed notation needs 39 digits + decimals
  const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}
}  // namespace

std::string formatFloat6(float value) { return formatFixed(value, 6); }
std::string formatFloat1(float value) { return formatFixed(value, 1); }

}  // namespace quendra
