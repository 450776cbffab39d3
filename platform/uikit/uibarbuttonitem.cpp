#include "platform/uikit/uibarbuttonitem.h"

#include <array>

#include "platform/dispatch/perform.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform::uikit {
namespace {

using objc::Strong;

// The system items in the order of their values: the word shown on those that carry one, the
// name of the symbol on the others.
constexpr std::array<const char*, 24> kSystemItems = {
    "Done",        "Cancel",  "Edit",         "Save",   "Add",      "Flexible Space",
    "Fixed Space", "Compose", "Reply",        "Action", "Organize", "Bookmarks",
    "Search",      "Refresh", "Stop",         "Camera", "Trash",    "Play",
    "Pause",       "Rewind",  "Fast Forward", "Undo",   "Redo",     "Page Curl"};

struct ItemBody : objc::NativeBody {
  long systemItem = -1;  // -1: an item with a title of its own
  long style = 0;
  Strong title;
  id target = nil;  // not retained
  SEL action = nullptr;
  bool enabled = true;
};

ItemBody& item(id self) {
  return *objc::native<ItemBody>(self);
}

id initWithSystemItem(id self, SEL, long systemItem, id target, SEL action) {
  if (systemItem < 0 || systemItem >= static_cast<long>(kSystemItems.size())) {
    objc::release(self);
    NSException::raise(NSInvalidArgumentException,
                       "-[UIBarButtonItem initWithBarButtonSystemItem:target:action:]: " +
                           std::to_string(systemItem) + " is not a system item");
  }
  ItemBody& b = item(self);
  b.systemItem = systemItem;
  b.style = systemItem == UIBarButtonSystemItemDone ? 2 : 1;
  b.target = target;
  b.action = action;
  return self;
}
id initWithTitle(id self, SEL, id title, long style, id target, SEL action) {
  ItemBody& b = item(self);
  b.title = title;
  b.style = style;
  b.target = target;
  b.action = action;
  return self;
}
// A system item has no title of its own, as on the platform.
id title(id self, SEL) {
  return item(self).title;
}
void setTitle(id self, SEL, id title) {
  item(self).title = title;
}
long style(id self, SEL) {
  return item(self).style;
}
id target(id self, SEL) {
  return item(self).target;
}
SEL action(id self, SEL) {
  return item(self).action;
}
BOOL isEnabled(id self, SEL) {
  return item(self).enabled ? YES : NO;
}
void setEnabled(id self, SEL, BOOL enabled) {
  item(self).enabled = enabled != NO;
}

}  // namespace

Class UIBarButtonItemClass() {
  static Class cls =
      objc::deviceClass("UIBarButtonItem", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<ItemBody>()
            .method(sel::initWithBarButtonSystemItem_target_action, initWithSystemItem)
            .method(sel::initWithTitle_style_target_action, initWithTitle)
            .method(sel::title, title)
            .method(sel::setTitle, setTitle)
            .method(sel::style, style)
            .method(sel::target, target)
            .method(sel::action, action)
            .method(sel::isEnabled, isEnabled)
            .method(sel::setEnabled, setEnabled);
      });
  return cls;
}

std::string barButtonShownTitle(id object) {
  auto* b = objc::native<ItemBody>(object);
  if (!b) return "";
  if (b->title) return utf8(b->title);
  return b->systemItem >= 0 ? kSystemItems[static_cast<std::size_t>(b->systemItem)] : "";
}

std::string tapBarButton(id object) {
  auto* b = objc::native<ItemBody>(object);
  if (!b) return "not a bar button item";
  if (!b->enabled) return "the bar button is disabled";
  if (!b->target || !b->action) return "the bar button has no target";
  Strong keep(object);
  dispatch::performWithObject(b->target, b->action, object);
  return "";
}

}  // namespace platform::uikit
