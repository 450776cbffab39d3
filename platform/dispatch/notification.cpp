#include "platform/dispatch/notification.h"

#include "platform/objc/class_builder.h"

namespace platform {
namespace {

struct NotificationBody : objc::NativeBody {
  objc::Strong name;
  objc::Strong object;
  objc::Strong userInfo;
};

NotificationBody& body(id self) {
  return *objc::native<NotificationBody>(self);
}

id initWithNameObjectUserInfo(id self, SEL, id name, id object, id userInfo) {
  body(self).name = name;
  body(self).object = object;
  body(self).userInfo = userInfo;
  return self;
}
id notificationWithNameObjectUserInfo(id cls, SEL, id name, id object, id userInfo) {
  id made = sel::initWithName_object_userInfo(sel::alloc(cls), name, object, userInfo);
  return objc::autorelease(made);
}
id nameOf(id self, SEL) {
  return body(self).name;
}
id objectOf(id self, SEL) {
  return body(self).object;
}
id userInfoOf(id self, SEL) {
  return body(self).userInfo;
}

}  // namespace

Class NSNotificationClass() {
  static Class cls =
      objc::deviceClass("NSNotification", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::initWithName_object_userInfo, initWithNameObjectUserInfo)
            .method(sel::name, nameOf)
            .method(sel::object, objectOf)
            .method(sel::userInfo, userInfoOf)
            .classMethod(sel::notificationWithName_object_userInfo,
                         notificationWithNameObjectUserInfo)
            .body<NotificationBody>();
      });
  return cls;
}

objc::Strong notification(id name, id object, id userInfo) {
  id cls = reinterpret_cast<id>(NSNotificationClass());
  return objc::Strong::adopt(
      sel::initWithName_object_userInfo(sel::alloc(cls), name, object, userInfo));
}

}  // namespace platform
