#pragma once
// Core Graphics' geometry as UIKit passes it: points, sizes and rectangles of doubles, with
// their runtime type encodings so methods taking them register with their true signatures.

#include "platform/objc/type_encoding.h"

struct CGPoint {
  double x = 0;
  double y = 0;
};
struct CGSize {
  double width = 0;
  double height = 0;
};
struct CGRect {
  CGPoint origin;
  CGSize size;
};

// A rectangle from its origin and size.
inline CGRect CGRectMake(double x, double y, double width, double height) {
  return {{x, y}, {width, height}};
}
// The empty rectangle at the origin.
inline constexpr CGRect CGRectZero{};

// Exact equality, as CGRectEqualToRect and its siblings compare.
inline bool operator==(CGPoint a, CGPoint b) {
  return a.x == b.x && a.y == b.y;
}
inline bool operator==(CGSize a, CGSize b) {
  return a.width == b.width && a.height == b.height;
}
inline bool operator==(CGRect a, CGRect b) {
  return a.origin == b.origin && a.size == b.size;
}

namespace platform::objc {
template <>
struct TypeEncoding<CGPoint> {
  static constexpr EncodingString value{"{CGPoint=dd}"};
};
template <>
struct TypeEncoding<CGSize> {
  static constexpr EncodingString value{"{CGSize=dd}"};
};
template <>
struct TypeEncoding<CGRect> {
  static constexpr EncodingString value{"{CGRect={CGPoint=dd}{CGSize=dd}}"};
};
}  // namespace platform::objc
