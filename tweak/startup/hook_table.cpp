#include "tweak/startup/hook_table.h"

#include "platform/objc/substrate.h"
#include "tweak/actions/action_dispatch.h"
#include "tweak/actions/actions_menu.h"
#include "tweak/actions/reminder_editing.h"
#include "tweak/actions/reminder_firing.h"
#include "tweak/actions/reminder_marker.h"
#include "tweak/lockscreen/capture.h"
#include "tweak/lockscreen/mirroring.h"
#include "tweak/lockscreen/removal.h"
#include "tweak/lockscreen/represent.h"
#include "tweak/startup/observers.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"

namespace tarrow8 {
namespace {

using platform::objc::Selector;

// A row replacing `selector` on `className`; the handler's signature must be the selector's.
template <class R, class... Args>
HookRow hook(const char* className, const Selector<R(Args...)>& selector,
             R (*handler)(id, SEL, Args...), IMP* savedSlot) {
  return {className, selector.name(), HookKind::Hook, reinterpret_cast<IMP>(handler),
          nullptr,   savedSlot};
}

// A row adding `selector` to `className`, with the encoding of the selector's signature.
template <class R, class... Args>
HookRow added(const char* className, const Selector<R(Args...)>& selector,
              R (*handler)(id, SEL, Args...)) {
  return {className,        selector.name(), HookKind::Added, reinterpret_cast<IMP>(handler),
          selector.types(), nullptr};
}

static_assert(std::string_view(sb::gracePeriodTimerFired.types()) == "v@:@");
static_assert(std::string_view(sb::clearTarrowItemsInSection.types()) == "v@:@");
static_assert(std::string_view(sb::reminderTimerFired.types()) == "v@:@");
static_assert(std::string_view(sb::tarrow8Actions.types()) == "v@:@");
static_assert(std::string_view(sb::alertView_didDismissWithButtonIndex.types()) == "v@:@q");
static_assert(std::string_view(sb::actionSheet_didDismissWithButtonIndex.types()) == "v@:@q");

// Built on first use rather than at load: the library's constructor installs the table, and may
// run before the library's dynamic initialisers.
std::span<const HookRow> rows() {
  static const HookRow table[] = {
      hook("SBBulletinObserverViewController", sb::addBulletin_toSection_forFeed,
           notificationCenterAddBulletin, &saved.addBulletinToSection),
      hook("SBBulletinObserverViewController", sb::removeBulletin_fromSection,
           notificationCenterRemoveBulletin, &saved.removeBulletinFromSection),
      hook("SBNotificationCell", sb::layoutSubviews, notificationCellLayoutSubviews,
           &saved.notificationCellLayoutSubviews),
      hook("SBBulletinViewController", sb::viewDidLoad, bulletinViewDidLoad,
           &saved.bulletinViewDidLoad),
      added("SBBulletinViewController", sb::reminderTimerFired, reminderTimerFired),
      added("SBBulletinViewController", sb::alertView_didDismissWithButtonIndex,
            reminderAlertDismissed),
      added("SBBulletinViewController", sb::actionSheet_didDismissWithButtonIndex,
            actionSheetDismissed),
      added("SBBulletinViewController", sb::tarrow8Actions, longPressActions),
      hook("SBBulletinViewController", sb::tableView_cellForRowAtIndexPath, bulletinCellForRow,
           &saved.bulletinCellForRow),
      hook("SBBulletinViewController", sb::tableView_editActionsForRowAtIndexPath,
           bulletinEditActions, &saved.bulletinEditActions),
      hook("SBNotificationCenterController", sb::handleAction_forBulletin_withCompletion,
           notificationCenterHandleAction, &saved.handleActionForBulletinWithCompletion),
      hook("SBLockScreenNotificationListController", sb::loadView, listControllerLoadView,
           &saved.listLoadView),
      added("SBLockScreenNotificationListController", sb::clearTarrowItemsInSection,
            clearTarrowItemsInSection),
      hook("SBLockScreenNotificationListController", sb::observer_removeBulletin,
           lockScreenRemoveBulletin, &saved.observerRemoveBulletin),
      hook("SBLockScreenNotificationListController", sb::viewWillAppear, listViewWillAppear,
           &saved.listViewWillAppear),
      hook("SBLockScreenNotificationListController", sb::clearItemsForNotificationCenter,
           clearItemsForNotificationCenter, &saved.clearItemsForNotificationCenter),
      hook("SBLockScreenNotificationListController", sb::updateModelAndViewForAdditionOfItem,
           captureAddedItem, &saved.updateModelAndViewForAdditionOfItem),
      hook("SBLockScreenNotificationListController",
           sb::observer_addBulletin_forFeed_playLightsAndSirens_withReply, deliverBulletin,
           &saved.observerAddBulletin),
      hook("SBLockScreenNotificationListView", sb::initWithFrame, listViewInitWithFrame,
           &saved.listViewInitWithFrame),
      hook("SBLockScreenNotificationListView", sb::handleAction_forBulletin, lockScreenHandleAction,
           &saved.listViewHandleAction),
      added("SBLockScreenNotificationListView", sb::alertView_didDismissWithButtonIndex,
            reminderAlertDismissed),
      added("SBLockScreenNotificationListView", sb::actionSheet_didDismissWithButtonIndex,
            actionSheetDismissed),
      hook("SBLockScreenNotificationListView", sb::tableView_editActionsForRowAtIndexPath,
           listEditActions, &saved.listEditActions),
      hook("BBServer", sb::withdrawBulletinID, withdrawBulletinID, &saved.withdrawBulletinID),
      hook("BBServer", sb::init, bulletinServerInit, &saved.serverInit),
      hook("SpringBoard", sb::applicationDidFinishLaunching, applicationDidFinishLaunching,
           &saved.applicationDidFinishLaunching),
      added("SpringBoard", sb::gracePeriodTimerFired, gracePeriodTimerFired),
  };
  return table;
}

}  // namespace

void installHookTable() {
  for (const HookRow& row : rows()) {
    Class cls = objc_getClass(row.className);
    if (!cls) continue;
    SEL selector = sel_registerName(row.selector);
    if (row.kind == HookKind::Hook) {
      MSHookMessageEx(cls, selector, row.implementation, row.saved);
    } else {
      class_addMethod(cls, selector, row.implementation, row.types);
    }
  }
}

}  // namespace tarrow8
