#include "platform/foundation/plist_date.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace platform::plist::detail {
namespace {

using std::chrono::days;
using std::chrono::seconds;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

}  // namespace

bool isFiniteDate(double seconds) {
  return std::isfinite(seconds);
}

std::optional<double> parseXmlDate(std::string_view text) {
  static constexpr std::string_view kPattern = "dddd-dd-ddTdd:dd:ddZ";
  if (text.size() != kPattern.size()) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) return std::nullopt;
  }
  const auto number = [&](std::size_t at, std::size_t width) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + width; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(number(0, 4))),
                                         std::chrono::month(number(5, 2)),
                                         std::chrono::day(number(8, 2))};
  const unsigned hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
  if (!date.ok() || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  const std::int64_t dayCount = (sys_days{date} - kReferenceDay).count();
  return static_cast<double>(dayCount * 86400 + hour * 3600 + minute * 60 + second);
}

bool xmlDateFits(double seconds) {
  if (!std::isfinite(seconds)) return false;
  const double whole = std::floor(seconds);
  return whole >= static_cast<double>(kFirstXmlSecond) &&
         whole <= static_cast<double>(kLastXmlSecond);
}

std::string formatXmlDate(double secondsSince2001) {
  if (!xmlDateFits(secondsSince2001)) return {};
  const sys_seconds instant =
      kReferenceDay + seconds(static_cast<std::int64_t>(std::floor(secondsSince2001)));
  const sys_days day = std::chrono::floor<days>(instant);
  const std::chrono::year_month_day date{day};
  const std::chrono::hh_mm_ss time{instant - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

}  // namespace platform::plist::detail
