// MyViewController, the reminders list, and MyRootViewController, the empty root of its window.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/exception.h"
#include "platform/objc/image_class.h"
#include "tweak/actions/reminder_editor.h"
#include "tweak/actions/reminder_firing.h"
#include "tweak/reminderslist/reminders_window.h"
#include "tweak/state/entries.h"
#include "tweak/state/globals.h"
#include "tweak/state/ivars.h"
#include "tweak/state/springboard_headers.h"
#include "tweak/state/uikit_headers.h"

namespace tarrow8 {
namespace {

using platform::objc::Selector;

const Selector<BOOL(long)> shouldAutorotate{"shouldAutorotateToInterfaceOrientation:"};
const Selector<long()> preferredStatusBarStyle{"preferredStatusBarStyle"};
const Selector<void(id)> clearAllReminders{"clearAllReminders:"};
const Selector<void(id)> closeReminderWindow{"closeReminderWindow:"};
const Selector<void()> reloadReminders{"reloadReminders"};
const Selector<long(id)> numberOfSectionsInTableView{"numberOfSectionsInTableView:"};
const Selector<long(id, long)> numberOfRowsInSection{"tableView:numberOfRowsInSection:"};
const Selector<id(id, id)> cellForRow{"tableView:cellForRowAtIndexPath:"};
const Selector<void(id, id)> didSelectRow{"tableView:didSelectRowAtIndexPath:"};
const Selector<id()> tableViewGetter{"tableView"};
const Selector<void(id)> setTableView{"setTableView:"};
const Selector<id()> dataGetter{"data"};
const Selector<void(id)> setData{"setData:"};

constexpr long kSubtitleStyle = 3;
constexpr long kDone = 0;
constexpr long kTrash = 16;

BOOL yes(id, SEL, long) {
  return YES;
}
long lightContent(id, SEL) {
  return 1;
}

id getTableView(id self, SEL) {
  return ivarValue(self, "_tableView");
}
void putTableView(id self, SEL, id table) {
  setStrongIvar(self, "_tableView", table);
}
id getData(id self, SEL) {
  return ivarValue(self, "_data");
}
void putData(id self, SEL, id data) {
  setStrongIvar(self, "_data", data);
}

// The dismissal's completion: the window goes with its last reference.
void closeWindow(id self) {
  ui::dismissViewControllerAnimated_completion(self, YES, [] {
    ui::resignKeyWindow(remindersWindow);
    remindersWindow.reset();
  });
}

void clearAll(id self, SEL, id) {
  sel::removeAllObjects(reminders);
  reloadReminders(self);
  closeWindow(self);
}
void close(id self, SEL, id) {
  closeWindow(self);
}

void loadListView(id self, SEL) {
  reloadReminders(self);
  CGRect bounds = ui::bounds(ui::mainScreen(classObject("UIScreen")));
  Strong table =
      Strong::adopt(ui::initWithFrame_style(sel::alloc(classObject("UITableView")), bounds, 0));
  setTableView(self, table);
  ui::setDelegate(table, self);
  ui::setDataSource(table, self);
  Strong plain = newInstance("UIView");
  ui::setView(self, plain);
  ui::addSubview(plain, table);
  id item = ui::navigationItem(self);
  Strong done = Strong::adopt(ui::initWithBarButtonSystemItem_target_action(
      sel::alloc(classObject("UIBarButtonItem")), kDone, self, closeReminderWindow.sel()));
  Strong trash = Strong::adopt(ui::initWithBarButtonSystemItem_target_action(
      sel::alloc(classObject("UIBarButtonItem")), kTrash, self, clearAllReminders.sel()));
  ui::setLeftBarButtonItem(item, done);
  ui::setRightBarButtonItem(item, trash);
  id bar = ui::navigationBar(ui::navigationController(self));
  ui::setTintColor(bar, ui::whiteColor(classObject("UIColor")));
  ui::setTranslucent(bar, NO);
}

void reload(id self, SEL) {
  if (!reminders || sel::count(reminders) == 0) {
    setData(self, nil);
  } else {
    // Earliest fire date first; equal dates in either order.
    std::vector<std::pair<Strong, Strong>> keyed;
    for (const Strong& key : platform::arrayElements(sel::allKeys(reminders)))
      keyed.emplace_back(
          key, sel::objectForKey(sel::objectForKey(reminders, key), CFSTR(kEntryFireDate)));
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return sel::compare(a.second, b.second) == -1; });
    Strong sorted = Strong::adopt(sel::new_(classObject("NSMutableArray")));
    for (const auto& [key, date] : keyed) sel::addObject(sorted, key);
    setData(self, sorted);
  }
  ui::reloadData(getTableView(self, nullptr));
}

