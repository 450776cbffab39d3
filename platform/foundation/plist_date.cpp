#include "platform/foundation/plist_date.h"

#include <cmath>

namespace platform::plist::detail {

SplitDate splitDate(double seconds) {
  const std::int64_t total = std::llround(seconds * static_cast<double>(kMicrosPerSecond));
  return {total / kMicrosPerSecond, total % kMicrosPerSecond};
}

double joinDate(std::int64_t seconds, std::int64_t micros) {
  return static_cast<double>(seconds) +
         static_cast<double>(micros) / static_cast<double>(kMicrosPerSecond);
}

bool dateFits(double seconds) {
  if (!std::isfinite(seconds) || seconds < kEarliestDate) return false;
  if (seconds >= static_cast<double>(kLatestDateSecond) + 1.0) return false;
  return splitDate(seconds).seconds <= kLatestDateSecond;
}

double normaliseDate(double seconds) {
  const SplitDate split = splitDate(seconds);
  return joinDate(split.seconds, split.micros);
}

}  // namespace platform::plist::detail
