#include "platform/preferences/psviewcontroller.h"

#include "platform/objc/class_builder.h"
#include "platform/uikit/uiviewcontroller.h"

namespace platform::preferences {
namespace {

constexpr const char* kSpecifier = "_specifier";

id initForContentSize(id self, SEL, CGSize) {
  return sel::init(self);
}
id specifier(id self, SEL) {
  return objc::objectIvar(self, kSpecifier);
}
void setSpecifier(id self, SEL, id specifier) {
  objc::setObjectIvar(self, kSpecifier, specifier);
}

}  // namespace

Class PSViewControllerClass() {
  static Class cls = objc::deviceClass("PSViewController", uikit::UIViewControllerClass(),
                                       [](objc::ClassBuilder& b) {
                                         b.ivar<id>(kSpecifier)
                                             .method(sel::initForContentSize, initForContentSize)
                                             .method(sel::specifier, specifier)
                                             .method(sel::setSpecifier, setSpecifier);
                                       });
  return cls;
}

}  // namespace platform::preferences
