#pragma once
// NSDistributedNotificationCenter: notifications with a name, a sender object and a dictionary
// of details, shared by every process of the device. Each observer gets its notification later
// on the main run loop (the main operation queue), with a copy of the details as posted.

#include <functional>

#include "platform/dispatch/notification.h"
#include "platform/dispatch/operation_queue.h"
#include "platform/objc/object.h"
#include "platform/objc/type_encoding.h"

namespace platform {

// What a block observer is called with: the NSNotification.
using NotificationBlock = std::function<void(id notification)>;

// The class "NSDistributedNotificationCenter".
Class NSDistributedNotificationCenterClass();

// The device's one distributed centre, the same object on every call.
id distributedNotificationCenter();

namespace dispatch {

// Drops every observer of the distributed centre, as on a fresh device.
void resetDistributedNotificationCenter();

}  // namespace dispatch
}  // namespace platform

namespace sel {
using platform::objc::Selector;
// The device's one distributed centre (class method).
inline const Selector<id()> defaultCenter{"defaultCenter"};
// Calls the block with each notification named `name` (every name when nil) from `object`
// (any sender when nil; otherwise one isEqual: to it). Returns the observer token (+0), which
// the centre keeps until removeObserver:.
inline const Selector<id(id, id, id, platform::NotificationBlock)>
    addObserverForName_object_queue_usingBlock{"addObserverForName:object:queue:usingBlock:"};
// Sends `selector` (void(id notification)) to `observer`, which is not retained, for matching
// notifications, with the same matching as the block form.
inline const Selector<void(id, SEL, id, id)> addObserver_selector_name_object{
    "addObserver:selector:name:object:"};
// Removes the registrations of an observer token or of a target-action observer.
inline const Selector<void(id)> removeObserver{"removeObserver:"};
// Posts to every matching observer in every process; each is called later on the run loop
// with one NSNotification holding the name, the sender and a copy of userInfo.
inline const Selector<void(id, id)> postNotificationName_object{"postNotificationName:object:"};
inline const Selector<void(id, id, id)> postNotificationName_object_userInfo{
    "postNotificationName:object:userInfo:"};
// deliverImmediately concerns suspended observers; delivery is on the run loop either way.
inline const Selector<void(id, id, id, BOOL)>
    postNotificationName_object_userInfo_deliverImmediately{
        "postNotificationName:object:userInfo:deliverImmediately:"};
}  // namespace sel
