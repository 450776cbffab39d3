#include "platform/uikit/uicolor.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/foundation/format.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform::uikit {
namespace {

struct ColorBody : objc::NativeBody {
  ColorComponents components;
};

ColorComponents& components(id self) {
  return objc::native<ColorBody>(self)->components;
}

double clamp01(double value) {
  return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

id initWithComponents(id self, SEL, double red, double green, double blue, double alpha) {
  components(self) = {clamp01(red), clamp01(green), clamp01(blue), clamp01(alpha)};
  return self;
}
id colorWith(id cls, SEL, double red, double green, double blue, double alpha) {
  id made = initWithComponents(sel::alloc(cls), nullptr, red, green, blue, alpha);
  return objc::autorelease(made);
}
id clearColor(id cls, SEL) {
  return colorWith(cls, nullptr, 0, 0, 0, 0);
}
id whiteColor(id cls, SEL) {
  return colorWith(cls, nullptr, 1, 1, 1, 1);
}
id blackColor(id cls, SEL) {
  return colorWith(cls, nullptr, 0, 0, 0, 1);
}
id redColor(id cls, SEL) {
  return colorWith(cls, nullptr, 1, 0, 0, 1);
}
BOOL getComponents(id self, SEL, double* red, double* green, double* blue, double* alpha) {
  const ColorComponents& c = components(self);
  if (red) *red = c.red;
  if (green) *green = c.green;
  if (blue) *blue = c.blue;
  if (alpha) *alpha = c.alpha;
  return YES;
}
BOOL isEqual(id self, SEL, id other) {
  auto* theirs = objc::native<ColorBody>(other);
  if (!theirs) return NO;
  const ColorComponents& a = components(self);
  const ColorComponents& b = theirs->components;
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha ? YES : NO;
}
unsigned long hash(id self, SEL) {
  const ColorComponents& c = components(self);
  std::hash<double> h;
  return h(c.red) ^ (h(c.green) << 1) ^ (h(c.blue) << 2) ^ (h(c.alpha) << 3);
}
id copyWithZone(id self, SEL, void*) {
  return objc::retain(self);  // immutable
}
id description(id self, SEL) {
  const ColorComponents& c = components(self);
  return objc::autorelease(
      nsstring(formatString("UIDeviceRGBColorSpace %g %g %g %g", c.red, c.green, c.blue, c.alpha))
          .leak());
}

}  // namespace

Class UIColorClass() {
  static Class cls = objc::deviceClass("UIColor", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<ColorBody>()
        .classMethod(sel::colorWithRed_green_blue_alpha, colorWith)
        .classMethod(sel::clearColor, clearColor)
        .classMethod(sel::whiteColor, whiteColor)
        .classMethod(sel::blackColor, blackColor)
        .classMethod(sel::redColor, redColor)
        .method(sel::initWithRed_green_blue_alpha, initWithComponents)
        .method(sel::getRed_green_blue_alpha, getComponents)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::description, description);
  });
  return cls;
}

objc::Strong uicolor(double red, double green, double blue, double alpha) {
  return objc::Strong::adopt(
      initWithComponents(objc::allocInstance(UIColorClass()), nullptr, red, green, blue, alpha));
}

bool colorComponents(id color, ColorComponents* out) {
  auto* body = objc::native<ColorBody>(color);
  if (!body) return false;
  if (out) *out = body->components;
  return true;
}

}  // namespace platform::uikit
