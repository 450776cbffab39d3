// UIView and UITableViewCell: rectangles on screen, as far as SpringBoard's lists use them.

#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::uikit {
namespace {

ViewBody& body(id self) {
  return *objc::native<ViewBody>(self);
}

id initWithFrame(id self, SEL, CGRect frame) {
  body(self).frame = frame;
  return self;
}
CGRect frame(id self, SEL) {
  return body(self).frame;
}
void setFrame(id self, SEL, CGRect frame) {
  body(self).frame = frame;
}

}  // namespace

Class UIViewClass() {
  static Class cls = objc::deviceClass("UIView", UIResponderClass(), [](objc::ClassBuilder& b) {
    b.body<ViewBody>()
        .method(sel::initWithFrame, initWithFrame)
        .method(sel::frame, frame)
        .method(sel::setFrame, setFrame);
  });
  return cls;
}

Class UITableViewCellClass() {
  static Class cls =
      objc::deviceClass("UITableViewCell", UIViewClass(), [](objc::ClassBuilder&) {});
  return cls;
}

}  // namespace platform::uikit
