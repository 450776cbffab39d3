#pragma once
// SpringBoard's process on the device: launching it (classes, extensions, the application
// object), ending it, relaunching it on request, and the lock state it publishes.

#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/process.h"
#include "platform/objc/strong.h"
#include "platform/springboard/extension_loader.h"

namespace platform::springboard {

// The libnotify name SpringBoard posts on every change of the lock state (state 1: locked).
inline constexpr const char* kLockStateNotification = "com.apple.springboard.lockstate";

class SpringBoardHost {
 public:
  // The host of the one SpringBoard on the device.
  static SpringBoardHost& shared();

  // Launches SpringBoard: a new process, the installed extensions loaded (their constructors
  // run first), the application object created and sent applicationDidFinishLaunching:.
  // The device starts locked. REQUIRES: not running.
  void boot();
  // Ends SpringBoard: its process's events and registrations go, its objects are released, its
  // extensions unloaded and every hook undone. Files stay. Does nothing when not running.
  void terminate();
  // Ends SpringBoard and launches it again at once.
  void relaunch();
  // Asks for a relaunch from inside SpringBoard: the process ends now, and the new one is
  // launched by the device once the current event has returned.
  void requestRelaunch();
  // Called when SpringBoard's process ends by any road other than terminate() (a relaunch
  // request or a crash): like launchd, the device cleans up and launches it again.
  void processEnded();

  bool running() const { return pid_ != 0; }
  ProcessId pid() const { return pid_; }
  // How many times SpringBoard has been launched since the host was created.
  int launchCount() const { return launches_; }
  // The SpringBoard application object, or nil when not running.
  id application() const { return application_; }
  const ExtensionLoader& extensions() const { return *loader_; }

  // Locks the device: the lock screen comes up (isUILocked YES, the list's viewWillAppear:),
  // then the lock state becomes 1 and is posted; the display goes off.
  void lock();
  // Unlocks the device: the lock state becomes 0 and is posted, then SpringBoard clears the
  // lock-screen list for Notification Center.
  void unlock();
  // Turns the display on without changing the lock state; while locked the lock screen's list
  // appears again. Returns false when the display was already on.
  bool wake();
  bool locked() const { return locked_; }
  bool displayOn() const { return displayOn_; }

  // Called after every launch (tests and the simulator report relaunches through it).
  void setLaunchListener(std::function<void(int launchCount)> listener) {
    launchListener_ = std::move(listener);
  }

 private:
  SpringBoardHost();
  void setLockState();
  void publishLockState();
  void tearDown();

  ProcessId pid_ = 0;
  int launches_ = 0;
  bool locked_ = true;
  bool displayOn_ = true;
  bool relaunchPending_ = false;
  bool terminating_ = false;
  int lockStateToken_ = -1;
  objc::Strong application_;
  std::unique_ptr<ExtensionLoader> loader_;
  std::function<void(int)> launchListener_;
};

}  // namespace platform::springboard
