#include "platform/foundation/device_locale.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <memory>

#include "platform/foundation/clock.h"

namespace platform {
namespace {

struct Settings {
  std::string locale = "en_US";
  std::string timeZone = "UTC";
};

Settings& settings() {
  static auto* s = new Settings();
  return *s;
}

double toUnixMillis(double seconds) {
  return (seconds + static_cast<double>(kSecondsFrom1970To2001)) * 1000.0;
}
double fromUnixMillis(double millis) {
  return millis / 1000.0 - static_cast<double>(kSecondsFrom1970To2001);
}

std::unique_ptr<icu::TimeZone> zone(const Region& region) {
  return std::unique_ptr<icu::TimeZone>(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(region.timeZone)));
}

std::unique_ptr<icu::Calendar> calendar(const Region& region) {
  UErrorCode status = U_ZERO_ERROR;
  auto cal = std::make_unique<icu::GregorianCalendar>(zone(region).release(),
                                                      icu::Locale(region.locale.c_str()), status);
  return cal;
}

icu::DateFormat::EStyle icuStyle(DateStyle style) {
  switch (style) {
    case DateStyle::None:
      return icu::DateFormat::kNone;
    case DateStyle::Short:
      return icu::DateFormat::kShort;
    case DateStyle::Medium:
      return icu::DateFormat::kMedium;
    case DateStyle::Long:
      return icu::DateFormat::kLong;
    case DateStyle::Full:
      return icu::DateFormat::kFull;
  }
  return icu::DateFormat::kNone;
}

// ICU's formatter for the two styles in `region`; null when both are None.
std::unique_ptr<icu::DateFormat> styleFormat(DateStyle date, DateStyle time, const Region& region) {
  if (date == DateStyle::None && time == DateStyle::None) return nullptr;
  std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateTimeInstance(
      icuStyle(date), icuStyle(time), icu::Locale(region.locale.c_str())));
  if (format) format->adoptTimeZone(zone(region).release());
  return format;
}

std::string toUtf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

bool setDeviceLocale(const std::string& identifier) {
  icu::Locale locale(identifier.c_str());
  if (locale.isBogus() || std::string(locale.getLanguage()).empty()) return false;
  // ICU accepts any well-formed identifier; insist that it has data for the language.
  int32_t count = 0;
  const icu::Locale* available = icu::Locale::getAvailableLocales(count);
  bool known = false;
  for (int32_t i = 0; i < count && !known; ++i) {
    known = std::string(available[i].getLanguage()) == locale.getLanguage();
  }
  if (!known) return false;
  settings().locale = locale.getName();
  return true;
}

const std::string& deviceLocale() {
  return settings().locale;
}

bool setDeviceTimeZone(const std::string& olsonName) {
  std::unique_ptr<icu::TimeZone> tz(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(olsonName)));
  if (*tz == icu::TimeZone::getUnknown()) return false;
  settings().timeZone = olsonName;
  return true;
}

const std::string& deviceTimeZone() {
  return settings().timeZone;
}

Region deviceRegion() {
  return Region{settings().locale, settings().timeZone};
}

DateParts dateParts(double seconds) {
  return dateParts(seconds, deviceRegion());
}

DateParts dateParts(double seconds, const Region& region) {
  auto cal = calendar(region);
  UErrorCode status = U_ZERO_ERROR;
  double millis = toUnixMillis(seconds);
  double wholeMillis = std::floor(millis);
  cal->setTime(wholeMillis, status);
  DateParts p;
  p.year = cal->get(UCAL_YEAR, status);
  p.month = cal->get(UCAL_MONTH, status) + 1;
  p.day = cal->get(UCAL_DATE, status);
  p.hour = cal->get(UCAL_HOUR_OF_DAY, status);
  p.minute = cal->get(UCAL_MINUTE, status);
  p.second = cal->get(UCAL_SECOND, status);
  int millisecond = cal->get(UCAL_MILLISECOND, status);
  p.fraction = (millisecond + (millis - wholeMillis)) / 1000.0;
  return p;
}

double secondsFromParts(const DateParts& parts) {
  return secondsFromParts(parts, deviceRegion());
}

double secondsFromParts(const DateParts& parts, const Region& region) {
  auto cal = calendar(region);
  UErrorCode status = U_ZERO_ERROR;
  cal->clear();
  cal->set(parts.year, parts.month - 1, parts.day, parts.hour, parts.minute, parts.second);
  double millis = cal->getTime(status);
  return fromUnixMillis(millis) + parts.fraction;
}

double addToDate(double seconds, const DateAmounts& amounts, bool wrap, const Region& region) {
  auto cal = calendar(region);
  UErrorCode status = U_ZERO_ERROR;
  const double millis = toUnixMillis(seconds);
  const double wholeMillis = std::floor(millis);
  cal->setTime(wholeMillis, status);
  const std::pair<UCalendarDateFields, const std::optional<int>*> fields[] = {
      {UCAL_YEAR, &amounts.year},     {UCAL_MONTH, &amounts.month},
      {UCAL_DATE, &amounts.day},      {UCAL_HOUR_OF_DAY, &amounts.hour},
      {UCAL_MINUTE, &amounts.minute}, {UCAL_SECOND, &amounts.second}};
  for (const auto& [field, amount] : fields) {
    if (!amount->has_value() || **amount == 0) continue;
    if (wrap) {
      cal->roll(field, static_cast<int32_t>(**amount), status);
    } else {
      cal->add(field, static_cast<int32_t>(**amount), status);
    }
  }
  return fromUnixMillis(cal->getTime(status) + (millis - wholeMillis));
}

std::string formatDate(double seconds, DateStyle date, DateStyle time) {
  return formatDate(seconds, date, time, deviceRegion());
}

std::string formatDate(double seconds, DateStyle date, DateStyle time, const Region& region) {
  std::unique_ptr<icu::DateFormat> format = styleFormat(date, time, region);
  if (!format) return "";
  icu::UnicodeString text;
  format->format(std::floor(toUnixMillis(seconds)), text);
  return toUtf8(text);
}

std::string formatDatePattern(double seconds, const std::string& pattern) {
  return formatDatePattern(seconds, pattern, deviceRegion());
}

std::string formatDatePattern(double seconds, const std::string& pattern, const Region& region) {
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat format(icu::UnicodeString::fromUTF8(pattern),
                               icu::Locale(region.locale.c_str()), status);
  if (U_FAILURE(status)) return "";
  format.adoptTimeZone(zone(region).release());
  icu::UnicodeString text;
  format.format(std::floor(toUnixMillis(seconds)), text);
  return toUtf8(text);
}

std::string datePattern(DateStyle date, DateStyle time, const Region& region) {
  std::unique_ptr<icu::DateFormat> format = styleFormat(date, time, region);
  auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
  if (!simple) return "";
  icu::UnicodeString pattern;
  simple->toPattern(pattern);
  return toUtf8(pattern);
}

std::optional<double> parseDeviceDateTime(std::string_view text) {
  for (const char* pattern : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm"}) {
    UErrorCode status = U_ZERO_ERROR;
    icu::SimpleDateFormat format(icu::UnicodeString(pattern), icu::Locale::getRoot(), status);
    format.adoptTimeZone(zone(deviceRegion()).release());
    format.setLenient(false);
    icu::UnicodeString input = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::ParsePosition position(0);
    UDate date = format.parse(input, position);
    if (position.getErrorIndex() < 0 && position.getIndex() == input.length())
      return fromUnixMillis(date);
  }
  return std::nullopt;
}

}  // namespace platform
