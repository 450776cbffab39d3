#pragma once
// Notification Center mirroring: while the settings ask for it, every bulletin Notification
// Center lists in its all-notifications mode is kept for the lock screen too, and leaves the
// store again when Notification Center drops it.

#include <objc/objc.h>

namespace tarrow8 {

// SBBulletinObserverViewController addBulletin:toSection:forFeed:.
void notificationCenterAddBulletin(id self, SEL cmd, id info, id section, unsigned long feed);
// SBBulletinObserverViewController removeBulletin:fromSection:.
void notificationCenterRemoveBulletin(id self, SEL cmd, id info, id section);

}  // namespace tarrow8
