#pragma once
// The row key: a table row and its section joined by a colon, row first ("3:1"). The actions
// sheet and the reminder editor carry it as their accessibilityValue, and their dismissal
// handlers find the row's bulletin again from it.

#include <objc/objc.h>

#include "platform/objc/strong.h"

namespace tarrow8 {

// The row key of an index path: its row and section joined by a colon ("3:1").
platform::objc::Strong rowKey(id indexPath);
// The index path a row key names: each piece's intValue (a leading 32-bit integer, 0 when there
// is none), the section 0 when there is no colon.
platform::objc::Strong indexPathOfRowKey(id key);

}  // namespace tarrow8
