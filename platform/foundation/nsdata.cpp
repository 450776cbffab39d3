#include "platform/foundation/nsdata.h"

#include <string_view>

#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"

namespace platform {
namespace {

struct DataBody : objc::NativeBody {
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t>& bytesOf(id self) {
  return objc::native<DataBody>(self)->bytes;
}

id newData(std::span<const std::uint8_t> bytes) {
  id d = objc::allocInstance(NSDataClass());
  bytesOf(d).assign(bytes.begin(), bytes.end());
  return d;
}

id dataWithBytes(id, SEL, const void* bytes, unsigned long length) {
  auto* start = static_cast<const std::uint8_t*>(bytes);
  return objc::autorelease(
      newData(start ? std::span(start, length) : std::span<const std::uint8_t>()));
}
unsigned long length(id self, SEL) {
  return bytesOf(self).size();
}
const void* bytes(id self, SEL) {
  return bytesOf(self).data();
}
BOOL isEqualToData(id self, SEL, id other) {
  const auto* theirs = dataBytes(other);
  return theirs && *theirs == bytesOf(self) ? YES : NO;
}
BOOL isEqual(id self, SEL cmd, id other) {
  return self == other || isEqualToData(self, cmd, other);
}
unsigned long hash(id self, SEL) {
  const auto& b = bytesOf(self);
  return std::hash<std::string_view>()(
      std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
}
id copyWithZone(id self, SEL, void*) {
  return objc::retain(self);
}
id description(id self, SEL) {
  static const char* hex = "0123456789abcdef";
  std::string text = "<";
  const auto& b = bytesOf(self);
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (i > 0 && i % 4 == 0) text.push_back(' ');
    text.push_back(hex[b[i] >> 4]);
    text.push_back(hex[b[i] & 15]);
  }
  text.push_back('>');
  return objc::autorelease(nsstring(text).leak());
}

}  // namespace

Class NSDataClass() {
  static Class cls = objc::deviceClass("NSData", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<DataBody>()
        .classMethod(sel::dataWithBytes_length, dataWithBytes)
        .method(sel::length, length)
        .method(sel::bytes, bytes)
        .method(sel::isEqualToData, isEqualToData)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::description, description);
  });
  return cls;
}

objc::Strong nsdata(std::span<const std::uint8_t> bytes) {
  return objc::Strong::adopt(newData(bytes));
}

const std::vector<std::uint8_t>* dataBytes(id data) {
  auto* body = objc::native<DataBody>(data);
  return body ? &body->bytes : nullptr;
}

}  // namespace platform
