#include "tweak/actions/actions_menu.h"

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "tweak/actions/row_key.h"
#include "tweak/state/globals.h"
#include "tweak/state/ivars.h"
#include "tweak/state/springboard_headers.h"
#include "tweak/state/uikit_headers.h"

namespace tarrow8 {
namespace {

using platform::objc::callSaved;

constexpr const char* kSheetTitle = "Tarrow 8 Actions";
constexpr double kLongPressSeconds = 0.5;

// The menu row action, whose handler runs `open` with the row's index path.
id menuRowAction(std::function<void(id indexPath)> open) {
  id action = ui::rowActionWithStyle_title_handler(
      classObject("UITableViewRowAction"), 0, CFSTR("T"),
      [open = std::move(open)](id, id indexPath) { open(indexPath); });
  ui::setBackgroundColor(action, markerColor());
  return action;
}

// The actions SpringBoard offered for a row, with the menu row action put first.
id withMenuAction(id offered, std::function<void(id indexPath)> open) {
  if (!flags.enabled || !flags.enableNotificationActions) return offered;
  Strong actions = offered ? Strong::adopt(sel::mutableCopy(offered))
                           : Strong::adopt(sel::new_(classObject("NSMutableArray")));
  sel::insertObject_atIndex(actions, menuRowAction(std::move(open)), 0);
  return platform::objc::autorelease(actions.leak());
}

// The fire date in the short date and time styles of the system's defaults.
id fireDateText(id fireDate) {
  Strong formatter = newInstance("NSDateFormatter");
  ui::setDateStyle(formatter, 1);
  ui::setTimeStyle(formatter, 1);
  return ui::stringFromDate(formatter, fireDate);
}

}  // namespace

id enclosingTable(id view) {
  static const Class tableClass = cachedClass("UITableView");  // asked on every cell layout
  id table = ui::superview(view);
  while (table && !sel::isKindOfClass(table, tableClass)) table = ui::superview(table);
  return table;
}

id markerColor() {
  return ui::colorWithRed_green_blue_alpha(classObject("UIColor"), kMarkerRed, kMarkerGreen,
                                           kMarkerBlue, 1.0);
}

id bulletinCellForRow(id self, SEL cmd, id tableView, id indexPath) {
  id cell = callSaved(saved.bulletinCellForRow, sb::tableView_cellForRowAtIndexPath, self, cmd,
                      tableView, indexPath);
  if (flags.enabled && flags.enableNotificationActions && cell) {
    Strong press = Strong::adopt(ui::initWithTarget_action(
        sel::alloc(classObject("UILongPressGestureRecognizer")), self, sb::tarrow8Actions.sel()));
    ui::setMinimumPressDuration(press, kLongPressSeconds);
    ui::addGestureRecognizer(cell, press);
  }
  return cell;
}

void longPressActions(id self, SEL, id recognizer) {
  if (ui::state(recognizer) != ui::kLongPressBegan) return;
  id cell = ui::view(recognizer);
  id table = enclosingTable(cell);
  if (!table) return;
  id indexPath = ui::indexPathForCell(table, cell);
  presentActionsMenu(sb::representedBulletinAtIndexPath(self, indexPath), indexPath, self);
}

id bulletinEditActions(id self, SEL cmd, id tableView, id indexPath) {
  id offered = callSaved(saved.bulletinEditActions, sb::tableView_editActionsForRowAtIndexPath,
                         self, cmd, tableView, indexPath);
  // The handler keeps the controller alive for as long as the row action exists.
  return withMenuAction(offered, [controller = Strong(self)](id path) {
    ui::setEditing(sb::tableView(controller), NO);
    presentActionsMenu(sb::representedBulletinAtIndexPath(controller, path), path, controller);
  });
}

id listEditActions(id self, SEL cmd, id tableView, id indexPath) {
  id offered = callSaved(saved.listEditActions, sb::tableView_editActionsForRowAtIndexPath, self,
                         cmd, tableView, indexPath);
  return withMenuAction(offered, [view = Strong(self)](id path) {
    ui::setEditing(ivarValue(view, "_tableView"), NO);
    presentActionsMenu(sb::activeBulletinForIndexPath(view, path), path, view);
  });
}

void presentActionsMenu(id bulletin, id indexPath, id delegate) {
  actionsSheet = Strong::adopt(
      ui::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles(
          sel::alloc(classObject("UIActionSheet")), CFSTR(kSheetTitle), delegate, nil, nil, nil));
  id sheet = actionsSheet;
  ui::setTag(sheet, sel::row(indexPath));
  ui::setAccessibilityValue(sheet, rowKey(indexPath));
  if (bulletin && sel::isKindOfClass(bulletin, cachedClass("BBBulletin"))) {
    id bulletinID = sb::bulletinID(bulletin);
    ui::addButtonWithTitle(sheet, sel::objectForKey(keptItems, bulletinID)
                                      ? CFSTR("Remove from LockScreen")
                                      : CFSTR("Add to LockScreen"));
    if (id reminder = sel::objectForKey(reminders, bulletinID)) {
      id when = fireDateText(sel::objectForKey(reminder, CFSTR("fireDate")));
      ui::addButtonWithTitle(sheet, platform::stringWithFormat("Edit Reminder: %@", when));
    } else {
      ui::addButtonWithTitle(sheet, CFSTR("Add Reminder"));
    }
    ui::addButtonWithTitle(sheet, CFSTR("Clear LockScreen Section"));
    ui::addButtonWithTitle(sheet, CFSTR("Clear LockScreen All"));
    if (!flags.deviceLocked && reminders && sel::count(reminders) > 0)
      ui::addButtonWithTitle(sheet, CFSTR("Edit All Reminders"));
  }
  ui::setCancelButtonIndex(sheet, ui::addButtonWithTitle(sheet, CFSTR("Cancel")));
  id device = ui::currentDevice(classObject("UIDevice"));
  long idiom = sel::respondsToSelector(device, ui::userInterfaceIdiom.sel())
                   ? ui::userInterfaceIdiom(device)
                   : 0;
  if (idiom == 1) {
    CGRect bounds = ui::bounds(ui::mainScreen(classObject("UIScreen")));
    actionsSheetWindow =
        Strong::adopt(ui::initWithFrame(sel::alloc(classObject("UIWindow")), bounds));
    id window = actionsSheetWindow;
    ui::setBackgroundColor(window, ui::clearColor(classObject("UIColor")));
    ui::setWindowLevel(window, ui::kUIWindowLevelAlert + 1.0);
    if (sel::respondsToSelector(window, ui::setSecure.sel())) ui::setSecure(window, YES);
    ui::makeKeyAndVisible(window);
    ui::showInView(sheet, window);
    return;
  }
  ui::showInView(sheet, ui::keyWindow(ui::sharedApplication(classObject("UIApplication"))));
}

}  // namespace tarrow8
