#include "platform/foundation/clock.h"

#include <cassert>

namespace platform {

DeviceClock& DeviceClock::shared() {
  static DeviceClock clock;
  return clock;
}

DeviceTime DeviceClock::now() const {
  if (virtual_) return virtualNow_;
  auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count();
  return nanos - kSecondsFrom1970To2001 * kNanosPerSecond;
}

void DeviceClock::setVirtual(DeviceTime t) {
  virtual_ = true;
  virtualNow_ = t;
}

void DeviceClock::advanceTo(DeviceTime t) {
  assert(virtual_ && t >= virtualNow_);
  if (t > virtualNow_) virtualNow_ = t;
}

void DeviceClock::followWallClock() {
  virtual_ = false;
}

}  // namespace platform
