#pragma once
// UIBarButtonItem: a button on a navigation bar, either one of the platform's system items
// (Done, Trash, ...) or one with a title of its own. Tapping it sends its action to its target
// with the item as the argument.

#include <string>

#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"

namespace platform::uikit {

// The class "UIBarButtonItem", created on first use.
Class UIBarButtonItemClass();

// The platform's system items that the device knows by name (UIBarButtonSystemItem values run
// from 0, Done, to 23, PageCurl).
inline constexpr long UIBarButtonSystemItemDone = 0;
inline constexpr long UIBarButtonSystemItemTrash = 16;

// What the item shows a person: its title, or for a system item the word on it or the name of
// its symbol ("Done", "Trash"); "" for anything that is not a bar button item.
std::string barButtonShownTitle(id item);

// The user taps the item: its action goes to its target with the item. Returns "" or why
// nothing was sent (not an item, disabled, no target).
std::string tapBarButton(id item);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// An item showing system item `systemItem`, sending `action` (void(id sender)) to `target` (not
// retained). A value outside the platform's system items raises NSInvalidArgumentException.
inline const Selector<id(long, id, SEL)> initWithBarButtonSystemItem_target_action{
    "initWithBarButtonSystemItem:target:action:"};
// An item showing `title` in `style` (0 plain, 1 bordered, 2 done).
inline const Selector<id(id, long, id, SEL)> initWithTitle_style_target_action{
    "initWithTitle:style:target:action:"};
// The target (not retained) and the action.
inline const Selector<id()> target{"target"};
inline const Selector<SEL()> action{"action"};
}  // namespace sel
