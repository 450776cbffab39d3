#include "platform/dispatch/reset.h"

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/dispatch/distributed_notification_center.h"
#include "platform/dispatch/libnotify.h"
#include "platform/dispatch/run_loop.h"
#include "platform/dispatch/timers.h"

namespace platform::dispatch {

void registerClasses() {
  NSNotificationClass();
  NSOperationQueueClass();
  NSRunLoopClass();
  NSDistributedNotificationCenterClass();
  PCSimpleTimerClass();
}

void resetForNewDevice() {
  registerClasses();
  // Registrations first: what they release may queue events, which the run loop then drops.
  resetDarwinNotifyCenter();
  resetNotifyCenter();
  resetDistributedNotificationCenter();
  resetTimers();
  RunLoop::main().reset();
}

}  // namespace platform::dispatch
