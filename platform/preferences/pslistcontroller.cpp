#include "platform/preferences/pslistcontroller.h"

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/foundation/device_root.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nslog.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/objc/class_builder.h"
#include "platform/preferences/preference_bundle.h"
#include "platform/preferences/psspecifier.h"
#include "platform/preferences/pstablecell.h"
#include "platform/preferences/specifier_list.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uinavigationcontroller.h"
#include "platform/uikit/uiswitch.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uitableviewcell.h"
#include "platform/uikit/uiview.h"
#include "platform/uikit/uiviewcontroller.h"

namespace platform::preferences {
namespace {

using objc::Strong;

constexpr const char* kSpecifiers = "_specifiers";
constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences/";
constexpr long kGroupedStyle = 1;

const objc::Selector<void(id)> switchValueChanged{"_switchValueChanged:"};

// What the controller keeps besides its specifiers: its table and the one cell of each row.
struct ListBody : objc::NativeBody {
  ~ListBody() override;
  id self = nil;  // the controller, once its table or a switch points back at it
  Strong table;
  struct Cached {
    Strong specifier;
    Strong cell;
  };
  std::vector<Cached> cells;
};

// The table and the switches hold the controller weakly: they must not reach it once it is gone.
ListBody::~ListBody() {
  if (table) {
    sel::setDataSource(table, nil);
    sel::setDelegate(table, nil);
  }
  for (const Cached& c : cells) {
    id control = sel::control(c.cell);
    if (objc::isKindOf(control, uikit::UISwitchClass()))
      sel::removeTarget_action_forControlEvents(control, self, nullptr, ~0UL);
  }
}

ListBody& body(id self) {
  ListBody& b = *objc::native<ListBody>(self);
  b.self = self;
  return b;
}

// One section of the rows: the group that starts it (nil for rows before any group) and its rows.
struct Section {
  id group = nil;
  std::vector<id> rows;
};

// The sections of the controller's specifiers, asked for through a send.
std::vector<Section> sectionsOf(id self) {
  std::vector<Section> sections;
  for (const Strong& s : arrayElements(sel::specifiers(self))) {
    if (!objc::isKindOf(s, PSSpecifierClass())) continue;
    if (sel::cellType(s) == PSGroupCell) {
      sections.push_back({s.get(), {}});
      continue;
    }
    if (sections.empty()) sections.push_back({});
    sections.back().rows.push_back(s.get());
  }
  return sections;
}

id stringProperty(id specifier, const char* key) {
  id value = sel::propertyForKey(specifier, CFSTR(key));
  return isString(value) ? value : nil;
}

std::string domainFile(id domain) {
  return kPreferencesFolder + utf8(domain) + ".plist";
}

id cachedCell(id self, id specifier) {
  for (const ListBody::Cached& c : body(self).cells) {
    if (c.specifier.get() == specifier) return c.cell;
  }
  return nil;
}

// Shows `specifier`'s value, read through a send, in its cell.
void showValue(id self, id specifier) {
  Strong value(sel::readPreferenceValue(self, specifier));
  sel::setValue(cachedCell(self, specifier), value);
}

// The one cell of `specifier`, made on first use. The cache holds it before its value is read,
// so the read may ask for any row's cell, this one's included.
id cellFor(id self, id specifier) {
  if (id cell = cachedCell(self, specifier)) return cell;
  Strong keep(specifier);
  Strong cell = makeCellForSpecifier(specifier);
  id control = sel::control(cell);
  if (objc::isKindOf(control, uikit::UISwitchClass())) {
    sel::addTarget_action_forControlEvents(control, self, switchValueChanged.sel(),
                                           uikit::UIControlEventValueChanged);
  }
  body(self).cells.push_back({keep, cell});
  if (stringProperty(specifier, "key")) showValue(self, specifier);
  return cell;
}

bool isSubclassOf(Class cls, Class of) {
  for (Class c = cls; c; c = class_getSuperclass(c)) {
    if (c == of) return true;
  }
  return false;
}

id specifiers(id self, SEL) {
  return objc::objectIvar(self, kSpecifiers);
}
void setSpecifiers(id self, SEL, id specifiers) {
  objc::setObjectIvar(self, kSpecifiers, specifiers);
  body(self).cells.clear();
  if (id table = body(self).table) sel::reloadData(table);
}

id loadSpecifiers(id self, SEL, id name, id) {
  auto folder = bundleFolderOfClass(object_getClass(self));
  if (!folder) {
    NSLog("[Preferences] %s was loaded from no bundle: it has no specifier list %@",
          objc::className(self), name);
    return sel::array(reinterpret_cast<id>(NSArrayClass()));
  }
  SpecifierList list = readSpecifierList(*folder / (utf8(name) + ".plist"));
  for (const std::string& problem : list.problems) NSLog("[Preferences] %s", problem.c_str());
  if (list.title) sel::setTitle(self, list.title);
  return objc::autorelease(list.specifiers.leak());
}

id specifierForID(id self, SEL, id identifier) {
  for (const Strong& s : arrayElements(objc::objectIvar(self, kSpecifiers))) {
    if (!objc::isKindOf(s, PSSpecifierClass())) continue;
    id own = sel::identifier(s);
    if (own && identifier && sel::isEqual(own, identifier)) return s;
  }
  return nil;
}

id table(id self, SEL) {
  return body(self).table;
}

void reload(id self, SEL) {
  std::vector<Strong> keyed;
  for (const Section& section : sectionsOf(self)) {
    for (id row : section.rows) {
      if (stringProperty(row, "key")) keyed.emplace_back(row);
    }
  }
  for (const Strong& row : keyed) {
    if (cachedCell(self, row))
      showValue(self, row);
    else
      cellFor(self, row);
  }
  if (id shown = body(self).table) sel::reloadData(shown);
}

void loadView(id self, SEL) {
  Strong made = Strong::adopt(
      sel::initWithFrame_style(sel::alloc(reinterpret_cast<id>(uikit::UITableViewClass())),
                               uikit::mainScreenBounds(), kGroupedStyle));
  sel::setDataSource(made, self);
  sel::setDelegate(made, self);
  body(self).table = made;
  sel::setView(self, made);
}

void viewWillAppear(id self, SEL cmd, BOOL animated) {
  IMP inherited = class_getMethodImplementation(PSViewControllerClass(), cmd);
  objc::callSaved(inherited, sel::viewWillAppear, self, cmd, animated);
  id shown = body(self).table;
  if (id selected = sel::indexPathForSelectedRow(shown))
    sel::deselectRowAtIndexPath_animated(shown, selected, animated);
}

long numberOfSections(id self, SEL, id) {
  return static_cast<long>(sectionsOf(self).size());
}
long numberOfRows(id self, SEL, id, long section) {
  auto sections = sectionsOf(self);
  if (section < 0 || section >= static_cast<long>(sections.size())) return 0;
  return static_cast<long>(sections[static_cast<std::size_t>(section)].rows.size());
}
id cellForRow(id self, SEL, id, id indexPath) {
  id specifier = specifierAtRow(self, sel::section(indexPath), sel::row(indexPath));
  return specifier ? cellFor(self, specifier) : nil;
}
id headerTitle(id self, SEL, id, long section) {
  auto sections = sectionsOf(self);
  if (section < 0 || section >= static_cast<long>(sections.size())) return nil;
  return sel::name(sections[static_cast<std::size_t>(section)].group);
}
id footerTitle(id self, SEL, id, long section) {
  auto sections = sectionsOf(self);
  if (section < 0 || section >= static_cast<long>(sections.size())) return nil;
  return stringProperty(sections[static_cast<std::size_t>(section)].group, "footerText");
}

// A link row opens the controller its "detail" names on the navigation controller.
void didSelectRow(id self, SEL, id tableView, id indexPath) {
  Strong specifier(specifierAtRow(self, sel::section(indexPath), sel::row(indexPath)));
  sel::deselectRowAtIndexPath_animated(tableView, indexPath, YES);
  long type = sel::cellType(specifier);
  id detail = stringProperty(specifier, "detail");
  if (!detail || (type != PSLinkCell && type != PSLinkListCell)) return;
  Class cls = objc_getClass(utf8(detail).c_str());
  if (!cls || !isSubclassOf(cls, uikit::UIViewControllerClass())) {
    NSLog("[Preferences] the row %@ opens %@, which is no view controller class",
          sel::identifier(specifier), detail);
    return;
  }
  id made = sel::alloc(reinterpret_cast<id>(cls));
  Strong opened = Strong::adopt(class_respondsToSelector(cls, sel::initForContentSize.sel())
                                    ? sel::initForContentSize(made, uikit::mainScreenBounds().size)
                                    : sel::init(made));
  if (!opened) return;
  if (objc::respondsTo(opened, sel::setSpecifier.sel())) sel::setSpecifier(opened, specifier);
  id navigation = sel::navigationController(self);
  if (!navigation) {
    NSLog("[Preferences] %s is in no navigation controller: %@ cannot open", objc::className(self),
          detail);
    return;
  }
  sel::pushViewController_animated(navigation, opened, YES);
}

void switchChanged(id self, SEL, id control) {
  for (const ListBody::Cached& c : body(self).cells) {
    if (sel::control(c.cell) != control) continue;
    Strong specifier = c.specifier;
    Strong value = nsnumber(sel::isOn(control) != NO);
    sel::setPreferenceValue_specifier(self, value, specifier);
    return;
  }
}

id readPreferenceValue(id, SEL, id specifier) {
  id key = stringProperty(specifier, "key");
  if (!key) return nil;
  if (id domain = stringProperty(specifier, "defaults")) {
    Strong file = readDictionaryFile(domainFile(domain), false);
    if (id stored = sel::objectForKey(file, key)) return objc::autorelease(objc::retain(stored));
  }
  return sel::propertyForKey(specifier, CFSTR("default"));
}

void setPreferenceValue(id, SEL, id value, id specifier) {
  id key = stringProperty(specifier, "key");
  if (!key) return;
  if (id domain = stringProperty(specifier, "defaults")) {
    std::string path = domainFile(domain);
    Strong file = readDictionaryFile(path, true);
    auto host = resolveDevicePath(path);
    std::error_code ec;
    if (!file && host && std::filesystem::exists(*host, ec)) {
      NSLog("[Preferences] %s cannot be read as a dictionary: not overwritten", path.c_str());
      return;
    }
    if (!file) file = mutableDictionary();
    if (value)
      sel::setObject_forKey(file, value, key);
    else
      sel::removeObjectForKey(file, key);
    if (!writeDictionaryFile(file, path)) {
      NSLog("[Preferences] %s cannot be written", path.c_str());
      return;
    }
  }
  if (id notification = stringProperty(specifier, "PostNotification")) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), notification,
                                         nullptr, nullptr, true);
  }
}

}  // namespace

