#include "platform/uikit/uiactionsheet.h"

#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform::uikit {
namespace {

struct SheetBody : ModalBody {
  SheetBody() : ModalBody(ModalKind::Sheet) {}
  long destructiveButtonIndex = -1;
};

SheetBody& sheet(id self) {
  return *objc::native<SheetBody>(self);
}

id initWithTitle(id self, SEL, id title, id delegate, id cancelTitle, id destructiveTitle,
                 id otherTitle) {
  self = sel::initWithFrame(self, CGRectZero);
  if (!self) return nil;
  SheetBody& b = sheet(self);
  sel::setTitle(self, title);
  b.delegate = delegate;
  if (destructiveTitle) b.destructiveButtonIndex = sel::addButtonWithTitle(self, destructiveTitle);
  if (otherTitle) sel::addButtonWithTitle(self, otherTitle);
  if (cancelTitle) b.cancelButtonIndex = sel::addButtonWithTitle(self, cancelTitle);
  return self;
}
long destructiveButtonIndex(id self, SEL) {
  return sheet(self).destructiveButtonIndex;
}
void showInView(id self, SEL, id view) {
  if (!view) {
    NSException::raise(NSInternalInconsistencyException,
                       "Invalid parameter not satisfying: view != nil");
  }
  showModal(self, view);
}

}  // namespace

Class UIActionSheetClass() {
  static Class cls = objc::deviceClass("UIActionSheet", UIViewClass(), [](objc::ClassBuilder& b) {
    b.body<SheetBody>();
    addModalMethods(b);
    b.method(sel::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles,
             initWithTitle)
        .method(sel::destructiveButtonIndex, destructiveButtonIndex)
        .method(sel::showInView, showInView);
  });
  return cls;
}

}  // namespace platform::uikit
