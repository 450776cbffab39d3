#include "platform/preferences/applist/application_list.h"

#include <charconv>

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/foundation/installed_applications.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nslog.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/objc/class_builder.h"
#include "platform/preferences/applist/bundle_predicate.h"
#include "platform/preferences/applist/list_settings.h"
#include "platform/preferences/psspecifier.h"
#include "platform/preferences/psviewcontroller.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uiimage.h"
#include "platform/uikit/uilabel.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uitableviewcell.h"
#include "platform/uikit/uiview.h"
#include "platform/uikit/uiviewcontroller.h"

namespace platform::preferences {
namespace {

using objc::Strong;

constexpr const char* kCellClassName = "ALCheckCell";
constexpr long kGroupedStyle = 1;
// The icon format of a 29-point icon (the list's size), and of larger ones.
constexpr int kSmallIconFormat = 0;
constexpr int kLargeIconFormat = 2;

struct ListSection {
  std::string title;
  std::vector<const InstalledApplication*> applications;
  int iconSize = 0;
};

struct AppListBody : objc::NativeBody {
  ~AppListBody() override {
    if (table) {
      sel::setDataSource(table, nil);
      sel::setDelegate(table, nil);
    }
  }
  bool described = false;
  std::vector<ListSection> sections;
  std::string settingsPath;
  std::string keyPrefix;
  bool defaultValue = false;
  Strong notification;
  Strong settings;  // the settings file's dictionary as last read (nil: none)
  std::vector<std::string> problems;
  Strong table;
};

AppListBody* listBody(id object) {
  return objc::native<AppListBody>(object);
}

void report(AppListBody& b, const std::string& problem) {
  NSLog("[AppList] %s", problem.c_str());
  b.problems.push_back(problem);
}

id property(id specifier, const char* key) {
  return sel::propertyForKey(specifier, CFSTR(key));
}

bool booleanOf(id value, bool absent) {
  if (!value || !objc::respondsTo(value, sel::boolValue.sel())) return absent;
  return sel::boolValue(value) != NO;
}

// The icon size a descriptor asks for: a number, or a string holding one; 0 for none.
int iconSizeOf(id value, AppListBody& b, const std::string& where) {
  if (!value) return 0;
  if (isNumber(value)) return static_cast<int>(sel::integerValue(value));
  std::string text = utf8(value);
  int size = 0;
  auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), size);
  if (failed != std::errc() || end != text.data() + text.size() || size < 0) {
    report(b, where + ": \"icon-size\" is not a number of points: shown without icons");
    return 0;
  }
  return size;
}

// One section from its descriptor: the applications that pass its predicate, by name.
ListSection describeSection(id descriptor, AppListBody& b, const std::string& where) {
  ListSection section;
  section.title = utf8(objectForKey(descriptor, "title"));
  id cellClass = objectForKey(descriptor, "cell-class-name");
  if (cellClass && utf8(cellClass) != kCellClassName) {
    report(b, where + ": the cell class \"" + utf8(cellClass, "(not a string)") +
                  "\" is not one the list has: the section shows nothing");
    return section;
  }
  std::optional<BundlePredicate> predicate;
  if (id text = objectForKey(descriptor, "predicate")) {
    std::string error = "it is not a string";
    if (isString(text)) predicate = parseBundlePredicate(utf8(text), &error);
    if (!predicate) {
      report(b, where + ": its predicate cannot be read: " + error + ": the section shows nothing");
      return section;
    }
  }
  section.iconSize = iconSizeOf(objectForKey(descriptor, "icon-size"), b, where);
  bool suppressHidden = booleanOf(objectForKey(descriptor, "suppress-hidden-apps"), false);
  for (const InstalledApplication& app : installedApplications()) {
    if (suppressHidden && app.hidden) continue;
    if (predicate && !predicate->matches(app.bundleIdentifier)) continue;
    section.applications.push_back(&app);
  }
  return section;
}

