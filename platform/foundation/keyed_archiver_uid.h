#pragma once
// __NSCFKeyedArchiverUID: the object a property-list UID becomes on the device. A keyed
// archive's UIDs name entries of its "$objects" array; outside an unarchiver they mean nothing
// else. The class answers no number selectors (no boolValue, intValue or longLongValue), so code
// that reads flags from a settings file skips a UID the way it skips a date or data.

#include <cstdint>
#include <optional>

#include "platform/objc/object.h"

namespace platform {

// The class "__NSCFKeyedArchiverUID".
Class KeyedArchiverUidClass();

// A new UID object referring to index `value`.
objc::Strong keyedArchiverUid(std::uint32_t value);

// The index a UID object refers to; nothing for anything else (nil included).
std::optional<std::uint32_t> keyedArchiverUidValue(id object);

}  // namespace platform
