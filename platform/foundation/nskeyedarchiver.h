#pragma once
// NSKeyedArchiver: an object graph as the platform's keyed archive, a binary property list
// {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": UID},
//  "$objects": ["$null", ...]}. Strings, numbers and data are written as plain values in
// "$objects"; every other object as a dictionary of the keys its encodeWithCoder: wrote, with
// "$class" naming a shared {"$classname", "$classes"} entry. An object met again is written as
// a reference to its first entry, so shared objects and cycles are kept. A key that begins with
// "$" is written with a second "$" in front, as Foundation escapes it.

#include <span>
#include <string_view>

#include "platform/foundation/plist_value.h"
#include "platform/objc/object.h"

namespace platform {

// The class "NSKeyedArchiver", a subclass of NSCoder.
Class NSKeyedArchiverClass();

// Stores the property-list value `value` itself under `key` of the object being encoded, the
// way Foundation's own classes store "NS.string" or "NS.bytes". Raises NSInvalidArgumentException
// when `archiver` is not an archiver that is encoding.
void encodePropertyList(id archiver, std::string_view key, plist::Value value);

// Stores an array of references to `objects` (each encoded as encodeObject:forKey: would)
// under `key`, the form of "NS.objects" and "NS.keys". Raises as encodePropertyList does.
void encodeArrayOfObjects(id archiver, std::span<const objc::Strong> objects, std::string_view key);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
// The archive of the object graph from `root` as NSData. Raises NSInvalidArgumentException for
// an object that cannot be archived (no encodeWithCoder:, a string holding a NUL), a graph
// nested deeper than the unarchiver reads (128 levels), or an archive larger than it reads.
inline const Selector<id(id)> archivedDataWithRootObject{"archivedDataWithRootObject:"};
}  // namespace sel
