#pragma once
// NSCalendar and NSDateComponents: the Gregorian calendar in the device's time zone, through
// ICU, splitting dates into fields, adding fields to dates and composing dates from fields.

#include <climits>

#include "platform/objc/object.h"

namespace platform {

// The classes "NSCalendar" and "NSDateComponents".
Class NSCalendarClass();
Class NSDateComponentsClass();

// The value of a field of NSDateComponents that was never set (NSIntegerMax, as Foundation).
inline constexpr long NSDateComponentUndefined = LONG_MAX;

// The units of components:fromDate:, as Foundation numbers them.
inline constexpr unsigned long NSCalendarUnitYear = 1UL << 2;
inline constexpr unsigned long NSCalendarUnitMonth = 1UL << 3;
inline constexpr unsigned long NSCalendarUnitDay = 1UL << 4;
inline constexpr unsigned long NSCalendarUnitHour = 1UL << 5;
inline constexpr unsigned long NSCalendarUnitMinute = 1UL << 6;
inline constexpr unsigned long NSCalendarUnitSecond = 1UL << 7;

// The option of dateByAddingComponents:toDate:options: that rolls each field within its range
// instead of carrying into larger ones.
inline constexpr unsigned long NSCalendarWrapComponents = 1UL << 0;

}  // namespace platform

namespace sel {
using platform::objc::Selector;
// NSCalendar. currentCalendar takes the device's locale and time zone as they are when it is
// made and keeps them.
inline const Selector<id()> currentCalendar{"currentCalendar"};
inline const Selector<id(unsigned long, id)> components_fromDate{"components:fromDate:"};
inline const Selector<id(id, id, unsigned long)> dateByAddingComponents_toDate_options{
    "dateByAddingComponents:toDate:options:"};
inline const Selector<id(id)> dateFromComponents{"dateFromComponents:"};
// NSDateComponents.
inline const Selector<long()> year{"year"};
inline const Selector<void(long)> setYear{"setYear:"};
inline const Selector<long()> month{"month"};
inline const Selector<void(long)> setMonth{"setMonth:"};
inline const Selector<long()> day{"day"};
inline const Selector<void(long)> setDay{"setDay:"};
inline const Selector<long()> hour{"hour"};
inline const Selector<void(long)> setHour{"setHour:"};
inline const Selector<long()> minute{"minute"};
inline const Selector<void(long)> setMinute{"setMinute:"};
inline const Selector<long()> second{"second"};
inline const Selector<void(long)> setSecond{"setSecond:"};
}  // namespace sel
