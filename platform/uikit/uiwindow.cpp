// UIWindow: the shown windows of every process, their stacking, and each process's key window.

#include "platform/uikit/uiwindow.h"

#include <algorithm>
#include <map>

#include "platform/objc/class_builder.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uiviewcontroller.h"

namespace platform::uikit {
namespace {

using objc::Strong;

struct WindowBody : ViewBody {
  WindowBody() { hidden = true; }
  ~WindowBody() override;

  id self = nil;  // set as the window registers (the body cannot find it as it goes)
  double level = UIWindowLevelNormal;
  bool secure = false;
  bool gone = false;  // its process has ended
  std::uint64_t shownOrder = 0;
  Strong screen;
  Strong rootViewController;
};

struct Registry {
  std::vector<id> windows;  // every registered window, not retained
  // Each process's windows in the order they were made key; the last is the key window.
  std::map<ProcessId, std::vector<id>> keyHistory;
  std::uint64_t stacking = 0;
};

Registry& registry() {
  static auto* r = new Registry();
  return *r;
}

WindowBody* windowBody(id object) {
  return objc::native<WindowBody>(object);
}
WindowBody& body(id self) {
  return *windowBody(self);
}

void removeFrom(std::vector<id>& list, id window) {
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

// Takes `window` out of its process's key history; when it was the key window, the window key
// before it becomes key again.
void giveUpKey(id window, ProcessId pid) {
  // A window going after its process ended must not bring the process's history back.
  auto known = registry().keyHistory.find(pid);
  if (known == registry().keyHistory.end()) return;
  auto& history = known->second;
  bool wasKey = !history.empty() && history.back() == window;
  removeFrom(history, window);
  if (wasKey && !history.empty()) sel::becomeKeyWindow(history.back());
}

WindowBody::~WindowBody() {
  if (!self) return;
  removeFrom(registry().windows, self);
  giveUpKey(self, process);
}

void registerWindow(id self) {
  WindowBody& b = body(self);
  if (b.self) return;
  b.self = self;
  registry().windows.push_back(self);
}

// The root controller's view fills the shown window, behind what is presented over it.
void installRoot(id self) {
  id root = body(self).rootViewController;
  if (!root) return;
  id view = sel::view(root);
  sel::setFrame(view, sel::bounds(self));
  if (sel::superview(view) == self) return;
  sel::insertSubview_atIndex(self, view, 0);
  sel::viewWillAppear(root, NO);
  sel::layoutIfNeeded(self);
  sel::viewDidAppear(root, NO);
}

id initWithFrame(id self, SEL, CGRect frame) {
  WindowBody& b = body(self);
  b.frame = frame;
  b.screen = sel::mainScreen(reinterpret_cast<id>(UIScreenClass()));
  registerWindow(self);
  return self;
}
double windowLevel(id self, SEL) {
  return body(self).level;
}
void setWindowLevel(id self, SEL, double level) {
  body(self).level = level;
}
id screen(id self, SEL) {
  return body(self).screen;
}
void setScreen(id self, SEL, id screen) {
  body(self).screen = screen;
}
void setSecure(id self, SEL, BOOL secure) {
  body(self).secure = secure != NO;
}
void setHidden(id self, SEL, BOOL hidden) {
  WindowBody& b = body(self);
  if (b.gone || (hidden != NO) == b.hidden) return;
  registerWindow(self);
  b.hidden = hidden != NO;
  if (b.hidden) {
    giveUpKey(self, b.process);
    return;
  }
  b.shownOrder = nextStackingOrder();
  installRoot(self);
}
void makeKeyWindow(id self, SEL) {
  WindowBody& b = body(self);
  if (b.gone) return;
  registerWindow(self);
  auto& history = registry().keyHistory[b.process];
  id previous = history.empty() ? nil : history.back();
  if (previous == self) return;
  removeFrom(history, self);
  history.push_back(self);
  if (previous) sel::resignKeyWindow(previous);
  sel::becomeKeyWindow(self);
}
void makeKeyAndVisible(id self, SEL) {
  sel::makeKeyWindow(self);
  sel::setHidden(self, NO);
}
void becomeKeyWindow(id, SEL) {}
void resignKeyWindow(id self, SEL) {
  WindowBody& b = body(self);
  auto& history = registry().keyHistory[b.process];
  if (!history.empty() && history.back() == self) giveUpKey(self, b.process);
}
BOOL isKeyWindow(id self, SEL) {
  return keyWindowOf(body(self).process) == self ? YES : NO;
}
id rootViewController(id self, SEL) {
  return body(self).rootViewController;
}
void setRootViewController(id self, SEL, id controller) {
  WindowBody& b = body(self);
  if (b.rootViewController.get() == controller) return;
  if (id old = b.rootViewController) {
    if (sel::isViewLoaded(old) && sel::superview(sel::view(old)) == self)
      sel::removeFromSuperview(sel::view(old));
  }
  b.rootViewController = controller;
  if (!b.hidden) installRoot(self);
}

// A process that ends takes its windows off the screen.
void dropWindowsOf(ProcessId pid) {
  Registry& r = registry();
  std::vector<id> windows = r.windows;
  for (id window : windows) {
    WindowBody& b = body(window);
    if (b.process != pid) continue;
    b.gone = true;
    b.hidden = true;
    removeFrom(r.windows, window);
  }
  r.keyHistory.erase(pid);
}

bool stacksBelow(id a, id b) {
  WindowBody& x = body(a);
  WindowBody& y = body(b);
  if (x.level != y.level) return x.level < y.level;
  return x.shownOrder < y.shownOrder;
}

}  // namespace

Class UIWindowClass() {
  static Class cls = objc::deviceClass("UIWindow", UIViewClass(), [](objc::ClassBuilder& b) {
    static int exitToken = onProcessExit(dropWindowsOf);
    (void)exitToken;
    b.body<WindowBody>()
        .method(sel::initWithFrame, initWithFrame)
        .method(sel::windowLevel, windowLevel)
        .method(sel::setWindowLevel, setWindowLevel)
        .method(sel::screen, screen)
        .method(sel::setScreen, setScreen)
        .method(sel::setSecure, setSecure)
        .method(sel::setHidden, setHidden)
        .method(sel::makeKeyWindow, makeKeyWindow)
        .method(sel::makeKeyAndVisible, makeKeyAndVisible)
        .method(sel::becomeKeyWindow, becomeKeyWindow)
        .method(sel::resignKeyWindow, resignKeyWindow)
        .method(sel::isKeyWindow, isKeyWindow)
        .method(sel::rootViewController, rootViewController)
        .method(sel::setRootViewController, setRootViewController);
  });
  return cls;
}

id keyWindowOf(ProcessId pid) {
  auto& history = registry().keyHistory;
  auto it = history.find(pid);
  return it == history.end() || it->second.empty() ? nil : it->second.back();
}

std::vector<id> windowsOf(ProcessId pid) {
  std::vector<id> list;
  for (id window : registry().windows) {
    if (body(window).process == pid) list.push_back(window);
  }
  std::stable_sort(list.begin(), list.end(), stacksBelow);
  return list;
}

std::vector<id> shownWindows() {
  std::vector<id> list;
  for (id window : registry().windows) {
    if (!body(window).hidden) list.push_back(window);
  }
  std::stable_sort(list.begin(), list.end(), stacksBelow);
  return list;
}

bool windowIsSecure(id window) {
  WindowBody* b = windowBody(window);
  return b && b->secure;
}

std::uint64_t windowShownOrder(id window) {
  WindowBody* b = windowBody(window);
  return b ? b->shownOrder : 0;
}

std::uint64_t nextStackingOrder() {
  return ++registry().stacking;
}

}  // namespace platform::uikit
