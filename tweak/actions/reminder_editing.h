#pragma once
// What the reminder editor's buttons do: "Add" stores the bulletin's reminder at the picked
// minute, "Delete" removes it; both then re-arm the reminder timer and redraw the list in use.

#include <objc/objc.h>

namespace tarrow8 {

// Added to SBBulletinViewController and SBLockScreenNotificationListView as
// alertView:didDismissWithButtonIndex:: applies the editor's answer to the bulletin now at the
// alert's row.
void reminderAlertDismissed(id self, SEL cmd, id alert, long buttonIndex);

// Applies button `index` to `bulletin`'s reminder; `table` is the lock-screen table to reload
// while locked, or nil.
void applyReminderChoice(id bulletin, long index, id table);

}  // namespace tarrow8
