// The extension's entry point: runs once when the library is loaded into SpringBoard, before
// SpringBoard builds its bulletin server and lists.

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/dispatch/dispatch.h"
#include "platform/dispatch/distributed_notification_center.h"
#include "platform/dispatch/libnotify.h"
#include "platform/dispatch/operation_queue.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/object.h"
#include "tweak/startup/hook_table.h"
#include "tweak/startup/observers.h"
#include "tweak/startup/settings_loader.h"
#include "tweak/state/globals.h"

namespace tarrow8 {
namespace {

void observeDistributed(const char* name, void (*handler)(id)) {
  id center = sel::defaultCenter(classObject("NSDistributedNotificationCenter"));
  id queue = sel::mainQueue(classObject("NSOperationQueue"));
  sel::addObserverForName_object_queue_usingBlock(
      center, CFSTR(name), nil, queue, [handler](id notification) { handler(notification); });
}

__attribute__((constructor)) void tarrow8Start() {
  platform::objc::AutoreleasePool pool;
  preferences = newInstance("NSDictionary");
  keptItems = newInstance("NSMutableDictionary");
  removedBulletinIDs = newInstance("NSMutableSet");
  loadSettings();
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                  settingsChanged, CFSTR(kPreferencesNotification), nullptr,
                                  CFNotificationSuspensionBehaviorCoalesce);
  observeDistributed(kPullToClearNotification, pullToClearSection);
  reminders = newInstance("NSMutableDictionary");
  installHookTable();
  int token = 0;
  notify_register_dispatch(kLockStateNotification, &token, dispatch_get_main_queue(),
                           lockStateChanged);
  observeDistributed(kRespringNotification, respringRequested);
}

}  // namespace
}  // namespace tarrow8
