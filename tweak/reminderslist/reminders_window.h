#pragma once
// The reminders window: "Edit All Reminders" shows every pending reminder in a window just below
// the status bar, where each can be moved to another minute or deleted, and all can be cleared.

#include <objc/objc.h>

namespace tarrow8 {

// Closes a visible Notification Center, then shows the list in a new `remindersWindow`.
void openRemindersWindow();

// The classes "MyRootViewController" and "MyViewController", made on first use. When a class of
// that name already exists (this library was loaded into the process before), its methods are
// pointed at this copy of the library.
Class myRootViewControllerClass();
Class myViewControllerClass();

}  // namespace tarrow8
