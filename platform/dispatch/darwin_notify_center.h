#pragma once
// CoreFoundation's Darwin notify centre: notifications that carry only a name, shared by every
// process of the device and built on libnotify. Callbacks run later on the main run loop, once
// per observer however often the name was posted before they ran.

#include <objc/runtime.h>

#include "platform/foundation/nsstring.h"

struct __CFNotificationCenter;
// A notification centre; the device has only the Darwin one.
using CFNotificationCenterRef = __CFNotificationCenter*;
// An NSDictionary, toll-free bridged.
using CFDictionaryRef = id;
// CoreFoundation's truth value.
using Boolean = unsigned char;

// What an observer is called with. On the Darwin centre object and userInfo are always null.
using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer,
                                        CFStringRef name, const void* object,
                                        CFDictionaryRef userInfo);

// How a suspended observer wants its notifications. The Darwin centre ignores it, as on the
// platform: a suspended process gets each name once when it resumes.
enum CFNotificationSuspensionBehavior : long {
  CFNotificationSuspensionBehaviorDrop = 1,
  CFNotificationSuspensionBehaviorCoalesce = 2,
  CFNotificationSuspensionBehaviorHold = 3,
  CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

// The device's one Darwin notify centre; the same value on every call.
CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Makes the calling process's `observer` (any pointer, null included) receive posts of `name`
// through `callBack`. Adding the same observer and name again replaces the callback. `object`
// and `suspensionBehavior` are ignored. REQUIRES: center is the Darwin centre; name not nil
// (a nil name registers nothing).
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callBack, CFStringRef name,
                                     const void* object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);

// Stops the calling process's `observer` receiving `name` (every name when nil); deliveries
// already on their way are not made. `object` is ignored.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        CFStringRef name, const void* object);

// Removes every registration of the calling process's `observer`.
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);

// Posts `name` to every observer of it in every process; the callbacks run on the run loop,
// never inside this call. `object`, `userInfo` and `deliverImmediately` are ignored.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name,
                                          const void* object, CFDictionaryRef userInfo,
                                          Boolean deliverImmediately);

namespace platform::dispatch {

// Drops every observer of the Darwin centre, as on a fresh device.
void resetDarwinNotifyCenter();

}  // namespace platform::dispatch
