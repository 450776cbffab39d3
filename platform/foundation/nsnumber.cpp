#include "platform/foundation/nsnumber.h"

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "platform/foundation/format.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nskeyedunarchiver.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;

struct NumberBody : objc::NativeBody {
  NumberKind kind = NumberKind::Integer;
  long long integer = 0;          // the integer, or its low 64 bits when aboveLongLongMax
  bool aboveLongLongMax = false;  // an unsigned integer above LLONG_MAX
  double real = 0;

  unsigned long long bits() const { return static_cast<unsigned long long>(integer); }
  double asDouble() const {
    if (kind == NumberKind::Real) return real;
    return aboveLongLongMax ? static_cast<double>(bits()) : static_cast<double>(integer);
  }
  // Converts to an integer type the way a C cast would, but saturating instead of undefined
  // when a real is out of range (NaN reads as 0).
  template <class T>
  T as() const {
    if (kind != NumberKind::Real) return static_cast<T>(integer);  // modulo 2^n, as a C cast
    if (std::isnan(real)) return 0;
    if (real <= static_cast<double>(std::numeric_limits<T>::min()))
      return std::numeric_limits<T>::min();
    if (real >= static_cast<double>(std::numeric_limits<T>::max()))
      return std::numeric_limits<T>::max();
    return static_cast<T>(real);
  }
};

NumberBody& body(id self) {
  return *objc::native<NumberBody>(self);
}

id newNumber(NumberKind kind, long long integer, double real) {
  id n = objc::allocInstance(NSNumberClass());
  body(n).kind = kind;
  body(n).integer = integer;
  body(n).real = real;
  return n;
}

id newUnsigned(unsigned long long value) {
  id n = newNumber(NumberKind::Integer, static_cast<long long>(value), 0);
  body(n).aboveLongLongMax = value > static_cast<unsigned long long>(LLONG_MAX);
  return n;
}

// Orders two integer numbers by value, unsigned ones above LLONG_MAX included.
int compareIntegers(const NumberBody& a, const NumberBody& b) {
  if (a.aboveLongLongMax != b.aboveLongLongMax) return a.aboveLongLongMax ? 1 : -1;
  if (a.aboveLongLongMax) return a.bits() < b.bits() ? -1 : (a.bits() > b.bits() ? 1 : 0);
  return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
}

id numberWithBool(id, SEL, BOOL v) {
  return objc::autorelease(newNumber(NumberKind::Boolean, v ? 1 : 0, 0));
}
id numberWithInt(id, SEL, int v) {
  return objc::autorelease(newNumber(NumberKind::Integer, v, 0));
}
id numberWithInteger(id, SEL, long v) {
  return objc::autorelease(newNumber(NumberKind::Integer, v, 0));
}
id numberWithLongLong(id, SEL, long long v) {
  return objc::autorelease(newNumber(NumberKind::Integer, v, 0));
}
id numberWithUnsignedLongLong(id, SEL, unsigned long long v) {
  return objc::autorelease(newUnsigned(v));
}
id numberWithDouble(id, SEL, double v) {
  return objc::autorelease(newNumber(NumberKind::Real, 0, v));
}

BOOL boolValue(id self, SEL) {
  const NumberBody& n = body(self);
  return (n.kind == NumberKind::Real ? n.real != 0 : n.integer != 0) ? YES : NO;
}
int intValue(id self, SEL) {
  return body(self).as<int>();
}
long integerValue(id self, SEL) {
  return body(self).as<long>();
}
long long longLongValue(id self, SEL) {
  return body(self).as<long long>();
}
unsigned long long unsignedLongLongValue(id self, SEL) {
  return body(self).as<unsigned long long>();
}
double doubleValue(id self, SEL) {
  return body(self).asDouble();
}
const char* objCType(id self, SEL) {
  switch (body(self).kind) {
    case NumberKind::Boolean:
      return "c";
    case NumberKind::Integer:
      return body(self).aboveLongLongMax ? "Q" : "q";
    case NumberKind::Real:
      return "d";
  }
  return "q";
}
BOOL isEqualToNumber(id self, SEL, id other) {
  if (!isNumber(other)) return NO;
  const NumberBody& a = body(self);
  const NumberBody& b = body(other);
  if (a.kind != NumberKind::Real && b.kind != NumberKind::Real)
    return compareIntegers(a, b) == 0 ? YES : NO;
  return a.asDouble() == b.asDouble() ? YES : NO;
}
BOOL isEqual(id self, SEL cmd, id other) {
  return self == other || isEqualToNumber(self, cmd, other);
}
unsigned long hash(id self, SEL) {
  const NumberBody& n = body(self);
  // Equal numbers hash equally: integral reals hash as the integer they equal.
  double d = n.asDouble();
  if (n.kind != NumberKind::Real && n.aboveLongLongMax) return std::hash<double>()(d);
  if (n.kind != NumberKind::Real) return std::hash<long long>()(n.integer);
  if (std::trunc(d) == d && std::fabs(d) < 9.2e18)
    return std::hash<long long>()(static_cast<long long>(d));
  return std::hash<double>()(d);
}
id copyWithZone(id self, SEL, void*) {
  return objc::retain(self);
}
id stringValue(id self, SEL) {
  const NumberBody& n = body(self);
  std::string text = n.kind == NumberKind::Real ? formatString("%.17g", n.real)
                     : n.aboveLongLongMax       ? std::to_string(n.bits())
                                                : std::to_string(n.integer);
  return objc::autorelease(nsstring(text).leak());
}
long compare(id self, SEL, id other) {
  if (isNumber(other) && body(self).kind != NumberKind::Real &&
      body(other).kind != NumberKind::Real) {
    return compareIntegers(body(self), body(other));
  }
  double a = body(self).asDouble(), b = isNumber(other) ? body(other).asDouble() : 0;
  return a < b ? -1 : (a > b ? 1 : 0);
}

