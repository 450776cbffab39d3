#pragma once
// The handlers that belong to no larger feature: settings reload, pull-to-clear, lock state,
// respring, and the launch grace period.

#include "platform/dispatch/darwin_notify_center.h"

namespace tarrow8 {

// Notification names the extension observes.
inline constexpr const char* kPreferencesNotification = "net.vornel.tarrow8/preferences";
inline constexpr const char* kRespringNotification = "net.vornel.tarrow8/respring";
inline constexpr const char* kPullToClearNotification =
    "com.brelwick.priorityhub-pulltoclearsection";
inline constexpr const char* kLockStateNotification = "com.apple.springboard.lockstate";
// The service identifier of the extension's timers.
inline constexpr const char* kTimerServiceIdentifier = "net.vornel.tarrow8";

// Darwin callback for the preferences notification: reloads the settings, ignoring its arguments.
void settingsChanged(CFNotificationCenterRef center, void* observer, CFStringRef name,
                     const void* object, CFDictionaryRef userInfo);

// Pull-to-clear observer: clears the kept bulletins of the application the notification names.
void pullToClearSection(id notification);

// Respring observer: relaunches SpringBoard.
void respringRequested(id notification);

// Lock-state handler: records the new lock state, empties the stores when locking while
// disabled, and closes the actions sheet, the reminders window and the reminder alert.
void lockStateChanged(int token);

// Handler of SpringBoard's applicationDidFinishLaunching:: starts the 5-second grace period.
void applicationDidFinishLaunching(id self, SEL cmd, id application);

// Added to SpringBoard as gracePeriodTimerFired:: ends the grace period for good.
void gracePeriodTimerFired(id self, SEL cmd, id timer);

}  // namespace tarrow8
