#include "platform/foundation/plist_xml_text.h"

#include <charconv>
#include <cstdint>
#include <system_error>

#include "platform/foundation/plist_date.h"

namespace platform::plist::detail {
namespace {

// Days from 1970-01-01 to the given proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

std::string snippet(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const char c : text.substr(0, 40)) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 0xF];
    }
  }
  return out;
}

bool isXmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimXmlSpace(std::string_view s) {
  while (!s.empty() && isXmlSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isXmlSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string checkIntegerText(std::string_view text) {
  const std::string bad = "malformed integer \"" + snippet(text) + "\"";
  std::string_view s = trimXmlSpace(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  } else if (s.size() > 1 && s[0] == '0') {
    return bad;  // libplist would read it as octal
  }
  if (s.empty()) return bad;
  std::uint64_t magnitude = 0;
  const auto [end, status] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (end != s.data() + s.size()) return bad;
  const std::uint64_t limit = static_cast<std::uint64_t>(INT64_MAX) + (negative ? 1 : 0);
  if (status == std::errc::result_out_of_range || magnitude > limit) {
    return "integer " + snippet(trimXmlSpace(text)) + " out of the signed 64-bit range";
  }
  return {};
}

std::string checkRealText(std::string_view text) {
  std::string_view s = trimXmlSpace(text);
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
  double value = 0;
  const auto [end, status] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || s.front() == '-' || s.front() == '+' || end != s.data() + s.size() ||
      (status != std::errc() && status != std::errc::result_out_of_range)) {
    return "malformed real \"" + snippet(text) + "\"";
  }
  return {};
}

std::string checkDateText(std::string_view text) {
  const std::string bad = "malformed date \"" + snippet(text) + "\"";
  const std::string_view s = trimXmlSpace(text);
  static constexpr std::string_view kPattern = "dddd-dd-ddTdd:dd:ddZ";
  if (s.size() != kPattern.size()) return bad;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const bool digit = s[i] >= '0' && s[i] <= '9';
    if (kPattern[i] == 'd' ? !digit : s[i] != kPattern[i]) return bad;
  }
  const auto number = [&](std::size_t at, std::size_t width) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + width; ++i) value = value * 10 + (s[i] - '0');
    return value;
  };
  const unsigned year = number(0, 4), month = number(5, 2), day = number(8, 2);
  const unsigned hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month < 1 || month > 12) return bad;
  const unsigned monthDays = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  if (day < 1 || day > monthDays || hour > 23 || minute > 59 || second > 59) return bad;
  constexpr std::int64_t kReferenceDay = 11323;  // 2001-01-01
  const std::int64_t seconds = (daysFromCivil(year, month, day) - kReferenceDay) * 86400 +
                               hour * 3600 + minute * 60 + second;
  if (seconds < kEarliestDate || seconds > kLatestDateSecond) {
    return "date " + snippet(s) + " out of range";
  }
  return {};
}

std::string checkDataText(std::string_view text) {
  std::size_t symbols = 0;
  std::size_t padding = 0;
  for (const char c : text) {
    if (isXmlSpace(c)) continue;
    const bool alphabet = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '+' || c == '/';
    if (c == '=') {
      ++padding;
    } else if (!alphabet || padding > 0) {
      return "malformed base64 in <data>";
    }
    ++symbols;
  }
  if (symbols % 4 != 0 || padding > 2) return "malformed base64 in <data>";
  return {};
}

}  // namespace platform::plist::detail
