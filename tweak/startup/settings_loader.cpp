#include "tweak/startup/settings_loader.h"

#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsfilemanager.h"
#include "platform/foundation/nsstring.h"
#include "tweak/state/globals.h"

namespace tarrow8 {
namespace {

// Reads one dictionary file as a mutable dictionary; nil when it is missing or not a dictionary.
Strong readSettingsFile(const char* path) {
  id cls = classObject("NSMutableDictionary");
  return Strong::adopt(sel::initWithContentsOfFile(sel::alloc(cls), CFSTR(path)));
}

// Copies whatever is at the current path (a file the loader could not read) to the
// ".unreadable" path, replacing an older copy in one step, so that the migration's write over it
// destroys nothing. True when nothing is there or the copy is made.
bool keepUnreadableCurrentFile() {
  id manager = sel::defaultManager(classObject("NSFileManager"));
  if (!sel::fileExistsAtPath(manager, CFSTR(kSettingsPath))) return true;
  id contents = sel::dataWithContentsOfFile(classObject("NSData"), CFSTR(kSettingsPath));
  return contents && sel::writeToFile_atomically(contents, CFSTR(kUnreadableSettingsPath), YES);
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
    // What cannot be kept aside is not written over: the next load tries the migration again.
    if (keepUnreadableCurrentFile())
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
