#include "tweak/startup/observers.h"

#include <cstdint>

#include "platform/dispatch/libnotify.h"
#include "platform/dispatch/notification.h"
#include "platform/foundation/collection_selectors.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/uikit/uikit_classes.h"
#include "tweak/startup/settings_loader.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"

namespace tarrow8 {
namespace {

// Empties a store that exists and holds something, putting a new empty container of the same
// kind in its place.
void emptyStore(Strong& store, const char* className) {
  if (!store || sel::count(store) == 0) return;
  sel::removeAllObjects(store);
  store = newInstance(className);
}

// Dismisses a sheet or alert through its cancel button, which runs its delegate as a tap would.
void dismissThroughCancel(Strong& shown) {
  Strong closing = shown;  // alive through its delegate's dismiss handler
  sb::dismissWithClickedButtonIndex_animated(closing, sb::cancelButtonIndex(closing), YES);
  shown.reset();
}

void endIdleTimerIfUnlocked() {
  if (!flags.deviceLocked && listView) sb::disableIdleTimer(listView, NO);
}

}  // namespace

void settingsChanged(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
  loadSettings();
}

void pullToClearSection(id notification) {
  if (!listController) return;
  id sectionID = sel::objectForKey(sel::userInfo(notification), CFSTR("sectionID"));
  sb::clearTarrowItemsInSection(listController, sectionID);
}

void respringRequested(id) {
  sb::relaunchSpringBoardNow(sel::sharedApplication(classObject("UIApplication")));
}

void lockStateChanged(int token) {
  std::uint64_t state = UINT64_MAX;  // a failed read counts as unlocked
  notify_get_state(token, &state);
  flags.deviceLocked = state == 1;
  if (state == 1 && !flags.enabled) {
    emptyStore(keptItems, "NSMutableDictionary");
    emptyStore(removedBulletinIDs, "NSMutableSet");
  }
  if (actionsSheet) dismissThroughCancel(actionsSheet);
  if (remindersWindow) {
    sb::resignKeyWindow(remindersWindow);
    remindersWindow.reset();
    endIdleTimerIfUnlocked();
  }
  if (reminderAlert) {
    dismissThroughCancel(reminderAlert);
    endIdleTimerIfUnlocked();
  }
}

void applicationDidFinishLaunching(id self, SEL cmd, id application) {
  platform::objc::callSaved(saved.applicationDidFinishLaunching, sb::applicationDidFinishLaunching,
                            self, cmd, application);
  id fireDate = sel::dateWithTimeIntervalSinceNow(classObject("NSDate"), 5.0);
  id app = sel::sharedApplication(classObject("UIApplication"));
  id timer = sel::initWithFireDate_serviceIdentifier_target_selector_userInfo(
      sel::alloc(classObject("PCSimpleTimer")), fireDate, CFSTR(kTimerServiceIdentifier), app,
      sb::gracePeriodTimerFired.sel(), nil);
  sel::scheduleInRunLoop(timer, sel::mainRunLoop(classObject("NSRunLoop")));
  // The run loop keeps the scheduled timer; the extension keeps no reference.
  platform::objc::release(timer);
}

void gracePeriodTimerFired(id, SEL, id) {
  flags.gracePeriodOver = true;
}

}  // namespace tarrow8
