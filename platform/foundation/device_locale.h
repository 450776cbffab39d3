#pragma once
// The device's locale, time zone and Gregorian calendar, through ICU: the settings every date
// the device shows or computes depends on.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Sets the device's locale (an ICU/POSIX identifier such as "en_US" or "de_DE"). Returns false
// and changes nothing when ICU does not know the language.
bool setDeviceLocale(const std::string& identifier);
// The device's locale identifier ("en_US" until set).
const std::string& deviceLocale();

// Sets the device's time zone (an Olson name such as "Europe/Berlin" or "UTC"). Returns false
// and changes nothing when the name is unknown.
bool setDeviceTimeZone(const std::string& olsonName);
// The device's time zone name ("UTC" until set).
const std::string& deviceTimeZone();

// A locale and a time zone, as a formatter or a calendar takes them from the device when it is
// made and keeps them afterwards.
struct Region {
  std::string locale;    // an ICU identifier, e.g. "de_DE"
  std::string timeZone;  // an Olson name, e.g. "America/New_York"
};
// The device's locale and time zone as they are now.
Region deviceRegion();

// A date's calendar fields in the device's time zone.
struct DateParts {
  int year = 2001, month = 1, day = 1;  // month 1-12
  int hour = 0, minute = 0, second = 0;
  double fraction = 0;  // of a second, in [0, 1)
};

// The calendar fields of `seconds` (since the reference date) in the device's time zone, or in
// the time zone of `region`.
DateParts dateParts(double seconds);
DateParts dateParts(double seconds, const Region& region);
// The seconds since the reference date of the given fields in the device's time zone, or in the
// time zone of `region`. Fields out of range carry over (month 13 is January of the next year).
double secondsFromParts(const DateParts& parts);
double secondsFromParts(const DateParts& parts, const Region& region);

// Amounts of calendar fields to add to a date; an empty one adds nothing.
struct DateAmounts {
  std::optional<int> year, month, day, hour, minute, second;
};
// `seconds` with `amounts` added in the calendar of `region`, largest field first, as ICU adds
// them: days and larger keep the wall-clock time across a daylight-saving change, hours and
// smaller add elapsed time. With `wrap` each field rolls within its range instead of carrying
// into larger ones (31 January plus one day is 1 January). The fraction of a second is kept.
double addToDate(double seconds, const DateAmounts& amounts, bool wrap, const Region& region);

// How much of a date or a time a formatted string shows, as the platform's formatter styles.
enum class DateStyle { None, Short, Medium, Long, Full };
// `seconds` formatted for the device's locale and time zone, or for `region`'s. Both styles
// None give "".
std::string formatDate(double seconds, DateStyle date, DateStyle time);
std::string formatDate(double seconds, DateStyle date, DateStyle time, const Region& region);
// `seconds` formatted with an ICU pattern ("yyyy-MM-dd HH:mm") in the device's time zone, or in
// `region`'s; "" for a pattern ICU refuses.
std::string formatDatePattern(double seconds, const std::string& pattern);
std::string formatDatePattern(double seconds, const std::string& pattern, const Region& region);
// The ICU pattern the styles stand for in `region`'s locale, e.g. "M/d/yy, h:mm a" for short
// date and time in en_US; "" when both are None.
std::string datePattern(DateStyle date, DateStyle time, const Region& region);

// Reads "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" as a time in the device's time zone.
std::optional<double> parseDeviceDateTime(std::string_view text);

}  // namespace platform
