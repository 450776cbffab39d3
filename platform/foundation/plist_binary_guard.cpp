#include "platform/foundation/plist_binary_guard.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/foundation/plist_date.h"

namespace platform::plist::detail {
namespace {

// `b` as "0x" and two hex digits, for error messages.
std::string describeByte(std::uint8_t b) {
  static constexpr char kHex[] = "0123456789abcdef";
  return std::string("0x") + kHex[b >> 4] + kHex[b & 0xF];
}

// Whether objects of `type` hold references to other objects.
bool isContainer(ObjectType type) {
  return type == ObjectType::Array || type == ObjectType::Dict;
}

// The unsigned big-endian number in the `width` bytes at `p`.
std::uint64_t readBigEndian(const std::uint8_t* p, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value = (value << 8) | p[i];
  return value;
}

// Empty if the `units` big-endian UTF-16 units at `p` hold no NUL and no unpaired surrogate.
// libplist silently drops unpaired surrogates and keeps NULs that cut the string short.
std::string checkUtf16(const std::uint8_t* p, std::uint64_t units) {
  for (std::uint64_t i = 0; i < units; ++i) {
    const auto unit = static_cast<std::uint16_t>(p[2 * i] << 8 | p[2 * i + 1]);
    if (unit == 0) return "string contains a NUL character";
    if (unit >= 0xDC00 && unit <= 0xDFFF) return "string holds an unpaired UTF-16 surrogate";
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 == units) return "string holds an unpaired UTF-16 surrogate";
      const auto next = static_cast<std::uint16_t>(p[2 * i + 2] << 8 | p[2 * i + 3]);
      if (next < 0xDC00 || next > 0xDFFF) return "string holds an unpaired UTF-16 surrogate";
      ++i;
    }
  }
  return {};
}

}  // namespace

struct BinaryGuard::Frame {
  ObjectInfo* info;          // the container being walked
  std::uint64_t next = 0;    // index of the next reference to follow, keys first in a dict
  std::uint64_t nodes = 1;   // expanded values so far, itself included
  std::uint64_t bytes = 0;   // expanded string, key and data bytes so far
  std::uint32_t height = 1;  // nesting levels so far, itself included
};

std::string BinaryGuard::check() {
  if (std::string error = readTrailer(); !error.empty()) return error;
  return walk();
}

std::uint64_t BinaryGuard::reference(const ObjectInfo& info, std::uint64_t i) const {
  return readBigEndian(bytes_.data() + info.payload + i * refSize_, refSize_);
}

std::string BinaryGuard::readTrailer() {
  constexpr std::size_t kHeader = 8;
  constexpr std::size_t kTrailer = 32;
  // At least one object byte and one offset-table byte between header and trailer.
  if (bytes_.size() < kHeader + 2 + kTrailer) return "file is truncated";
  const std::uint8_t* trailer = bytes_.data() + bytes_.size() - kTrailer;
  const std::size_t trailerStart = bytes_.size() - kTrailer;
  offsetSize_ = trailer[6];
  refSize_ = trailer[7];
  // Any width up to 8 bytes: libplist itself writes 3-byte offsets for files over 64 KiB.
  const auto validWidth = [](std::size_t w) { return w >= 1 && w <= 8; };
  if (!validWidth(offsetSize_)) {
    return "trailer gives an invalid offset size of " + std::to_string(offsetSize_);
  }
  if (!validWidth(refSize_)) {
    return "trailer gives an invalid object reference size of " + std::to_string(refSize_);
  }
  objectCount_ = readBigEndian(trailer + 8, 8);
  top_ = readBigEndian(trailer + 16, 8);
  const std::uint64_t tableOffset = readBigEndian(trailer + 24, 8);
  if (objectCount_ == 0) return "trailer lists no objects";
  if (top_ >= objectCount_) {
    return "top object " + std::to_string(top_) + " out of range";
  }
  if (tableOffset <= kHeader || tableOffset > trailerStart) {
    return "offset table at " + std::to_string(tableOffset) + " lies outside the file";
  }
  if (objectCount_ > (trailerStart - tableOffset) / offsetSize_) {
    return "offset table of " + std::to_string(objectCount_) + " entries runs past the end";
  }
  table_ = static_cast<std::size_t>(tableOffset);
  objectsEnd_ = table_;
  return {};
}

std::string BinaryGuard::load(std::uint64_t index, ObjectInfo** out) {
  if (index >= objectCount_) {
    return "object reference " + std::to_string(index) + " out of range";
  }
  if (auto it = objects_.find(index); it != objects_.end()) {
    *out = &it->second;
    return {};
  }
  ObjectInfo info;
  if (std::string error = decode(index, info); !error.empty()) {
    return "object " + std::to_string(index) + ": " + error;
  }
  *out = &objects_.emplace(index, info).first->second;
  return {};
}

