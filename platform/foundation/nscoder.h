#pragma once
// NSCoder and NSCoding: the keyed coding methods that NSKeyedArchiver and NSKeyedUnarchiver
// answer, and the two methods through which an object writes itself to an archive and reads
// itself back from one.
//
// An initWithCoder: that raises leaves its receiver to the unarchiver, which releases it; one
// that fails without raising releases its receiver and returns nil, like any init.

#include "platform/objc/object.h"

namespace platform {

// The class "NSCoder", the abstract superclass of the archiver and the unarchiver.
Class NSCoderClass();

}  // namespace platform

// The name of the exception an unarchiver raises for an archive it cannot decode.
inline constexpr const char* NSInvalidUnarchiveOperationException =
    "NSInvalidUnarchiveOperationException";

namespace sel {
using platform::objc::Selector;
// NSCoding.
inline const Selector<void(id)> encodeWithCoder{"encodeWithCoder:"};
inline const Selector<id(id)> initWithCoder{"initWithCoder:"};
// Whether the coder is a keyed one (the device's archiver and unarchiver are).
inline const Selector<BOOL()> allowsKeyedCoding{"allowsKeyedCoding"};
// Keyed encoding: the value is stored under the key in the object being encoded; nil objects
// are stored as the archive's null reference.
inline const Selector<void(id, id)> encodeObject_forKey{"encodeObject:forKey:"};
inline const Selector<void(BOOL, id)> encodeBool_forKey{"encodeBool:forKey:"};
inline const Selector<void(long, id)> encodeInteger_forKey{"encodeInteger:forKey:"};
inline const Selector<void(double, id)> encodeDouble_forKey{"encodeDouble:forKey:"};
// Keyed decoding from the object being decoded: a missing key gives nil, NO, 0 or 0.0; a value
// of the wrong kind raises NSInvalidUnarchiveOperationException.
inline const Selector<id(id)> decodeObjectForKey{"decodeObjectForKey:"};
// As decodeObjectForKey:, and raises NSInvalidUnarchiveOperationException when the object is
// not nil and not of the class.
inline const Selector<id(Class, id)> decodeObjectOfClass_forKey{"decodeObjectOfClass:forKey:"};
inline const Selector<BOOL(id)> decodeBoolForKey{"decodeBoolForKey:"};
inline const Selector<long(id)> decodeIntegerForKey{"decodeIntegerForKey:"};
inline const Selector<double(id)> decodeDoubleForKey{"decodeDoubleForKey:"};
inline const Selector<BOOL(id)> containsValueForKey{"containsValueForKey:"};
}  // namespace sel
