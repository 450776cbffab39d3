#include "tweak/actions/reminder_firing.h"

#include <utility>
#include <vector>

#include "platform/dispatch/timers.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "tweak/startup/observers.h"
#include "tweak/state/entries.h"
#include "tweak/state/exception_log.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"
#include "tweak/state/uikit_headers.h"

namespace tarrow8 {
namespace {

using platform::objc::callSaved;

constexpr const char* kFireMessage =
    "[Tarrow8] [Line %d]: SBBulletinViewController reminderTimerFired Exception: %@";
constexpr int kFireLine = 935;
constexpr double kTimerDelay = 5.0;
constexpr long kToneAlert = 2;
constexpr unsigned long kReminderDestinations = 14;

// Publishes the reminder's bulletin again, with a sound when it has none. An archive that does
// not give a bulletin back is logged like a failed publish, rather than ending SpringBoard.
void fire(id entry) {
  try {
    id bulletin = reminderBulletin(entry);
    if (!sb::sound(bulletin)) {
      Strong tone =
          Strong::adopt(sb::initWithToneAlert(sel::alloc(classObject("BBSound")), kToneAlert));
      sb::setSound(bulletin, tone);
    }
    sb::publishBulletin_destinations_alwaysToLockScreen(bulletinServer, bulletin,
                                                        kReminderDestinations, YES);
  } catch (const NSException& e) {
    logException(kFireMessage, kFireLine, e);
  }
}

}  // namespace

id reminderBulletin(id entry) {
  id bulletin = ui::unarchiveObjectWithData(classObject("NSKeyedUnarchiver"),
                                            sel::objectForKey(entry, CFSTR(kEntryBulletin)));
  if (!sel::isKindOfClass(bulletin, cachedClass("BBBulletin"))) {
    NSException::raise(NSInvalidArgumentException,
                       std::string("the reminder's archive holds no bulletin but ") +
                           platform::objc::className(bulletin));
  }
  return bulletin;
}

void bulletinViewDidLoad(id self, SEL cmd) {
  callSaved(saved.bulletinViewDidLoad, sb::viewDidLoad, self, cmd);
  bulletinViewController = self;
  // Reminders stored before Notification Center's list first loaded found no controller to
  // schedule them; they are scheduled (or fired, when already due) now.
  if (reminders && sel::count(reminders) > 0) sb::reminderTimerFired(self, nil);
}

void reminderTimerFired(id self, SEL, id) {
  sel::invalidate(reminderTimer);
  reminderTimer.reset();
  // One reading of the clock for the whole walk; dates are compared by their seconds.
  const double now = sel::timeIntervalSinceReferenceDate(sel::date(classObject("NSDate")));
  id fireDateKey = CFSTR(kEntryFireDate);
  std::vector<std::pair<Strong, Strong>> due;  // bulletinID and entry, in the walk's order
  Strong next;
  double nextSeconds = 0;
  sel::enumerateKeysAndObjectsUsingBlock(reminders, [&](id key, id entry, BOOL*) {
    id fireDate = sel::objectForKey(entry, fireDateKey);
    if (!fireDate) return;
    double seconds = sel::timeIntervalSinceReferenceDate(fireDate);
    if (seconds < now) {
      due.emplace_back(key, entry);
    } else if (!next || seconds < nextSeconds) {
      next = fireDate;
      nextSeconds = seconds;
    }
  });
  // Published once the walk is over, so that nothing a publish sets off can change the store
  // under it; the entries leave the store only after every one has been published.
  for (const auto& [key, entry] : due) fire(entry);
  for (const auto& [key, entry] : due) sel::removeObjectForKey(reminders, key);
  if (!next) return;
  id wakeAt = sel::dateByAddingTimeInterval(next, kTimerDelay);
  reminderTimer = Strong::adopt(sel::initWithFireDate_serviceIdentifier_target_selector_userInfo(
      sel::alloc(classObject("PCSimpleTimer")), wakeAt, CFSTR(kTimerServiceIdentifier), self,
      sb::reminderTimerFired.sel(), nil));
  sel::scheduleInRunLoop(reminderTimer, sel::mainRunLoop(classObject("NSRunLoop")));
}

}  // namespace tarrow8
