#pragma once
// The platform's multi-line descriptions of arrays, dictionaries and sets.

#include <string>
#include <utility>
#include <vector>

#include "platform/objc/object.h"

namespace platform::detail {

// "(\n    a,\n    b\n)" for the given elements.
std::string describeList(const std::vector<id>& elements, const char* open = "(",
                         const char* close = ")");
// "{\n    key = value;\n}" for the given entries.
std::string describeEntries(const std::vector<std::pair<id, id>>& entries);

}  // namespace platform::detail
