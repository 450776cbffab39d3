#include "platform/foundation/nslog.h"

#include <cstdarg>
#include <fstream>
#include <map>

#include "platform/foundation/clock.h"
#include "platform/foundation/device_root.h"
#include "platform/foundation/format.h"
#include "platform/foundation/process.h"

namespace platform {
namespace {

struct Log {
  std::vector<LogEntry> lines;
  std::map<int, std::function<void(const LogEntry&)>> sinks;
  int nextSink = 1;
};

Log& log() {
  static auto* l = new Log();
  return *l;
}

void appendToFile(const LogEntry& entry) {
  auto path = resolveDevicePath("/var/log/device.log");
  if (!path) return;
  std::error_code ignored;
  std::filesystem::create_directories(path->parent_path(), ignored);
  std::ofstream out(*path, std::ios::app);
  out << formatString("%.3f", entry.time) << ' ' << entry.process << ": " << entry.message << '\n';
}

}  // namespace

int addLogSink(std::function<void(const LogEntry&)> sink) {
  int token = log().nextSink++;
  log().sinks[token] = std::move(sink);
  return token;
}

void removeLogSink(int token) {
  log().sinks.erase(token);
}

const std::vector<LogEntry>& loggedLines() {
  return log().lines;
}

void clearLog() {
  log().lines.clear();
}

}  // namespace platform

void NSLog(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string message = platform::formatWithArguments(format, args);
  va_end(args);
  platform::LogEntry entry{platform::processName(platform::currentProcess()),
                           platform::DeviceClock::shared().nowSeconds(), message};
  platform::log().lines.push_back(entry);
  platform::appendToFile(entry);
  auto sinks = platform::log().sinks;  // a sink may remove itself
  for (auto& [token, sink] : sinks) sink(entry);
}
