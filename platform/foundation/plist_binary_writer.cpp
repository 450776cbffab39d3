#include "platform/foundation/plist_binary_writer.h"

#include <bit>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/foundation/plist_text.h"

namespace platform::plist::detail {
namespace {

// The smallest of 1, 2, 4 and 8 bytes that holds `value`.
std::size_t widthFor(std::uint64_t value) {
  if (value <= 0xFF) return 1;
  if (value <= 0xFFFF) return 2;
  if (value <= 0xFFFFFFFF) return 4;
  return 8;
}

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t width) {
  for (std::size_t i = width; i-- > 0;) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Lays the values out as numbered objects, then writes them, the offset table and the trailer.
class BinaryWriter {
 public:
  std::vector<std::uint8_t> write(const Value& value) {
    add(value);
    refSize_ = widthFor(objects_.size());
    out_ = {'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    std::vector<std::uint64_t> offsets;
    offsets.reserve(objects_.size());
    for (const Object& object : objects_) {
      offsets.push_back(out_.size());
      encode(object);
    }
    const std::uint64_t table = out_.size();
    const std::size_t offsetSize = widthFor(offsets.empty() ? 0 : offsets.back());
    for (std::uint64_t offset : offsets) appendBigEndian(out_, offset, offsetSize);
    out_.insert(out_.end(), 6, 0);  // unused, then the sort version
    out_.push_back(static_cast<std::uint8_t>(offsetSize));
    out_.push_back(static_cast<std::uint8_t>(refSize_));
    appendBigEndian(out_, objects_.size(), 8);
    appendBigEndian(out_, 0, 8);  // the top object is the first
    appendBigEndian(out_, table, 8);
    return std::move(out_);
  }

 private:
  // One object of the file: a value or a dictionary key, with the objects it refers to.
  struct Object {
    const Value* value = nullptr;       // the value; null for a key
    const std::string* text = nullptr;  // the text of a string or a key; null otherwise
    std::vector<std::uint64_t> refs;    // elements; or keys, then values
  };

  // Numbers `value` and everything in it, depth first; equal strings share one object.
  std::uint64_t add(const Value& value) {
    if (const std::string* s = value.get<std::string>()) return addString(*s, &value);
    const std::uint64_t index = objects_.size();
    objects_.push_back({&value, nullptr, {}});
    std::vector<std::uint64_t> refs;
    if (const Array* elements = value.get<Array>()) {
      refs.reserve(elements->size());
      for (const Value& element : *elements) refs.push_back(add(element));
    } else if (const Dictionary* entries = value.get<Dictionary>()) {
      refs.reserve(2 * entries->size());
      for (const auto& entry : *entries) refs.push_back(addString(entry.first, nullptr));
      for (const auto& entry : *entries) refs.push_back(add(entry.second));
    }
    objects_[index].refs = std::move(refs);
    return index;
  }

  // The object for the string `s`, held by `value` or (if null) a key, added if it is new.
  std::uint64_t addString(const std::string& s, const Value* value) {
    const auto [it, added] = strings_.try_emplace(s, objects_.size());
    if (added) objects_.push_back({value, &s, {}});
    return it->second;
  }

  // A marker with `type` in its high nibble and `count` in the low one or, from 15 on, in an
  // integer object after it.
  void header(std::uint8_t type, std::uint64_t count) {
    if (count < 15) {
      out_.push_back(static_cast<std::uint8_t>(type << 4 | count));
      return;
    }
    out_.push_back(static_cast<std::uint8_t>(type << 4 | 0xF));
    const std::size_t width = widthFor(count);
    out_.push_back(static_cast<std::uint8_t>(0x10 | std::countr_zero(width)));
    appendBigEndian(out_, count, width);
  }

  void encodeString(std::string_view s) {
    bool ascii = true;
    for (const char c : s) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
      header(0x5, s.size());
      out_.insert(out_.end(), s.begin(), s.end());
      return;
    }
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < s.size();) {
      const std::uint32_t code = decodeUtf8(s, i).value_or(0xFFFD);
      if (code < 0x10000) {
        units.push_back(static_cast<std::uint16_t>(code));
      } else {
        units.push_back(static_cast<std::uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
        units.push_back(static_cast<std::uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
      }
    }
    header(0x6, units.size());
    for (std::uint16_t unit : units) appendBigEndian(out_, unit, 2);
  }

  void encodeInteger(const Integer& integer) {
    if (integer.negative()) {
      out_.push_back(0x13);
      appendBigEndian(out_, integer.bits(), 8);
    } else if (integer.aboveSignedMax()) {
      out_.push_back(0x14);  // 16 bytes, the high half zero, as Foundation writes them
      appendBigEndian(out_, 0, 8);
      appendBigEndian(out_, integer.bits(), 8);
    } else {
      const std::size_t width = widthFor(integer.bits());
      out_.push_back(static_cast<std::uint8_t>(0x10 | std::countr_zero(width)));
      appendBigEndian(out_, integer.bits(), width);
    }
  }

  void encode(const Object& object) {
    if (object.text != nullptr) {
      encodeString(*object.text);
      return;
    }
    const Value& value = *object.value;
    switch (value.kind()) {
      case Kind::Boolean:
        out_.push_back(value.as<bool>() ? 0x09 : 0x08);
        return;
      case Kind::Integer:
        encodeInteger(value.as<Integer>());
        return;
      case Kind::Real:
        out_.push_back(0x23);
        appendBigEndian(out_, std::bit_cast<std::uint64_t>(value.as<double>()), 8);
        return;
      case Kind::Date:
        out_.push_back(0x33);
        appendBigEndian(out_, std::bit_cast<std::uint64_t>(value.as<Date>().secondsSince2001), 8);
        return;
      case Kind::Data: {
        const Data& bytes = value.as<Data>();
        header(0x4, bytes.size());
        out_.insert(out_.end(), bytes.begin(), bytes.end());
        return;
      }
      case Kind::String:  // written from object.text above
        return;
      case Kind::Uid: {
        const std::uint32_t index = value.as<Uid>().value;
        const std::size_t width = widthFor(index);
        out_.push_back(static_cast<std::uint8_t>(0x80 | (width - 1)));
        appendBigEndian(out_, index, width);
        return;
      }
      case Kind::Array:
      case Kind::Dictionary: {
        const bool dict = value.kind() == Kind::Dictionary;
        header(dict ? 0xD : 0xA, dict ? object.refs.size() / 2 : object.refs.size());
        for (std::uint64_t ref : object.refs) appendBigEndian(out_, ref, refSize_);
        return;
      }
    }
  }

  std::vector<Object> objects_;                                  // in file order
  std::unordered_map<std::string_view, std::uint64_t> strings_;  // string contents to objects
  std::size_t refSize_ = 1;                                      // width of an object reference
  std::vector<std::uint8_t> out_;                                // the file so far
};

}  // namespace

std::vector<std::uint8_t> writeBinary(const Value& value) {
  return BinaryWriter().write(value);
}

}  // namespace platform::plist::detail
