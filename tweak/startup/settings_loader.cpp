#include "tweak/startup/settings_loader.h"

#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "tweak/state/globals.h"

namespace tarrow8 {
namespace {

// Reads one dictionary file as a mutable dictionary; nil when it is missing or not a dictionary.
Strong readSettingsFile(const char* path) {
  id cls = classObject("NSMutableDictionary");
  return Strong::adopt(sel::initWithContentsOfFile(sel::alloc(cls), CFSTR(path)));
}

// The eight keys, in the order they are applied, and the flag each sets.
struct KeyRow {
  const char* key;
  bool Flags::*flag;
  bool negated;
};
constexpr KeyRow kKeys[] = {
    {"enabled", &Flags::enabled, false},
    {"mirrorNotificationCenter", &Flags::mirrorNotificationCenter, false},
    {"includeNotificationCenter", &Flags::includeNotificationCenter, false},
    {"enableNotificationActions", &Flags::enableNotificationActions, false},
    {"saveForUnlock", &Flags::saveForUnlock, false},
    {"saveForNotificationCenter", &Flags::saveForNotificationCenter, false},
    {"manualRemoval", &Flags::automaticRemoval, true},
    {"enableAllApps", &Flags::enableAllApps, false},
};

}  // namespace

void loadSettings() {
  preferences.reset();
  preferences = readSettingsFile(kSettingsPath);
  if (!preferences) {
    preferences = readSettingsFile(kLegacySettingsPath);
    if (!preferences) {
      flags.enabled = false;
      preferences = newInstance("NSMutableDictionary");
      return;
    }
    sel::writeToFile_atomically(preferences, CFSTR(kSettingsPath), YES);
  }
  for (const KeyRow& row : kKeys) {
    id value = sel::objectForKey(preferences, CFSTR(row.key));
    // Only values with a boolean reading count; anything else would raise on the platform.
    if (!value || !sel::respondsToSelector(value, sel::boolValue.sel())) continue;
    bool on = sel::boolValue(value) != NO;
    flags.*row.flag = row.negated ? !on : on;
  }
}

}  // namespace tarrow8
