#include "platform/springboard/springboard_host.h"

#include "platform/dispatch/libnotify.h"
#include "platform/dispatch/reset.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/foundation_classes.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/object.h"
#include "platform/springboard/springboard_classes.h"
#include "platform/springboard/springboard_ui.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::springboard {

SpringBoardHost& SpringBoardHost::shared() {
  static auto* host = new SpringBoardHost();
  return *host;
}

SpringBoardHost::SpringBoardHost() : loader_(std::make_unique<ExtensionLoader>()) {
  setRelaunchHandler([] { SpringBoardHost::shared().requestRelaunch(); });
  onProcessExit([this](ProcessId pid) {
    if (pid == pid_ && !terminating_) processEnded();
  });
}

void SpringBoardHost::boot() {
  if (running()) return;
  foundation::registerClasses();
  dispatch::registerClasses();
  uikit::registerClasses();
  Class springBoardClass = defineSpringBoardClasses();
  pid_ = launchProcess("SpringBoard");
  ++launches_;
  relaunchPending_ = false;
  locked_ = true;  // SpringBoard comes up on the lock screen
  setLockState();
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
  terminating_ = true;
  terminateProcess(pid_);  // drops its events, observers, timers and registrations
  terminating_ = false;
  tearDown();
}

void SpringBoardHost::tearDown() {
  pid_ = 0;
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
  if (running()) terminateProcess(pid_);  // processEnded() schedules the new launch
}

void SpringBoardHost::processEnded() {
  if (relaunchPending_) return;
  relaunchPending_ = true;
  ProcessId ended = pid_;
  // The process may have ended inside its own code (possibly an extension's), which must be
  // allowed to return before its library goes away; the device finishes as its own event.
  RunLoop::main().postFor(kDeviceProcess, DeviceClock::shared().now(), [this, ended] {
    if (pid_ != ended) return;
    tearDown();
    boot();
  });
}

void SpringBoardHost::setLockState() {
  // The device keeps its own registration so the state outlives every SpringBoard.
  ProcessScope device(kDeviceProcess);
  if (!notify_is_valid_token(lockStateToken_))
    notify_register_check(kLockStateNotification, &lockStateToken_);
  notify_set_state(lockStateToken_, locked_ ? 1 : 0);
}

void SpringBoardHost::publishLockState() {
  setLockState();
  notify_post(kLockStateNotification);
}

void SpringBoardHost::lock() {
  // The lock screen comes up first; the lock state is posted once it is on its way.
  if (SpringBoardUI* ui = SpringBoardUI::running()) {
    ProcessScope scope(pid_);
    ui->lockScreenWillAppear();
  }
  locked_ = true;
  displayOn_ = false;
  publishLockState();
}

void SpringBoardHost::unlock() {
  locked_ = false;
  displayOn_ = true;
  publishLockState();
  // SpringBoard clears the lock-screen list once the new state has been delivered.
  if (running()) {
    RunLoop::main().postFor(pid_, DeviceClock::shared().now(), [] {
      if (SpringBoardUI* ui = SpringBoardUI::running()) ui->lockScreenDismissed();
    });
  }
}

bool SpringBoardHost::wake() {
  if (displayOn_) return false;
  displayOn_ = true;
  if (SpringBoardUI* ui = SpringBoardUI::running()) {
    ProcessScope scope(pid_);
    ui->lockScreenWillReappear();
  }
  return true;
}

}  // namespace platform::springboard
