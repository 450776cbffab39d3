#pragma once
// Simulated processes of the device (SpringBoard, the Settings app). They share one thread; each
// registration, delayed block and observer belongs to the process that made it and ends with it.

#include <functional>
#include <string>

namespace platform {

// Identifies one run of a process; never reused within a host process. 0 is "the device itself".
using ProcessId = int;
inline constexpr ProcessId kDeviceProcess = 0;

// Starts a new process named `name` (e.g. "SpringBoard") and returns its id.
ProcessId launchProcess(const std::string& name);

// Ends `pid`: every listener registered with onProcessExit runs so that subsystems drop what the
// process owned. Ending an unknown or ended process does nothing.
void terminateProcess(ProcessId pid);

// Whether `pid` has been launched and not yet terminated (the device process always runs).
bool isRunning(ProcessId pid);

// The name a process was launched with ("device" for kDeviceProcess, "" when unknown).
std::string processName(ProcessId pid);

// The process on whose behalf code is running now.
ProcessId currentProcess();

// Runs the enclosed code as `pid`, restoring the previous current process on exit.
class ProcessScope {
 public:
  explicit ProcessScope(ProcessId pid);
  ~ProcessScope();
  ProcessScope(const ProcessScope&) = delete;
  ProcessScope& operator=(const ProcessScope&) = delete;

 private:
  ProcessId previous_;
};

// Registers `listener` to run whenever a process terminates (subsystems use it to drop the
// process's registrations). Returns a token for removeProcessExitListener.
int onProcessExit(std::function<void(ProcessId)> listener);
// Removes a listener registered with onProcessExit.
void removeProcessExitListener(int token);

}  // namespace platform
