#pragma once
// Selectors that every collection class answers.

#include "platform/objc/selector.h"

namespace sel {
using platform::objc::Selector;
inline const Selector<unsigned long()> count{"count"};
inline const Selector<void()> removeAllObjects{"removeAllObjects"};
}  // namespace sel
