#include "platform/uikit/uinavigationcontroller.h"

#include <vector>

#include "platform/foundation/nsarray.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uiview.h"
#include "platform/uikit/uiviewcontroller.h"

namespace platform::uikit {
namespace {

using objc::Strong;

// The bar's height and where it sits, under the status bar.
constexpr double kStatusBarHeight = 20;
constexpr double kBarHeight = 44;

struct NavigationBody : objc::NativeBody {
  // Children no longer point back at a container that has gone.
  ~NavigationBody() override {
    for (const Strong& child : stack) setParentViewController(child, nil);
  }
  std::vector<Strong> stack;  // bottom first
  Strong bar;
};

NavigationBody& navigation(id self) {
  return *objc::native<NavigationBody>(self);
}

id initWithRoot(id self, SEL, id root) {
  self = sel::init(self);
  if (!self) return nil;
  if (root) {
    navigation(self).stack.emplace_back(root);
    setParentViewController(root, self);
  }
  return self;
}
id topViewController(id self, SEL) {
  const auto& stack = navigation(self).stack;
  return stack.empty() ? nil : stack.back().get();
}
id viewControllers(id self, SEL) {
  Strong list = mutableArray();
  for (const Strong& c : navigation(self).stack) sel::addObject(list, c);
  return objc::autorelease(list.leak());
}
id navigationBar(id self, SEL) {
  NavigationBody& b = navigation(self);
  if (!b.bar) {
    CGRect screen = mainScreenBounds();
    b.bar = makeView(UINavigationBarClass(),
                     CGRectMake(0, kStatusBarHeight, screen.size.width, kBarHeight));
  }
  return b.bar;
}
// The container view: the top controller's view under the bar.
void loadView(id self, SEL) {
  CGRect screen = mainScreenBounds();
  Strong container = makeView(UIViewClass(), screen);
  if (id top = topViewController(self, nullptr)) {
    id content = sel::view(top);
    double below = kStatusBarHeight + kBarHeight;
    sel::setFrame(content, CGRectMake(0, below, screen.size.width, screen.size.height - below));
    sel::addSubview(container, content);
  }
  sel::addSubview(container, navigationBar(self, nullptr));
  sel::setView(self, container);
}

// UINavigationBar.

struct BarBody : ViewBody {
  long barStyle = 0;
  bool translucent = true;
};

BarBody& bar(id self) {
  return *objc::native<BarBody>(self);
}
long barStyle(id self, SEL) {
  return bar(self).barStyle;
}
void setBarStyle(id self, SEL, long style) {
  bar(self).barStyle = style;
}
BOOL isTranslucent(id self, SEL) {
  return bar(self).translucent ? YES : NO;
}
void setTranslucent(id self, SEL, BOOL translucent) {
  bar(self).translucent = translucent != NO;
}

// UINavigationItem.

struct ItemBody : objc::NativeBody {
  Strong title;
  Strong left;
  Strong right;
};

ItemBody& item(id self) {
  return *objc::native<ItemBody>(self);
}
id itemInitWithTitle(id self, SEL, id title) {
  item(self).title = title;
  return self;
}
id itemTitle(id self, SEL) {
  return item(self).title;
}
void itemSetTitle(id self, SEL, id title) {
  item(self).title = title;
}
id left(id self, SEL) {
  return item(self).left;
}
void setLeft(id self, SEL, id button) {
  item(self).left = button;
}
id right(id self, SEL) {
  return item(self).right;
}
void setRight(id self, SEL, id button) {
  item(self).right = button;
}

}  // namespace

Class UINavigationControllerClass() {
  static Class cls = objc::deviceClass("UINavigationController", UIViewControllerClass(),
                                       [](objc::ClassBuilder& b) {
                                         b.body<NavigationBody>()
                                             .method(sel::initWithRootViewController, initWithRoot)
                                             .method(sel::topViewController, topViewController)
                                             .method(sel::viewControllers, viewControllers)
                                             .method(sel::navigationBar, navigationBar)
                                             .method(sel::loadView, loadView);
                                       });
  return cls;
}

Class UINavigationBarClass() {
  static Class cls = objc::deviceClass("UINavigationBar", UIViewClass(), [](objc::ClassBuilder& b) {
    b.body<BarBody>()
        .method(sel::barStyle, barStyle)
        .method(sel::setBarStyle, setBarStyle)
        .method(sel::isTranslucent, isTranslucent)
        .method(sel::setTranslucent, setTranslucent);
  });
  return cls;
}

Class UINavigationItemClass() {
  static Class cls =
      objc::deviceClass("UINavigationItem", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<ItemBody>()
            .method(sel::initWithTitle, itemInitWithTitle)
            .method(sel::title, itemTitle)
            .method(sel::setTitle, itemSetTitle)
            .method(sel::leftBarButtonItem, left)
            .method(sel::setLeftBarButtonItem, setLeft)
            .method(sel::rightBarButtonItem, right)
            .method(sel::setRightBarButtonItem, setRight);
      });
  return cls;
}

}  // namespace platform::uikit
