#pragma once
// The XML property-list writer. libplist's writer cannot hold integers above INT64_MAX or
// dates outside 32-bit seconds, and writes years before 1000 with fewer than four digits, so
// the device writes XML itself, in the layout libplist and Foundation share: the standard
// header and DOCTYPE, one element per line indented by tabs, base64 data in lines of 68.

#include <string>

#include "platform/foundation/plist_value.h"

namespace platform::plist::detail {

// `value` as an XML property list. Dates are written to the whole second (rounded down);
// reals in the shortest text that reads back exactly ("+infinity", "-infinity" and "nan" for
// the special values); a UID as a dictionary whose only key is "CF$UID", as Foundation writes it.
// REQUIRES: isWritable(value, Format::Xml).empty(); otherwise dates outside the years
// 0000..9999 are clamped to them (NaN to 2001-01-01) and the text may not read back.
std::string writeXml(const Value& value);

}  // namespace platform::plist::detail
