#pragma once
// UIViewController: owns a view that loadView makes the first time it is asked for (viewDidLoad
// follows), presents other controllers over its window and dismisses them, and carries the
// title and navigation item that a navigation bar shows.
//
// Presenting puts the presented controller's view over the whole window of the presenter (the
// presenter's outermost container presents); dismissing takes it, and whatever it presents in
// turn, away. An animated transition ends later (a new event on the main run loop at the same
// device time, for the process that started it); one without animation ends at once. The
// completion runs when the transition ends.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"

namespace platform::uikit {

// The class "UIViewController", created on first use.
Class UIViewControllerClass();

// Makes `parent` the container that holds `child` (not retained; nil for none), as containers
// such as UINavigationController do for their children.
void setParentViewController(id child, id parent);

// The controllers shown in `window`: its root view controller, then each presented controller
// above it, bottom to top. Empty for a window without a root.
std::vector<id> controllersShownIn(id window);
// The stacking order (platform/uikit/uiwindow.h's nextStackingOrder) at which `controller` was
// last presented; 0 for one never presented.
std::uint64_t presentationStackingOrder(id controller);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// A block run once a transition ends; may be empty.
using CompletionBlock = std::function<void()>;

// Replaces the controller's view (retained); nil lets the next `view` load it again.
inline const Selector<void(id)> setView{"setView:"};
// Makes the view; UIViewController's own makes a plain view the size of the main screen.
inline const Selector<void()> loadView{"loadView"};
// Sent once the view is loaded; does nothing itself.
inline const Selector<void()> viewDidLoad{"viewDidLoad"};
inline const Selector<BOOL()> isViewLoaded{"isViewLoaded"};
// Appearance: sent as the view comes on screen and goes (do nothing themselves).
inline const Selector<void(BOOL)> viewWillAppear{"viewWillAppear:"};
inline const Selector<void(BOOL)> viewDidAppear{"viewDidAppear:"};
inline const Selector<void(BOOL)> viewWillDisappear{"viewWillDisappear:"};
inline const Selector<void(BOOL)> viewDidDisappear{"viewDidDisappear:"};
// Does nothing itself; subclasses drop their views' references and call it.
inline const Selector<void()> viewDidUnload{"viewDidUnload"};
// The item a navigation bar shows for this controller, made on first use with its title.
inline const Selector<id()> navigationItem{"navigationItem"};
// The UINavigationController that holds the controller (directly or through its parents), nil
// when none does.
inline const Selector<id()> navigationController{"navigationController"};
// The container that holds the controller, nil when none does (not retained).
inline const Selector<id()> parentViewController{"parentViewController"};
// Presents `controller` over the presenter's window. Nothing happens (and the completion does
// not run) when the presenter already presents one, or its view is in no shown window; a nil
// controller, the presenter itself, or one already presented or held by a container raises
// NSInvalidArgumentException.
inline const Selector<void(id, BOOL, CompletionBlock)> presentViewController_animated_completion{
    "presentViewController:animated:completion:"};
// Dismisses what the receiver presents or, when it presents nothing, the presented controller
// that holds it. Nothing happens (and the completion does not run) when there is neither.
inline const Selector<void(BOOL, CompletionBlock)> dismissViewControllerAnimated_completion{
    "dismissViewControllerAnimated:completion:"};
// The controller this one (or its outermost container) presents (retained), and the one that
// presents it (not retained); nil when none.
inline const Selector<id()> presentedViewController{"presentedViewController"};
inline const Selector<id()> presentingViewController{"presentingViewController"};
// Rotation and the status bar: portrait only, and the default (dark) style.
inline const Selector<BOOL(long)> shouldAutorotateToInterfaceOrientation{
    "shouldAutorotateToInterfaceOrientation:"};
inline const Selector<long()> preferredStatusBarStyle{"preferredStatusBarStyle"};
}  // namespace sel
