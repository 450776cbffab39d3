#include "tweak/state/globals.h"

#include <map>
#include <string>

namespace tarrow8 {

// constinit: the library's constructor may run before its dynamic initialisers, so every global
// it touches must be initialised at load time already.
constinit Flags flags;
constinit Strong preferences;
constinit Strong keptItems;
constinit Strong removedBulletinIDs;
constinit Strong reminders;
constinit Strong listController;
constinit Strong listObserver;
constinit Strong listView;
constinit Strong bulletinServer;
constinit Strong bulletinViewController;
constinit Strong actionsSheet;
constinit Strong actionsSheetWindow;
constinit Strong remindersWindow;
constinit Strong reminderAlert;
constinit Strong reminderDatePicker;
constinit Strong reminderTimer;
constinit SavedImplementations saved;

Class cachedClass(const char* name) {
  static std::map<std::string, Class> cache;  // built on first use, after load
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  Class cls = objc_getClass(name);
  cache.emplace(name, cls);
  return cls;
}

}  // namespace tarrow8