// Reads the list's description from its specifier, once.
AppListBody& described(id self) {
  AppListBody& b = *listBody(self);
  if (b.described) return b;
  b.described = true;
  id specifier = sel::specifier(self);
  if (id path = property(specifier, "ALSettingsPath"); isString(path))
    b.settingsPath = utf8(path);
  else
    report(b, "the row gives no \"ALSettingsPath\": check marks cannot be saved");
  if (id prefix = property(specifier, "ALSettingsKeyPrefix"); isString(prefix))
    b.keyPrefix = utf8(prefix);
  else
    report(b, "the row gives no \"ALSettingsKeyPrefix\": keys are bare bundle identifiers");
  b.defaultValue = booleanOf(property(specifier, "ALSettingsDefaultValue"), false);
  if (id name = property(specifier, "ALChangeNotification"); isString(name)) b.notification = name;
  id descriptors = property(specifier, "ALSectionDescriptors");
  if (!objc::isKindOf(descriptors, NSArrayClass())) {
    report(b, "the row gives no \"ALSectionDescriptors\" array: the list is empty");
    return b;
  }
  long index = 0;
  for (const Strong& descriptor : arrayElements(descriptors)) {
    std::string where = "section " + std::to_string(index++);
    if (!objc::isKindOf(descriptor, NSDictionaryClass())) {
      report(b, where + " is described by no dictionary: left out");
      continue;
    }
    b.sections.push_back(describeSection(descriptor, b, where));
  }
  return b;
}

const InstalledApplication* applicationAt(id self, id indexPath) {
  AppListBody& b = described(self);
  long section = sel::section(indexPath);
  long row = sel::row(indexPath);
  if (section < 0 || section >= static_cast<long>(b.sections.size())) return nullptr;
  const auto& apps = b.sections[static_cast<std::size_t>(section)].applications;
  if (row < 0 || row >= static_cast<long>(apps.size())) return nullptr;
  return apps[static_cast<std::size_t>(row)];
}

bool isChecked(AppListBody& b, const InstalledApplication& app) {
  id stored = objectForKey(b.settings, b.keyPrefix + app.bundleIdentifier);
  return booleanOf(stored, b.defaultValue);
}

void readSettings(AppListBody& b) {
  b.settings = b.settingsPath.empty() ? Strong() : readDictionaryFile(b.settingsPath, false);
}

void loadView(id self, SEL) {
  AppListBody& b = described(self);
  sel::setTitle(self, sel::name(sel::specifier(self)));
  readSettings(b);
  Strong made = Strong::adopt(
      sel::initWithFrame_style(sel::alloc(reinterpret_cast<id>(uikit::UITableViewClass())),
                               uikit::mainScreenBounds(), kGroupedStyle));
  sel::setDataSource(made, self);
  sel::setDelegate(made, self);
  b.table = made;
  sel::setView(self, made);
}

void viewWillAppear(id self, SEL cmd, BOOL animated) {
  IMP inherited = class_getMethodImplementation(PSViewControllerClass(), cmd);
  objc::callSaved(inherited, sel::viewWillAppear, self, cmd, animated);
  AppListBody& b = described(self);
  readSettings(b);
  if (b.table) sel::reloadData(b.table);
}

long numberOfSections(id self, SEL, id) {
  return static_cast<long>(described(self).sections.size());
}
long numberOfRows(id self, SEL, id, long section) {
  AppListBody& b = described(self);
  if (section < 0 || section >= static_cast<long>(b.sections.size())) return 0;
  return static_cast<long>(b.sections[static_cast<std::size_t>(section)].applications.size());
}
id headerTitle(id self, SEL, id, long section) {
  AppListBody& b = described(self);
  if (section < 0 || section >= static_cast<long>(b.sections.size())) return nil;
  return objc::autorelease(nsstring(b.sections[static_cast<std::size_t>(section)].title).leak());
}

