#include "platform/uikit/uinavigationcontroller.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/foundation/nsarray.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/transitions.h"
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
// Puts `top`'s view in `container`, under the bar.
void showContent(id container, id top) {
  CGRect screen = mainScreenBounds();
  id content = sel::view(top);
  double below = kStatusBarHeight + kBarHeight;
  sel::setFrame(content, CGRectMake(0, below, screen.size.width, screen.size.height - below));
  sel::insertSubview_atIndex(container, content, 0);
}

// The container view: the top controller's view under the bar.
void loadView(id self, SEL) {
  Strong container = makeView(UIViewClass(), mainScreenBounds());
  sel::addSubview(container, navigationBar(self, nullptr));
  if (id top = topViewController(self, nullptr)) showContent(container, top);
  sel::setView(self, container);
}

std::string describe(id object) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<void*>(object));
  return std::string("<") + objc::className(object) + ": " + address + ">";
}

// Whether the container is in a shown window, where its controllers appear and disappear.
bool onScreen(id self) {
  if (!sel::isViewLoaded(self)) return false;
  id window = sel::window(sel::view(self));
  return window && !sel::isHidden(window);
}

// Shows the new top controller in place of `leaving` (which has left the stack), telling both.
void changeTop(id self, Strong leaving, BOOL animated) {
  if (!sel::isViewLoaded(self)) return;  // the container shows the top when it loads
  Strong coming(topViewController(self, nullptr));
  bool appearing = onScreen(self);
  if (coming) sel::view(coming);  // loaded before it is told it will appear
  if (appearing) {
    sel::viewWillDisappear(leaving, animated);
    sel::viewWillAppear(coming, animated);
  }
  if (sel::isViewLoaded(leaving) && sel::superview(sel::view(leaving)) == sel::view(self))
    sel::removeFromSuperview(sel::view(leaving));
  if (coming) showContent(sel::view(self), coming);
  if (!appearing) return;
  sel::layoutIfNeeded(sel::view(self));
  endTransition(animated != NO, [leaving, coming, animated] {
    sel::viewDidDisappear(leaving, animated);
    sel::viewDidAppear(coming, animated);
  });
}

void push(id self, SEL, id controller, BOOL animated) {
  if (!controller) {
    NSException::raise(
        NSInvalidArgumentException,
        "Application tried to push a nil view controller on target " + describe(self) + ".");
  }
  auto& stack = navigation(self).stack;
  if (std::any_of(stack.begin(), stack.end(), [&](const Strong& c) { return c == controller; })) {
    NSException::raise(NSInvalidArgumentException,
                       "Pushing the same view controller instance more than once is not "
                       "supported (" +
                           describe(controller) + ")");
  }
  if (sel::parentViewController(controller)) {
    NSException::raise(NSInvalidArgumentException,
                       "Cannot push " + describe(controller) + ": another container holds it");
  }
  Strong leaving(topViewController(self, nullptr));
  stack.emplace_back(controller);
  setParentViewController(controller, self);
  changeTop(self, leaving, animated);
}

// Takes the controllers above index `keep` off the stack, bottom first.
std::vector<Strong> popAbove(id self, std::size_t keep, BOOL animated) {
  auto& stack = navigation(self).stack;
  if (stack.size() <= keep + 1) return {};
  std::vector<Strong> popped(stack.begin() + static_cast<long>(keep) + 1, stack.end());
  stack.resize(keep + 1);
  for (const Strong& c : popped) setParentViewController(c, nil);
  changeTop(self, popped.back(), animated);
  return popped;
}

id pop(id self, SEL, BOOL animated) {
  auto& stack = navigation(self).stack;
  if (stack.size() < 2) return nil;
  std::vector<Strong> popped = popAbove(self, stack.size() - 2, animated);
  return objc::autorelease(popped.back().leak());
}

id popToRoot(id self, SEL, BOOL animated) {
  Strong list = mutableArray();
  for (const Strong& c : popAbove(self, 0, animated)) sel::addObject(list, c);
  return objc::autorelease(list.leak());
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
  static Class cls = objc::deviceClass(
      "UINavigationController", UIViewControllerClass(), [](objc::ClassBuilder& b) {
        b.body<NavigationBody>()
            .method(sel::initWithRootViewController, initWithRoot)
            .method(sel::topViewController, topViewController)
            .method(sel::viewControllers, viewControllers)
            .method(sel::navigationBar, navigationBar)
            .method(sel::pushViewController_animated, push)
            .method(sel::popViewControllerAnimated, pop)
            .method(sel::popToRootViewControllerAnimated, popToRoot)
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
