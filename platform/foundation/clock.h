#pragma once
// The device's one clock. Virtual by default: it stands still until told to move, so delays and
// due dates are exact. A live session can make it follow the host's wall clock instead.

#include <chrono>
#include <cstdint>

namespace platform {

// Device time: nanoseconds since the platform's reference date, 2001-01-01 00:00:00 UTC.
using DeviceTime = std::int64_t;

// Seconds between the Unix epoch and the reference date.
inline constexpr std::int64_t kSecondsFrom1970To2001 = 978307200;
inline constexpr std::int64_t kNanosPerSecond = 1'000'000'000;

class DeviceClock {
 public:
  // The clock every device subsystem reads.
  static DeviceClock& shared();

  // The current device time.
  DeviceTime now() const;
  // The current time in seconds since the reference date, as NSDate counts it.
  double nowSeconds() const { return static_cast<double>(now()) / kNanosPerSecond; }

  // Makes the clock virtual and sets it to `t`.
  void setVirtual(DeviceTime t);
  // Moves a virtual clock to `t`. REQUIRES: virtual mode and t >= now().
  void advanceTo(DeviceTime t);
  // Makes the clock follow the host's wall clock from now on.
  void followWallClock();
  // Whether the clock is virtual (moves only when told).
  bool isVirtual() const { return virtual_; }

 private:
  bool virtual_ = true;
  DeviceTime virtualNow_ = 0;
};

}  // namespace platform
