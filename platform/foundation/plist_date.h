#pragma once
// Dates as libplist can hold them. libplist keeps a date as 32-bit whole seconds since 2001
// plus microseconds; its binary reader loses the sign of the fraction of dates before 2001 and
// its XML writer drops the fraction entirely, so the readers take the exact instant from the
// file bytes and the writers split it into whole seconds and microseconds here.

#include <cstdint>
#include <limits>

namespace platform::plist::detail {

// The earliest instant libplist can hold, in seconds since 2001 (1932-12-13).
inline constexpr double kEarliestDate = std::numeric_limits<std::int32_t>::min();
// The latest whole second libplist can hold, in seconds since 2001 (2069-01-19).
inline constexpr std::int64_t kLatestDateSecond = std::numeric_limits<std::int32_t>::max();
// Microseconds in a second, the finest precision a binary file keeps.
inline constexpr std::int64_t kMicrosPerSecond = 1000000;

// An instant split the way libplist stores it.
struct SplitDate {
  std::int64_t seconds;  // rounded toward zero
  std::int64_t micros;   // same sign as the instant, |micros| < 1e6
};

// `seconds` rounded to the microsecond and split into whole seconds and microseconds.
SplitDate splitDate(double seconds);

// The instant as libplist's binary writer adds the two parts back up.
double joinDate(std::int64_t seconds, std::int64_t micros);

// Whether libplist can hold `seconds` both as XML (whole seconds, rounded down) and as binary
// (rounded to the microsecond).
bool dateFits(double seconds);

// `seconds` rounded to the microsecond, the precision kept in binary files.
double normaliseDate(double seconds);

}  // namespace platform::plist::detail
