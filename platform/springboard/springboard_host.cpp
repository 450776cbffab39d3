#include "platform/springboard/springboard_host.h"

#include "platform/dispatch/libnotify.h"
#include "platform/dispatch/reset.h"
#include "platform/foundation/foundation_classes.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/object.h"
#include "platform/springboard/springboard_classes.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::springboard {

SpringBoardHost& SpringBoardHost::shared() {
  static auto* host = new SpringBoardHost();
  return *host;
}

SpringBoardHost::SpringBoardHost() : loader_(std::make_unique<ExtensionLoader>()) {
  setRelaunchHandler([] { SpringBoardHost::shared().requestRelaunch(); });
}

void SpringBoardHost::boot() {
  if (running()) return;
  foundation::registerClasses();
  dispatch::registerClasses();
  Class springBoardClass = defineSpringBoardClasses();
  pid_ = launchProcess("SpringBoard");
  ++launches_;
  relaunchPending_ = false;
  ProcessScope scope(pid_);
  objc::AutoreleasePool pool;
  loader_->loadAll();
  application_ = objc::make(springBoardClass);
  uikit::setSharedApplication(application_);
  sbsel::applicationDidFinishLaunching(application_, application_);
  if (launchListener_) launchListener_(launches_);
}

void SpringBoardHost::terminate() {
  if (!running()) return;
  ProcessId pid = std::exchange(pid_, 0);
  terminateProcess(pid);  // drops its events, observers, timers and registrations
  {
    objc::AutoreleasePool pool;
    uikit::setSharedApplication(nil);
    application_.reset();
  }
  loader_->unloadAll();
  objc::restoreDeviceClasses();
}

void SpringBoardHost::relaunch() {
  terminate();
  boot();
}

void SpringBoardHost::requestRelaunch() {
  if (!running() || relaunchPending_) return;
  relaunchPending_ = true;
  ProcessId ending = pid_;
  // The call comes from SpringBoard's own code (possibly an extension's), which must be allowed
  // to return before its library goes away; the device finishes the relaunch as its own event.
  RunLoop::main().postFor(kDeviceProcess, DeviceClock::shared().now(), [this, ending] {
    if (pid_ == ending) relaunch();
  });
  terminateProcess(ending);
}

void SpringBoardHost::publishLockState() {
  int token = 0;
  if (notify_register_check(kLockStateNotification, &token) == NOTIFY_STATUS_OK) {
    notify_set_state(token, locked_ ? 1 : 0);
    notify_cancel(token);
  }
  notify_post(kLockStateNotification);
}

void SpringBoardHost::lock() {
  locked_ = true;
  displayOn_ = false;
  publishLockState();
}

void SpringBoardHost::unlock() {
  locked_ = false;
  displayOn_ = true;
  publishLockState();
}

void SpringBoardHost::wake() { displayOn_ = true; }

}  // namespace platform::springboard
