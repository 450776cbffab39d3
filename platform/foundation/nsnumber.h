#pragma once
// NSNumber: a boxed boolean, integer or real, read back with the platform's conversions.
// Integers span -2^63 .. 2^64-1: a number made from an unsigned value above LLONG_MAX stays
// unsigned (objCType "Q"), prints its unsigned decimal and truncates like a C cast in
// intValue and longLongValue, as Foundation's does.

#include <cstdint>

#include "platform/objc/object.h"

namespace platform {

// The class "NSNumber".
Class NSNumberClass();

// New NSNumbers holding a boolean (written back to property lists as <true/> or <false/>),
// an integer or a real.
objc::Strong nsnumber(bool value);
objc::Strong nsnumber(long long value);
objc::Strong nsnumber(unsigned long long value);
objc::Strong nsnumber(double value);

// What an NSNumber holds.
enum class NumberKind { Boolean, Integer, Real };
// The kind of an NSNumber. REQUIRES: isNumber(object).
NumberKind numberKind(id object);
// Whether `object` is an NSNumber.
bool isNumber(id object);
// Whether `object` is an integer NSNumber holding an unsigned value above LLONG_MAX (read it
// with unsignedLongLongValue). REQUIRES: isNumber(object).
bool isUnsignedAboveLongLongMax(id object);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id(BOOL)> numberWithBool{"numberWithBool:"};
inline const Selector<id(int)> numberWithInt{"numberWithInt:"};
inline const Selector<id(long)> numberWithInteger{"numberWithInteger:"};
inline const Selector<id(long long)> numberWithLongLong{"numberWithLongLong:"};
inline const Selector<id(unsigned long long)> numberWithUnsignedLongLong{
    "numberWithUnsignedLongLong:"};
inline const Selector<unsigned long long()> unsignedLongLongValue{"unsignedLongLongValue"};
inline const Selector<id(double)> numberWithDouble{"numberWithDouble:"};
inline const Selector<id()> stringValue{"stringValue"};
inline const Selector<BOOL(id)> isEqualToNumber{"isEqualToNumber:"};
inline const Selector<const char*()> objCType{"objCType"};
}  // namespace sel
