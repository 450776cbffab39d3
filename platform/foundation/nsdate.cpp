#include "platform/foundation/nsdate.h"

#include <unicode/calendar.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <functional>

#include "platform/foundation/clock.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

using objc::Strong;

struct DateBody : objc::NativeBody {
  double seconds = 0;  // since the reference date
};

double& seconds(id self) {
  return objc::native<DateBody>(self)->seconds;
}

id newDate(double s) {
  id d = objc::allocInstance(NSDateClass());
  seconds(d) = s;
  return d;
}

double now() {
  return DeviceClock::shared().nowSeconds();
}

id date(id, SEL) {
  return objc::autorelease(newDate(now()));
}
id init(id self, SEL) {
  seconds(self) = now();
  return self;
}
id dateSinceNow(id, SEL, double t) {
  return objc::autorelease(newDate(now() + t));
}
id dateSinceReference(id, SEL, double t) {
  return objc::autorelease(newDate(t));
}
id dateSince1970(id, SEL, double t) {
  return objc::autorelease(newDate(t - static_cast<double>(kSecondsFrom1970To2001)));
}
id dateSinceDate(id, SEL, double t, id date) {
  return objc::autorelease(newDate(sel::timeIntervalSinceReferenceDate(date) + t));
}
id initSinceReference(id self, SEL, double t) {
  seconds(self) = t;
  return self;
}
double sinceReference(id self, SEL) {
  return seconds(self);
}
double since1970(id self, SEL) {
  return seconds(self) + static_cast<double>(kSecondsFrom1970To2001);
}
double sinceNow(id self, SEL) {
  return seconds(self) - now();
}
double sinceDate(id self, SEL, id other) {
  return seconds(self) - dateSeconds(other);
}
id byAdding(id self, SEL, double t) {
  return objc::autorelease(newDate(seconds(self) + t));
}
long compare(id self, SEL, id other) {
  double a = seconds(self), b = dateSeconds(other);
  return a < b ? -1 : (a > b ? 1 : 0);
}
id earlierDate(id self, SEL, id other) {
  return objc::native<DateBody>(other) && dateSeconds(other) < seconds(self) ? other : self;
}
id laterDate(id self, SEL, id other) {
  return objc::native<DateBody>(other) && dateSeconds(other) > seconds(self) ? other : self;
}
BOOL isEqualToDate(id self, SEL, id other) {
  return objc::native<DateBody>(other) && dateSeconds(other) == seconds(self) ? YES : NO;
}
BOOL isEqual(id self, SEL cmd, id other) {
  return self == other || isEqualToDate(self, cmd, other);
}
unsigned long hash(id self, SEL) {
  return std::hash<double>()(seconds(self));
}
id copyWithZone(id self, SEL, void*) {
  return objc::retain(self);
}
// "2026-12-09 23:05:13 +0000", as NSDate describes itself (always in UTC).
id description(id self, SEL) {
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat format(icu::UnicodeString("yyyy-MM-dd HH:mm:ss xx"), icu::Locale::getRoot(),
                               status);
  format.adoptTimeZone(icu::TimeZone::createTimeZone("UTC"));
  icu::UnicodeString text;
  double millis = (seconds(self) + static_cast<double>(kSecondsFrom1970To2001)) * 1000.0;
  format.format(std::floor(millis), text);
  std::string out;
  text.toUTF8String(out);
  return objc::autorelease(nsstring(out).leak());
}

// The seconds since the reference date under "NS.time", as Foundation archives a date.
void encodeWithCoder(id self, SEL, id coder) {
  sel::encodeDouble_forKey(coder, seconds(self), nsstring("NS.time"));
}
id initWithCoder(id self, SEL, id coder) {
  seconds(self) = sel::decodeDoubleForKey(coder, nsstring("NS.time"));
  return self;
}

}  // namespace

Class NSDateClass() {
  static Class cls = objc::deviceClass("NSDate", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<DateBody>()
        .classMethod(sel::date, date)
        .classMethod(sel::dateWithTimeIntervalSinceNow, dateSinceNow)
        .classMethod(sel::dateWithTimeIntervalSinceReferenceDate, dateSinceReference)
        .classMethod(sel::dateWithTimeIntervalSince1970, dateSince1970)
        .classMethod(sel::dateWithTimeInterval_sinceDate, dateSinceDate)
        .method(sel::init, init)
        .method(sel::initWithTimeIntervalSinceReferenceDate, initSinceReference)
        .method(sel::timeIntervalSinceReferenceDate, sinceReference)
        .method(sel::timeIntervalSince1970, since1970)
        .method(sel::timeIntervalSinceNow, sinceNow)
        .method(sel::timeIntervalSinceDate, sinceDate)
        .method(sel::dateByAddingTimeInterval, byAdding)
        .method(sel::compare, compare)
        .method(sel::earlierDate, earlierDate)
        .method(sel::laterDate, laterDate)
        .method(sel::isEqualToDate, isEqualToDate)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::description, description)
        .method(sel::encodeWithCoder, encodeWithCoder)
        .method(sel::initWithCoder, initWithCoder);
  });
  return cls;
}

objc::Strong nsdate(double secondsSinceReferenceDate) {
  return Strong::adopt(newDate(secondsSinceReferenceDate));
}

double dateSeconds(id date, double fallback) {
  auto* body = objc::native<DateBody>(date);
  return body ? body->seconds : fallback;
}

}  // namespace platform
