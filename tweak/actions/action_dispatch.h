#pragma once
// What a choice in the actions sheet does: remove the bulletin from the lock screen or add it,
// open the reminder editor, clear a section or everything, or open the reminders window.

#include <objc/objc.h>

namespace tarrow8 {

// Added to SBBulletinViewController and SBLockScreenNotificationListView as
// actionSheet:didDismissWithButtonIndex:: drops the pad's sheet window, then carries out the
// choice for the bulletin now at the sheet's row (nothing for a cancel).
void actionSheetDismissed(id self, SEL cmd, id sheet, long buttonIndex);

// Carries out choice `index` for `bulletin` (a BBBulletin) of the row `key`; `delegate` received
// the dismissal and becomes the editor's delegate.
void performActionsMenuChoice(id bulletin, long index, id key, id delegate);

// The bulletin shown at `indexPath` by `delegate`: Notification Center's controller or the
// lock-screen list view.
id bulletinAtIndexPath(id delegate, id indexPath);

}  // namespace tarrow8
