#include "platform/foundation/nscoder.h"

#include "platform/objc/class_builder.h"

namespace platform {
namespace {

BOOL allowsKeyedCoding(id, SEL) {
  return NO;
}

}  // namespace

Class NSCoderClass() {
  static Class cls = objc::deviceClass("NSCoder", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.method(sel::allowsKeyedCoding, allowsKeyedCoding);
  });
  return cls;
}

}  // namespace platform
