// UIViewController: its view, its title and navigation item, and presenting and dismissing.
// Its state lives in instance variables (as UIKit's does), so that subclasses are free to give
// themselves a native body of their own.

#include "platform/uikit/uiviewcontroller.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/foundation/nslog.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/transitions.h"
#include "platform/uikit/uiapplication.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uinavigationcontroller.h"
#include "platform/uikit/uiview.h"
#include "platform/uikit/uiwindow.h"

namespace platform::uikit {
namespace {

using objc::Strong;

// The not-retained references, kept in pointer-typed instance variables.
id weakIvar(id self, const char* name) {
  Ivar ivar = class_getInstanceVariable(object_getClass(self), name);
  return ivar ? *reinterpret_cast<id*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar)) : nil;
}
void setWeakIvar(id self, const char* name, id value) {
  Ivar ivar = class_getInstanceVariable(object_getClass(self), name);
  if (ivar) *reinterpret_cast<id*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar)) = value;
}

constexpr const char* kView = "_view";
constexpr const char* kTitle = "_title";
constexpr const char* kNavigationItem = "_navigationItem";
constexpr const char* kPresented = "_presentedViewController";
constexpr const char* kPresenting = "_presentingViewController";
constexpr const char* kParent = "_parentViewController";
constexpr const char* kPresentationOrder = "_presentationStackingOrder";

std::string describe(id object) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<void*>(object));
  return std::string("<") + objc::className(object) + ": " + address + ">";
}

std::uint64_t* presentationOrderSlot(id controller) {
  Ivar ivar = class_getInstanceVariable(object_getClass(controller), kPresentationOrder);
  return ivar ? reinterpret_cast<std::uint64_t*>(reinterpret_cast<char*>(controller) +
                                                 ivar_getOffset(ivar))
              : nullptr;
}
void setPresentationOrder(id controller, std::uint64_t order) {
  if (auto* slot = presentationOrderSlot(controller)) *slot = order;
}

// The controller's outermost container: the one that presents and is presented for it.
id outermost(id controller) {
  while (id parent = weakIvar(controller, kParent)) controller = parent;
  return controller;
}

// Sends an appearance message to the controller and to the child it shows.
void sendAppearance(const objc::Selector<void(BOOL)>& message, id controller, BOOL animated) {
  message(controller, animated);
  if (objc::isKindOf(controller, UINavigationControllerClass())) {
    if (id top = sel::topViewController(controller)) sendAppearance(message, top, animated);
  }
}

id view(id self, SEL) {
  if (!objc::objectIvar(self, kView)) {
    sel::loadView(self);
    if (objc::objectIvar(self, kView)) sel::viewDidLoad(self);
  }
  return objc::objectIvar(self, kView);
}
void setView(id self, SEL, id view) {
  objc::setObjectIvar(self, kView, view);
}
void loadView(id self, SEL) {
  objc::setObjectIvar(self, kView, makeView(UIViewClass(), mainScreenBounds()));
}
void viewDidLoad(id, SEL) {}
BOOL isViewLoaded(id self, SEL) {
  return objc::objectIvar(self, kView) ? YES : NO;
}
void appearance(id, SEL, BOOL) {}
void viewDidUnload(id, SEL) {}
id title(id self, SEL) {
  return objc::objectIvar(self, kTitle);
}
void setTitle(id self, SEL, id title) {
  objc::setObjectIvar(self, kTitle, title);
  if (id item = objc::objectIvar(self, kNavigationItem)) sel::setTitle(item, title);
}
id navigationItem(id self, SEL) {
  if (!objc::objectIvar(self, kNavigationItem)) {
    Strong item = Strong::adopt(sel::initWithTitle(
        sel::alloc(reinterpret_cast<id>(UINavigationItemClass())), objc::objectIvar(self, kTitle)));
    objc::setObjectIvar(self, kNavigationItem, item);
  }
  return objc::objectIvar(self, kNavigationItem);
}
id navigationController(id self, SEL) {
  for (id up = weakIvar(self, kParent); up; up = weakIvar(up, kParent)) {
    if (objc::isKindOf(up, UINavigationControllerClass())) return up;
  }
  return nil;
}
id parentViewController(id self, SEL) {
  return weakIvar(self, kParent);
}
id presentedViewController(id self, SEL) {
  return objc::objectIvar(outermost(self), kPresented);
}
id presentingViewController(id self, SEL) {
  return weakIvar(outermost(self), kPresenting);
}

