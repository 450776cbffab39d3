#pragma once
// Checks of the text inside XML <integer>, <real>, <date> and <data> elements, which libplist
// would otherwise misread silently (octal integers, saturated overflow, dates clamped or
// normalised from nonsense), the reading of integers and dates (whose range libplist cannot
// hold), and the small text helpers the XML pre-pass shares with them.

#include <string>
#include <string_view>

#include "platform/foundation/plist_value.h"

namespace platform::plist::detail {

// Up to 40 bytes of `text` for an error message, with anything unprintable escaped.
std::string snippet(std::string_view text);

// Whether `c` is XML whitespace: space, tab, line feed or carriage return.
bool isXmlSpace(char c);

// `s` without leading and trailing XML whitespace.
std::string_view trimXmlSpace(std::string_view s);

// Reads the integer `text` into *out: decimal without leading zeros, or 0x hex, optionally
// signed, surrounded by optional whitespace, from -2^63 to 2^64-1 (Foundation refuses
// anything beyond, 2^64 included). Empty on success, otherwise why not.
std::string parseIntegerText(std::string_view text, Integer* out);

// Empty if `text` is a real: optionally signed, in fixed or scientific notation, or inf or
// nan; magnitudes beyond a double's range are accepted. Otherwise why not.
std::string checkRealText(std::string_view text);

// Reads the date `text`, YYYY-MM-DDTHH:MM:SSZ (a real calendar date in the years 0000..9999,
// surrounded by optional whitespace), into *secondsSince2001. Empty on success, otherwise why
// not.
std::string parseDateText(std::string_view text, double* secondsSince2001);

// Empty if `text` is padded base64, whitespace allowed between characters. Otherwise why not.
std::string checkDataText(std::string_view text);

}  // namespace platform::plist::detail
