#pragma once
// Dates as property lists hold them. A binary file keeps a date as a double of seconds since
// 2001-01-01 00:00:00 UTC; an XML file keeps it as text, "YYYY-MM-DDTHH:MM:SSZ" in UTC, to the
// whole second. The calendar arithmetic is <chrono>'s proleptic Gregorian calendar.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::plist::detail {

// The platform's reference date, 2001-01-01 00:00:00 UTC.
inline constexpr std::chrono::sys_days kReferenceDay{std::chrono::year{2001} /
                                                     std::chrono::January / 1};
// The first whole second XML date text can name, 0000-01-01T00:00:00Z, in seconds since 2001.
inline constexpr std::int64_t kFirstXmlSecond =
    (std::chrono::sys_days{std::chrono::year{0} / std::chrono::January / 1} - kReferenceDay)
        .count() *
    86400;
// The last whole second XML date text can name, 9999-12-31T23:59:59Z, in seconds since 2001.
inline constexpr std::int64_t kLastXmlSecond =
    (std::chrono::sys_days{std::chrono::year{9999} / std::chrono::December / 31} - kReferenceDay)
            .count() *
        86400 +
    86399;

// Whether a binary file can hold `seconds` as a date: any finite double. NaN and infinities
// name no instant and are refused by the reader and the writers alike.
bool isFiniteDate(double seconds);

// The seconds since 2001 of the XML date text `text` (exactly "YYYY-MM-DDTHH:MM:SSZ", any
// four-digit year 0000..9999), or nothing if it is malformed or names no real calendar date.
std::optional<double> parseXmlDate(std::string_view text);

// Whether the whole second `seconds` falls in (rounded down) lies in the years 0000..9999 that
// XML date text can name.
bool xmlDateFits(double seconds);

// `seconds` as XML date text, rounded down to the whole second, e.g. "1969-12-31T23:59:59Z"
// for -978307201.5. REQUIRES: xmlDateFits(seconds); otherwise returns an empty string.
std::string formatXmlDate(double seconds);

}  // namespace platform::plist::detail
