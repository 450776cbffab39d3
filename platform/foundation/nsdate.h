#pragma once
// NSDate: a point in device time, counted in seconds since the reference date.

#include "platform/objc/object.h"

namespace platform {

// The class "NSDate".
Class NSDateClass();

// A new NSDate `seconds` after the reference date (2001-01-01 00:00:00 UTC).
objc::Strong nsdate(double secondsSinceReferenceDate);

// The seconds since the reference date of an NSDate; `fallback` for anything else.
double dateSeconds(id date, double fallback = 0);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id()> date{"date"};
inline const Selector<id(double)> dateWithTimeIntervalSinceNow{"dateWithTimeIntervalSinceNow:"};
inline const Selector<id(double)> dateWithTimeIntervalSinceReferenceDate{
    "dateWithTimeIntervalSinceReferenceDate:"};
inline const Selector<id(double)> dateWithTimeIntervalSince1970{"dateWithTimeIntervalSince1970:"};
// A date `interval` seconds after `date` (before it when negative).
inline const Selector<id(double, id)> dateWithTimeInterval_sinceDate{
    "dateWithTimeInterval:sinceDate:"};
inline const Selector<id(double)> initWithTimeIntervalSinceReferenceDate{
    "initWithTimeIntervalSinceReferenceDate:"};
inline const Selector<double()> timeIntervalSinceReferenceDate{"timeIntervalSinceReferenceDate"};
inline const Selector<double()> timeIntervalSince1970{"timeIntervalSince1970"};
inline const Selector<double()> timeIntervalSinceNow{"timeIntervalSinceNow"};
inline const Selector<double(id)> timeIntervalSinceDate{"timeIntervalSinceDate:"};
inline const Selector<id(double)> dateByAddingTimeInterval{"dateByAddingTimeInterval:"};
inline const Selector<id(id)> earlierDate{"earlierDate:"};
inline const Selector<id(id)> laterDate{"laterDate:"};
inline const Selector<BOOL(id)> isEqualToDate{"isEqualToDate:"};
}  // namespace sel
