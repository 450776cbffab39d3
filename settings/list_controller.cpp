// Tarrow8ListController, the pane's list controller: it reads and writes the settings file
// itself, tells the extension to reload it, greys out rows other settings make meaningless, and
// offers a respring after a change that only takes effect then. Its class is made when the
// Settings app loads the bundle.

#include <objc/runtime.h>

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/image_class.h"
#include "platform/objc/object.h"
#include "settings/filter_lists.h"
#include "settings/pane_settings.h"
#include "settings/preferences_headers.h"
#include "settings/respring_prompt.h"
#include "settings/row_state.h"

namespace pane {
namespace {

using platform::objc::Selector;

constexpr const char* kMirrorKey = "mirrorNotificationCenter";
constexpr const char* kIncludeKey = "includeNotificationCenter";
constexpr const char* kAllAppsKey = "enableAllApps";

Class listControllerClass() {
  return reinterpret_cast<Class>(paneClass("PSListController"));
}

// PSListController's own implementation of `selector`, for the calls that reach past an override.
template <class R, class... Args>
IMP inherited(const Selector<R(Args...)>& selector) {
  return class_getMethodImplementation(listControllerClass(), selector.sel());
}

// Whether `key` (nil or a string) names the setting `name`.
bool isKey(id key, const char* name) {
  return key && sel::isEqualToString(key, CFSTR(name));
}

// The specifier's settings key, or nil when it has none that is a string.
id settingsKey(id specifier) {
  id key = ps::propertyForKey(specifier, CFSTR("key"));
  return platform::isString(key) ? key : nil;
}

id initForContentSize(id self, SEL cmd, CGSize size) {
  id result = platform::objc::callSaved(inherited(ps::initForContentSize), ps::initForContentSize,
                                        self, cmd, size);
  if (!result) return nil;
  loadPaneSettings();
  return result;
}

void viewWillAppear(id self, SEL cmd, BOOL animated) {
  loadPaneSettings();
  platform::objc::callSaved(inherited(ps::viewWillAppear), ps::viewWillAppear, self, cmd, animated);
  ps::reload(self);
}

id cellForRow(id self, SEL cmd, id table, id indexPath) {
  id cell =
      platform::objc::callSaved(inherited(ps::tableView_cellForRowAtIndexPath),
                                ps::tableView_cellForRowAtIndexPath, self, cmd, table, indexPath);
  if (sel::isKindOfClass(cell, reinterpret_cast<Class>(paneClass("PSSwitchTableCell"))) &&
      sel::row(indexPath) == 0) {
    ps::setOnTintColor(ps::control(cell), ps::redColor(paneClass("UIColor")));
  }
  return cell;
}

id readPreferenceValue(id self, SEL, id specifier) {
  id key = settingsKey(specifier);
  id value = key ? sel::objectForKey(paneSettings, key) : nil;
  if (!value) value = ps::propertyForKey(specifier, CFSTR("default"));
  if (isKey(key, kMirrorKey))
    applyMirroringRule(self, booleanValue(value, false));
  else if (isKey(key, kAllAppsKey))
    applyAllAppsRule(self, booleanValue(value, true));
  return value;
}

void setPreferenceValue(id self, SEL, id value, id specifier) {
  loadPaneSettings();
  id key = settingsKey(specifier);
  if (!key) return;  // a row that edits no setting has nothing to write
  if (isKey(key, kMirrorKey))
    applyMirroringRule(self, booleanValue(value, false));
  else if (isKey(key, kAllAppsKey))
    applyAllAppsRule(self, booleanValue(value, false));
  if (value)
    sel::setObject_forKey(paneSettings, value, key);
  else
    sel::removeObjectForKey(paneSettings, key);
  if (!writePaneSettings()) {
    // Nothing changed on file: the rows go back to what the file holds, the extension is not
    // told to reload, and the user learns why the switch went back.
    loadPaneSettings();
    ps::reload(self);
    showWriteFailedNotice(self);
    return;
  }
  id notification = ps::propertyForKey(specifier, CFSTR("PostNotification"));
  if (platform::isString(notification)) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), notification,
                                         nullptr, nullptr, true);
  }
  if (isKey(key, kMirrorKey) || isKey(key, kIncludeKey)) showRespringPrompt(self);
}

void alertDismissed(id, SEL, id alert, long buttonIndex) {
  respringPromptDismissed(alert, buttonIndex);
}

id specifiers(id self, SEL) {
  Ivar cache = class_getInstanceVariable(listControllerClass(), "_specifiers");
  if (!cache) return nil;
  if (id cached = object_getIvar(self, cache)) return cached;
  id loaded = ps::loadSpecifiersFromPlistName_target(self, CFSTR("Tarrow8"), self);
  object_setIvar(self, cache, platform::objc::retain(loaded));
  describeApplicationLists(self);
  return loaded;
}

// Makes Tarrow8ListController when the Settings app loads the bundle (or points the class an
// earlier load made at this copy of the code).
__attribute__((constructor)) void defineListController() {
  Class parent = listControllerClass();
  if (!parent) return;  // not loaded by the Settings app
  platform::objc::ImageClass("Tarrow8ListController", parent)
      .method(ps::initForContentSize, initForContentSize)
      .method(ps::viewWillAppear, viewWillAppear)
      .method(ps::tableView_cellForRowAtIndexPath, cellForRow)
      .method(ps::readPreferenceValue, readPreferenceValue)
      .method(ps::setPreferenceValue_specifier, setPreferenceValue)
      .method(ps::alertView_didDismissWithButtonIndex, alertDismissed)
      .method(ps::specifiers, specifiers)
      .done();
}

}  // namespace
}  // namespace pane
