// A small preference bundle for the Settings app's tests, loaded the way the Settings app loads
// any bundle. Its pane, TestPaneController, subclasses PSListController in the runtime: it
// loads the list "TestPane" (once, into the inherited cache), reads and writes through
// PSListController's own implementations and records each call; reading row 0's value greys rows 1
// and 2 of section 0 while it is off (asking PSListController for those cells as it reads), as a
// pane with dependent rows does; row 0 switches get a red on tint; changing "prompt" shows an alert
// and changing "explode" raises. Its constructor makes the classes, or points a class left by an
// earlier load at this copy of the code.

#include <objc/runtime.h>

#include <string>

#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/objc/image_class.h"
#include "platform/preferences/pslistcontroller.h"
#include "platform/preferences/psspecifier.h"
#include "platform/uikit/uikit_classes.h"

namespace {

namespace prefs = platform::preferences;
using platform::objc::Selector;
using platform::objc::Strong;

// Starts empty in every freshly loaded copy; a function-local static, because the constructor
// may run before this file's other globals are initialised.
std::string& events() {
  static std::string log;
  return log;
}
void record(const std::string& event) {
  events() += event + ";";
}

Class listClass() {
  return objc_getClass("PSListController");
}
template <class R, class... Args>
IMP inherited(const Selector<R(Args...)>& selector) {
  return class_getMethodImplementation(listClass(), selector.sel());
}
std::string keyOf(id specifier) {
  return platform::utf8(sel::propertyForKey(specifier, CFSTR("key")));
}

// Rows 1 and 2 of section 0 take touches only while row 0 is on.
void applyDependentRows(id self, bool enabled) {
  for (long row = 1; row <= 2; ++row) {
    Strong path = platform::indexPath(row, 0);
    id cell = platform::objc::callSaved(
        inherited(sel::tableView_cellForRowAtIndexPath), sel::tableView_cellForRowAtIndexPath, self,
        sel::tableView_cellForRowAtIndexPath.sel(), sel::table(self), path.get());
    sel::setUserInteractionEnabled(cell, enabled);
    sel::setEnabled(sel::textLabel(cell), enabled);
    sel::setEnabled(sel::control(cell), enabled);
  }
}

bool isOn(id value) {
  return value && sel::respondsToSelector(value, sel::boolValue.sel()) && sel::boolValue(value);
}

id initForContentSize(id self, SEL cmd, CGSize size) {
  record("initForContentSize");
  return platform::objc::callSaved(inherited(sel::initForContentSize), sel::initForContentSize,
                                   self, cmd, size);
}

id specifiers(id self, SEL) {
  Ivar cache = class_getInstanceVariable(listClass(), "_specifiers");
  if (id cached = object_getIvar(self, cache)) return cached;
  record("specifiers");
  id loaded = sel::loadSpecifiersFromPlistName_target(self, CFSTR("TestPane"), self);
  object_setIvar(self, cache, platform::objc::retain(loaded));
  return loaded;
}

void viewWillAppear(id self, SEL cmd, BOOL animated) {
  record("viewWillAppear");
  platform::objc::callSaved(inherited(sel::viewWillAppear), sel::viewWillAppear, self, cmd,
                            animated);
  sel::reload(self);
}

id cellForRow(id self, SEL cmd, id table, id indexPath) {
  id cell =
      platform::objc::callSaved(inherited(sel::tableView_cellForRowAtIndexPath),
                                sel::tableView_cellForRowAtIndexPath, self, cmd, table, indexPath);
  if (sel::row(indexPath) == 0 && sel::isKindOfClass(cell, objc_getClass("PSSwitchTableCell"))) {
    sel::setOnTintColor(sel::control(cell),
                        sel::redColor(reinterpret_cast<id>(objc_getClass("UIColor"))));
  }
  return cell;
}

id readPreferenceValue(id self, SEL cmd, id specifier) {
  record("read " + keyOf(specifier));
  id value = platform::objc::callSaved(inherited(sel::readPreferenceValue),
                                       sel::readPreferenceValue, self, cmd, specifier);
  if (keyOf(specifier) == "master") applyDependentRows(self, isOn(value));
  return value;
}

void setPreferenceValue(id self, SEL cmd, id value, id specifier) {
  std::string key = keyOf(specifier);
  record("write " + key + " " + (isOn(value) ? "on" : "off"));
  if (key == "explode") NSException::raise(NSInternalInconsistencyException, "the pane exploded");
  platform::objc::callSaved(inherited(sel::setPreferenceValue_specifier),
                            sel::setPreferenceValue_specifier, self, cmd, value, specifier);
  if (key == "master") applyDependentRows(self, isOn(value));
  if (key == "prompt") {
    Strong alert = platform::objc::make(objc_getClass("UIAlertView"));
    sel::setTitle(alert, CFSTR("Test Pane"));
    sel::setDelegate(alert, self);
    sel::addButtonWithTitle(alert, CFSTR("No"));
    sel::addButtonWithTitle(alert, CFSTR("Yes"));
    sel::setCancelButtonIndex(alert, 0);
    sel::show(alert);
  }
}

void alertDismissed(id, SEL, id, long index) {
  record("alert " + std::to_string(index));
}

__attribute__((constructor)) void start() {
  record("constructor");
  if (!listClass()) return;
  platform::objc::ImageClass("TestPaneController", listClass())
      .method(sel::initForContentSize, initForContentSize)
      .method(sel::specifiers, specifiers)
      .method(sel::viewWillAppear, viewWillAppear)
      .method(sel::tableView_cellForRowAtIndexPath, cellForRow)
      .method(sel::readPreferenceValue, readPreferenceValue)
      .method(sel::setPreferenceValue_specifier, setPreferenceValue)
      .method(sel::alertView_didDismissWithButtonIndex, alertDismissed)
      .done();
}

}  // namespace

// What this copy of the bundle was asked, in order.
extern "C" const char* TestBundleEvents() {
  return events().c_str();
}
extern "C" void TestBundleClearEvents() {
  events().clear();
}
