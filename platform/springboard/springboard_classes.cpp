#include "platform/springboard/springboard_classes.h"

#include <memory>

#include "platform/objc/class_builder.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/list_item.h"
#include "platform/springboard/lock_screen_list.h"
#include "platform/springboard/lock_screen_manager.h"
#include "platform/springboard/notification_cell.h"
#include "platform/springboard/notification_center.h"
#include "platform/springboard/springboard_ui.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::springboard {
namespace {

void (*gRelaunchHandler)() = nullptr;

struct SpringBoardBody : objc::NativeBody {
  std::unique_ptr<SpringBoardUI> ui;
};

// SpringBoard's start-up work after launch: its bulletin server, lock screen and Notification
// Center come into being, and the lock screen comes up.
void applicationDidFinishLaunching(id self, SEL, id) {
  auto& body = *objc::native<SpringBoardBody>(self);
  if (body.ui) return;
  body.ui = std::make_unique<SpringBoardUI>();
  body.ui->build();
}

// Relaunching ends this process; the host carries it out once the current event returns.
void relaunchSpringBoardNow(id, SEL) {
  if (gRelaunchHandler) gRelaunchHandler();
}

}  // namespace

Class SpringBoardClass() {
  static Class cls =
      objc::deviceClass("SpringBoard", uikit::UIApplicationClass(), [](objc::ClassBuilder& b) {
        b.body<SpringBoardBody>()
            .method(sbsel::applicationDidFinishLaunching, applicationDidFinishLaunching)
            .method(sbsel::relaunchSpringBoardNow, relaunchSpringBoardNow);
      });
  return cls;
}

SpringBoardUI* springBoardUI(id application) {
  auto* body = objc::native<SpringBoardBody>(application);
  return body ? body->ui.get() : nullptr;
}

Class defineSpringBoardClasses() {
  static const bool defined = [] {
    uikit::UITableViewClass();
    BBBulletinClass();
    BBSoundClass();
    BBServerClass();
    BBObserverClass();
    SBAwayBulletinListItemClass();
    SBLockScreenManagerClass();
    SBLockScreenNotificationListControllerClass();
    SBLockScreenNotificationListViewClass();
    SBBulletinObserverViewControllerClass();
    SBNotificationsAllModeViewControllerClass();
    SBNotificationsMissedModeViewControllerClass();
    SBNotificationsAllModeBulletinInfoClass();
    SBNotificationsMissedModeBulletinInfoClass();
    SBBulletinViewControllerClass();
    SBNotificationCenterControllerClass();
    SBNotificationCellClass();
    return true;
  }();
  (void)defined;
  return SpringBoardClass();
}

void setRelaunchHandler(void (*handler)()) {
  gRelaunchHandler = handler;
}

}  // namespace platform::springboard