void present(id self, SEL, id controller, BOOL animated, sel::CompletionBlock completion) {
  if (!controller) {
    NSException::raise(NSInvalidArgumentException,
                       "Application tried to present a nil modal view controller on target " +
                           describe(self) + ".");
  }
  id presenter = outermost(self);
  if (controller == presenter || weakIvar(outermost(controller), kPresenting) ||
      weakIvar(controller, kParent)) {
    NSException::raise(
        NSInvalidArgumentException,
        "Application tried to present modally an active controller " + describe(controller) + ".");
  }
  if (id already = objc::objectIvar(presenter, kPresented)) {
    NSLog("Warning: Attempt to present %s on %s which is already presenting %s",
          describe(controller).c_str(), describe(presenter).c_str(), describe(already).c_str());
    return;
  }
  id window = sel::isViewLoaded(presenter) ? sel::window(sel::view(presenter)) : nil;
  if (!window || sel::isHidden(window)) {
    NSLog("Warning: Attempt to present %s on %s whose view is not in the window hierarchy!",
          describe(controller).c_str(), describe(presenter).c_str());
    return;
  }
  Strong shown(controller);
  objc::setObjectIvar(presenter, kPresented, controller);
  setWeakIvar(controller, kPresenting, presenter);
  setPresentationOrder(controller, nextStackingOrder());
  id shownView = sel::view(controller);
  sel::setFrame(shownView, sel::bounds(window));
  sel::addSubview(window, shownView);
  sendAppearance(sel::viewWillAppear, controller, animated);
  sel::layoutIfNeeded(shownView);
  endTransition(animated != NO, [shown, animated, completion] {
    sendAppearance(sel::viewDidAppear, shown, animated);
    if (completion) completion();
  });
}

void dismiss(id self, SEL, BOOL animated, sel::CompletionBlock completion) {
  id root = outermost(self);
  id target = objc::objectIvar(root, kPresented);
  if (!target && weakIvar(root, kPresenting)) target = root;
  if (!target) return;
  id presenter = weakIvar(target, kPresenting);
  std::vector<Strong> chain;  // the target and what it presents in turn, bottom to top
  for (id c = target; c; c = objc::objectIvar(c, kPresented)) chain.emplace_back(c);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    sendAppearance(sel::viewWillDisappear, *it, animated);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (sel::isViewLoaded(*it)) sel::removeFromSuperview(sel::view(*it));
    setWeakIvar(*it, kPresenting, nil);
    objc::setObjectIvar(*it, kPresented, nil);
  }
  objc::setObjectIvar(presenter, kPresented, nil);
  endTransition(animated != NO, [chain, animated, completion] {
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
      sendAppearance(sel::viewDidDisappear, *it, animated);
    if (completion) completion();
  });
}

BOOL shouldAutorotate(id, SEL, long orientation) {
  return orientation == 1 ? YES : NO;  // UIInterfaceOrientationPortrait
}
long preferredStatusBarStyle(id, SEL) {
  return 0;
}

// The controller it presents must not keep pointing back at it once it is gone.
void dealloc(id self, SEL cmd) {
  if (id presented = objc::objectIvar(self, kPresented)) setWeakIvar(presented, kPresenting, nil);
  IMP inherited = class_getMethodImplementation(UIResponderClass(), cmd);
  reinterpret_cast<void (*)(id, SEL)>(inherited)(self, cmd);
}

}  // namespace

Class UIViewControllerClass() {
  static Class cls =
      objc::deviceClass("UIViewController", UIResponderClass(), [](objc::ClassBuilder& b) {
        b.ivar<id>(kView)
            .ivar<id>(kTitle)
            .ivar<id>(kNavigationItem)
            .ivar<id>(kPresented)
            .ivar<void*>(kPresenting)
            .ivar<void*>(kParent)
            .ivar<std::uint64_t>(kPresentationOrder)
            .method(sel::view, view)
            .method(sel::setView, setView)
            .method(sel::loadView, loadView)
            .method(sel::viewDidLoad, viewDidLoad)
            .method(sel::isViewLoaded, isViewLoaded)
            .method(sel::viewWillAppear, appearance)
            .method(sel::viewDidAppear, appearance)
            .method(sel::viewWillDisappear, appearance)
            .method(sel::viewDidDisappear, appearance)
            .method(sel::viewDidUnload, viewDidUnload)
            .method(sel::title, title)
            .method(sel::setTitle, setTitle)
            .method(sel::navigationItem, navigationItem)
            .method(sel::navigationController, navigationController)
            .method(sel::parentViewController, parentViewController)
            .method(sel::presentViewController_animated_completion, present)
            .method(sel::dismissViewControllerAnimated_completion, dismiss)
            .method(sel::presentedViewController, presentedViewController)
            .method(sel::presentingViewController, presentingViewController)
            .method(sel::shouldAutorotateToInterfaceOrientation, shouldAutorotate)
            .method(sel::preferredStatusBarStyle, preferredStatusBarStyle)
            .method(sel::dealloc, dealloc);
      });
  return cls;
}

void setParentViewController(id child, id parent) {
  setWeakIvar(child, kParent, parent);
}

std::uint64_t presentationStackingOrder(id controller) {
  auto* slot = controller && objc::isKindOf(controller, UIViewControllerClass())
                   ? presentationOrderSlot(controller)
                   : nullptr;
  return slot ? *slot : 0;
}

std::vector<id> controllersShownIn(id window) {
  std::vector<id> shown;
  for (id c = sel::rootViewController(window); c; c = objc::objectIvar(c, kPresented))
    shown.push_back(c);
  return shown;
}

}  // namespace platform::uikit
