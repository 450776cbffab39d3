#include "tweak/lockscreen/capture_filter.h"

#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "tweak/state/globals.h"

namespace tarrow8 {
namespace {

// Whether the settings hold `prefix` joined to `sectionID` with a true value.
bool listed(const char* prefix, id sectionID) {
  id key = CFSTR(prefix);
  if (platform::isString(sectionID)) key = sel::stringByAppendingString(key, sectionID);
  id value = sel::objectForKey(preferences, key);
  // A date, data or collection has no boolean reading; asking would raise on the platform.
  if (!value || !sel::respondsToSelector(value, sel::boolValue.sel())) return false;
  return sel::boolValue(value) != NO;
}

}  // namespace

bool passesCaptureFilter(id sectionID) {
  if (flags.enableAllApps) return !listed("Blacklist-", sectionID);
  return listed("Whitelist-", sectionID);
}

}  // namespace tarrow8
