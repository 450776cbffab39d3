// NSDateFormatter: dates by style and by pattern in two locales and two time zones, the
// patterns the styles stand for, and the locale and zone a formatter keeps.

#include "platform/foundation/nsdateformatter.h"

#include <gtest/gtest.h>

#include "platform/foundation/device_locale.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

using objc::Strong;

// ICU puts a narrow no-break space before the day period.
#define NNBSP "\xE2\x80\xAF"

// 2026-12-10 03:30:15.5 UTC, which is 22:30 on the 9th in New York.
constexpr double kLateEvening = 818566215.5;

class DateFormatterTest : public ::testing::Test {
 protected:
  void TearDown() override {
    setDeviceLocale("en_US");
    setDeviceTimeZone("UTC");
    objc::restoreDeviceClasses();
  }
  // A new formatter made while the device has `locale` and `zone`.
  static Strong formatterIn(const char* locale, const char* zone) {
    EXPECT_TRUE(setDeviceLocale(locale));
    EXPECT_TRUE(setDeviceTimeZone(zone));
    return objc::make(NSDateFormatterClass());
  }
  objc::AutoreleasePool pool_;
};

TEST_F(DateFormatterTest, StylesFormatInTheLocaleAndZone) {
  struct Case {
    const char* locale;
    const char* zone;
    unsigned long date, time;
    const char* expected;
  };
  const unsigned long none = NSDateFormatterNoStyle, shortStyle = NSDateFormatterShortStyle,
                      medium = NSDateFormatterMediumStyle, full = NSDateFormatterFullStyle;
  const Case cases[] = {
      {"en_US", "UTC", shortStyle, shortStyle, "12/10/26, 3:30" NNBSP "AM"},
      {"en_US", "America/New_York", shortStyle, shortStyle, "12/9/26, 10:30" NNBSP "PM"},
      {"de_DE", "UTC", shortStyle, shortStyle, "10.12.26, 03:30"},
      {"de_DE", "America/New_York", shortStyle, shortStyle, "09.12.26, 22:30"},
      {"en_US", "America/New_York", shortStyle, none, "12/9/26"},
      {"de_DE", "America/New_York", none, shortStyle, "22:30"},
      {"en_US", "UTC", medium, none, "Dec 10, 2026"},
      {"de_DE", "UTC", medium, medium, "10.12.2026, 03:30:15"},
      {"en_US", "America/New_York", full, none, "Wednesday, December 9, 2026"},
      {"de_DE", "UTC", full, none, "Donnerstag, 10. Dezember 2026"},
      {"en_US", "UTC", none, none, ""},
      {"en_US", "UTC", 9, 9, ""},  // out of range: no style
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " " + c.zone + " " + std::to_string(c.date) + "/" +
                 std::to_string(c.time));
    Strong formatter = formatterIn(c.locale, c.zone);
    sel::setDateStyle(formatter, c.date);
    sel::setTimeStyle(formatter, c.time);
    EXPECT_EQ(sel::dateStyle(formatter), c.date);
    EXPECT_EQ(sel::timeStyle(formatter), c.time);
    EXPECT_EQ(utf8(sel::stringFromDate(formatter, nsdate(kLateEvening))), c.expected);
  }
}

TEST_F(DateFormatterTest, AnExplicitPatternWinsUntilAStyleIsSet) {
  Strong formatter = formatterIn("de_DE", "America/New_York");
  sel::setDateStyle(formatter, NSDateFormatterShortStyle);
  sel::setTimeStyle(formatter, NSDateFormatterShortStyle);
  EXPECT_EQ(utf8(sel::dateFormat(formatter)), "dd.MM.yy, HH:mm");

  sel::setDateFormat(formatter, nsstring("yyyy-MM-dd HH:mm:ss EEEE"));
  EXPECT_EQ(utf8(sel::dateFormat(formatter)), "yyyy-MM-dd HH:mm:ss EEEE");
  EXPECT_EQ(utf8(sel::stringFromDate(formatter, nsdate(kLateEvening))),
            "2026-12-09 22:30:15 Mittwoch");

  sel::setTimeStyle(formatter, NSDateFormatterNoStyle);
  EXPECT_EQ(utf8(sel::dateFormat(formatter)), "dd.MM.yy");
  EXPECT_EQ(utf8(sel::stringFromDate(formatter, nsdate(kLateEvening))), "09.12.26");

  Strong american = formatterIn("en_US", "UTC");
  sel::setDateStyle(american, NSDateFormatterShortStyle);
  sel::setTimeStyle(american, NSDateFormatterShortStyle);
  EXPECT_EQ(utf8(sel::dateFormat(american)), "M/d/yy, h:mm" NNBSP "a");
  EXPECT_EQ(utf8(sel::dateFormat(objc::make(NSDateFormatterClass()))), "");
}

TEST_F(DateFormatterTest, AFormatterKeepsTheLocaleAndZoneItWasMadeWith) {
  Strong german = formatterIn("de_DE", "UTC");
  sel::setTimeStyle(german, NSDateFormatterShortStyle);
  setDeviceLocale("en_US");
  setDeviceTimeZone("America/New_York");
  EXPECT_EQ(utf8(sel::stringFromDate(german, nsdate(kLateEvening))), "03:30");
  Strong now = objc::make(NSDateFormatterClass());
  sel::setTimeStyle(now, NSDateFormatterShortStyle);
  EXPECT_EQ(utf8(sel::stringFromDate(now, nsdate(kLateEvening))), "10:30" NNBSP "PM");
}

TEST_F(DateFormatterTest, TheDefaultFormatterGivesEmptyTextAndNilForNil) {
  Strong formatter = objc::make(NSDateFormatterClass());
  EXPECT_EQ(sel::dateStyle(formatter), NSDateFormatterNoStyle);
  EXPECT_EQ(sel::timeStyle(formatter), NSDateFormatterNoStyle);
  EXPECT_EQ(utf8(sel::stringFromDate(formatter, nsdate(0)), "nil"), "");
  sel::setDateStyle(formatter, NSDateFormatterShortStyle);
  EXPECT_EQ(sel::stringFromDate(formatter, nil), nil);
}

}  // namespace
}  // namespace platform
