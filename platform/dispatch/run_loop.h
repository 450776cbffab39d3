#pragma once
// The device's main run loop: one queue of events ordered by due time, then by the order they
// were queued. Delayed blocks, timers and notification deliveries are all events here, and each
// runs on behalf of the process that queued it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "platform/foundation/clock.h"
#include "platform/foundation/process.h"
#include "platform/objc/exception.h"

namespace platform {

// Identifies one queued event; never reused within a host process. 0 is "no event".
using EventId = std::uint64_t;

class RunLoop {
 public:
  // Called when an NSException escapes an event: the owner process has crashed.
  using CrashHandler = std::function<void(ProcessId, const NSException&)>;

  // The run loop of the device's main thread.
  static RunLoop& main();

  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // Queues `work` to run at device time `due` on behalf of currentProcess(). A due time already
  // past runs at the next run. Work queued by a process that is no longer running is dropped
  // (and 0 returned).
  EventId post(DeviceTime due, std::function<void()> work);
  // Like post, on behalf of `owner` (a delivery runs as the process that receives it).
  EventId postFor(ProcessId owner, DeviceTime due, std::function<void()> work);

  // Removes a queued event; its work never runs. Returns whether it was still queued.
  bool cancel(EventId event);

  // Runs every event due at the clock's current time, including events that those events
  // queue for that time. Returns how many ran.
  std::size_t runDue();

  // Runs every event due at or before `t` in order. A virtual clock jumps to each event's due
  // time before it runs and rests at `t` afterwards; a wall clock is slept on until `t`.
  // A `t` already past behaves as runDue().
  void runUntil(DeviceTime t);
  // runUntil(now + seconds).
  void runFor(double seconds);

  // Keeps the loop going for a live session: runs what is due, then sleeps until the next
  // event or for at most `maxWait`, for as long as keepGoing() returns true.
  void runLive(const std::function<bool()>& keepGoing,
               std::chrono::milliseconds maxWait = std::chrono::milliseconds(20));

  // The due time of the first queued event, if any.
  std::optional<DeviceTime> nextDue() const;
  // How many events are queued.
  std::size_t pendingCount() const { return queue_.size(); }

  // Replaces the crash handler; an empty function restores the default (print to stderr).
  void setCrashHandler(CrashHandler handler);

  // Drops every queued event and restores the default crash handler, as on a fresh device.
  void reset();

 private:
  struct Event {
    ProcessId owner;
    std::function<void()> work;
  };
  // Due time, then sequence number: the order events run in.
  using Key = std::pair<DeviceTime, EventId>;

  RunLoop();
  // Removes the first event due at or before `limit` from the queue, if there is one.
  std::optional<Event> takeFirstDue(DeviceTime limit);
  // Runs one event as its owner, turning an escaping NSException into the owner's crash.
  void runEvent(Event event);
  // Drops the events of a process that has ended.
  void dropProcess(ProcessId pid);

  std::map<Key, Event> queue_;
  std::map<EventId, DeviceTime> dueOf_;
  EventId nextId_ = 1;
  CrashHandler crashHandler_;
};

}  // namespace platform