std::string BinaryGuard::decode(std::uint64_t index, ObjectInfo& info) {
  const std::uint64_t offset =
      readBigEndian(bytes_.data() + table_ + index * offsetSize_, offsetSize_);
  if (offset < 8 || offset >= objectsEnd_) {
    return "offset " + std::to_string(offset) + " lies outside the object area";
  }
  const std::uint8_t* data = bytes_.data();
  std::size_t pos = static_cast<std::size_t>(offset);
  const std::uint8_t marker = data[pos++];
  const std::uint8_t low = marker & 0x0F;
  // Whether `count` items of `unit` bytes fit between pos and the end of the object area.
  const auto fits = [&](std::uint64_t count, std::uint64_t unit) {
    return count <= (objectsEnd_ - pos) / unit;
  };
  // Reads the element count that follows a marker whose low nibble is 0xF.
  const auto readLength = [&](std::uint64_t& length) -> std::string {
    if (low != 0x0F) {
      length = low;
      return {};
    }
    if (!fits(1, 1)) return "length runs past the object area";
    const std::uint8_t lengthMarker = data[pos++];
    if ((lengthMarker >> 4) != 0x1 || (lengthMarker & 0x0F) > 3) {
      return "malformed length marker " + describeByte(lengthMarker);
    }
    const std::size_t width = std::size_t{1} << (lengthMarker & 0x0F);
    if (!fits(width, 1)) return "length runs past the object area";
    length = readBigEndian(data + pos, width);
    pos += width;
    return {};
  };
  const std::string truncated = "contents run past the object area";

  switch (marker >> 4) {
    case 0x0:
      if (marker == 0x08 || marker == 0x09) {
        info.type = ObjectType::Bool;
        return {};
      }
      return "unsupported object marker " + describeByte(marker);
    case 0x1: {
      info.type = ObjectType::Integer;
      if (low <= 3) {
        const std::size_t width = std::size_t{1} << low;
        if (!fits(width, 1)) return truncated;
        const std::uint64_t value = readBigEndian(data + pos, width);
        // 1, 2 and 4 bytes hold unsigned numbers; 8 bytes a signed one.
        info.integer =
            width == 8 ? Integer(static_cast<std::int64_t>(value)) : Integer::fromUnsigned(value);
        return {};
      }
      if (low == 4) {
        // A 128-bit two's-complement integer; the property-list range is -2^63 .. 2^64-1.
        if (!fits(16, 1)) return truncated;
        const std::uint64_t high = readBigEndian(data + pos, 8);
        const std::uint64_t value = readBigEndian(data + pos + 8, 8);
        if (high == 0) {
          info.integer = Integer::fromUnsigned(value);
        } else if (high == ~std::uint64_t{0} && value > static_cast<std::uint64_t>(INT64_MAX)) {
          info.integer = Integer(static_cast<std::int64_t>(value));
        } else {
          return "integer out of the 64-bit range";
        }
        return {};
      }
      return "unsupported integer marker " + describeByte(marker);
    }
    case 0x2:
      info.type = ObjectType::Real;
      if (low == 2 || low == 3) return fits(std::size_t{1} << low, 1) ? std::string() : truncated;
      return "unsupported real marker " + describeByte(marker);
    case 0x3: {
      if (marker != 0x33) return "unsupported date marker " + describeByte(marker);
      if (!fits(8, 1)) return truncated;
      const double seconds = std::bit_cast<double>(readBigEndian(data + pos, 8));
      if (!isFiniteDate(seconds)) return "date is not a finite number";
      info.type = ObjectType::Date;
      info.date = seconds;
      return {};
    }
    case 0x4:
    case 0x5:
    case 0x6: {
      if (std::string error = readLength(info.count); !error.empty()) return error;
      const std::uint64_t unit = (marker >> 4) == 0x6 ? 2 : 1;
      if (!fits(info.count, unit)) return truncated;
      info.payload = pos;
      if ((marker >> 4) == 0x4) {
        info.type = ObjectType::Data;
        info.bytes = info.count;
      } else if ((marker >> 4) == 0x5) {
        info.type = ObjectType::Ascii;
        info.bytes = info.count;
        if (std::memchr(data + pos, 0, info.count) != nullptr) {
          return "string contains a NUL character";
        }
      } else {
        info.type = ObjectType::Utf16;
        info.bytes = info.count * 3;
        return checkUtf16(data + pos, info.count);
      }
      return {};
    }
    case 0x8: {
      // A keyed archive's UID: low + 1 big-endian bytes, a 32-bit number as Foundation reads it.
      const std::size_t width = std::size_t{low} + 1;
      if (!fits(width, 1)) return truncated;
      const std::size_t spare = width > 4 ? width - 4 : 0;
      for (std::size_t i = 0; i < spare; ++i) {
        if (data[pos + i] != 0) return "UID out of the 32-bit range";
      }
      info.type = ObjectType::Uid;
      info.uid = static_cast<std::uint32_t>(readBigEndian(data + pos + spare, width - spare));
      return {};
    }
    case 0xA:
    case 0xD: {
      if (std::string error = readLength(info.count); !error.empty()) return error;
      const bool dict = (marker >> 4) == 0xD;
      const std::uint64_t perEntry = dict ? 2 * refSize_ : refSize_;
      if (!fits(info.count, perEntry)) return truncated;
      info.type = dict ? ObjectType::Dict : ObjectType::Array;
      info.payload = pos;
      info.bytes = 0;
      return {};
    }
    case 0xC:
      return "sets are not supported";
    default:
      return "unsupported object marker " + describeByte(marker);
  }
}

