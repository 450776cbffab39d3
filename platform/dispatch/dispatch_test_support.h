#pragma once
// The fixture every dispatch test starts from: a fresh device with a virtual clock resting at a
// whole number of seconds, and crashes recorded instead of printed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dispatch/reset.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/process.h"
#include "platform/objc/object.h"

namespace platform::dispatch::test {

// The virtual clock's reading when each test starts: 1000 s after the reference date.
inline constexpr DeviceTime kStart = 1000 * kNanosPerSecond;

// One crash the run loop reported.
struct Crash {
  ProcessId pid;
  std::string reason;
};

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetForNewDevice();
    DeviceClock::shared().setVirtual(kStart);
    RunLoop::main().setCrashHandler([this](ProcessId pid, const NSException& e) {
      crashes_.push_back({pid, e.reason()});
    });
  }
  void TearDown() override {
    for (ProcessId pid : launched_) terminateProcess(pid);
    resetForNewDevice();
  }

  // Launches a process that the test ends when it finishes.
  ProcessId launch(const std::string& name) {
    ProcessId pid = launchProcess(name);
    launched_.push_back(pid);
    return pid;
  }
  RunLoop& loop() { return RunLoop::main(); }
  DeviceTime now() const { return DeviceClock::shared().now(); }

  std::vector<Crash> crashes_;
  objc::AutoreleasePool pool_;

 private:
  std::vector<ProcessId> launched_;
};

}  // namespace platform::dispatch::test
