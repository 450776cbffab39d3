#include "platform/foundation/plist_xml_text.h"

#include <charconv>
#include <cstdint>
#include <system_error>

#include "platform/foundation/plist_date.h"

namespace platform::plist::detail {
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

std::string parseIntegerText(std::string_view text, Integer* out) {
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
  const std::uint64_t negativeLimit = static_cast<std::uint64_t>(INT64_MAX) + 1;
  if (status == std::errc::result_out_of_range || (negative && magnitude > negativeLimit)) {
    return "integer " + snippet(trimXmlSpace(text)) + " out of the 64-bit range";
  }
  // 0 - magnitude is the two's complement, INT64_MIN included.
  *out = negative ? Integer(static_cast<std::int64_t>(0 - magnitude))
                  : Integer::fromUnsigned(magnitude);
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

std::string parseDateText(std::string_view text, double* secondsSince2001) {
  const std::optional<double> seconds = parseXmlDate(trimXmlSpace(text));
  if (!seconds) return "malformed date \"" + snippet(text) + "\"";
  *secondsSince2001 = *seconds;
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
