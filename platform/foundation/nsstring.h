#pragma once
// NSString: an immutable Unicode string with the platform's UTF-16 length semantics and its
// numeric readings (boolValue, intValue).

#include <string>
#include <string_view>

#include "platform/objc/object.h"

namespace platform {

// The class "NSString".
Class NSStringClass();

// A new NSString holding the UTF-8 text `text` (invalid sequences become U+FFFD).
objc::Strong nsstring(std::string_view text);

// A new NSString holding the UTF-16 units `text` (kept as they are, unpaired surrogates included).
objc::Strong nsstring(std::u16string_view text);
// The UTF-16 units of `object` when it is an NSString; empty otherwise (nil included).
std::u16string utf16(id object);

// The UTF-8 contents of `object` when it is an NSString; `fallback` otherwise (nil included).
std::string utf8(id object, std::string_view fallback = "");

// Whether `object` is an NSString.
bool isString(id object);

// A new NSString formatted printf-style; "%@" takes an object and prints its description.
objc::Strong stringWithFormat(const char* format, ...);

}  // namespace platform

// The Objective-C spelling of a constant string: CFSTR("name") is an NSString (toll-free
// bridged as a CFStringRef). It lives for the rest of the process.
using CFStringRef = id;
id CFSTR(const char* text);

namespace sel {
using platform::objc::Selector;
inline const Selector<id(const char*)> stringWithUTF8String{"stringWithUTF8String:"};
inline const Selector<id(const char*)> initWithUTF8String{"initWithUTF8String:"};
inline const Selector<const char*()> UTF8String{"UTF8String"};
inline const Selector<unsigned long()> length{"length"};
inline const Selector<unsigned short(unsigned long)> characterAtIndex{"characterAtIndex:"};
inline const Selector<BOOL(id)> isEqualToString{"isEqualToString:"};
inline const Selector<BOOL(id)> hasPrefix{"hasPrefix:"};
inline const Selector<BOOL(id)> hasSuffix{"hasSuffix:"};
inline const Selector<id(id)> stringByAppendingString{"stringByAppendingString:"};
inline const Selector<id(unsigned long)> substringToIndex{"substringToIndex:"};
inline const Selector<id(unsigned long)> substringFromIndex{"substringFromIndex:"};
inline const Selector<long(id)> compare{"compare:"};
inline const Selector<BOOL()> boolValue{"boolValue"};
inline const Selector<int()> intValue{"intValue"};
inline const Selector<long()> integerValue{"integerValue"};
inline const Selector<long long()> longLongValue{"longLongValue"};
inline const Selector<double()> doubleValue{"doubleValue"};
}  // namespace sel
