#pragma once
// UIColor: a colour in red, green, blue and alpha components from 0 to 1. Two colours are equal
// when their components are.

#include "platform/objc/object.h"
#include "platform/objc/type_encoding.h"

namespace platform::objc {
// Out-parameters of doubles, as getRed:green:blue:alpha: takes them.
template <>
struct TypeEncoding<double*> {
  static constexpr EncodingString value{"^d"};
};
}  // namespace platform::objc

namespace platform::uikit {

// The class "UIColor", created on first use.
Class UIColorClass();

// A new colour with these components (each clamped to 0...1).
objc::Strong uicolor(double red, double green, double blue, double alpha);

// The components of a colour.
struct ColorComponents {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 0;
};
// The components of `color`, or none when it is not a UIColor.
bool colorComponents(id color, ColorComponents* out);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
inline const Selector<id(double, double, double, double)> colorWithRed_green_blue_alpha{
    "colorWithRed:green:blue:alpha:"};
inline const Selector<id(double, double, double, double)> initWithRed_green_blue_alpha{
    "initWithRed:green:blue:alpha:"};
// Writes the components through the pointers that are not null and answers YES.
inline const Selector<BOOL(double*, double*, double*, double*)> getRed_green_blue_alpha{
    "getRed:green:blue:alpha:"};
// The named colours (class methods): clear is black with alpha 0.
inline const Selector<id()> clearColor{"clearColor"};
inline const Selector<id()> whiteColor{"whiteColor"};
inline const Selector<id()> blackColor{"blackColor"};
inline const Selector<id()> redColor{"redColor"};
}  // namespace sel
