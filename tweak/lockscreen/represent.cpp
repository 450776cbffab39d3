#include "tweak/lockscreen/represent.h"

#include <algorithm>
#include <vector>

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "tweak/state/entries.h"
#include "tweak/state/exception_log.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"

namespace tarrow8 {
namespace {

using platform::objc::callSaved;

constexpr const char* kRepresentMessage =
    "[Tarrow8] [Line %d]: SBLockScreenNotificationListController viewWillAppear Exception: %@";
constexpr unsigned long kLockScreenDestination = 4;
constexpr std::int64_t kRepresentDelay = 250000000;  // nanoseconds

void scheduleRepresent(id controller, int line) {
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, kRepresentDelay), dispatch_get_main_queue(),
                 [controller = Strong(controller), line] { representKeptItems(controller, line); });
}

// One kept entry and the date that orders it.
struct Ordered {
  Strong entry;
  Strong date;
};

// The kept entries, newest first: a comes before b when b's date compares earlier than a's.
std::vector<Ordered> newestFirst() {
  std::vector<Ordered> entries;
  for (const Strong& entry : platform::arrayElements(sel::allValues(keptItems))) {
    id item = sel::objectForKey(entry, CFSTR(kEntryBulletin));
    entries.push_back({entry, sb::date(item)});
  }
  std::sort(entries.begin(), entries.end(),
            [](const Ordered& a, const Ordered& b) { return sel::compare(b.date, a.date) == -1; });
  return entries;
}

void representEntry(id controller, id entry) {
  id item = sel::objectForKey(entry, CFSTR(kEntryBulletin));
  id bulletin = sb::activeBulletin(item);
  id sectionID = sb::sectionID(bulletin);
  if (sel::isEqual(sectionID, CFSTR("com.apple.mobiletimer"))) {
    if (!bulletinServer) return;
    sb::publishBulletin_destinations_alwaysToLockScreen(bulletinServer, sb::activeBulletin(item),
                                                        kLockScreenDestination, YES);
    return;
  }
  sb::addItem_forBulletin_playLightsAndSirens_withReply(controller, item, sb::activeBulletin(item),
                                                        NO, nullptr);
}

}  // namespace

void listViewWillAppear(id self, SEL cmd, BOOL animated) {
  if (!flags.enabled) {
    callSaved(saved.listViewWillAppear, sb::viewWillAppear, self, cmd, animated);
    return;
  }
  BOOL uiLocked = sb::isUILocked(sb::sharedInstance(classObject("SBLockScreenManager")));
  if (!flags.deviceLocked && uiLocked && flags.enabled &&
      (flags.saveForUnlock || flags.mirrorNotificationCenter))
    scheduleRepresent(self, kRepresentLineAfterUnlock);
  callSaved(saved.listViewWillAppear, sb::viewWillAppear, self, cmd, animated);
}

void clearItemsForNotificationCenter(id self, SEL cmd) {
  callSaved(saved.clearItemsForNotificationCenter, sb::clearItemsForNotificationCenter, self, cmd);
  if (flags.enabled && (flags.mirrorNotificationCenter || flags.saveForNotificationCenter)) {
    scheduleRepresent(self, kRepresentLineAfterClearing);
    return;
  }
  if (keptItems) sel::removeAllObjects(keptItems);
}

void representKeptItems(id controller, int line) {
  platform::objc::AutoreleasePool pool;
  for (const Ordered& ordered : newestFirst()) {
    try {
      representEntry(controller, ordered.entry);
    } catch (const NSException& e) {
      logException(kRepresentMessage, line, e);
    }
  }
}

}  // namespace tarrow8
