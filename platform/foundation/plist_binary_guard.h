#pragma once
// The binary pre-pass. Decodes the trailer and every reachable object header, walks the object
// graph from the top object without recursion, and refuses anything libplist would choke on:
// out-of-range offsets and references, lengths past the object area, cycles, nesting beyond
// the limit, and shared references that expand past the node or byte limits. It also decodes
// the integers, dates and UIDs itself, since libplist's nodes cannot hold their whole range.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>

#include "platform/foundation/plist_file.h"
#include "platform/foundation/plist_value.h"

namespace platform::plist::detail {

// The bytes of a whole binary property list.
using Bytes = std::span<const std::uint8_t>;

// The kinds of object the pre-pass accepts; ASCII and UTF-16 strings are told apart. A UID is
// a value, not a reference: the walk never follows it.
enum class ObjectType : std::uint8_t {
  Bool,
  Integer,
  Real,
  Date,
  Data,
  Ascii,
  Utf16,
  Array,
  Dict,
  Uid
};

// What the pre-pass learned about one object: its decoded header and, for a container, the
// totals of everything reachable from it.
struct ObjectInfo {
  ObjectType type = ObjectType::Bool;  // what the marker byte says the object is
  // Walk state of a container: not yet entered, on the walk stack, or finished.
  enum : std::uint8_t { kUnseen, kOpen, kDone } state = kUnseen;
  std::uint32_t height = 0;  // nesting levels of a finished container, itself included
  std::uint64_t count = 0;   // entries (arrays, dicts), bytes (data, ASCII), units (UTF-16)
  std::size_t payload = 0;   // offset of the references or bytes
  std::uint64_t nodes = 1;   // expanded values, itself included
  std::uint64_t bytes = 0;   // expanded string, key and data bytes (UTF-16 at 3 per unit)
  double date = 0;           // the instant of a date, exactly as the file holds it
  Integer integer;           // the number of an integer
  std::uint32_t uid = 0;     // the index a UID refers to
};

// Checks a "bplist00" file before libplist reads it, then tells the conversion which object
// each libplist node came from. The bytes and limits it is given must outlive it.
class BinaryGuard {
 public:
  // A guard over the file `bytes`, which begin with "bplist00", bounded by `limits`.
  BinaryGuard(Bytes bytes, const Limits& limits) : bytes_(bytes), limits_(limits) {}

  // Checks the whole file; empty on success, otherwise the reason.
  std::string check();

  // The index of the top object, as the trailer gives it.
  std::uint64_t topObject() const { return top_; }

  // The decoded header of object `index`.
  // REQUIRES: check() succeeded and reached it.
  const ObjectInfo& object(std::uint64_t index) const { return objects_.at(index); }

  // The `i`th reference held by a container.
  // REQUIRES: i < count (arrays), 2 * count (dicts).
  std::uint64_t reference(const ObjectInfo& info, std::uint64_t i) const;

 private:
  // One container on the walk stack, with the totals of its children so far.
  struct Frame;

  // Decodes and checks the trailer's widths, object count, top object and offset table.
  std::string readTrailer();

  // Finds or decodes object `index` into *out; errors name the object.
  std::string load(std::uint64_t index, ObjectInfo** out);

  // Decodes the header of object `index` into `info` and checks its contents fit.
  std::string decode(std::uint64_t index, ObjectInfo& info);

  // The error for more values than limits_.maxNodes.
  std::string tooManyNodes() const;
  // The error for more expanded string, key and data bytes than limits_.maxExpandedBytes.
  std::string tooManyBytes() const;
  // The error for nesting deeper than limits_.maxDepth.
  std::string tooDeep() const;

  // Adds a finished child's totals to its parent's frame; empty unless a limit is passed.
  std::string addChild(Frame& parent, std::uint64_t nodes, std::uint64_t bytes,
                       std::uint32_t height);

  // Walks the graph from the top object depth first, refusing cycles, non-string keys and
  // anything past the limits. Each container is walked once; a shared one adds its totals.
  std::string walk();

  Bytes bytes_;                    // the whole file
  const Limits& limits_;           // the bounds being enforced
  std::size_t offsetSize_ = 0;     // width of an offset-table entry
  std::size_t refSize_ = 0;        // width of an object reference
  std::uint64_t objectCount_ = 0;  // entries in the offset table
  std::uint64_t top_ = 0;          // index of the top object
  std::size_t table_ = 0;          // start of the offset table
  std::size_t objectsEnd_ = 0;     // end of the object area, which is where the table starts
  std::unordered_map<std::uint64_t, ObjectInfo> objects_;  // the objects decoded so far
};

}  // namespace platform::plist::detail
