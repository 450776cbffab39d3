#include "tweak/actions/action_dispatch.h"

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsset.h"
#include "platform/foundation/nsstring.h"
#include "tweak/actions/actions_menu.h"
#include "tweak/actions/reminder_editor.h"
#include "tweak/actions/row_key.h"
#include "tweak/lockscreen/removal.h"
#include "tweak/reminderslist/reminders_window.h"
#include "tweak/state/entries.h"
#include "tweak/state/exception_log.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"
#include "tweak/state/uikit_headers.h"

namespace tarrow8 {
namespace {

constexpr const char* kChoiceMessage =
    "[Tarrow8] [Line %d]: SBBulletinViewController actionSheet didDismissWithButtonIndex "
    "Exception: %@";
constexpr int kChoiceLine = 508;
constexpr double kNewReminderSeconds = 3600.0;

// Choice 0: off the lock screen when kept, onto it otherwise.
void toggleLockScreen(id bulletin, id bulletinID) {
  if (sel::objectForKey(keptItems, bulletinID)) {
    if (flags.deviceLocked && listController) {
      sb::observer_removeBulletin(listController, sb::firstValidObserver(bulletin), bulletin);
      sb::updateModelAndViewForRemovalOfItem(listController,
                                             sel::objectForKey(keptItems, bulletinID));
    }
    sel::removeObjectForKey(keptItems, bulletinID);
    sel::addObject(removedBulletinIDs, bulletinID);
    return;
  }
  Strong item = Strong::adopt(
      sb::initWithBulletin_andObserver(sel::alloc(classObject("SBAwayBulletinListItem")), bulletin,
                                       sb::firstValidObserver(bulletin)));
  Strong entry = makeKeptItemEntry(item);
  sel::removeObject(removedBulletinIDs, bulletinID);
  sel::setObject_forKey(keptItems, entry, bulletinID);
  if (flags.deviceLocked && listController)
    sb::updateModelAndViewForAdditionOfItem(listController, item);
}

}  // namespace

id bulletinAtIndexPath(id delegate, id indexPath) {
  if (sel::isKindOfClass(delegate, cachedClass("SBLockScreenNotificationListView")))
    return sb::activeBulletinForIndexPath(delegate, indexPath);
  return sb::representedBulletinAtIndexPath(delegate, indexPath);
}

void actionSheetDismissed(id self, SEL, id sheet, long buttonIndex) {
  if (actionsSheetWindow) {
    ui::setHidden(actionsSheetWindow, YES);
    actionsSheetWindow.reset();
  }
  if (buttonIndex == ui::cancelButtonIndex(sheet)) return;
  Strong key = ui::accessibilityValue(sheet);
  id bulletin = bulletinAtIndexPath(self, indexPathOfRowKey(key));
  if (bulletin && sel::isKindOfClass(bulletin, cachedClass("BBBulletin")))
    performActionsMenuChoice(bulletin, buttonIndex, key, self);
}

void performActionsMenuChoice(id bulletin, long index, id key, id delegate) {
  Strong bulletinID = sb::bulletinID(bulletin);
  switch (index) {
    case 0:
      try {
        toggleLockScreen(bulletin, bulletinID);
      } catch (const NSException& e) {
        logException(kChoiceMessage, kChoiceLine, e);
      }
      return;
    case 1: {
      if (flags.deviceLocked && listView) sb::disableIdleTimer(listView, YES);
      id reminder = sel::objectForKey(reminders, bulletinID);
      id date = reminder
                    ? sel::objectForKey(reminder, CFSTR(kEntryFireDate))
                    : sel::dateWithTimeIntervalSinceNow(classObject("NSDate"), kNewReminderSeconds);
      openReminderEditor(key, delegate, date);
      return;
    }
    case 2:
      if (listController) sb::clearTarrowItemsInSection(listController, sb::sectionID(bulletin));
      return;
    case 3:
      if (listController) sb::clearTarrowItemsInSection(listController, CFSTR(kAllSectionsToken));
      return;
    case 4:
      if (!flags.deviceLocked && reminders && sel::count(reminders) > 0) openRemindersWindow();
      return;
    default:
      return;
  }
}

}  // namespace tarrow8