id cellForRow(id self, SEL, id tableView, id indexPath) {
  AppListBody& b = described(self);
  const InstalledApplication* app = applicationAt(self, indexPath);
  Strong identifier = nsstring(kCellClassName);
  Strong cell(sel::dequeueReusableCellWithIdentifier(tableView, identifier));
  if (!cell) {
    cell = Strong::adopt(
        sel::initWithStyle_reuseIdentifier(sel::alloc(reinterpret_cast<id>(ALCheckCellClass())),
                                           uikit::UITableViewCellStyleDefault, identifier));
  }
  if (!app) return objc::autorelease(cell.leak());
  int iconSize = b.sections[static_cast<std::size_t>(sel::section(indexPath))].iconSize;
  sel::setText(sel::textLabel(cell), nsstring(app->displayName));
  id icon = nil;
  if (iconSize > 0) {
    double scale = sel::scale(sel::mainScreen(reinterpret_cast<id>(uikit::UIScreenClass())));
    icon = sel::applicationIconImageForBundleIdentifier_format_scale(
        reinterpret_cast<id>(uikit::UIImageClass()), nsstring(app->bundleIdentifier),
        iconSize <= 29 ? kSmallIconFormat : kLargeIconFormat, scale);
  }
  sel::setImage(sel::imageView(cell), icon);
  sel::setAccessoryType(cell, isChecked(b, *app) ? uikit::UITableViewCellAccessoryCheckmark
                                                 : uikit::UITableViewCellAccessoryNone);
  return objc::autorelease(cell.leak());
}

// A tap turns the application's mark over, once the settings file holds the change.
void didSelectRow(id self, SEL, id tableView, id indexPath) {
  Strong keep(self);
  sel::deselectRowAtIndexPath_animated(tableView, indexPath, YES);
  AppListBody& b = described(self);
  const InstalledApplication* app = applicationAt(self, indexPath);
  if (!app) return;
  if (b.settingsPath.empty()) {
    report(b, "the mark of " + app->bundleIdentifier + " cannot be saved: no \"ALSettingsPath\"");
    return;
  }
  bool checked = !isChecked(b, *app);
  std::string error =
      writeListSetting(b.settingsPath, b.keyPrefix + app->bundleIdentifier, checked);
  if (!error.empty()) {
    report(b, "the mark of " + app->bundleIdentifier + " was not saved: " + error);
    return;
  }
  readSettings(b);
  if (id cell = sel::cellForRowAtIndexPath(tableView, indexPath)) {
    sel::setAccessoryType(cell, checked ? uikit::UITableViewCellAccessoryCheckmark
                                        : uikit::UITableViewCellAccessoryNone);
  }
  if (b.notification) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         b.notification, nullptr, nullptr, true);
  }
}

}  // namespace

Class ALApplicationListControllerClass() {
  static Class cls = objc::deviceClass(
      "ALApplicationListController", PSViewControllerClass(), [](objc::ClassBuilder& b) {
        b.body<AppListBody>()
            .method(sel::loadView, loadView)
            .method(sel::viewWillAppear, viewWillAppear)
            .method(sel::numberOfSectionsInTableView, numberOfSections)
            .method(sel::tableView_numberOfRowsInSection, numberOfRows)
            .method(sel::tableView_titleForHeaderInSection, headerTitle)
            .method(sel::tableView_cellForRowAtIndexPath, cellForRow)
            .method(sel::tableView_didSelectRowAtIndexPath, didSelectRow);
      });
  return cls;
}

Class ALCheckCellClass() {
  static Class cls =
      objc::deviceClass("ALCheckCell", uikit::UITableViewCellClass(), [](objc::ClassBuilder&) {});
  return cls;
}

std::string applicationListBundleIdentifier(id controller, long section, long row) {
  if (!objc::isKindOf(controller, ALApplicationListControllerClass())) return "";
  Strong path = indexPath(row, section);
  const InstalledApplication* app = applicationAt(controller, path);
  return app ? app->bundleIdentifier : "";
}

std::vector<std::string> applicationListProblems(id controller) {
  AppListBody* b = listBody(controller);
  return b ? b->problems : std::vector<std::string>{};
}

}  // namespace platform::preferences
