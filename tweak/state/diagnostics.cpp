#include "tweak/state/diagnostics.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsset.h"
#include "platform/foundation/nsstring.h"
#include "tweak/state/globals.h"

namespace tarrow8 {
namespace {

// The store's keys (or members) as a sorted array of strings.
Strong sortedIDs(id store, bool isSet) {
  Strong result = platform::mutableArray();
  if (!store) return result;
  Strong ids = isSet ? Strong(sel::allObjects(store)) : Strong(sel::allKeys(store));
  std::vector<std::string> names;
  for (const Strong& key : platform::arrayElements(ids)) names.push_back(platform::utf8(key, "?"));
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) sel::addObject(result, platform::nsstring(name));
  return result;
}

}  // namespace
}  // namespace tarrow8

extern "C" id Tarrow8CopyDiagnostics() {
  using namespace tarrow8;
  platform::objc::AutoreleasePool pool;
  Strong snapshot = platform::mutableDictionary();
  Strong flagValues = platform::mutableDictionary();
  const std::pair<const char*, bool> rows[] = {
      {"deviceLocked", flags.deviceLocked},
      {"enabled", flags.enabled},
      {"mirrorNotificationCenter", flags.mirrorNotificationCenter},
      {"includeNotificationCenter", flags.includeNotificationCenter},
      {"enableNotificationActions", flags.enableNotificationActions},
      {"saveForUnlock", flags.saveForUnlock},
      {"saveForNotificationCenter", flags.saveForNotificationCenter},
      {"manualRemoval", !flags.automaticRemoval},
      {"enableAllApps", flags.enableAllApps},
      {"gracePeriodOver", flags.gracePeriodOver},
  };
  for (const auto& [name, value] : rows)
    platform::setObjectForKey(flagValues, name, platform::nsnumber(value));
  platform::setObjectForKey(snapshot, "flags", flagValues);
  platform::setObjectForKey(snapshot, "keptItems", sortedIDs(keptItems, false));
  platform::setObjectForKey(snapshot, "removedBulletinIDs", sortedIDs(removedBulletinIDs, true));
  platform::setObjectForKey(snapshot, "reminders", sortedIDs(reminders, false));
  Strong dates = platform::mutableDictionary();
  for (const Strong& key : platform::arrayElements(reminders ? sel::allKeys(reminders) : nil)) {
    id fireDate =
        sel::objectForKey(sel::objectForKey(reminders, key), platform::nsstring("fireDate"));
    if (fireDate && platform::isString(key))
      platform::setObjectForKey(dates, platform::utf8(key), fireDate);
  }
  platform::setObjectForKey(snapshot, "reminderDates", dates);
  if (preferences) platform::setObjectForKey(snapshot, "preferences", preferences);
  Strong remembered = platform::mutableArray();
  const std::pair<const char*, const Strong*> held[] = {
      {"listController", &listController},
      {"listObserver", &listObserver},
      {"listView", &listView},
      {"bulletinServer", &bulletinServer},
      {"bulletinViewController", &bulletinViewController},
  };
  for (const auto& [name, object] : held) {
    if (*object) sel::addObject(remembered, platform::nsstring(name));
  }
  platform::setObjectForKey(snapshot, "remembered", remembered);
  return snapshot.leak();
}
