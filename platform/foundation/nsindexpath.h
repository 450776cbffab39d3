#pragma once
// NSIndexPath as UIKit uses it: a row within a section of a table.

#include "platform/objc/object.h"

namespace platform {

// The class "NSIndexPath".
Class NSIndexPathClass();

// A new index path for `row` in `section`.
objc::Strong indexPath(long row, long section);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id(long, long)> indexPathForRow_inSection{"indexPathForRow:inSection:"};
inline const Selector<long()> row{"row"};
inline const Selector<long()> section{"section"};
}  // namespace sel
