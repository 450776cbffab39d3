#pragma once
// The extension's whole state, shared by every handler: the settings flags, the settings
// dictionary, the three stores, the SpringBoard objects remembered as SpringBoard creates them,
// the user-interface objects of the actions menu and the reminder editor, and the saved
// implementations of the hooks. It lives exactly as long as the SpringBoard process.

#include <objc/runtime.h>

#include "platform/objc/object.h"
#include "platform/objc/strong.h"

namespace tarrow8 {

using platform::objc::Strong;

// The ten one-byte flags. Eight mirror settings keys of the same names; `automaticRemoval` is
// the stored negation of the `manualRemoval` key.
struct Flags {
  bool deviceLocked = true;  // true exactly when the last lock state read was 1
  bool enabled = true;
  bool saveForUnlock = true;
  bool automaticRemoval = true;  // manualRemoval off
  bool enableNotificationActions = true;
  bool enableAllApps = true;
  bool saveForNotificationCenter = true;
  bool mirrorNotificationCenter = false;
  bool includeNotificationCenter = false;
  bool gracePeriodOver = false;  // set once, 5 s after SpringBoard finished launching
};
extern Flags flags;

// The settings file's contents from the last load (an empty dictionary when none was found).
extern Strong preferences;

// Kept bulletins: bulletinID -> kept-item entry (see entries.h).
extern Strong keptItems;
// bulletinIDs the user removed (a mutable set).
extern Strong removedBulletinIDs;
// Reminders: bulletinID -> reminder entry (see entries.h).
extern Strong reminders;

// SpringBoard objects, remembered as SpringBoard creates them; nil until then.
extern Strong listController;          // SBLockScreenNotificationListController
extern Strong listObserver;            // the list controller's _observer
extern Strong listView;                // SBLockScreenNotificationListView
extern Strong bulletinServer;          // BBServer
extern Strong bulletinViewController;  // SBBulletinViewController (Notification Center)

// Transient user interface; nil when nothing is shown.
extern Strong actionsSheet;
extern Strong actionsSheetWindow;
extern Strong remindersWindow;
extern Strong reminderAlert;
extern Strong reminderDatePicker;
extern Strong reminderTimer;

// The implementations the hooks replaced, each called by exactly one handler. Null when the
// running SpringBoard lacks the hooked method.
struct SavedImplementations {
  IMP addBulletinToSection = nullptr;                   // SBBulletinObserverViewController
  IMP removeBulletinFromSection = nullptr;              // SBBulletinObserverViewController
  IMP notificationCellLayoutSubviews = nullptr;         // SBNotificationCell
  IMP bulletinViewDidLoad = nullptr;                    // SBBulletinViewController
  IMP bulletinCellForRow = nullptr;                     // SBBulletinViewController
  IMP bulletinEditActions = nullptr;                    // SBBulletinViewController
  IMP handleActionForBulletinWithCompletion = nullptr;  // SBNotificationCenterController
  IMP listLoadView = nullptr;                           // SBLockScreenNotificationListController
  IMP observerRemoveBulletin = nullptr;                 // SBLockScreenNotificationListController
  IMP listViewWillAppear = nullptr;                     // SBLockScreenNotificationListController
  IMP clearItemsForNotificationCenter = nullptr;        // SBLockScreenNotificationListController
  IMP updateModelAndViewForAdditionOfItem = nullptr;    // SBLockScreenNotificationListController
  IMP observerAddBulletin = nullptr;                    // SBLockScreenNotificationListController
  IMP listViewInitWithFrame = nullptr;                  // SBLockScreenNotificationListView
  IMP listViewHandleAction = nullptr;                   // SBLockScreenNotificationListView
  IMP listEditActions = nullptr;                        // SBLockScreenNotificationListView
  IMP withdrawBulletinID = nullptr;                     // BBServer
  IMP serverInit = nullptr;                             // BBServer
  IMP applicationDidFinishLaunching = nullptr;          // SpringBoard
};
extern SavedImplementations saved;

// The platform class named `name`, looked up on first use and cached for the process's life.
Class cachedClass(const char* name);
// The same class as a receiver for class methods (`[NSDate date]`).
inline id classObject(const char* name) {
  return reinterpret_cast<id>(cachedClass(name));
}
// A new, empty instance of the named class (`[Class new]`), owned by the caller's Strong.
inline Strong newInstance(const char* className) {
  return Strong::adopt(sel::new_(classObject(className)));
}

}  // namespace tarrow8
