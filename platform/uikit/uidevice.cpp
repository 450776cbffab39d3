#include "platform/uikit/uidevice.h"

#include "platform/objc/class_builder.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {
namespace {

UIUserInterfaceIdiom gIdiom = UIUserInterfaceIdiomPhone;

// One object for the life of the host process, as the platform's singletons are.
id singleton(Class cls) {
  return objc::make(cls).leak();
}

id currentDevice(id, SEL) {
  static id device = singleton(UIDeviceClass());
  return device;
}
long userInterfaceIdiom(id, SEL) {
  return gIdiom;
}
id mainScreen(id, SEL) {
  static id screen = singleton(UIScreenClass());
  return screen;
}
CGRect screenBounds(id, SEL) {
  return mainScreenBounds();
}
double scale(id, SEL) {
  return 2.0;
}

}  // namespace

Class UIDeviceClass() {
  static Class cls = objc::deviceClass("UIDevice", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.classMethod(sel::currentDevice, currentDevice)
        .method(sel::userInterfaceIdiom, userInterfaceIdiom);
  });
  return cls;
}

Class UIScreenClass() {
  static Class cls = objc::deviceClass("UIScreen", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.classMethod(sel::mainScreen, mainScreen)
        .method(sel::bounds, screenBounds)
        .method(sel::scale, scale);
  });
  return cls;
}

bool setDeviceIdiom(long idiom) {
  if (idiom != UIUserInterfaceIdiomPhone && idiom != UIUserInterfaceIdiomPad) return false;
  gIdiom = static_cast<UIUserInterfaceIdiom>(idiom);
  return true;
}

UIUserInterfaceIdiom deviceIdiom() {
  return gIdiom;
}

CGRect mainScreenBounds() {
  return gIdiom == UIUserInterfaceIdiomPad ? CGRectMake(0, 0, 768, 1024)
                                           : CGRectMake(0, 0, 320, 568);
}

}  // namespace platform::uikit
