#pragma once
// NSDateFormatter: dates as text in the locale and time zone the device had when the formatter
// was made, by date and time styles or by an explicit pattern, through ICU.

#include "platform/objc/object.h"

namespace platform {

// The class "NSDateFormatter".
Class NSDateFormatterClass();

// The styles of setDateStyle: and setTimeStyle:, as Foundation numbers them.
inline constexpr unsigned long NSDateFormatterNoStyle = 0;
inline constexpr unsigned long NSDateFormatterShortStyle = 1;
inline constexpr unsigned long NSDateFormatterMediumStyle = 2;
inline constexpr unsigned long NSDateFormatterLongStyle = 3;
inline constexpr unsigned long NSDateFormatterFullStyle = 4;

}  // namespace platform

namespace sel {
using platform::objc::Selector;
// A style outside 0...4 is kept as given and formats as NSDateFormatterNoStyle.
inline const Selector<void(unsigned long)> setDateStyle{"setDateStyle:"};
inline const Selector<unsigned long()> dateStyle{"dateStyle"};
inline const Selector<void(unsigned long)> setTimeStyle{"setTimeStyle:"};
inline const Selector<unsigned long()> timeStyle{"timeStyle"};
// An explicit ICU pattern ("yyyy-MM-dd HH:mm"); setting a style afterwards replaces it with the
// style's pattern, and dateFormat reads the style's pattern when none was set.
inline const Selector<void(id)> setDateFormat{"setDateFormat:"};
inline const Selector<id()> dateFormat{"dateFormat"};
// The date as text; nil for nil, "" when both styles are none and no pattern is set.
inline const Selector<id(id)> stringFromDate{"stringFromDate:"};
}  // namespace sel
