#pragma once
// PSViewController: the root of the Settings app's controllers, a UIViewController made with
// initForContentSize: and given the specifier of the row that opened it.

#include "platform/objc/object.h"
#include "platform/preferences/pstablecell.h"  // specifier, setSpecifier:
#include "platform/uikit/geometry.h"

namespace platform::preferences {

// The class "PSViewController", created on first use.
Class PSViewControllerClass();

}  // namespace platform::preferences

namespace sel {
using platform::objc::Selector;
// The initialiser the Settings app makes its controllers with: init, for a view of `size`.
inline const Selector<id(CGSize)> initForContentSize{"initForContentSize:"};
// The controller's specifier (retained), as for a cell: `specifier` and `setSpecifier:`.
}  // namespace sel
