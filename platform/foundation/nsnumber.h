#pragma once
// NSNumber: a boxed boolean, integer or real, read back with the platform's conversions.

#include <cstdint>

#include "platform/objc/object.h"

namespace platform {

// The class "NSNumber".
Class NSNumberClass();

// New NSNumbers holding a boolean (written back to property lists as <true/> or <false/>),
// an integer or a real.
objc::Strong nsnumber(bool value);
objc::Strong nsnumber(long long value);
objc::Strong nsnumber(double value);

// What an NSNumber holds.
enum class NumberKind { Boolean, Integer, Real };
// The kind of an NSNumber. REQUIRES: isNumber(object).
NumberKind numberKind(id object);
// Whether `object` is an NSNumber.
bool isNumber(id object);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id(BOOL)> numberWithBool{"numberWithBool:"};
inline const Selector<id(int)> numberWithInt{"numberWithInt:"};
inline const Selector<id(long)> numberWithInteger{"numberWithInteger:"};
inline const Selector<id(long long)> numberWithLongLong{"numberWithLongLong:"};
inline const Selector<id(double)> numberWithDouble{"numberWithDouble:"};
inline const Selector<id()> stringValue{"stringValue"};
inline const Selector<BOOL(id)> isEqualToNumber{"isEqualToNumber:"};
inline const Selector<const char*()> objCType{"objCType"};
}  // namespace sel
