// UIWindow and the application's key window, UIScreen and UIDevice: windows made key and shown,
// the key passing back as they go, stacking by level, and the kind of device.

#include "platform/foundation/nsarray.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

// A window that logs becoming and resigning key, by its tag.
void becameKey(id self, SEL) {
  probeLog().push_back("become " + std::to_string(sel::tag(self)));
}
void resigned(id self, SEL cmd) {
  probeLog().push_back("resign " + std::to_string(sel::tag(self)));
  IMP inherited = class_getMethodImplementation(UIWindowClass(), cmd);
  reinterpret_cast<void (*)(id, SEL)>(inherited)(self, cmd);
}
Class windowClass() {
  static Class cls =
      objc::deviceClass("WindowTestWindow", UIWindowClass(), [](objc::ClassBuilder& b) {
        b.method(sel::becomeKeyWindow, becameKey).method(sel::resignKeyWindow, resigned);
      });
  return cls;
}

// A root controller that logs its view's appearance.
void appearing(id, SEL cmd, BOOL) {
  probeLog().push_back(sel_getName(cmd));
}
Class rootControllerClass() {
  static Class cls =
      objc::deviceClass("WindowTestRoot", UIViewControllerClass(), [](objc::ClassBuilder& b) {
        b.method(sel::viewWillAppear, appearing).method(sel::viewDidAppear, appearing);
      });
  return cls;
}

class UIWindowTest : public test::UIKitTest {
 protected:
  Strong window(long tag, double level = UIWindowLevelNormal) {
    Strong w = makeView(windowClass(), mainScreenBounds());
    sel::setTag(w, tag);
    sel::setWindowLevel(w, level);
    return w;
  }
  id key() { return keyWindowOf(app()); }
  std::vector<long> tags(const std::vector<id>& windows) {
    std::vector<long> list;
    for (id w : windows) list.push_back(sel::tag(w));
    return list;
  }
};

TEST_F(UIWindowTest, AWindowStartsHiddenAndMakeKeyAndVisibleShowsItAsTheKeyWindow) {
  Strong main = window(1);
  EXPECT_TRUE(sel::isHidden(main));
  EXPECT_FALSE(sel::isKeyWindow(main));
  EXPECT_EQ(key(), nil);
  EXPECT_EQ(sel::screen(main), sel::mainScreen(reinterpret_cast<id>(UIScreenClass())));
  sel::makeKeyAndVisible(main);
  EXPECT_FALSE(sel::isHidden(main));
  EXPECT_TRUE(sel::isKeyWindow(main));
  EXPECT_EQ(key(), main.get());
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"become 1"}));

  Strong application = objc::make(UIApplicationClass());
  EXPECT_EQ(sel::keyWindow(application), main.get());
  EXPECT_EQ(sel::count(sel::windows(application)), 1u);
}

TEST_F(UIWindowTest, TheKeyPassesBackToTheWindowKeyBeforeWhicheverWayTheNewOneGoes) {
  enum class Way { Resign, Hide, Release };
  for (Way way : {Way::Resign, Way::Hide, Way::Release}) {
    Strong main = window(1);
    sel::makeKeyAndVisible(main);
    Strong overlay = window(2, UIWindowLevelStatusBar - 1.0);
    probeLog().clear();
    sel::makeKeyAndVisible(overlay);
    EXPECT_EQ(key(), overlay.get());
    EXPECT_FALSE(sel::isKeyWindow(main));
    EXPECT_EQ(probeLog(), (std::vector<std::string>{"resign 1", "become 2"}));
    probeLog().clear();
    switch (way) {
      case Way::Resign:
        sel::resignKeyWindow(overlay);
        break;
      case Way::Hide:
        sel::setHidden(overlay, YES);
        break;
      case Way::Release:
        overlay.reset();
        break;
    }
    EXPECT_EQ(key(), main.get()) << static_cast<int>(way);
    EXPECT_EQ(probeLog().back(), "become 1") << static_cast<int>(way);
  }
}

TEST_F(UIWindowTest, TheApplicationDoesNotKeepAWindowAlive) {
  Strong w = window(1);
  sel::makeKeyAndVisible(w);
  EXPECT_EQ(objc::retainCount(w), 1u);
  w.reset();
  EXPECT_EQ(key(), nil);
  EXPECT_TRUE(windowsOf(app()).empty());
  EXPECT_TRUE(shownWindows().empty());
}

