#pragma once
// UISwitch (a UIControl): an on/off switch. While on, its track shows its on tint, the
// platform's green unless one is set. A user's flip changes its value and sends the action of
// every target registered for value changes; setting the value in code sends nothing.

#include <string>

#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"

namespace platform::uikit {

// The class "UISwitch", created on first use.
Class UISwitchClass();

// The control events a target can be registered for (only value changes are sent).
inline constexpr unsigned long UIControlEventValueChanged = 1UL << 12;

// The user flips `control`: its value turns over, then each target registered for value
// changes gets its action with the switch, in the order they were added. Returns "" or why
// nothing happened: not a switch, disabled, or it or a view it is in takes no touches.
std::string flipSwitch(id control);

// Whether a touch on `view` reaches it: neither it nor a view it is in answers NO to
// isUserInteractionEnabled.
bool takesTouches(id view);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// The switch's value; setOn: is setOn:animated: NO. Neither sends any action.
inline const Selector<BOOL()> isOn{"isOn"};
inline const Selector<void(BOOL)> setOn{"setOn:"};
inline const Selector<void(BOOL, BOOL)> setOn_animated{"setOn:animated:"};
// The track's colour while on (retained); nil, the default, shows the platform's green.
inline const Selector<id()> onTintColor{"onTintColor"};
inline const Selector<void(id)> setOnTintColor{"setOnTintColor:"};
// Registers `target` (not retained) to get `action` (void, taking the switch) on `events`;
// the same target and action twice is registered once. Removing with a nil action removes
// every action of the target.
inline const Selector<void(id, SEL, unsigned long)> addTarget_action_forControlEvents{
    "addTarget:action:forControlEvents:"};
inline const Selector<void(id, SEL, unsigned long)> removeTarget_action_forControlEvents{
    "removeTarget:action:forControlEvents:"};
}  // namespace sel
