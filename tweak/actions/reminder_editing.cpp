#include "tweak/actions/reminder_editing.h"

#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "tweak/actions/action_dispatch.h"
#include "tweak/actions/actions_menu.h"
#include "tweak/actions/reminder_editor.h"
#include "tweak/actions/row_key.h"
#include "tweak/state/entries.h"
#include "tweak/state/globals.h"
#include "tweak/state/ivars.h"
#include "tweak/state/springboard_headers.h"
#include "tweak/state/uikit_headers.h"

namespace tarrow8 {
namespace {

void reschedule(id table) {
  sb::reminderTimerFired(bulletinViewController, nil);
  if (table && flags.deviceLocked) {
    ui::reloadData(table);
  } else if (!flags.deviceLocked) {
    sb::setTableViewNeedsReload(bulletinViewController);
    sb::reloadTableViewDataIfNecessary(bulletinViewController);
  }
}

}  // namespace

void reminderAlertDismissed(id self, SEL, id alert, long buttonIndex) {
  if (ui::tag(alert) != kReminderAlertTag) return;
  if (flags.deviceLocked && listView) sb::disableIdleTimer(listView, NO);
  id bulletin = bulletinAtIndexPath(self, indexPathOfRowKey(ui::accessibilityValue(alert)));
  if (!bulletin || !sel::isKindOfClass(bulletin, cachedClass("BBBulletin"))) return;
  bool lockScreen = sel::isKindOfClass(self, cachedClass("SBLockScreenNotificationListView"));
  applyReminderChoice(bulletin, buttonIndex, lockScreen ? ivarValue(self, "_tableView") : nil);
}

void applyReminderChoice(id bulletin, long index, id table) {
  id bulletinID = sb::bulletinID(bulletin);
  if (index == kReminderAdd) {
    id fireDate = onItsMinute(ui::date(reminderDatePicker));
    Strong title = platform::nsstring(reminderTitle(platform::utf16(sb::title(bulletin)),
                                                    platform::utf16(sb::subtitle(bulletin)),
                                                    platform::utf16(sb::message(bulletin))));
    id archive = ui::archivedDataWithRootObject(classObject("NSKeyedArchiver"), bulletin);
    Strong entry = makeReminderEntry(fireDate, title, sb::sectionID(bulletin), archive);
    sel::setObject_forKey(reminders, entry, bulletinID);
  } else if (index == kReminderDelete) {
    sel::removeObjectForKey(reminders, bulletinID);
  } else {
    return;
  }
  reschedule(table);
}

}  // namespace tarrow8
