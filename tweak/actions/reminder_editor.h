#pragma once
// The reminder editor: an alert titled "Tarrow 8" (tag 6473) with the buttons "Add", "Delete" and
// "Cancel" and a date-and-time picker as its accessory view. The actions menu and the reminders
// window open it; its dismissal is handled by its delegate.

#include <objc/objc.h>

namespace tarrow8 {

inline constexpr long kReminderAlertTag = 6473;
inline constexpr long kReminderAdd = 0;
inline constexpr long kReminderDelete = 1;

// Makes a new editor in `reminderAlert` and `reminderDatePicker` (releasing the ones before):
// the alert carries `key` as its accessibilityValue and `delegate` as its delegate; the picker
// allows dates from five minutes ago and starts at `date`. Shows the alert.
void openReminderEditor(id key, id delegate, id date);

// `date` moved back by its seconds in the current calendar, so that it falls on the minute it
// shows; a fraction of a second stays.
id onItsMinute(id date);

}  // namespace tarrow8