Class PSListControllerClass() {
  static Class cls =
      objc::deviceClass("PSListController", PSViewControllerClass(), [](objc::ClassBuilder& b) {
        b.ivar<id>(kSpecifiers)
            .body<ListBody>()
            .method(sel::specifiers, specifiers)
            .method(sel::setSpecifiers, setSpecifiers)
            .method(sel::loadSpecifiersFromPlistName_target, loadSpecifiers)
            .method(sel::specifierForID, specifierForID)
            .method(sel::table, table)
            .method(sel::reload, reload)
            .method(sel::loadView, loadView)
            .method(sel::viewWillAppear, viewWillAppear)
            .method(sel::numberOfSectionsInTableView, numberOfSections)
            .method(sel::tableView_numberOfRowsInSection, numberOfRows)
            .method(sel::tableView_cellForRowAtIndexPath, cellForRow)
            .method(sel::tableView_titleForHeaderInSection, headerTitle)
            .method(sel::tableView_titleForFooterInSection, footerTitle)
            .method(sel::tableView_didSelectRowAtIndexPath, didSelectRow)
            .method(switchValueChanged, switchChanged)
            .method(sel::readPreferenceValue, readPreferenceValue)
            .method(sel::setPreferenceValue_specifier, setPreferenceValue);
      });
  return cls;
}

id specifierAtRow(id controller, long section, long row) {
  auto sections = sectionsOf(controller);
  if (section < 0 || section >= static_cast<long>(sections.size())) return nil;
  const auto& rows = sections[static_cast<std::size_t>(section)].rows;
  if (row < 0 || row >= static_cast<long>(rows.size())) return nil;
  return rows[static_cast<std::size_t>(row)];
}

}  // namespace platform::preferences
