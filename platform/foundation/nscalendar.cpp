#include "platform/foundation/nscalendar.h"

#include <climits>
#include <optional>

#include "platform/foundation/device_locale.h"
#include "platform/foundation/nsdate.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

struct CalendarBody : objc::NativeBody {
  Region region = deviceRegion();
};

struct ComponentsBody : objc::NativeBody {
  long year = NSDateComponentUndefined, month = NSDateComponentUndefined,
       day = NSDateComponentUndefined, hour = NSDateComponentUndefined,
       minute = NSDateComponentUndefined, second = NSDateComponentUndefined;

  friend bool operator==(const ComponentsBody& a, const ComponentsBody& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
  }
};

const Region& regionOf(id calendar) {
  return objc::native<CalendarBody>(calendar)->region;
}

// A field's value as ICU takes it: nothing when undefined, `outOfRange` when it does not fit
// an int.
std::optional<int> fieldAmount(long value, bool* outOfRange) {
  if (value == NSDateComponentUndefined) return std::nullopt;
  if (value < INT_MIN || value > INT_MAX) {
    *outOfRange = true;
    return std::nullopt;
  }
  return static_cast<int>(value);
}

id currentCalendar(id, SEL) {
  return objc::autorelease(objc::allocInstance(NSCalendarClass()));
}
// Fields of the date that `units` asks for, in the calendar's time zone; the seconds whole (the
// fraction dropped). nil for a nil date, as iOS 8 answers after complaining in its log.
id componentsFromDate(id self, SEL, unsigned long units, id date) {
  if (!date) return nil;
  const DateParts parts = dateParts(sel::timeIntervalSinceReferenceDate(date), regionOf(self));
  id components = objc::allocInstance(NSDateComponentsClass());
  auto& c = *objc::native<ComponentsBody>(components);
  if (units & NSCalendarUnitYear) c.year = parts.year;
  if (units & NSCalendarUnitMonth) c.month = parts.month;
  if (units & NSCalendarUnitDay) c.day = parts.day;
  if (units & NSCalendarUnitHour) c.hour = parts.hour;
  if (units & NSCalendarUnitMinute) c.minute = parts.minute;
  if (units & NSCalendarUnitSecond) c.second = parts.second;
  return objc::autorelease(components);
}
// The date with every defined field of `components` added, largest first; undefined fields add
// nothing. nil for a nil date or a field that does not fit an int (ICU's amounts are ints).
id dateByAddingComponents(id self, SEL, id components, id date, unsigned long options) {
  if (!date) return nil;
  const double seconds = sel::timeIntervalSinceReferenceDate(date);
  const auto* c = objc::native<ComponentsBody>(components);
  if (!c) return objc::autorelease(nsdate(seconds).leak());
  bool outOfRange = false;
  const DateAmounts amounts{
      fieldAmount(c->year, &outOfRange),   fieldAmount(c->month, &outOfRange),
      fieldAmount(c->day, &outOfRange),    fieldAmount(c->hour, &outOfRange),
      fieldAmount(c->minute, &outOfRange), fieldAmount(c->second, &outOfRange)};
  if (outOfRange) return nil;
  const bool wrap = (options & NSCalendarWrapComponents) != 0;
  return objc::autorelease(nsdate(addToDate(seconds, amounts, wrap, regionOf(self))).leak());
}
// The date the fields name in the calendar's time zone. Undefined fields take Foundation's
// defaults: the year 1, January, the 1st, 00:00:00. Fields out of range carry over, as ICU's
// lenient calendar does. nil for nil, or a field that does not fit an int.
id dateFromComponents(id self, SEL, id components) {
  const auto* c = objc::native<ComponentsBody>(components);
  if (!c) return nil;
  bool outOfRange = false;
  const auto field = [&](long value, int fallback) {
    return fieldAmount(value, &outOfRange).value_or(fallback);
  };
  DateParts parts;
  parts.year = field(c->year, 1);
  parts.month = field(c->month, 1);
  parts.day = field(c->day, 1);
  parts.hour = field(c->hour, 0);
  parts.minute = field(c->minute, 0);
  parts.second = field(c->second, 0);
  if (outOfRange) return nil;
  return objc::autorelease(nsdate(secondsFromParts(parts, regionOf(self))).leak());
}

template <long ComponentsBody::*field>
long get(id self, SEL) {
  return objc::native<ComponentsBody>(self)->*field;
}
template <long ComponentsBody::*field>
void set(id self, SEL, long value) {
  objc::native<ComponentsBody>(self)->*field = value;
}
BOOL componentsEqual(id self, SEL, id other) {
  const auto* theirs = objc::native<ComponentsBody>(other);
  return self == other || (theirs && *theirs == *objc::native<ComponentsBody>(self)) ? YES : NO;
}
unsigned long componentsHash(id self, SEL) {
  const auto& c = *objc::native<ComponentsBody>(self);
  unsigned long h = 0;
  for (long v : {c.year, c.month, c.day, c.hour, c.minute, c.second}) {
    h = h * 1000003UL + static_cast<unsigned long>(v);
  }
  return h;
}
id componentsCopy(id self, SEL, void*) {
  id copy = objc::allocInstance(NSDateComponentsClass());
  *objc::native<ComponentsBody>(copy) = *objc::native<ComponentsBody>(self);
  return copy;
}

}  // namespace

Class NSCalendarClass() {
  static Class cls = objc::deviceClass("NSCalendar", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<CalendarBody>()
        .classMethod(sel::currentCalendar, currentCalendar)
        .method(sel::components_fromDate, componentsFromDate)
        .method(sel::dateByAddingComponents_toDate_options, dateByAddingComponents)
        .method(sel::dateFromComponents, dateFromComponents);
  });
  return cls;
}

Class NSDateComponentsClass() {
  static Class cls =
      objc::deviceClass("NSDateComponents", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<ComponentsBody>()
            .method(sel::year, get<&ComponentsBody::year>)
            .method(sel::setYear, set<&ComponentsBody::year>)
            .method(sel::month, get<&ComponentsBody::month>)
            .method(sel::setMonth, set<&ComponentsBody::month>)
            .method(sel::day, get<&ComponentsBody::day>)
            .method(sel::setDay, set<&ComponentsBody::day>)
            .method(sel::hour, get<&ComponentsBody::hour>)
            .method(sel::setHour, set<&ComponentsBody::hour>)
            .method(sel::minute, get<&ComponentsBody::minute>)
            .method(sel::setMinute, set<&ComponentsBody::minute>)
            .method(sel::second, get<&ComponentsBody::second>)
            .method(sel::setSecond, set<&ComponentsBody::second>)
            .method(sel::isEqual, componentsEqual)
            .method(sel::hash, componentsHash)
            .method(sel::copyWithZone, componentsCopy);
      });
  return cls;
}

}  // namespace platform
