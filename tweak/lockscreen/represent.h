#pragma once
// Re-presenting kept items: a quarter of a second after the lock screen comes up again after an
// unlock, and after SpringBoard clears the lock-screen list for Notification Center, every kept
// bulletin is put back on the list, newest first, silently.

#include <objc/objc.h>

namespace tarrow8 {

// SBLockScreenNotificationListController viewWillAppear:: schedules a run when the device is
// being locked after an unlock, then lets the view appear.
void listViewWillAppear(id self, SEL cmd, BOOL animated);
// SBLockScreenNotificationListController clearItemsForNotificationCenter: schedules a run, or
// forgets every kept item when the settings do not keep them for this moment.
void clearItemsForNotificationCenter(id self, SEL cmd);

// Line numbers the two moments log a failing entry with.
inline constexpr int kRepresentLineAfterUnlock = 1254;
inline constexpr int kRepresentLineAfterClearing = 1311;

// Adds every kept entry back to `controller`'s list, newest first; clock bulletins are
// published again instead. Each entry runs under its own exception handler, logging with `line`.
void representKeptItems(id controller, int line);

}  // namespace tarrow8
