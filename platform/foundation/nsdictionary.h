#pragma once
// NSDictionary and NSMutableDictionary: keys compared with isEqual:/hash, keys copied on
// insertion, enumeration in insertion order; property-list files in and out.

#include <string_view>

#include "platform/foundation/collection_selectors.h"
#include "platform/objc/object.h"

namespace platform {

// The classes "NSDictionary" and "NSMutableDictionary".
Class NSDictionaryClass();
Class NSMutableDictionaryClass();

// A new empty NSMutableDictionary.
objc::Strong mutableDictionary();

// The value for the string key `key` in `dictionary`; nil when absent or not a dictionary.
id objectForKey(id dictionary, std::string_view key);
// Stores `value` under the string key `key`. REQUIRES: dictionary is mutable, value not nil.
void setObjectForKey(id dictionary, std::string_view key, id value);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id()> dictionary{"dictionary"};
inline const Selector<id(id)> dictionaryWithDictionary{"dictionaryWithDictionary:"};
inline const Selector<id(id)> dictionaryWithContentsOfFile{"dictionaryWithContentsOfFile:"};
inline const Selector<id(id)> initWithContentsOfFile{"initWithContentsOfFile:"};
inline const Selector<BOOL(id, BOOL)> writeToFile_atomically{"writeToFile:atomically:"};
inline const Selector<id(id)> objectForKey{"objectForKey:"};
inline const Selector<void(id, id)> setObject_forKey{"setObject:forKey:"};
inline const Selector<void(id)> removeObjectForKey{"removeObjectForKey:"};
inline const Selector<id()> allKeys{"allKeys"};
inline const Selector<id()> allValues{"allValues"};
}  // namespace sel
