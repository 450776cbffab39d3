#pragma once
// The actions menu: a long press on a Notification Center cell, or the "T" row action of a row in
// Notification Center or on the lock screen, opens the "Tarrow 8 Actions" sheet for the row's
// bulletin.

#include <objc/objc.h>

#include "platform/uikit/geometry.h"

namespace tarrow8 {

// The colour of the menu row action and of the reminder marker.
inline constexpr double kMarkerRed = 113.0 / 255.0;
inline constexpr double kMarkerGreen = 162.0 / 255.0;
inline constexpr double kMarkerBlue = 234.0 / 255.0;
// A new UIColor of the marker colour (autoreleased).
id markerColor();
// The nearest UITableView above `view` in its superview chain, or nil.
id enclosingTable(id view);

// SBBulletinViewController tableView:cellForRowAtIndexPath:: the cell gets a long-press
// recognizer that opens the menu (while the actions are switched on).
id bulletinCellForRow(id self, SEL cmd, id tableView, id indexPath);
// Added to SBBulletinViewController as tarrow8Actions:: the long press that opens the menu.
void longPressActions(id self, SEL cmd, id recognizer);
// SBBulletinViewController and SBLockScreenNotificationListView
// tableView:editActionsForRowAtIndexPath:: the menu row action comes first.
id bulletinEditActions(id self, SEL cmd, id tableView, id indexPath);
id listEditActions(id self, SEL cmd, id tableView, id indexPath);

// Builds the actions sheet for `bulletin` (any object) shown at `indexPath`, with `delegate` as
// its delegate, and shows it: on a pad in a secure window of its own, elsewhere in the key window.
void presentActionsMenu(id bulletin, id indexPath, id delegate);

}  // namespace tarrow8
