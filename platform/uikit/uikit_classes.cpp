#include "platform/uikit/uikit_classes.h"

#include "platform/objc/class_builder.h"

namespace platform::uikit {
namespace {

objc::Strong& sharedApp() {
  static auto* app = new objc::Strong();
  return *app;
}

id sharedApplication(id, SEL) {
  return sharedApp();
}

}  // namespace

Class UIResponderClass() {
  static Class cls =
      objc::deviceClass("UIResponder", objc::rootClass(), [](objc::ClassBuilder&) {});
  return cls;
}

Class UIApplicationClass() {
  static Class cls = objc::deviceClass(
      "UIApplication", UIResponderClass(),
      [](objc::ClassBuilder& b) { b.classMethod(sel::sharedApplication, sharedApplication); });
  return cls;
}

void setSharedApplication(id application) {
  sharedApp() = application;
}

}  // namespace platform::uikit
