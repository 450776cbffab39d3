#pragma once
// libdispatch as the device offers it: absolute times on the device clock, the main queue, and
// blocks queued on it now or later. Every queue drains on the main run loop, since the device
// runs everything on its one main thread.

#include <cstdint>
#include <functional>

// A point in time for dispatch calls: opaque, built with dispatch_time().
using dispatch_time_t = std::uint64_t;
// "Now", read when the time is used.
inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
// A time that never comes.
inline constexpr dispatch_time_t DISPATCH_TIME_FOREVER = ~0ull;

// Unit conversions for dispatch_time's nanosecond deltas.
inline constexpr std::uint64_t NSEC_PER_SEC = 1000000000ull;
inline constexpr std::uint64_t NSEC_PER_MSEC = 1000000ull;
inline constexpr std::uint64_t NSEC_PER_USEC = 1000ull;
inline constexpr std::uint64_t USEC_PER_SEC = 1000000ull;

// A block of work (a C++ callable in this world).
using dispatch_block_t = std::function<void()>;

// A queue that blocks are submitted to.
struct dispatch_queue_s;
using dispatch_queue_t = dispatch_queue_s*;

// The time `delta` nanoseconds after `when` (DISPATCH_TIME_NOW: the clock's current time).
// DISPATCH_TIME_FOREVER stays forever, and so does a sum past the end of time.
dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t delta);

// The serial queue of the main thread; it drains on the main run loop.
dispatch_queue_t dispatch_get_main_queue();
// A concurrent queue of the given priority; on the device it too drains on the main run loop.
dispatch_queue_t dispatch_get_global_queue(long identifier, unsigned long flags);

// Submits `block` to run on `queue` at or after `when`, on behalf of the calling process.
// DISPATCH_TIME_FOREVER never runs it. REQUIRES: queue is not null.
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
// Submits `block` to run on `queue` as soon as the run loop gets to it (never synchronously).
// REQUIRES: queue is not null.
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);

namespace platform::dispatch {

// The device time (nanoseconds since the reference date) that a dispatch time stands for.
// REQUIRES: when != DISPATCH_TIME_FOREVER.
std::int64_t deviceTimeOf(dispatch_time_t when);

}  // namespace platform::dispatch
