#pragma once
// Removal and clearing: the user's removals (acting on a bulletin, clearing a section) take
// bulletins out of `keptItems` and record them in `removedBulletinIDs`; the system's withdrawals
// and Notification Center actions take them out while system removal is in force.

#include <objc/objc.h>

#include "tweak/state/springboard_headers.h"

namespace tarrow8 {

// The section token that clears every application's kept bulletins.
inline constexpr const char* kAllSectionsToken = "net.vornel.tarrow8";

// Whether bulletins leave the store when the system or Notification Center drops them:
// `manualRemoval` off, or `mirrorNotificationCenter` on.
bool systemRemovalInForce();

// SBLockScreenNotificationListController observer:removeBulletin:: forgets the bulletin and
// records it as removed, then lets SpringBoard take its row away.
void lockScreenRemoveBulletin(id self, SEL cmd, id observer, id bulletin);
// SBLockScreenNotificationListView _handleAction:forBulletin:: the user opened a kept bulletin.
void lockScreenHandleAction(id self, SEL cmd, id action, id bulletin);
// Added to SBLockScreenNotificationListController: clears the kept bulletins of the application
// `sectionID`, or of every application for the all-sections token; nil clears nothing.
void clearTarrowItemsInSection(id self, SEL cmd, id sectionID);
// BBServer withdrawBulletinID:: a withdrawn bulletin leaves the store under system removal.
void withdrawBulletinID(id self, SEL cmd, id bulletinID);
// SBNotificationCenterController handleAction:forBulletin:withCompletion:: a bulletin handled in
// Notification Center is no longer recorded as removed, and leaves the store under system
// removal. Returns what SpringBoard returned.
BOOL notificationCenterHandleAction(id self, SEL cmd, id action, id bulletin,
                                    sb::CompletionBlock completion);

}  // namespace tarrow8
