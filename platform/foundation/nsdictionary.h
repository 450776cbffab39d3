#pragma once
// NSDictionary and NSMutableDictionary: keys compared with isEqual:/hash, keys copied on
// insertion, enumeration in insertion order; property-list files in and out.

#include <functional>
#include <string_view>

#include "platform/foundation/collection_selectors.h"
#include "platform/objc/object.h"

namespace platform {

// The classes "NSDictionary" and "NSMutableDictionary".
Class NSDictionaryClass();
Class NSMutableDictionaryClass();

// The block of enumerateKeysAndObjectsUsingBlock:: a key, its object, and a flag the block sets
// to end the enumeration.
using KeyObjectBlock = std::function<void(id key, id object, BOOL* stop)>;

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
// Calls the block with each key and its object, in the dictionary's own order, until it stops.
// A change to the dictionary from inside the block raises NSGenericException once the block
// returns; as on the platform, the pair is not retained for the block, so a block that removes
// it must not use it afterwards.
inline const Selector<void(platform::KeyObjectBlock)> enumerateKeysAndObjectsUsingBlock{
    "enumerateKeysAndObjectsUsingBlock:"};
}  // namespace sel
