#include "tweak/state/globals.h"

#include <map>
#include <string>

namespace tarrow8 {

Flags flags;
Strong preferences;
Strong keptItems;
Strong removedBulletinIDs;
Strong reminders;
Strong listController;
Strong listObserver;
Strong listView;
Strong bulletinServer;
Strong bulletinViewController;
Strong actionsSheet;
Strong actionsSheetWindow;
Strong remindersWindow;
Strong reminderAlert;
Strong reminderDatePicker;
Strong reminderTimer;
SavedImplementations saved;

Class cachedClass(const char* name) {
  static std::map<std::string, Class> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  Class cls = objc_getClass(name);
  cache.emplace(name, cls);
  return cls;
}

}  // namespace tarrow8
