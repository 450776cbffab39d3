#pragma once
// UINavigationController, its bar (UINavigationBar) and the items the bar shows
// (UINavigationItem): a stack of controllers, the top one shown under a bar that carries its
// navigation item's title and bar buttons.
//
// Pushing and popping change which controller's view the container shows. While the container
// is in a shown window, the controller that goes is sent viewWillDisappear: and the one that
// comes viewWillAppear: (its view loaded first), then the container is laid out; the
// transition ends later when animated, at once otherwise, with viewDidDisappear: and
// viewDidAppear:.

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
// Puts `controller` (retained) on top of the stack and becomes its container. A nil controller,
// one in the stack already or one another container holds raises NSInvalidArgumentException.
inline const Selector<void(id, BOOL)> pushViewController_animated{"pushViewController:animated:"};
// Takes the top controller off the stack and answers it; nil (and nothing changes) when only the
// root is left.
inline const Selector<id(BOOL)> popViewControllerAnimated{"popViewControllerAnimated:"};
// Takes every controller above the root off the stack and answers a new array of them, bottom
// first (empty when the root is on top).
inline const Selector<id(BOOL)> popToRootViewControllerAnimated{"popToRootViewControllerAnimated:"};
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
