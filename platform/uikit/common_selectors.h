#pragma once
// Selectors that several UIKit families answer with one meaning (a sheet's title and a bar
// button's, a table's delegate and an alert's), declared once so each family's header can
// share them.

#include "platform/objc/selector.h"

namespace sel {
using platform::objc::Selector;
// The object's title (an NSString, nil when none) and its setter.
inline const Selector<id()> title{"title"};
inline const Selector<void(id)> setTitle{"setTitle:"};
// The object's delegate (not retained: the caller keeps it alive) and its setter.
inline const Selector<id()> delegate{"delegate"};
inline const Selector<void(id)> setDelegate{"setDelegate:"};
// The style the object was made with (a row action's or a bar button's).
inline const Selector<long()> style{"style"};
// The fill colour (a UIColor, nil for none) and its setter.
inline const Selector<id()> backgroundColor{"backgroundColor"};
inline const Selector<void(id)> setBackgroundColor{"setBackgroundColor:"};
// The object's view: a controller's (made on first use), a recognizer's (nil when it is
// attached to none; not retained).
inline const Selector<id()> view{"view"};
// Whether the object takes part in the user's touches (recognizers, bar buttons).
inline const Selector<BOOL()> isEnabled{"isEnabled"};
inline const Selector<void(BOOL)> setEnabled{"setEnabled:"};
}  // namespace sel
