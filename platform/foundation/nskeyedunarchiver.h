#pragma once
// NSKeyedUnarchiver: reads the platform's keyed archive (nskeyedarchiver.h) back into objects,
// through the guarded property-list reader and within its limits. Each entry of "$objects" is
// decoded at most once; a reference to it again gives the same object.
//
// How bad input fails, as Foundation 8 does where it has an answer:
// - nil data, or an object that is not NSData: NSInvalidArgumentException ("data is NULL").
// - empty data: nil.
// - bytes that are not a property list, or a property list that is not a keyed archive (its root
//   not a dictionary, "$archiver" not "NSKeyedArchiver", "$version" not 100000, "$top" not a
//   dictionary, "$objects" not an array): NSInvalidArgumentException ("incomprehensible
//   archive").
// - an archive whose objects cannot be decoded raises NSInvalidUnarchiveOperationException
//   naming the object and the key: a reference past the end of "$objects"; a class the device
//   does not have or that has no initWithCoder:; an object entry that is not a string, number,
//   data or dictionary with "$class"; a "$class" that is not a class entry; a value of the
//   wrong kind for the key asked for; a reference cycle (Foundation would hand out the half-made
//   object; the device refuses it); objects nested deeper than the reader's depth limit or,
//   counted with every shared reference expanded, more than its node limit.
// - a missing root, or a root that is the null reference: nil.
// An exception raised by an initWithCoder: (or a collection refusing nil) passes out as it is.

#include <string_view>
#include <vector>

#include "platform/foundation/plist_value.h"
#include "platform/objc/object.h"

namespace platform {

// The class "NSKeyedUnarchiver", a subclass of NSCoder.
Class NSKeyedUnarchiverClass();

// The property-list value stored under `key` of the object being decoded, as
// encodePropertyList wrote it; null when the key is missing. Raises NSInvalidArgumentException
// when `unarchiver` is not an unarchiver.
const plist::Value* decodePropertyList(id unarchiver, std::string_view key);

// The objects an array of references under `key` names (nil where a reference is the null
// one); empty when the key is missing. Raises NSInvalidUnarchiveOperationException when the
// value is not an array of references.
std::vector<objc::Strong> decodeArrayOfObjects(id unarchiver, std::string_view key);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
// The root object of an archive, autoreleased; see the top of this file for bad input.
inline const Selector<id(id)> unarchiveObjectWithData{"unarchiveObjectWithData:"};
// An unarchiver over an archive, whose root decodeObjectForKey:@"root" reads.
inline const Selector<id(id)> initForReadingWithData{"initForReadingWithData:"};
// Ends decoding; the decoded objects stay alive until the unarchiver is released.
inline const Selector<void()> finishDecoding{"finishDecoding"};
}  // namespace sel
