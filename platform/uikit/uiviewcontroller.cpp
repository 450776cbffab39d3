// UIViewController: owns a view that loadView makes the first time it is asked for, and hears
// when that view is about to come on screen.

#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::uikit {
namespace {

id view(id self, SEL) {
  if (!objc::objectIvar(self, "_view")) sel::loadView(self);
  return objc::objectIvar(self, "_view");
}
void loadView(id self, SEL) {
  objc::Strong made = objc::make(UIViewClass());
  objc::setObjectIvar(self, "_view", made);
}
BOOL isViewLoaded(id self, SEL) {
  return objc::objectIvar(self, "_view") ? YES : NO;
}
void viewWillAppear(id, SEL, BOOL) {}
void viewDidDisappear(id, SEL, BOOL) {}

}  // namespace

Class UIViewControllerClass() {
  static Class cls =
      objc::deviceClass("UIViewController", UIResponderClass(), [](objc::ClassBuilder& b) {
        b.ivar<id>("_view")
            .method(sel::view, view)
            .method(sel::loadView, loadView)
            .method(sel::isViewLoaded, isViewLoaded)
            .method(sel::viewWillAppear, viewWillAppear)
            .method(sel::viewDidDisappear, viewDidDisappear);
      });
  return cls;
}

}  // namespace platform::uikit
