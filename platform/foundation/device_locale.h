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

// A date's calendar fields in the device's time zone.
struct DateParts {
  int year = 2001, month = 1, day = 1;  // month 1-12
  int hour = 0, minute = 0, second = 0;
  double fraction = 0;  // of a second, in [0, 1)
};

// The calendar fields of `seconds` (since the reference date) in the device's time zone.
DateParts dateParts(double seconds);
// The seconds since the reference date of the given fields in the device's time zone.
double secondsFromParts(const DateParts& parts);

// How much of a date or a time a formatted string shows, as the platform's formatter styles.
enum class DateStyle { None, Short, Medium, Long, Full };
// `seconds` formatted for the device's locale and time zone.
std::string formatDate(double seconds, DateStyle date, DateStyle time);
// `seconds` formatted with an ICU pattern ("yyyy-MM-dd HH:mm") in the device's time zone.
std::string formatDatePattern(double seconds, const std::string& pattern);

// Reads "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" as a time in the device's time zone.
std::optional<double> parseDeviceDateTime(std::string_view text);

}  // namespace platform