void viewDidUnload(id self, SEL cmd) {
  ui::setView(self, nil);
  setTableView(self, nil);
  Class parent = class_getSuperclass(object_getClass(self));
  reinterpret_cast<void (*)(id, SEL)>(class_getMethodImplementation(parent, cmd))(self, cmd);
}

long oneSection(id, SEL, id) {
  return 1;
}
long rowCount(id self, SEL, id, long) {
  id data = getData(self, nullptr);
  return data ? static_cast<long>(sel::count(data)) : 0;
}

// Whether the entry's archive gives its bulletin back, as firing it will need.
bool holdsABulletin(id entry) {
  try {
    reminderBulletin(entry);
    return true;
  } catch (const NSException&) {
    return false;
  }
}

// The detail of a row whose notification cannot be read: its date, and that nothing will show.
Strong unreadableDetail(id when) {
  std::string date = platform::utf8(when);
  return platform::nsstring((date.empty() ? "" : date + " \u2014 ") +
                            "unreadable, will not be shown");
}

id cell(id self, SEL, id table, id indexPath) {
  id cell = ui::dequeueReusableCellWithIdentifier(table, CFSTR("Cell"));
  if (!cell) {
    cell = platform::objc::autorelease(ui::initWithStyle_reuseIdentifier(
        sel::alloc(classObject("UITableViewCell")), kSubtitleStyle, CFSTR("Cell")));
  }
  id key =
      sel::objectAtIndex(getData(self, nullptr), static_cast<unsigned long>(sel::row(indexPath)));
  id entry = sel::objectForKey(reminders, key);
  ui::setText(ui::textLabel(cell), sel::objectForKey(entry, CFSTR(kEntryTitle)));
  Strong formatter = newInstance("NSDateFormatter");
  ui::setDateStyle(formatter, 1);
  ui::setTimeStyle(formatter, 1);
  id when = ui::stringFromDate(formatter, sel::objectForKey(entry, CFSTR(kEntryFireDate)));
  // A reminder whose notification cannot be read back would only be dropped when it is due;
  // the row says so, rather than promising an alert.
  ui::setText(ui::detailTextLabel(cell),
              holdsABulletin(entry) ? when : unreadableDetail(when).get());
  double scale = ui::scale(ui::mainScreen(classObject("UIScreen")));
  ui::setImage(
      ui::imageView(cell),
      ui::applicationIconImage(classObject("UIImage"),
                               sel::objectForKey(entry, CFSTR(kEntrySectionID)), 0, scale));
  return cell;
}

void selectRow(id self, SEL, id table, id indexPath) {
  id key =
      sel::objectAtIndex(getData(self, nullptr), static_cast<unsigned long>(sel::row(indexPath)));
  id entry = sel::objectForKey(reminders, key);
  openReminderEditor(key, self, sel::objectForKey(entry, CFSTR(kEntryFireDate)));
  ui::deselectRowAtIndexPath_animated(table, indexPath, YES);
}

void alertDismissed(id self, SEL, id alert, long index) {
  if (ui::tag(alert) != kReminderAlertTag) return;
  Strong key = ui::accessibilityValue(alert);
  if (index == kReminderDelete) {
    sel::removeObjectForKey(reminders, key);
  } else if (index == kReminderAdd) {
    Strong changed = Strong::adopt(sel::mutableCopy(sel::objectForKey(reminders, key)));
    sel::setObject_forKey(changed, onItsMinute(ui::date(reminderDatePicker)),
                          CFSTR(kEntryFireDate));
    sel::setObject_forKey(reminders, changed, key);
  } else {
    return;
  }
  sb::reminderTimerFired(bulletinViewController, nil);
  reloadReminders(self);
}

Class viewControllerClass() {
  return objc_getClass("UIViewController");
}

}  // namespace

Class myRootViewControllerClass() {
  return platform::objc::ImageClass("MyRootViewController", viewControllerClass())
      .method(shouldAutorotate, yes)
      .method(preferredStatusBarStyle, lightContent)
      .done();
}

Class myViewControllerClass() {
  return platform::objc::ImageClass("MyViewController", viewControllerClass())
      .objectIvar("_tableView")
      .objectIvar("_data")
      .method(shouldAutorotate, yes)
      .method(preferredStatusBarStyle, lightContent)
      .method(clearAllReminders, clearAll)
      .method(closeReminderWindow, close)
      .method(sb::loadView, loadListView)
      .method(reloadReminders, reload)
      .method(ui::viewDidUnload, viewDidUnload)
      .method(numberOfSectionsInTableView, oneSection)
      .method(numberOfRowsInSection, rowCount)
      .method(cellForRow, cell)
      .method(didSelectRow, selectRow)
      .method(sb::alertView_didDismissWithButtonIndex, alertDismissed)
      .method(tableViewGetter, getTableView)
      .method(setTableView, putTableView)
      .method(dataGetter, getData)
      .method(setData, putData)
      .done();
}

}  // namespace tarrow8
