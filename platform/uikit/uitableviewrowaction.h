#pragma once
// UITableViewRowAction: a button a table shows beside a row the user swiped, with a title, a
// style and a colour. Tapping it runs its handler with the action and the row's index path.

#include <functional>

#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"

namespace platform::uikit {

// The class "UITableViewRowAction", created on first use.
Class UITableViewRowActionClass();

// The platform's row action styles: Default (the same as Destructive, red) and Normal (grey).
enum UITableViewRowActionStyle : long {
  UITableViewRowActionStyleDefault = 0,
  UITableViewRowActionStyleDestructive = 0,
  UITableViewRowActionStyleNormal = 1,
};

// Runs the handler of `action` with it and `indexPath`, as a tap on the button does. Returns
// whether `action` is a row action (one without a handler does nothing).
bool runRowActionHandler(id action, id indexPath);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// The handler a row action runs: void(UITableViewRowAction* action, NSIndexPath* indexPath).
using RowActionHandler = std::function<void(id, id)>;
// A new row action (a class method); the handler is copied and kept for the action's life.
inline const Selector<id(long, id, RowActionHandler)> rowActionWithStyle_title_handler{
    "rowActionWithStyle:title:handler:"};
}  // namespace sel
