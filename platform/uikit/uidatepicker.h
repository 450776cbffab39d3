#pragma once
// UIDatePicker (a UIControl): wheels that choose a date. Its date never lies outside its limits:
// a date set (or picked) below the minimum becomes the minimum, one above the maximum the
// maximum, and a new minimum above the current date (or maximum below it) moves the date to it,
// as the platform's picker does. A new picker shows the moment it was made.

#include <string>

#include "platform/objc/object.h"

namespace platform::uikit {

// The class "UIDatePicker", created on first use.
Class UIDatePickerClass();

// The platform's picker modes.
enum UIDatePickerMode : long {
  UIDatePickerModeTime = 0,
  UIDatePickerModeDate = 1,
  UIDatePickerModeDateAndTime = 2,
  UIDatePickerModeCountDownTimer = 3,
};

// The user turns the wheels of `picker` to the minute that holds `secondsSinceReferenceDate`:
// the wheels change the minute and keep the seconds the picker's date had; the limits then
// apply. Returns "" or why nothing was picked.
std::string pickDate(id picker, double secondsSinceReferenceDate);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// The mode (UIDatePickerMode*; date and time until set; other values are refused).
inline const Selector<long()> datePickerMode{"datePickerMode"};
inline const Selector<void(long)> setDatePickerMode{"setDatePickerMode:"};
// The limits (NSDates, nil for none).
inline const Selector<id()> minimumDate{"minimumDate"};
inline const Selector<void(id)> setMinimumDate{"setMinimumDate:"};
inline const Selector<id()> maximumDate{"maximumDate"};
inline const Selector<void(id)> setMaximumDate{"setMaximumDate:"};
// The date shown (an NSDate; "date" itself is declared with NSDate). setDate: of nil or of
// anything but an NSDate raises NSInvalidArgumentException.
inline const Selector<void(id)> setDate{"setDate:"};
inline const Selector<void(id, BOOL)> setDate_animated{"setDate:animated:"};
}  // namespace sel
