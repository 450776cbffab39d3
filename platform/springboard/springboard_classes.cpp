#include "platform/springboard/springboard_classes.h"

#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::springboard {
namespace {

void (*gRelaunchHandler)() = nullptr;

// SpringBoard's own start-up work after launch. The lock-screen and Notification Center
// objects it builds here arrive with those screens.
void applicationDidFinishLaunching(id, SEL, id) {}

// Relaunching ends this process; the host carries it out once the current event returns.
void relaunchSpringBoardNow(id, SEL) {
  if (gRelaunchHandler) gRelaunchHandler();
}

Class define(const char* name, Class superclass) {
  return objc::deviceClass(name, superclass, [](objc::ClassBuilder&) {});
}

}  // namespace

Class SpringBoardClass() {
  static Class cls =
      objc::deviceClass("SpringBoard", uikit::UIApplicationClass(), [](objc::ClassBuilder& b) {
        b.method(sbsel::applicationDidFinishLaunching, applicationDidFinishLaunching)
            .method(sbsel::relaunchSpringBoardNow, relaunchSpringBoardNow);
      });
  return cls;
}

Class defineSpringBoardClasses() {
  static const bool defined = [] {
    Class root = objc::rootClass();
    Class viewController = uikit::UIViewControllerClass();
    Class observerController = define("SBBulletinObserverViewController", viewController);
    define("SBBulletinViewController", observerController);
    define("SBNotificationCell", uikit::UITableViewCellClass());
    define("SBNotificationCenterController", root);
    objc::deviceClass("SBLockScreenNotificationListController", viewController,
                      [](objc::ClassBuilder& b) { b.ivar<id>("_observer"); });
    objc::deviceClass("SBLockScreenNotificationListView", uikit::UIViewClass(),
                      [](objc::ClassBuilder& b) { b.ivar<id>("_tableView"); });
    define("SBLockScreenManager", root);
    define("SBAwayBulletinListItem", root);
    define("SBNotificationsAllModeBulletinInfo", root);
    define("BBServer", root);
    define("BBBulletin", root);
    define("BBSound", root);
    return true;
  }();
  (void)defined;
  return SpringBoardClass();
}

void setRelaunchHandler(void (*handler)()) {
  gRelaunchHandler = handler;
}

}  // namespace platform::springboard