std::string BinaryGuard::tooManyNodes() const {
  return "more than " + std::to_string(limits_.maxNodes) + " values";
}

std::string BinaryGuard::tooManyBytes() const {
  return "more than " + std::to_string(limits_.maxExpandedBytes) +
         " bytes of strings and data once shared references are expanded";
}

std::string BinaryGuard::tooDeep() const {
  return "nesting deeper than " + std::to_string(limits_.maxDepth) + " levels";
}

std::string BinaryGuard::addChild(Frame& parent, std::uint64_t nodes, std::uint64_t bytes,
                                  std::uint32_t height) {
  parent.nodes += nodes;
  if (parent.nodes > limits_.maxNodes) return tooManyNodes();
  parent.bytes += bytes;
  if (parent.bytes > limits_.maxExpandedBytes) return tooManyBytes();
  parent.height = std::max(parent.height, height + 1);
  return {};
}

std::string BinaryGuard::walk() {
  ObjectInfo* top = nullptr;
  if (std::string error = load(top_, &top); !error.empty()) return error;
  if (limits_.maxNodes < 1) return tooManyNodes();
  if (top->bytes > limits_.maxExpandedBytes) return tooManyBytes();
  if (!isContainer(top->type)) return {};
  if (limits_.maxDepth < 1) return tooDeep();

  std::vector<Frame> stack;
  top->state = ObjectInfo::kOpen;
  stack.push_back({top});
  while (!stack.empty()) {
    Frame& frame = stack.back();
    ObjectInfo& info = *frame.info;
    const std::uint64_t children = info.type == ObjectType::Dict ? 2 * info.count : info.count;
    if (frame.next == children) {
      info.state = ObjectInfo::kDone;
      info.nodes = frame.nodes;
      info.bytes = frame.bytes;
      info.height = frame.height;
      stack.pop_back();
      if (!stack.empty()) {
        if (std::string error = addChild(stack.back(), info.nodes, info.bytes, info.height);
            !error.empty()) {
          return error;
        }
      }
      continue;
    }
    const std::uint64_t i = frame.next++;
    const bool isKey = info.type == ObjectType::Dict && i < info.count;
    ObjectInfo* child = nullptr;
    if (std::string error = load(reference(info, i), &child); !error.empty()) return error;
    if (isKey) {
      if (child->type != ObjectType::Ascii && child->type != ObjectType::Utf16) {
        return "dictionary key " + std::to_string(reference(info, i)) + " is not a string";
      }
      frame.bytes += child->bytes;
      if (frame.bytes > limits_.maxExpandedBytes) return tooManyBytes();
      continue;
    }
    if (!isContainer(child->type)) {
      if (std::string error = addChild(frame, 1, child->bytes, 0); !error.empty()) return error;
      continue;
    }
    switch (child->state) {
      case ObjectInfo::kOpen:
        return "reference cycle through object " + std::to_string(reference(info, i));
      case ObjectInfo::kDone:
        if (stack.size() + child->height > limits_.maxDepth) return tooDeep();
        if (std::string error = addChild(frame, child->nodes, child->bytes, child->height);
            !error.empty()) {
          return error;
        }
        break;
      case ObjectInfo::kUnseen:
        if (stack.size() + 1 > limits_.maxDepth) return tooDeep();
        child->state = ObjectInfo::kOpen;
        stack.push_back({child});  // invalidates `frame`
        break;
    }
  }
  return {};
}

}  // namespace platform::plist::detail
