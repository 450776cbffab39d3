#pragma once
// The private SpringBoard interfaces the extension relies on, declared once with their true
// signatures, as an extension developer keeps the headers of the classes they hook.

#include "platform/dispatch/distributed_notification_center.h"
#include "platform/dispatch/timers.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/objc/selector.h"

namespace tarrow8::sb {
using platform::objc::Selector;

// SpringBoard (the UIApplication subclass).
inline const Selector<void(id)> applicationDidFinishLaunching{"applicationDidFinishLaunching:"};
inline const Selector<void()> relaunchSpringBoardNow{"_relaunchSpringBoardNow"};

// Methods the extension adds to SpringBoard classes.
inline const Selector<void(id)> gracePeriodTimerFired{"gracePeriodTimerFired:"};
inline const Selector<void(id)> clearTarrowItemsInSection{"clearTarrowItemsInSection:"};

// UIActionSheet / UIAlertView, as far as closing them on a lock-state change needs.
inline const Selector<long()> cancelButtonIndex{"cancelButtonIndex"};
inline const Selector<void(long, BOOL)> dismissWithClickedButtonIndex_animated{
    "dismissWithClickedButtonIndex:animated:"};
inline const Selector<void()> resignKeyWindow{"resignKeyWindow"};

// SBLockScreenNotificationListView.
inline const Selector<void(BOOL)> disableIdleTimer{"_disableIdleTimer:"};

}  // namespace tarrow8::sb
