#include "platform/dispatch/run_loop.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>
#include <utility>
#include <vector>

#include "platform/objc/object.h"

namespace platform {
namespace {

void printCrash(ProcessId pid, const NSException& exception) {
  std::fprintf(stderr,
               "*** Terminating process %d (%s) due to uncaught exception '%s', reason: '%s'\n",
               pid, processName(pid).c_str(), exception.name().c_str(), exception.reason().c_str());
}

DeviceClock& clock() {
  return DeviceClock::shared();
}

// Sleeps the host thread until the wall-clock device time `t` (no-op when it has passed).
void sleepUntil(DeviceTime t) {
  DeviceTime wait = t - clock().now();
  if (wait > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(wait));
}

}  // namespace

RunLoop& RunLoop::main() {
  // Never destroyed: events may hold objects whose release must not outlive the runtime.
  static RunLoop* loop = new RunLoop();
  return *loop;
}

RunLoop::RunLoop() : crashHandler_(printCrash) {
  onProcessExit([this](ProcessId pid) { dropProcess(pid); });
}

EventId RunLoop::post(DeviceTime due, std::function<void()> work) {
  return postFor(currentProcess(), due, std::move(work));
}

EventId RunLoop::postFor(ProcessId owner, DeviceTime due, std::function<void()> work) {
  if (!isRunning(owner)) return 0;
  EventId id = nextId_++;
  queue_.emplace(Key{due, id}, Event{owner, std::move(work)});
  dueOf_.emplace(id, due);
  return id;
}

bool RunLoop::cancel(EventId event) {
  auto due = dueOf_.find(event);
  if (due == dueOf_.end()) return false;
  auto it = queue_.find(Key{due->second, event});
  dueOf_.erase(due);
  // The work's captures are destroyed after the queue is consistent again: releasing them may
  // queue or cancel events.
  Event dropped = std::move(it->second);
  queue_.erase(it);
  return true;
}

std::optional<RunLoop::Event> RunLoop::takeFirstDue(DeviceTime limit) {
  if (queue_.empty() || queue_.begin()->first.first > limit) return std::nullopt;
  auto it = queue_.begin();
  Event event = std::move(it->second);
  dueOf_.erase(it->first.second);
  queue_.erase(it);
  return event;
}

void RunLoop::runEvent(Event event) {
  if (!isRunning(event.owner)) return;
  try {
    ProcessScope scope(event.owner);
    objc::AutoreleasePool pool;
    event.work();
    // Captured objects are released inside the owner's pool, as the block's own storage is.
    event.work = nullptr;
  } catch (const NSException& exception) {
    crashHandler_(event.owner, exception);
    terminateProcess(event.owner);
  }
}

std::size_t RunLoop::runDue() {
  std::size_t ran = 0;
  while (auto event = takeFirstDue(clock().now())) {
    runEvent(std::move(*event));
    ++ran;
  }
  return ran;
}

void RunLoop::runUntil(DeviceTime t) {
  for (;;) {
    DeviceTime now = clock().now();
    DeviceTime limit = std::max(now, t);
    auto next = nextDue();
    if (!next || *next > limit) break;
    if (*next > now) {
      if (clock().isVirtual()) {
        clock().advanceTo(*next);
      } else {
        sleepUntil(*next);
        continue;
      }
    }
    if (auto event = takeFirstDue(clock().now())) runEvent(std::move(*event));
  }
  if (clock().isVirtual()) {
    if (clock().now() < t) clock().advanceTo(t);
  } else {
    sleepUntil(t);
    runDue();
  }
}

void RunLoop::runFor(double seconds) {
  runUntil(clock().now() + std::llround(seconds * kNanosPerSecond));
}

void RunLoop::runLive(const std::function<bool()>& keepGoing, std::chrono::milliseconds maxWait) {
  while (keepGoing()) {
    runDue();
    DeviceTime wait = std::chrono::duration_cast<std::chrono::nanoseconds>(maxWait).count();
    if (auto next = nextDue(); next && !clock().isVirtual()) {
      wait = std::clamp<DeviceTime>(*next - clock().now(), 0, wait);
    }
    std::this_thread::sleep_for(std::chrono::nanoseconds(wait));
  }
}

std::optional<DeviceTime> RunLoop::nextDue() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.begin()->first.first;
}

void RunLoop::setCrashHandler(CrashHandler handler) {
  crashHandler_ = handler ? std::move(handler) : CrashHandler(printCrash);
}

void RunLoop::reset() {
  crashHandler_ = printCrash;
  // Releasing what dropped events captured may queue more; repeat until the loop stays empty.
  while (!queue_.empty()) {
    std::map<Key, Event> dropped;
    dropped.swap(queue_);
    dueOf_.clear();
  }
}

void RunLoop::dropProcess(ProcessId pid) {
  std::vector<Event> dropped;
  for (auto it = queue_.begin(); it != queue_.end();) {
    if (it->second.owner == pid) {
      dueOf_.erase(it->first.second);
      dropped.push_back(std::move(it->second));
      it = queue_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace platform
