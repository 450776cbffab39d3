#pragma once
// The fixture every UIKit test starts from: a fresh device with a virtual clock, one running
// application process the test acts as, a phone, and a log that probe objects write what they
// were told to.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/dispatch/reset.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/foundation_classes.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/process.h"
#include "platform/objc/object.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::uikit::test {

// The virtual clock's reading when each test starts: 1000 s after the reference date.
inline constexpr DeviceTime kStart = 1000 * kNanosPerSecond;

// What the probes were told, in order ("didDismiss 2").
inline std::vector<std::string>& probeLog() {
  static auto* log = new std::vector<std::string>();
  return *log;
}

class UIKitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    foundation::registerClasses();
    registerClasses();
    dispatch::resetForNewDevice();
    DeviceClock::shared().setVirtual(kStart);
    RunLoop::main().setCrashHandler(
        [this](ProcessId, const NSException& e) { crashes_.push_back(e.reason()); });
    setDeviceIdiom(UIUserInterfaceIdiomPhone);
    probeLog().clear();
    app_ = launchProcess("App");
    scope_.emplace(app_);
  }
  void TearDown() override {
    scope_.reset();
    terminateProcess(app_);
    dispatch::resetForNewDevice();
    setDeviceIdiom(UIUserInterfaceIdiomPhone);
  }

  // Runs what is due now on the main run loop (what "later" means).
  void runLater() { RunLoop::main().runDue(); }
  double nowSeconds() const { return DeviceClock::shared().nowSeconds(); }
  ProcessId app() const { return app_; }
  // Ends the application's process, as a crash or a relaunch does.
  void endApp() {
    scope_.reset();
    terminateProcess(app_);
  }

  std::vector<std::string> crashes_;
  objc::AutoreleasePool pool_;

 private:
  ProcessId app_ = 0;
  std::optional<ProcessScope> scope_;
};

// The text of an NSString, for comparisons.
inline std::string str(id object) {
  return utf8(object, "(not a string)");
}

}  // namespace platform::uikit::test