TEST_F(UIWindowTest, ShownWindowsStackByLevelThenByTheOrderTheyWereShown) {
  Strong alertLevel = window(1, UIWindowLevelAlert + 1.0);
  Strong normal = window(2);
  Strong statusBar = window(3, UIWindowLevelStatusBar - 1.0);
  Strong alsoNormal = window(4);
  Strong hidden = window(5);
  sel::makeKeyAndVisible(alertLevel);
  sel::makeKeyAndVisible(alsoNormal);
  sel::setHidden(normal, NO);
  sel::makeKeyAndVisible(statusBar);
  EXPECT_EQ(tags(shownWindows()), (std::vector<long>{4, 2, 3, 1}));
  EXPECT_EQ(tags(windowsOf(app())), (std::vector<long>{5, 4, 2, 3, 1}))
      << "the application's windows include the hidden one";
  sel::setHidden(alsoNormal, YES);
  sel::setHidden(alsoNormal, NO);
  EXPECT_EQ(tags(shownWindows()), (std::vector<long>{2, 4, 3, 1})) << "shown again: on top";
}

TEST_F(UIWindowTest, ASecureWindowIsMarkedSo) {
  Strong w = window(1);
  EXPECT_FALSE(windowIsSecure(w));
  sel::setSecure(w, YES);
  EXPECT_TRUE(windowIsSecure(w));
  sel::setBackgroundColor(w, sel::clearColor(reinterpret_cast<id>(UIColorClass())));
  ColorComponents c{1, 1, 1, 1};
  ASSERT_TRUE(colorComponents(sel::backgroundColor(w), &c));
  EXPECT_EQ(c.alpha, 0.0);
}

TEST_F(UIWindowTest, TheRootControllersViewFillsTheWindowOnceItIsShown) {
  Strong w = window(1);
  Strong root = objc::make(rootControllerClass());
  sel::setRootViewController(w, root);
  EXPECT_FALSE(sel::isViewLoaded(root)) << "nothing is loaded for a hidden window";
  sel::makeKeyAndVisible(w);
  ASSERT_TRUE(sel::isViewLoaded(root));
  EXPECT_EQ(sel::superview(sel::view(root)), w.get());
  EXPECT_EQ(sel::frame(sel::view(root)), sel::bounds(w));
  EXPECT_EQ(sel::window(sel::view(root)), w.get());
  EXPECT_EQ(probeLog(),
            (std::vector<std::string>{"become 1", "viewWillAppear:", "viewDidAppear:"}));
  EXPECT_EQ(sel::rootViewController(w), root.get());

  Strong other = objc::make(UIViewControllerClass());
  id oldView = sel::view(root);
  sel::setRootViewController(w, other);
  EXPECT_EQ(sel::superview(oldView), nil);
  EXPECT_EQ(sel::superview(sel::view(other)), w.get());
}

TEST_F(UIWindowTest, AProcessThatEndsTakesItsWindowsOffTheScreen) {
  Strong w = window(1);
  sel::makeKeyAndVisible(w);
  endApp();
  EXPECT_TRUE(shownWindows().empty());
  EXPECT_EQ(keyWindowOf(app()), nil);
  EXPECT_TRUE(windowsOf(app()).empty());
  sel::makeKeyAndVisible(w);
  EXPECT_TRUE(shownWindows().empty()) << "a window of an ended process never comes back";
}

TEST_F(UIWindowTest, TheDeviceIsAPhoneOrAPadAndItsScreenFollows) {
  struct Case {
    long idiom;
    CGRect bounds;
  } cases[] = {{UIUserInterfaceIdiomPhone, CGRectMake(0, 0, 320, 568)},
               {UIUserInterfaceIdiomPad, CGRectMake(0, 0, 768, 1024)}};
  id device = sel::currentDevice(reinterpret_cast<id>(UIDeviceClass()));
  id screen = sel::mainScreen(reinterpret_cast<id>(UIScreenClass()));
  EXPECT_EQ(sel::currentDevice(reinterpret_cast<id>(UIDeviceClass())), device);
  for (const Case& c : cases) {
    ASSERT_TRUE(setDeviceIdiom(c.idiom));
    EXPECT_EQ(sel::userInterfaceIdiom(device), c.idiom);
    EXPECT_TRUE(sel::respondsToSelector(device, sel::userInterfaceIdiom.sel()));
    EXPECT_EQ(sel::bounds(screen), c.bounds);
    EXPECT_EQ(sel::scale(screen), 2.0);
  }
  EXPECT_FALSE(setDeviceIdiom(5));
  EXPECT_EQ(deviceIdiom(), UIUserInterfaceIdiomPad) << "a refused value changes nothing";
}

}  // namespace
}  // namespace platform::uikit
