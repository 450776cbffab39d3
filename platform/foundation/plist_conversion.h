#pragma once
// Conversion of libplist's node trees into Values. It checks every string and key once more
// and takes integers, dates and UIDs from the pre-pass rather than from libplist, whose nodes
// cannot hold their whole range: for binary input it follows the pre-pass's object graph in
// step, so each node is checked against the object it came from; for XML input each integer
// node is the index of a value the XML pre-pass read.

#include <plist/plist.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// The UID an XML dictionary stands for: its only entry is "CF$UID" holding an integer from 0
// to 2^32-1, the form in which XML holds UIDs. Nothing for any other dictionary.
std::optional<Uid> xmlUidOf(const Dictionary& entries);

// Turns a libplist tree into a Value, refusing strings and keys that are not valid UTF-8 or
// hold a NUL and nodes that do not match what the pre-pass read.
class Converter {
 public:
  // A converter for the tree libplist read from the binary file that `binary` checked.
  // REQUIRES: `binary` outlives the converter and its check() succeeded.
  explicit Converter(const BinaryGuard* binary) : binary_(binary) {}
  // A converter for the tree libplist read from an XML pre-pass's document(), whose integer
  // nodes index `scalars`. A dictionary whose only entry is "CF$UID" holding an integer from 0
  // to 2^32-1 becomes that UID, as Foundation reads it. REQUIRES: `scalars` outlives it.
  explicit Converter(const std::vector<Value>* scalars) : scalars_(scalars) {}

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

  const BinaryGuard* binary_ = nullptr;          // the checked binary file, or null for XML
  const std::vector<Value>* scalars_ = nullptr;  // the XML integers and dates, or null
  std::string error_;                            // why the last conversion failed
};

}  // namespace platform::plist::detail
