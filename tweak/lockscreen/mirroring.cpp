#include "tweak/lockscreen/mirroring.h"

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsset.h"
#include "tweak/lockscreen/capture_filter.h"
#include "tweak/lockscreen/removal.h"
#include "tweak/state/entries.h"
#include "tweak/state/exception_log.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"

namespace tarrow8 {
namespace {

using platform::objc::callSaved;

constexpr const char* kAddMessage = "[Tarrow8] [Line %d]: BBServer publishBulletin Exception: %@";
constexpr int kAddLine = 777;
constexpr const char* kRemoveMessage =
    "[Tarrow8] [Line %d]: SBBulletinObserverViewController removeBulletin Exception: %@";
constexpr int kRemoveLine = 807;

bool isAllModeInfo(id info) {
  return sel::isKindOfClass(info, cachedClass("SBNotificationsAllModeBulletinInfo")) != NO;
}

bool lockedPastGrace() {
  return flags.deviceLocked && flags.gracePeriodOver;
}

}  // namespace

void notificationCenterAddBulletin(id self, SEL cmd, id info, id section, unsigned long feed) {
  callSaved(saved.addBulletinToSection, sb::addBulletin_toSection_forFeed, self, cmd, info, section,
            feed);
  if (!isAllModeInfo(info)) return;
  id bulletin = sb::representedBulletin(info);
  id bulletinID = sb::bulletinID(bulletin);
  if (bulletinID && sel::containsObject(removedBulletinIDs, bulletinID)) return;
  if (!passesCaptureFilter(sb::sectionID(bulletin))) {
    if (bulletinID) sel::removeObjectForKey(keptItems, bulletinID);
    return;
  }
  if (!flags.enabled || !(flags.mirrorNotificationCenter || flags.includeNotificationCenter))
    return;
  if (lockedPastGrace()) return;
  try {
    id item = sb::initWithBulletin_andObserver(sel::alloc(classObject("SBAwayBulletinListItem")),
                                               bulletin, sb::firstValidObserver(bulletin));
    Strong owned = Strong::adopt(item);
    sel::setObject_forKey(keptItems, makeKeptItemEntry(owned), bulletinID);
  } catch (const NSException& e) {
    logException(kAddMessage, kAddLine, e);
  }
}

void notificationCenterRemoveBulletin(id self, SEL cmd, id info, id section) {
  callSaved(saved.removeBulletinFromSection, sb::removeBulletin_fromSection, self, cmd, info,
            section);
  if (!flags.enabled || !isAllModeInfo(info) || lockedPastGrace()) return;
  try {
    id bulletinID = sb::bulletinID(sb::representedBulletin(info));
    sel::removeObject(removedBulletinIDs, bulletinID);
    if (systemRemovalInForce()) sel::removeObjectForKey(keptItems, bulletinID);
  } catch (const NSException& e) {
    logException(kRemoveMessage, kRemoveLine, e);
  }
}

}  // namespace tarrow8
