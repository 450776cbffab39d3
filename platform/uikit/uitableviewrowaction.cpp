#include "platform/uikit/uitableviewrowaction.h"

#include "platform/objc/class_builder.h"
#include "platform/uikit/uicolor.h"

namespace platform::uikit {
namespace {

using objc::Strong;

struct RowActionBody : objc::NativeBody {
  long style = UITableViewRowActionStyleDefault;
  Strong title;
  Strong backgroundColor;  // nil: the style's colour
  sel::RowActionHandler handler;
};

RowActionBody& action(id self) {
  return *objc::native<RowActionBody>(self);
}

id rowAction(id cls, SEL, long style, id title, sel::RowActionHandler handler) {
  id made = sel::init(sel::alloc(cls));
  RowActionBody& b = action(made);
  b.style = style;
  b.title = Strong::adopt(sel::copy(title));
  b.handler = std::move(handler);
  return objc::autorelease(made);
}
long style(id self, SEL) {
  return action(self).style;
}
id title(id self, SEL) {
  return action(self).title;
}
void setTitle(id self, SEL, id title) {
  action(self).title = Strong::adopt(sel::copy(title));
}
// The colour set, else the style's: the platform's red for Default, its grey for Normal.
id backgroundColor(id self, SEL) {
  RowActionBody& b = action(self);
  if (!b.backgroundColor) {
    return b.style == UITableViewRowActionStyleNormal
               ? objc::autorelease(uicolor(199.0 / 255, 199.0 / 255, 204.0 / 255, 1).leak())
               : objc::autorelease(uicolor(1.0, 59.0 / 255, 48.0 / 255, 1).leak());
  }
  return b.backgroundColor;
}
void setBackgroundColor(id self, SEL, id color) {
  action(self).backgroundColor = color;
}

}  // namespace

Class UITableViewRowActionClass() {
  static Class cls =
      objc::deviceClass("UITableViewRowAction", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<RowActionBody>()
            .classMethod(sel::rowActionWithStyle_title_handler, rowAction)
            .method(sel::style, style)
            .method(sel::title, title)
            .method(sel::setTitle, setTitle)
            .method(sel::backgroundColor, backgroundColor)
            .method(sel::setBackgroundColor, setBackgroundColor);
      });
  return cls;
}

bool runRowActionHandler(id object, id indexPath) {
  auto* b = objc::native<RowActionBody>(object);
  if (!b) return false;
  Strong keep(object);
  Strong path(indexPath);
  sel::RowActionHandler handler = b->handler;  // the handler may drop the action
  if (handler) handler(object, path);
  return true;
}

}  // namespace platform::uikit