// The number under "NS.number", for a number an archive holds as an object rather than plain.
void encodeWithCoder(id self, SEL, id coder) {
  encodePropertyList(coder, "NS.number", *valueFromObject(self));
}
id initWithCoder(id self, SEL, id coder) {
  const plist::Value* value = decodePropertyList(coder, "NS.number");
  NumberBody& b = body(self);
  if (const bool* flag = value ? value->get<bool>() : nullptr) {
    b.kind = NumberKind::Boolean;
    b.integer = *flag;
  } else if (const plist::Integer* integer = value ? value->get<plist::Integer>() : nullptr) {
    b.kind = NumberKind::Integer;
    b.integer = static_cast<long long>(integer->bits());
    b.aboveLongLongMax = integer->aboveSignedMax();
  } else if (const double* real = value ? value->get<double>() : nullptr) {
    b.kind = NumberKind::Real;
    b.real = *real;
  } else {
    NSException::raise(NSInvalidUnarchiveOperationException,
                       "-[NSNumber initWithCoder:]: NS.number is missing or not a number");
  }
  return self;
}

}  // namespace

Class NSNumberClass() {
  static Class cls = objc::deviceClass("NSNumber", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<NumberBody>()
        .classMethod(sel::numberWithBool, numberWithBool)
        .classMethod(sel::numberWithInt, numberWithInt)
        .classMethod(sel::numberWithInteger, numberWithInteger)
        .classMethod(sel::numberWithLongLong, numberWithLongLong)
        .classMethod(sel::numberWithUnsignedLongLong, numberWithUnsignedLongLong)
        .classMethod(sel::numberWithDouble, numberWithDouble)
        .method(sel::boolValue, boolValue)
        .method(sel::intValue, intValue)
        .method(sel::integerValue, integerValue)
        .method(sel::longLongValue, longLongValue)
        .method(sel::unsignedLongLongValue, unsignedLongLongValue)
        .method(sel::doubleValue, doubleValue)
        .method(sel::objCType, objCType)
        .method(sel::isEqualToNumber, isEqualToNumber)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::stringValue, stringValue)
        .method(sel::description, stringValue)
        .method(sel::compare, compare)
        .method(sel::encodeWithCoder, encodeWithCoder)
        .method(sel::initWithCoder, initWithCoder);
  });
  return cls;
}

objc::Strong nsnumber(bool value) {
  return Strong::adopt(newNumber(NumberKind::Boolean, value, 0));
}
objc::Strong nsnumber(long long value) {
  return Strong::adopt(newNumber(NumberKind::Integer, value, 0));
}
objc::Strong nsnumber(unsigned long long value) {
  return Strong::adopt(newUnsigned(value));
}
objc::Strong nsnumber(double value) {
  return Strong::adopt(newNumber(NumberKind::Real, 0, value));
}

NumberKind numberKind(id object) {
  return body(object).kind;
}
bool isNumber(id object) {
  return objc::native<NumberBody>(object) != nullptr;
}
bool isUnsignedAboveLongLongMax(id object) {
  return body(object).kind == NumberKind::Integer && body(object).aboveLongLongMax;
}

}  // namespace platform
