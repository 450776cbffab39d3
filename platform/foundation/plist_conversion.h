#pragma once
// Conversion between libplist's node trees and Values. Reading checks every string and key
// once more and, for binary input, follows the pre-pass's object graph in step, so each node is
// checked against the object it came from and dates are taken exactly from the file bytes.

#include <plist/plist.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/plist_binary_guard.h"
#include "platform/foundation/plist_file.h"
#include "platform/foundation/plist_value.h"

namespace platform::plist::detail {

// Frees a libplist tree.
struct PlistDeleter {
  void operator()(void* node) const { plist_free(node); }
};
// A libplist tree that frees itself.
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

// Turns a libplist tree into a Value, refusing strings and keys that are not valid UTF-8 or
// hold a NUL and, for binary input, nodes that do not match the objects they came from.
class Converter {
 public:
  // A converter for a tree read from XML (`binary` null) or from the file that `binary` checked.
  // REQUIRES: if given, `binary` outlives the converter and its check() succeeded.
  explicit Converter(const BinaryGuard* binary) : binary_(binary) {}

  // The Value for `node` (object `index` in a binary file), or an empty optional with error().
  std::optional<Value> convert(plist_t node, std::uint64_t index);

  // Why the last convert() gave no value.
  const std::string& error() const { return error_; }

 private:
  // The Value for the array `node`, whose object is `info` in a binary file (null for XML).
  std::optional<Value> convertArray(plist_t node, const ObjectInfo* info);

  // The Value for the dictionary `node`, whose object is `info` in a binary file (null for
  // XML). A repeated key keeps its last value, as libplist's XML reader does.
  std::optional<Value> convertDict(plist_t node, const ObjectInfo* info);

  const BinaryGuard* binary_;  // the checked binary file, or null for XML
  std::string error_;          // why the last conversion failed
};

// A libplist tree holding `value` for writing in `format`. Out-of-range dates are clamped (NaN
// to 2001-01-01) and rounded down to the second for XML; strings are cut at the first NUL.
PlistPtr toNode(const Value& value, Format format);

}  // namespace platform::plist::detail
