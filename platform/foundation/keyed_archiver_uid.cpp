#include "platform/foundation/keyed_archiver_uid.h"

#include <functional>
#include <string>

#include "platform/foundation/format.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

struct UidBody : objc::NativeBody {
  std::uint32_t value = 0;
};

BOOL isEqual(id self, SEL, id other) {
  const std::optional<std::uint32_t> theirs = keyedArchiverUidValue(other);
  return self == other || (theirs && *theirs == objc::native<UidBody>(self)->value) ? YES : NO;
}
unsigned long hash(id self, SEL) {
  return std::hash<std::uint32_t>()(objc::native<UidBody>(self)->value);
}
id copyWithZone(id self, SEL, void*) {
  return objc::retain(self);
}
// The platform's text: "<CFKeyedArchiverUID 0x...>{value = 5}".
id description(id self, SEL) {
  const std::string text =
      formatString("<CFKeyedArchiverUID %p>{value = %u}", static_cast<void*>(self),
                   objc::native<UidBody>(self)->value);
  return objc::autorelease(nsstring(text).leak());
}

}  // namespace

Class KeyedArchiverUidClass() {
  static Class cls =
      objc::deviceClass("__NSCFKeyedArchiverUID", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<UidBody>()
            .method(sel::isEqual, isEqual)
            .method(sel::hash, hash)
            .method(sel::copyWithZone, copyWithZone)
            .method(sel::description, description);
      });
  return cls;
}

objc::Strong keyedArchiverUid(std::uint32_t value) {
  id uid = objc::allocInstance(KeyedArchiverUidClass());
  objc::native<UidBody>(uid)->value = value;
  return objc::Strong::adopt(uid);
}

std::optional<std::uint32_t> keyedArchiverUidValue(id object) {
  const UidBody* body = objc::native<UidBody>(object);
  if (body == nullptr) return std::nullopt;
  return body->value;
}

}  // namespace platform
