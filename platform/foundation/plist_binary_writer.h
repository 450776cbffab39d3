#pragma once
// The "bplist00" writer. libplist's writer cannot hold integers above INT64_MAX, dates outside
// 32-bit seconds or fractions finer than a microsecond, so the device writes binary files
// itself, in the layout Foundation writes: equal strings shared, integers in their smallest
// width (16 bytes above INT64_MAX), reals and dates as 8-byte doubles, UIDs in 1, 2 or 4 bytes.

#include <cstdint>
#include <vector>

#include "platform/foundation/plist_value.h"

namespace platform::plist::detail {

// `value` as a binary property list. Dates keep their exact double.
// REQUIRES: isWritable(value, Format::Binary).empty(); otherwise malformed UTF-8 in a string
// is written as U+FFFD and the file may not read back.
std::vector<std::uint8_t> writeBinary(const Value& value);

}  // namespace platform::plist::detail
