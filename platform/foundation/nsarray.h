#pragma once
// NSArray and NSMutableArray: ordered object lists that retain their elements.

#include <initializer_list>
#include <span>
#include <vector>

#include "platform/foundation/collection_selectors.h"
#include "platform/objc/object.h"

namespace platform {

// The classes "NSArray" and "NSMutableArray".
Class NSArrayClass();
Class NSMutableArrayClass();

// A new NSArray holding `objects` in order. REQUIRES: no element is nil.
objc::Strong nsarray(std::initializer_list<id> objects);
// A new NSArray that takes over `elements`, in order. REQUIRES: no element is nil.
objc::Strong nsarray(std::vector<objc::Strong> elements);
// A new empty NSMutableArray.
objc::Strong mutableArray();

// The elements of an NSArray (valid until the array changes); empty for anything else.
std::span<const objc::Strong> arrayElements(id array);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id()> array{"array"};
inline const Selector<id(id)> arrayWithArray{"arrayWithArray:"};
inline const Selector<id(unsigned long)> objectAtIndex{"objectAtIndex:"};
inline const Selector<id()> firstObject{"firstObject"};
inline const Selector<id()> lastObject{"lastObject"};
inline const Selector<BOOL(id)> containsObject{"containsObject:"};
inline const Selector<unsigned long(id)> indexOfObject{"indexOfObject:"};
inline const Selector<void(id)> addObject{"addObject:"};
inline const Selector<void(id, unsigned long)> insertObject_atIndex{"insertObject:atIndex:"};
inline const Selector<void(unsigned long)> removeObjectAtIndex{"removeObjectAtIndex:"};
inline const Selector<void(id)> removeObject{"removeObject:"};
inline const Selector<void()> removeLastObject{"removeLastObject"};
}  // namespace sel

// The index the platform reports for "not found".
inline constexpr unsigned long NSNotFound = 0x7fffffffffffffffUL;
