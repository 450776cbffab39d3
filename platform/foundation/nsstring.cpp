#include "platform/foundation/nsstring.h"

#include <unicode/unistr.h>

#include <cstdarg>
#include <functional>
#include <mutex>
#include <unordered_map>

#include "platform/foundation/format.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nskeyedunarchiver.h"
#include "platform/foundation/numeric_text.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"

namespace platform {
namespace {

using objc::Strong;

struct StringBody : objc::NativeBody {
  std::string utf8;
  std::u16string utf16;
  // The hash of utf16, worked out on first use: a string never changes once made.
  unsigned long hash = 0;
  bool hashed = false;

  void assign(std::string_view text) {
    hashed = false;
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    utf16.assign(reinterpret_cast<const char16_t*>(u.getBuffer()),
                 static_cast<std::size_t>(u.length()));
    utf8.clear();
    u.toUTF8String(utf8);
  }
  void assign(std::u16string_view text) {
    hashed = false;
    utf16.assign(text);
    icu::UnicodeString u(text.data(), static_cast<int32_t>(text.size()));
    utf8.clear();
    u.toUTF8String(utf8);
  }
};

StringBody& body(id self) {
  return *objc::native<StringBody>(self);
}

id newString(std::u16string_view text) {
  id s = objc::allocInstance(NSStringClass());
  body(s).assign(text);
  return s;
}

id initWithUTF8String(id self, SEL, const char* text) {
  if (!text) {
    objc::release(self);
    NSException::raise(NSInvalidArgumentException, "-[NSString initWithUTF8String:]: NULL cString");
  }
  body(self).assign(std::string_view(text));
  return self;
}
id stringWithUTF8String(id cls, SEL, const char* text) {
  if (!text) return nil;
  return objc::autorelease(initWithUTF8String(sel::alloc(cls), nullptr, text));
}
const char* utf8String(id self, SEL) {
  return body(self).utf8.c_str();
}
unsigned long length(id self, SEL) {
  return body(self).utf16.size();
}
unsigned short characterAtIndex(id self, SEL, unsigned long index) {
  const auto& text = body(self).utf16;
  if (index >= text.size()) {
    NSException::raise(NSRangeException,
                       "-[NSString characterAtIndex:]: Range or index out of bounds");
  }
  return text[index];
}
BOOL isEqualToString(id self, SEL, id other) {
  const auto* theirs = objc::native<StringBody>(other);
  return theirs && body(self).utf16 == theirs->utf16 ? YES : NO;
}
BOOL isEqual(id self, SEL cmd, id other) {
  return self == other || isEqualToString(self, cmd, other);
}
unsigned long hash(id self, SEL) {
  StringBody& b = body(self);
  if (!b.hashed) {
    b.hash = std::hash<std::u16string>()(b.utf16);
    b.hashed = true;
  }
  return b.hash;
}
id copyWithZone(id self, SEL, void*) {
  return objc::retain(self);
}
id description(id self, SEL) {
  return self;
}
BOOL hasPrefix(id self, SEL, id prefix) {
  if (!isString(prefix)) return NO;
  return std::u16string_view(body(self).utf16).starts_with(body(prefix).utf16) ? YES : NO;
}
BOOL hasSuffix(id self, SEL, id suffix) {
  if (!isString(suffix)) return NO;
  return std::u16string_view(body(self).utf16).ends_with(body(suffix).utf16) ? YES : NO;
}
id stringByAppendingString(id self, SEL, id other) {
  if (!isString(other)) {
    NSException::raise(NSInvalidArgumentException,
                       "-[NSString stringByAppendingString:]: nil argument");
  }
  return objc::autorelease(newString(body(self).utf16 + body(other).utf16));
}
id substringToIndex(id self, SEL, unsigned long index) {
  const auto& text = body(self).utf16;
  if (index > text.size()) {
    NSException::raise(NSRangeException,
                       "-[NSString substringToIndex:]: Index " + std::to_string(index) +
                           " out of bounds; string length " + std::to_string(text.size()));
  }
  return objc::autorelease(newString(std::u16string_view(text).substr(0, index)));
}
id substringFromIndex(id self, SEL, unsigned long index) {
  const auto& text = body(self).utf16;
  if (index > text.size()) {
    NSException::raise(NSRangeException,
                       "-[NSString substringFromIndex:]: Index " + std::to_string(index) +
                           " out of bounds; string length " + std::to_string(text.size()));
  }
  return objc::autorelease(newString(std::u16string_view(text).substr(index)));
}
long compare(id self, SEL, id other) {
  if (!isString(other)) {
    NSException::raise(NSInvalidArgumentException, "-[NSString compare:]: nil argument");
  }
  int c = body(self).utf16.compare(body(other).utf16);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
BOOL boolValue(id self, SEL) {
  return stringBoolValue(body(self).utf16) ? YES : NO;
}
int intValue(id self, SEL) {
  return stringIntValue(body(self).utf16);
}
long integerValue(id self, SEL) {
  return static_cast<long>(stringLongLongValue(body(self).utf16));
}
long long longLongValue(id self, SEL) {
  return stringLongLongValue(body(self).utf16);
}
double doubleValue(id self, SEL) {
  return stringDoubleValue(body(self).utf16);
}

// "<Class: 0x...>" for objects that do not describe themselves; a class describes itself by name.
id defaultDescription(id object) {
  bool isClass = class_isMetaClass(object_getClass(object));
  std::string text =
      isClass ? objc::className(object)
              : formatString("<%s: %p>", objc::className(object), static_cast<void*>(object));
  return objc::autorelease(nsstring(text).leak());
}

// The characters under "NS.string", as Foundation writes a string that is not written plain.
void encodeWithCoder(id self, SEL, id coder) {
  encodePropertyList(coder, "NS.string", plist::Value(body(self).utf8));
}
id initWithCoder(id self, SEL, id coder) {
  const plist::Value* text = decodePropertyList(coder, "NS.string");
  if (!text || !text->is<std::string>()) {
    NSException::raise(NSInvalidUnarchiveOperationException,
                       "-[NSString initWithCoder:]: NS.string is missing or not a string");
  }
  body(self).assign(std::string_view(text->as<std::string>()));
  return self;
}

}  // namespace

Class NSStringClass() {
  static Class cls = objc::deviceClass("NSString", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<StringBody>()
        .classMethod(sel::stringWithUTF8String, stringWithUTF8String)
        .method(sel::initWithUTF8String, initWithUTF8String)
        .method(sel::UTF8String, utf8String)
        .method(sel::length, length)
        .method(sel::characterAtIndex, characterAtIndex)
        .method(sel::isEqualToString, isEqualToString)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::description, description)
        .method(sel::hasPrefix, hasPrefix)
        .method(sel::hasSuffix, hasSuffix)
        .method(sel::stringByAppendingString, stringByAppendingString)
        .method(sel::substringToIndex, substringToIndex)
        .method(sel::substringFromIndex, substringFromIndex)
        .method(sel::compare, compare)
        .method(sel::boolValue, boolValue)
        .method(sel::intValue, intValue)
        .method(sel::integerValue, integerValue)
        .method(sel::longLongValue, longLongValue)
        .method(sel::doubleValue, doubleValue)
        .method(sel::encodeWithCoder, encodeWithCoder)
        .method(sel::initWithCoder, initWithCoder);
  });
  objc::setDefaultDescription(defaultDescription);
  return cls;
}

objc::Strong nsstring(std::string_view text) {
  id s = objc::allocInstance(NSStringClass());
  body(s).assign(text);
  return Strong::adopt(s);
}

objc::Strong nsstring(std::u16string_view text) {
  return Strong::adopt(newString(text));
}

std::u16string utf16(id object) {
  return isString(object) ? body(object).utf16 : std::u16string();
}

std::string utf8(id object, std::string_view fallback) {
  if (!isString(object)) return std::string(fallback);
  return body(object).utf8;
}

bool isString(id object) {
  return objc::native<StringBody>(object) != nullptr;
}

objc::Strong stringWithFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = formatWithArguments(format, args);
  va_end(args);
  return nsstring(text);
}

}  // namespace platform

id CFSTR(const char* text) {
  // Constant strings are interned and live for the rest of the process, like the literals
  // a compiler emits.
  static auto* constants = new std::unordered_map<std::string, id>();
  auto it = constants->find(text);
  if (it != constants->end()) return it->second;
  id s = platform::nsstring(text).leak();
  constants->emplace(text, s);
  return s;
}
