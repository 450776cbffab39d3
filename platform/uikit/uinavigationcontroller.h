#pragma once
// UINavigationController, its bar (UINavigationBar) and the items the bar shows
// (UINavigationItem): a stack of controllers, the top one shown under a bar that carries its
// navigation item's title and bar buttons.

#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"

namespace platform::uikit {

// The classes "UINavigationController", "UINavigationBar" and "UINavigationItem", created on
// first use.
Class UINavigationControllerClass();
Class UINavigationBarClass();
Class UINavigationItemClass();

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// UINavigationController: its stack starts with `root` (retained), whose container it becomes.
inline const Selector<id(id)> initWithRootViewController{"initWithRootViewController:"};
// The controller on top of the stack, nil for an empty stack.
inline const Selector<id()> topViewController{"topViewController"};
// A new array of the stack, bottom first.
inline const Selector<id()> viewControllers{"viewControllers"};
// The controller's bar, the same object on every call.
inline const Selector<id()> navigationBar{"navigationBar"};

// UINavigationBar: its style (0 default, 1 black), and whether it lets what is below show
// through (YES until set).
inline const Selector<long()> barStyle{"barStyle"};
inline const Selector<void(long)> setBarStyle{"setBarStyle:"};
inline const Selector<BOOL()> isTranslucent{"isTranslucent"};
inline const Selector<void(BOOL)> setTranslucent{"setTranslucent:"};

// UINavigationItem: a title and the bar buttons on either side (retained).
inline const Selector<id(id)> initWithTitle{"initWithTitle:"};
inline const Selector<id()> leftBarButtonItem{"leftBarButtonItem"};
inline const Selector<void(id)> setLeftBarButtonItem{"setLeftBarButtonItem:"};
inline const Selector<id()> rightBarButtonItem{"rightBarButtonItem"};
inline const Selector<void(id)> setRightBarButtonItem{"setRightBarButtonItem:"};
}  // namespace sel
