// NSCalendar and NSDateComponents: fields of dates in a time zone, adding fields across
// daylight-saving changes and month ends, and dates composed from fields.

#include "platform/foundation/nscalendar.h"

#include <gtest/gtest.h>

#include "platform/foundation/device_locale.h"
#include "platform/foundation/nsdate.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

using objc::Strong;

constexpr unsigned long kHourMinuteSecond = 224;
constexpr unsigned long kAllUnits =
    NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay | kHourMinuteSecond;

struct Fields {
  long year, month, day, hour, minute, second;
  friend bool operator==(const Fields&, const Fields&) = default;
};
std::ostream& operator<<(std::ostream& out, const Fields& f) {
  return out << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":" << f.minute << ":"
             << f.second;
}

Fields fieldsOf(id components) {
  return {sel::year(components), sel::month(components),  sel::day(components),
          sel::hour(components), sel::minute(components), sel::second(components)};
}

class CalendarTest : public ::testing::Test {
 protected:
  void TearDown() override {
    setDeviceTimeZone("UTC");
    objc::restoreDeviceClasses();
  }
  // The current calendar in `zone`.
  Strong calendarIn(const char* zone) {
    EXPECT_TRUE(setDeviceTimeZone(zone));
    return Strong(sel::currentCalendar(reinterpret_cast<id>(NSCalendarClass())));
  }
  // New components with the fields given by their setters.
  static Strong components(
      std::initializer_list<std::pair<const objc::Selector<void(long)>*, long>> set) {
    Strong c = objc::make(NSDateComponentsClass());
    for (const auto& [setter, value] : set) (*setter)(c, value);
    return c;
  }
  objc::AutoreleasePool pool_;
};

const long U = NSDateComponentUndefined;

TEST_F(CalendarTest, ComponentsAreTheRequestedFieldsInTheCalendarsZone) {
  struct Case {
    const char* zone;
    double seconds;
    unsigned long units;
    Fields expected;
  };
  const Case cases[] = {
      // 2026-03-08 06:59:59.75 UTC: the seconds are whole, never rounded up.
      {"UTC", 794645999.75, kHourMinuteSecond, {U, U, U, 6, 59, 59}},
      {"America/New_York", 794645999.75, kHourMinuteSecond, {U, U, U, 1, 59, 59}},
      // Before the reference date and before 1970 the fraction is still dropped downwards.
      {"UTC", -31622401.75, kHourMinuteSecond, {U, U, U, 23, 59, 58}},
      {"UTC", -992490139.1, kAllUnits, {1969, 7, 20, 20, 17, 40}},
      // 2026-12-10 03:30:15.5 UTC is still the 9th in New York.
      {"UTC", 818566215.5, kAllUnits, {2026, 12, 10, 3, 30, 15}},
      {"America/New_York", 818566215.5, kAllUnits, {2026, 12, 9, 22, 30, 15}},
      {"Asia/Tokyo", 818566215.5, NSCalendarUnitDay | NSCalendarUnitHour, {U, U, 10, 12, U, U}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.seconds));
    Strong calendar = calendarIn(c.zone);
    id parts = sel::components_fromDate(calendar, c.units, nsdate(c.seconds));
    ASSERT_TRUE(parts);
    EXPECT_EQ(fieldsOf(parts), c.expected);
  }
  EXPECT_EQ(sel::components_fromDate(calendarIn("UTC"), kAllUnits, nil), nil);
}

