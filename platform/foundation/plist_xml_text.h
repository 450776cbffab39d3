#pragma once
// Checks of the text inside XML <integer>, <real>, <date> and <data> elements, which libplist
// would otherwise misread silently (octal integers, saturated overflow, dates clamped or
// normalised from nonsense), and the small text helpers the XML pre-pass shares with them.

#include <string>
#include <string_view>

namespace platform::plist::detail {

// Up to 40 bytes of `text` for an error message, with anything unprintable escaped.
std::string snippet(std::string_view text);

// Whether `c` is XML whitespace: space, tab, line feed or carriage return.
bool isXmlSpace(char c);

// `s` without leading and trailing XML whitespace.
std::string_view trimXmlSpace(std::string_view s);

// Empty if `text` is an integer libplist reads faithfully: decimal without leading zeros, or
// 0x hex, optionally signed, within the signed 64-bit range. Otherwise why not.
std::string checkIntegerText(std::string_view text);

// Empty if `text` is a real: optionally signed, in fixed or scientific notation, or inf or
// nan; magnitudes beyond a double's range are accepted. Otherwise why not.
std::string checkRealText(std::string_view text);

// Empty if `text` is YYYY-MM-DDTHH:MM:SSZ, a real calendar date, within libplist's range.
// Otherwise why not.
std::string checkDateText(std::string_view text);

// Empty if `text` is padded base64, whitespace allowed between characters. Otherwise why not.
std::string checkDataText(std::string_view text);

}  // namespace platform::plist::detail
