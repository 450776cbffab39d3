#include "platform/dispatch/dispatch.h"

#include <limits>

#include "platform/dispatch/run_loop.h"
#include "platform/objc/exception.h"

// Every queue is a tag: all of them drain on the main run loop.
struct dispatch_queue_s {
  const char* label;
};

namespace platform::dispatch {
namespace {

// A dispatch time is the device time shifted by 2^63, so that the reference date and earlier
// times never collide with DISPATCH_TIME_NOW and the whole device range fits.
constexpr std::uint64_t kBias = std::uint64_t{1} << 63;

dispatch_time_t encode(DeviceTime t) {
  dispatch_time_t encoded = static_cast<std::uint64_t>(t) + kBias;
  if (encoded == DISPATCH_TIME_NOW) return 1;
  if (encoded == DISPATCH_TIME_FOREVER) return DISPATCH_TIME_FOREVER - 1;
  return encoded;
}

void submit(dispatch_queue_t queue, DeviceTime due, dispatch_block_t block) {
  if (!queue) NSException::raise(NSInvalidArgumentException, "dispatch: null queue");
  RunLoop::main().post(due, std::move(block));
}

}  // namespace

std::int64_t deviceTimeOf(dispatch_time_t when) {
  if (when == DISPATCH_TIME_NOW) return DeviceClock::shared().now();
  return static_cast<std::int64_t>(when - kBias);
}

}  // namespace platform::dispatch

using platform::dispatch::deviceTimeOf;

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t delta) {
  if (when == DISPATCH_TIME_FOREVER) return DISPATCH_TIME_FOREVER;
  std::int64_t base = deviceTimeOf(when);
  std::int64_t sum = 0;
  if (__builtin_add_overflow(base, delta, &sum)) {
    return delta > 0 ? DISPATCH_TIME_FOREVER
                     : platform::dispatch::encode(std::numeric_limits<std::int64_t>::min());
  }
  return platform::dispatch::encode(sum);
}

dispatch_queue_t dispatch_get_main_queue() {
  static dispatch_queue_s main{"com.apple.main-thread"};
  return &main;
}

dispatch_queue_t dispatch_get_global_queue(long, unsigned long) {
  static dispatch_queue_s global{"com.apple.root.default-qos"};
  return &global;
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block) {
  if (when == DISPATCH_TIME_FOREVER) return;
  platform::dispatch::submit(queue, deviceTimeOf(when), std::move(block));
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block) {
  platform::dispatch::submit(queue, platform::DeviceClock::shared().now(), std::move(block));
}
