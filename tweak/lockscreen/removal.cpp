#include "tweak/lockscreen/removal.h"

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsset.h"
#include "platform/foundation/nsstring.h"
#include "tweak/state/entries.h"
#include "tweak/state/exception_log.h"
#include "tweak/state/globals.h"

namespace tarrow8 {
namespace {

using platform::objc::callSaved;

constexpr const char* kClearMessage = "[Tarrow8] [Line %d]: clearItems 1 Exception: %@";
constexpr int kClearLine = 1191;
constexpr const char* kHandleActionMessage =
    "[Tarrow8] [Line %d]: SBLockScreenNotificationListView _handleAction Exception: %@";
constexpr int kHandleActionLine = 1463;
constexpr const char* kWithdrawMessage =
    "[Tarrow8] [Line %d]: BBServer withdrawBulletinID Exception: %@";
constexpr int kWithdrawLine = 1677;

bool isBulletin(id object) {
  return sel::isKindOfClass(object, cachedClass("BBBulletin")) != NO;
}

// Forgets a kept bulletin and records it as removed by the user.
void forgetAsRemoved(id bulletinID) {
  sel::removeObjectForKey(keptItems, bulletinID);
  sel::addObject(removedBulletinIDs, bulletinID);
}

}  // namespace

bool systemRemovalInForce() {
  return flags.automaticRemoval || flags.mirrorNotificationCenter;
}

void lockScreenRemoveBulletin(id self, SEL cmd, id observer, id bulletin) {
  if (flags.enabled && isBulletin(bulletin)) {
    if (id bulletinID = sb::bulletinID(bulletin)) forgetAsRemoved(bulletinID);
  }
  callSaved(saved.observerRemoveBulletin, sb::observer_removeBulletin, self, cmd, observer,
            bulletin);
}

void lockScreenHandleAction(id self, SEL cmd, id action, id bulletin) {
  callSaved(saved.listViewHandleAction, sb::handleAction_forBulletin, self, cmd, action, bulletin);
  if (!flags.enabled || !isBulletin(bulletin)) return;
  Strong bulletinID = sb::bulletinID(bulletin);
  if (!sel::objectForKey(keptItems, bulletinID)) return;
  if (flags.deviceLocked && listController) {
    try {
      sb::observer_removeBulletin(listController, listObserver, bulletin);
      sb::updateModelAndViewForRemovalOfItem(listController,
                                             sel::objectForKey(keptItems, bulletinID));
    } catch (const NSException& e) {
      logException(kHandleActionMessage, kHandleActionLine, e);
    }
    return;
  }
  forgetAsRemoved(bulletinID);
}

void clearTarrowItemsInSection(id, SEL, id sectionID) {
  Strong snapshot = Strong::adopt(sel::copy(keptItems));
  for (const Strong& key : platform::arrayElements(sel::allKeys(snapshot))) {
    try {
      id item = sel::objectForKey(sel::objectForKey(snapshot, key), CFSTR(kEntryBulletin));
      bool matches =
          sel::isEqual(sectionID, CFSTR(kAllSectionsToken)) ||
          (sectionID && sel::isEqual(sb::sectionID(sb::activeBulletin(item)), sectionID));
      if (!matches) continue;
      forgetAsRemoved(key);
      sb::observer_removeBulletin(listController, listObserver, sb::activeBulletin(item));
    } catch (const NSException& e) {
      logException(kClearMessage, kClearLine, e);
    }
  }
}

void withdrawBulletinID(id self, SEL cmd, id bulletinID) {
  callSaved(saved.withdrawBulletinID, sb::withdrawBulletinID, self, cmd, bulletinID);
  if (!flags.enabled || !systemRemovalInForce()) return;
  sel::removeObject(removedBulletinIDs, bulletinID);
  if (!sel::objectForKey(keptItems, bulletinID)) return;
  if (flags.deviceLocked && listController) {
    try {
      id item = sel::objectForKey(sel::objectForKey(keptItems, bulletinID), CFSTR(kEntryBulletin));
      sb::observer_removeBulletin(listController, listObserver, sb::activeBulletin(item));
    } catch (const NSException& e) {
      logException(kWithdrawMessage, kWithdrawLine, e);
    }
    return;
  }
  sel::removeObjectForKey(keptItems, bulletinID);
}

BOOL notificationCenterHandleAction(id self, SEL cmd, id action, id bulletin,
                                    sb::CompletionBlock completion) {
  BOOL handled = callSaved(saved.handleActionForBulletinWithCompletion,
                           sb::handleAction_forBulletin_withCompletion, self, cmd, action, bulletin,
                           std::move(completion));
  if (flags.enabled && handled && isBulletin(bulletin)) {
    if (id bulletinID = sb::bulletinID(bulletin)) {
      sel::removeObject(removedBulletinIDs, bulletinID);
      if (systemRemovalInForce()) sel::removeObjectForKey(keptItems, bulletinID);
    }
  }
  return handled;
}

}  // namespace tarrow8
