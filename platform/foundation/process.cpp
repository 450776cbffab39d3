#include "platform/foundation/process.h"

#include <map>

namespace platform {
namespace {

struct ProcessTable {
  ProcessId next = 1;
  ProcessId current = kDeviceProcess;
  std::map<ProcessId, std::string> running;
  int nextListener = 1;
  std::map<int, std::function<void(ProcessId)>> listeners;
};

ProcessTable& table() {
  static auto* t = new ProcessTable();
  return *t;
}

}  // namespace

ProcessId launchProcess(const std::string& name) {
  ProcessId pid = table().next++;
  table().running[pid] = name;
  return pid;
}

void terminateProcess(ProcessId pid) {
  if (!table().running.erase(pid)) return;
  // Copy: a listener may register or remove listeners while we walk.
  auto listeners = table().listeners;
  for (auto& [token, listener] : listeners) listener(pid);
}

bool isRunning(ProcessId pid) {
  return pid == kDeviceProcess || table().running.count(pid) > 0;
}

std::string processName(ProcessId pid) {
  if (pid == kDeviceProcess) return "device";
  auto it = table().running.find(pid);
  return it == table().running.end() ? "" : it->second;
}

ProcessId currentProcess() {
  return table().current;
}

ProcessScope::ProcessScope(ProcessId pid) : previous_(table().current) {
  table().current = pid;
}
ProcessScope::~ProcessScope() {
  table().current = previous_;
}

int onProcessExit(std::function<void(ProcessId)> listener) {
  int token = table().nextListener++;
  table().listeners[token] = std::move(listener);
  return token;
}

void removeProcessExitListener(int token) {
  table().listeners.erase(token);
}

}  // namespace platform
