#pragma once
// NSLog: the platform's logging call. Each line goes to the device log file
// (/var/log/device.log under the device root), to the sinks tests and the simulator attach, and
// nowhere else.

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/nsstring.h"

// Logs a formatted message ("%@" prints an object's description) from the current process.
void NSLog(const char* format, ...);

namespace platform {

// One logged line: the process that logged it, its device time and the message.
struct LogEntry {
  std::string process;
  double time;  // seconds since the reference date
  std::string message;
};

// Registers a sink that sees every line logged from now on; returns a token for removeLogSink.
int addLogSink(std::function<void(const LogEntry&)> sink);
// Stops a sink registered with addLogSink.
void removeLogSink(int token);

// Every line logged since the last clearLog, in order (the device's in-memory log).
const std::vector<LogEntry>& loggedLines();
// Forgets the in-memory log (the log file is kept).
void clearLog();

}  // namespace platform
