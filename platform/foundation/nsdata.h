#pragma once
// NSData: an immutable run of bytes, read from and written to device files.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/objc/object.h"

namespace platform {

// The class "NSData".
Class NSDataClass();

// A new NSData holding a copy of `bytes`.
objc::Strong nsdata(std::span<const std::uint8_t> bytes);

// The bytes of an NSData; null for anything else.
const std::vector<std::uint8_t>* dataBytes(id data);

}  // namespace platform

namespace sel {
using platform::objc::Selector;
inline const Selector<id(const void*, unsigned long)> dataWithBytes_length{"dataWithBytes:length:"};
inline const Selector<const void*()> bytes{"bytes"};
inline const Selector<BOOL(id)> isEqualToData{"isEqualToData:"};
inline const Selector<id(id)> dataWithContentsOfFile{"dataWithContentsOfFile:"};
// writeToFile:atomically: is declared with NSDictionary's, which has the same signature.
}  // namespace sel