TEST_F(CalendarTest, AddingComponentsFollowsTheCalendarAcrossDaylightSavingAndMonthEnds) {
  struct Case {
    const char* what;
    double from;
    Strong amounts;
    unsigned long options;
    double expected;
  };
  const Case cases[] = {
      // New York springs forward on 2026-03-08: a day is 23 hours, 24 hours end at 13:00.
      {"a day over spring forward", 794595600, components({{&sel::setDay, 1}}), 0, 794678400},
      {"24 hours over spring forward", 794595600, components({{&sel::setHour, 24}}), 0, 794682000},
      // ... and falls back on 2026-11-01: that day is 25 hours.
      {"a day over fall back", 815155200, components({{&sel::setDay, 1}}), 0, 815245200},
      {"a month from 31 January", 791571600, components({{&sel::setMonth, 1}}), 0, 793990800},
      {"a month before a day", 791485200, components({{&sel::setMonth, 1}, {&sel::setDay, 1}}), 0,
       794077200},
      {"a day wrapped within January", 791571600, components({{&sel::setDay, 1}}),
       NSCalendarWrapComponents, 788979600},
      {"a minute keeps the fraction", 794595600.0625, components({{&sel::setMinute, 1}}), 0,
       794595660.0625},
      {"negative seconds", 794595600, components({{&sel::setSecond, -90}}), 0, 794595510},
      {"nothing", 794595600.5, components({}), 0, 794595600.5},
  };
  Strong calendar = calendarIn("America/New_York");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    id date =
        sel::dateByAddingComponents_toDate_options(calendar, c.amounts, nsdate(c.from), c.options);
    ASSERT_TRUE(date);
    EXPECT_EQ(dateSeconds(date), c.expected);
  }
  EXPECT_EQ(
      sel::dateByAddingComponents_toDate_options(calendar, components({{&sel::setDay, 1}}), nil, 0),
      nil);
  EXPECT_EQ(sel::dateByAddingComponents_toDate_options(
                calendar, components({{&sel::setSecond, 1L << 40}}), nsdate(0), 0),
            nil)
      << "an amount past an int is refused, not cut";
}

TEST_F(CalendarTest, DatesComposeFromFieldsWithFoundationsDefaults) {
  Strong calendar = calendarIn("America/New_York");
  id date = sel::dateFromComponents(calendar, components({{&sel::setYear, 2026},
                                                          {&sel::setMonth, 3},
                                                          {&sel::setDay, 8},
                                                          {&sel::setHour, 3},
                                                          {&sel::setMinute, 30}}));
  EXPECT_EQ(dateSeconds(date), 794647800) << "03:30 EDT, the first hour after the change";
  EXPECT_EQ(
      dateSeconds(sel::dateFromComponents(
          calendar, components({{&sel::setYear, 2026}, {&sel::setMonth, 13}, {&sel::setDay, 1}}))),
      820472400)
      << "month 13 is January of the next year";

  // Only a time: the year 1, 1 January, as Foundation fills in what is unset.
  Strong utc = calendarIn("UTC");
  id early = sel::dateFromComponents(utc, components({{&sel::setHour, 8}, {&sel::setMinute, 30}}));
  ASSERT_TRUE(early);
  EXPECT_EQ(fieldsOf(sel::components_fromDate(utc, kAllUnits, early)), (Fields{1, 1, 1, 8, 30, 0}));
  EXPECT_LT(dateSeconds(early), -63000000000.0);

  EXPECT_EQ(sel::dateFromComponents(utc, components({{&sel::setYear, 1L << 40}})), nil);
  EXPECT_EQ(sel::dateFromComponents(utc, nil), nil);
}

TEST_F(CalendarTest, ACalendarKeepsTheZoneItWasMadeIn) {
  Strong utc = calendarIn("UTC");
  Strong newYork = calendarIn("America/New_York");
  Strong date = nsdate(818566215.5);
  EXPECT_EQ(sel::hour(sel::components_fromDate(utc, NSCalendarUnitHour, date)), 3);
  EXPECT_EQ(sel::hour(sel::components_fromDate(newYork, NSCalendarUnitHour, date)), 22);
}

TEST_F(CalendarTest, ComponentsStartUndefinedAndCompareByTheirFields) {
  Strong a = objc::make(NSDateComponentsClass());
  EXPECT_EQ(fieldsOf(a), (Fields{U, U, U, U, U, U}));
  sel::setMinute(a, 5);
  Strong b = Strong::adopt(sel::copy(a));
  EXPECT_TRUE(sel::isEqual(a, b));
  EXPECT_EQ(sel::hash(a), sel::hash(b));
  sel::setSecond(b, 0);
  EXPECT_FALSE(sel::isEqual(a, b));
  EXPECT_EQ(sel::second(a), U) << "a copy is its own object";
}

}  // namespace
}  // namespace platform
