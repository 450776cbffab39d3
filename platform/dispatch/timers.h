#pragma once
// The main run loop as Foundation shows it (NSRunLoop) and PCSimpleTimer, the one-shot timer
// SpringBoard's services schedule for a wall-clock date. A scheduled timer fires once, on the
// run loop, as the process that scheduled it.

#include "platform/dispatch/notification.h"
#include "platform/objc/object.h"

namespace platform {

// The class "NSRunLoop".
Class NSRunLoopClass();
// The NSRunLoop of the main thread, the same object on every call.
id mainRunLoopObject();

// The class "PCSimpleTimer".
Class PCSimpleTimerClass();

namespace dispatch {

// Invalidates every scheduled timer, as on a fresh device.
void resetTimers();

}  // namespace dispatch
}  // namespace platform

namespace sel {
using platform::objc::Selector;
// The main thread's NSRunLoop (class methods); the device has no other thread.
inline const Selector<id()> mainRunLoop{"mainRunLoop"};
inline const Selector<id()> currentRunLoop{"currentRunLoop"};
// A valid, unscheduled timer that will send `selector` (void(id timer)) to `target` at the
// NSDate `fireDate`. The timer holds target and userInfo until it fires or is invalidated.
inline const Selector<id(id, id, id, SEL, id)>
    initWithFireDate_serviceIdentifier_target_selector_userInfo{
        "initWithFireDate:serviceIdentifier:target:selector:userInfo:"};
// The same with the fire date `interval` seconds from now.
inline const Selector<id(double, id, id, SEL, id)>
    initWithTimeInterval_serviceIdentifier_target_selector_userInfo{
        "initWithTimeInterval:serviceIdentifier:target:selector:userInfo:"};
// Queues the timer on the main run loop (the argument names it), which keeps the timer alive
// until it fires or is invalidated. A past fire date fires at the next run. Scheduling again,
// or an invalid timer, does nothing.
inline const Selector<void(id)> scheduleInRunLoop{"scheduleInRunLoop:"};
// Stops the timer for good: it never fires afterwards and lets go of its target and userInfo.
inline const Selector<void()> invalidate{"invalidate"};
// YES until the timer has fired or been invalidated (still YES inside its own firing).
inline const Selector<BOOL()> isValid{"isValid"};
// The NSDate and the service identifier the timer was made with.
inline const Selector<id()> fireDate{"fireDate"};
inline const Selector<id()> serviceIdentifier{"serviceIdentifier"};
// Whether the timer may wake a sleeping device; recorded only, since the device never sleeps.
inline const Selector<void(BOOL)> setDisableSystemWaking{"setDisableSystemWaking:"};
inline const Selector<BOOL()> disableSystemWaking{"disableSystemWaking"};
}  // namespace sel
