#include "platform/springboard/lock_screen_manager.h"

#include "platform/objc/class_builder.h"

namespace platform::springboard {
namespace {

struct ManagerBody : objc::NativeBody {
  bool uiLocked = true;  // SpringBoard comes up on the lock screen
};

objc::Strong& shared() {
  static auto* instance = new objc::Strong();
  return *instance;
}

id sharedInstance(id, SEL) {
  if (!shared()) shared() = objc::make(SBLockScreenManagerClass());
  return shared();
}
BOOL isUILocked(id self, SEL) {
  return objc::native<ManagerBody>(self)->uiLocked ? YES : NO;
}

}  // namespace

Class SBLockScreenManagerClass() {
  static Class cls =
      objc::deviceClass("SBLockScreenManager", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<ManagerBody>()
            .classMethod(sbsel::sharedInstance, sharedInstance)
            .method(sbsel::isUILocked, isUILocked);
      });
  return cls;
}

void setLockScreenUp(bool up) {
  objc::native<ManagerBody>(sharedInstance(nil, nullptr))->uiLocked = up;
}

bool lockScreenIsUp() {
  return objc::native<ManagerBody>(sharedInstance(nil, nullptr))->uiLocked;
}

void resetLockScreenManager() {
  shared().reset();
}

}  // namespace platform::springboard
