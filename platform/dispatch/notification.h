#pragma once
// NSNotification: what an observer receives, a name with the object that sent it and a
// dictionary of details.

#include "platform/objc/object.h"

namespace platform {

// The class "NSNotification".
Class NSNotificationClass();

// A new notification holding `name`, `object` and `userInfo` as given (retained).
objc::Strong notification(id name, id object, id userInfo);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
// A new autoreleased notification (class method); the init form returns it +1.
inline const Selector<id(id, id, id)> notificationWithName_object_userInfo{
    "notificationWithName:object:userInfo:"};
inline const Selector<id(id, id, id)> initWithName_object_userInfo{"initWithName:object:userInfo:"};
// The notification's name, its sender object and its details dictionary (nil when none).
inline const Selector<id()> name{"name"};
inline const Selector<id()> object{"object"};
inline const Selector<id()> userInfo{"userInfo"};
}  // namespace sel
