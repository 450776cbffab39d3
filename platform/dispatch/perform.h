#pragma once
// Sending a message chosen at run time (a timer's or an observer's selector) with one object
// argument, as the platform's target-action callers do.

#include <objc/runtime.h>

namespace platform::dispatch {

// Sends `selector` to `target` with `argument`, as a method void(id self, SEL, id). Nothing
// happens for a nil target; a target without the method raises NSException (unrecognized
// selector), as any send does.
void performWithObject(id target, SEL selector, id argument);

}  // namespace platform::dispatch
