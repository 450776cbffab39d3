#pragma once
// NSSet and NSMutableSet: unordered collections of distinct objects (by isEqual:/hash).

#include "platform/foundation/collection_selectors.h"
#include "platform/objc/object.h"

namespace platform {

// The classes "NSSet" and "NSMutableSet".
Class NSSetClass();
Class NSMutableSetClass();

// A new empty NSMutableSet.
objc::Strong mutableSet();

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id()> set{"set"};
inline const Selector<id()> allObjects{"allObjects"};
inline const Selector<id(id)> member{"member:"};
}  // namespace sel
