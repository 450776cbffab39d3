#pragma once
// The bridge between property-list values and device objects, and the dictionary files that
// NSDictionary reads and writes under the device root.

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/plist_value.h"
#include "platform/objc/strong.h"

namespace platform {

// The device object for `value`: NSNumber (booleans stay booleans, unsigned integers above
// LLONG_MAX stay unsigned), NSString, NSDate, NSData, NSArray, NSDictionary, and for a UID an
// __NSCFKeyedArchiverUID (keyed_archiver_uid.h), which has no boolean reading. With
// `mutableRoot` a dictionary or array root is the mutable class.
objc::Strong objectFromValue(const plist::Value& value, bool mutableRoot = false);

// The property-list value of `object`, or nothing (and a reason in *error) when the object or
// something inside it is not a property-list type or a dictionary key is not a string.
std::optional<plist::Value> valueFromObject(id object, std::string* error = nullptr);

// The dictionary in the property-list file at `devicePath` (XML or binary); nil when the file
// is missing, unreadable, malformed, over the reader's limits, or its root is not a dictionary.
objc::Strong readDictionaryFile(std::string_view devicePath, bool mutableRoot);

// Writes `dictionary` as an XML property list to `devicePath`, atomically, creating the folder.
// False (and the old file untouched) when the contents are not a property list or the write fails.
bool writeDictionaryFile(id dictionary, std::string_view devicePath);

}  // namespace platform
