#include "platform/foundation/plist_file.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace platform::plist {
namespace {

using Bytes = std::span<const std::uint8_t>;

// libplist stores dates as 32-bit whole seconds since 2001 (plus microseconds), so only this
// span of instants survives a trip through it.
constexpr double kEarliestDate = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLatestDateSecond = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMicrosPerSecond = 1000000;

// libplist takes lengths as uint32_t.
constexpr std::size_t kLibplistMaxBytes = std::numeric_limits<std::uint32_t>::max();

struct PlistDeleter {
  void operator()(void* node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

std::string describeByte(std::uint8_t b) {
  static constexpr char kHex[] = "0123456789abcdef";
  return std::string("0x") + kHex[b >> 4] + kHex[b & 0xF];
}

// ---------------------------------------------------------------------------------------------
// Text checks shared by both formats.

// Whether `s` is well-formed UTF-8: shortest forms only, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (s.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return false;
    if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return false;
    i += length;
  }
  return true;
}

// Empty if `s` is usable as a string or key; otherwise why not.
std::string checkText(std::string_view s, std::string_view what) {
  if (s.find('\0') != std::string_view::npos) {
    return std::string(what) + " contains a NUL character";
  }
  if (!isValidUtf8(s)) return std::string(what) + " is not valid UTF-8";
  return {};
}

// ---------------------------------------------------------------------------------------------
// Dates. libplist's binary reader loses the sign of the fraction of dates before 2001, and its
// XML writer drops the fraction entirely, so the exact instant is taken from the file bytes and
// split into whole seconds and microseconds here.

struct SplitDate {
  std::int64_t seconds;  // rounded toward zero
  std::int64_t micros;   // same sign as the instant, |micros| < 1e6
};

SplitDate splitDate(double seconds) {
  const std::int64_t total = std::llround(seconds * static_cast<double>(kMicrosPerSecond));
  return {total / kMicrosPerSecond, total % kMicrosPerSecond};
}

// The instant as libplist's binary writer adds the two parts back up.
double joinDate(std::int64_t seconds, std::int64_t micros) {
  return static_cast<double>(seconds) +
         static_cast<double>(micros) / static_cast<double>(kMicrosPerSecond);
}

// Whether libplist can hold `seconds` both as XML (whole seconds, rounded down) and as binary
// (rounded to the microsecond).
bool dateFits(double seconds) {
  if (!std::isfinite(seconds) || seconds < kEarliestDate) return false;
  if (seconds >= static_cast<double>(kLatestDateSecond) + 1.0) return false;
  return splitDate(seconds).seconds <= kLatestDateSecond;
}

// `seconds` rounded to the microsecond, the precision kept in binary files.
double normaliseDate(double seconds) {
  const SplitDate split = splitDate(seconds);
  return joinDate(split.seconds, split.micros);
}

// ---------------------------------------------------------------------------------------------
// Binary pre-pass. Decodes the trailer and every reachable object header, walks the object
// graph from the top object without recursion, and refuses anything libplist would choke on:
// out-of-range offsets and references, lengths past the object area, cycles, nesting beyond
// the limit, and shared references that expand past the node or byte limits.

enum class ObjectType : std::uint8_t { Bool, Integer, Real, Date, Data, Ascii, Utf16, Array, Dict };

struct ObjectInfo {
  ObjectType type = ObjectType::Bool;
  // Walk state of a container: not yet entered, on the walk stack, or finished.
  enum : std::uint8_t { kUnseen, kOpen, kDone } state = kUnseen;
  std::uint32_t height = 0;  // nesting levels of a finished container, itself included
  std::uint64_t count = 0;   // entries (arrays, dicts), bytes (data, ASCII), units (UTF-16)
  std::size_t payload = 0;   // offset of the references or bytes
  std::uint64_t nodes = 1;   // expanded values, itself included
  std::uint64_t bytes = 0;   // expanded string, key and data bytes (UTF-16 at 3 per unit)
  double date = 0;           // normalised instant of a date
};

bool isContainer(ObjectType type) {
  return type == ObjectType::Array || type == ObjectType::Dict;
}

std::uint64_t readBigEndian(const std::uint8_t* p, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value = (value << 8) | p[i];
  return value;
}

class BinaryGuard {
 public:
  BinaryGuard(Bytes bytes, const Limits& limits) : bytes_(bytes), limits_(limits) {}

  // Checks the whole file; empty on success, otherwise the reason.
  std::string check() {
    if (std::string error = readTrailer(); !error.empty()) return error;
    return walk();
  }

  std::uint64_t topObject() const { return top_; }

  // The decoded header of object `index`. REQUIRES: check() succeeded and reached it.
  const ObjectInfo& object(std::uint64_t index) const { return objects_.at(index); }

  // The `i`th reference held by a container. REQUIRES: i < count (arrays), 2 * count (dicts).
  std::uint64_t reference(const ObjectInfo& info, std::uint64_t i) const {
    return readBigEndian(bytes_.data() + info.payload + i * refSize_, refSize_);
  }

 private:
  std::string readTrailer() {
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

  // Finds or decodes object `index` into *out.
  std::string load(std::uint64_t index, ObjectInfo** out) {
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

  std::string decode(std::uint64_t index, ObjectInfo& info) {
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
          return fits(std::size_t{1} << low, 1) ? std::string() : truncated;
        }
        if (low == 4) {
          // A 128-bit integer; libplist keeps only the low 64 bits.
          if (!fits(16, 1)) return truncated;
          const std::uint64_t high = readBigEndian(data + pos, 8);
          const std::uint64_t value = readBigEndian(data + pos + 8, 8);
          if (high != 0 || value > static_cast<std::uint64_t>(INT64_MAX)) {
            return "integer out of the signed 64-bit range";
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
        if (!dateFits(seconds)) return "date out of range";
        info.type = ObjectType::Date;
        info.date = normaliseDate(seconds);
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
      case 0x8:
        return "UID objects are not supported";
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

  // libplist silently drops unpaired surrogates and keeps NULs that cut the string short.
  static std::string checkUtf16(const std::uint8_t* p, std::uint64_t units) {
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

  struct Frame {
    ObjectInfo* info;
    std::uint64_t next = 0;
    std::uint64_t nodes = 1;
    std::uint64_t bytes = 0;
    std::uint32_t height = 1;
  };

  std::string tooManyNodes() const {
    return "more than " + std::to_string(limits_.maxNodes) + " values";
  }
  std::string tooManyBytes() const {
    return "more than " + std::to_string(limits_.maxExpandedBytes) +
           " bytes of strings and data once shared references are expanded";
  }
  std::string tooDeep() const {
    return "nesting deeper than " + std::to_string(limits_.maxDepth) + " levels";
  }

  // Adds a finished child's totals to its parent's frame.
  std::string addChild(Frame& parent, std::uint64_t nodes, std::uint64_t bytes,
                       std::uint32_t height) {
    parent.nodes += nodes;
    if (parent.nodes > limits_.maxNodes) return tooManyNodes();
    parent.bytes += bytes;
    if (parent.bytes > limits_.maxExpandedBytes) return tooManyBytes();
    parent.height = std::max(parent.height, height + 1);
    return {};
  }

  std::string walk() {
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

  Bytes bytes_;
  const Limits& limits_;
  std::size_t offsetSize_ = 0;
  std::size_t refSize_ = 0;
  std::uint64_t objectCount_ = 0;
  std::uint64_t top_ = 0;
  std::size_t table_ = 0;
  std::size_t objectsEnd_ = 0;
  std::unordered_map<std::uint64_t, ObjectInfo> objects_;
};

// ---------------------------------------------------------------------------------------------
// XML pre-pass. A strict scanner over the markup: it tracks the nesting of <array> and <dict>,
// counts values, checks that dictionaries alternate keys and values, and validates integer,
// real, date and data text that libplist would otherwise misread silently (octal integers,
// saturated overflow, dates clamped or normalised from nonsense). Markup whose extent could be
// read two ways ('<' or '>' inside comments, declarations, processing instructions or
// attribute values, or quoting one reader honours and another ignores) is refused, so
// libplist can never see nesting the scanner did not.

// Up to 40 bytes of `text` for an error message, with anything unprintable escaped.
std::string snippet(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const char c : text.substr(0, 40)) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 0xF];
    }
  }
  return out;
}

bool isXmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimXmlSpace(std::string_view s) {
  while (!s.empty() && isXmlSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isXmlSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Decimal without leading zeros, or 0x hex, optionally signed, within the signed 64-bit range.
std::string checkIntegerText(std::string_view text) {
  const std::string bad = "malformed integer \"" + snippet(text) + "\"";
  std::string_view s = trimXmlSpace(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  } else if (s.size() > 1 && s[0] == '0') {
    return bad;  // libplist would read it as octal
  }
  if (s.empty()) return bad;
  std::uint64_t magnitude = 0;
  const auto [end, status] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (end != s.data() + s.size()) return bad;
  const std::uint64_t limit = static_cast<std::uint64_t>(INT64_MAX) + (negative ? 1 : 0);
  if (status == std::errc::result_out_of_range || magnitude > limit) {
    return "integer " + snippet(trimXmlSpace(text)) + " out of the signed 64-bit range";
  }
  return {};
}

std::string checkRealText(std::string_view text) {
  std::string_view s = trimXmlSpace(text);
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
  double value = 0;
  const auto [end, status] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || s.front() == '-' || s.front() == '+' || end != s.data() + s.size() ||
      (status != std::errc() && status != std::errc::result_out_of_range)) {
    return "malformed real \"" + snippet(text) + "\"";
  }
  return {};
}

// Days from 1970-01-01 to the given proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// YYYY-MM-DDTHH:MM:SSZ, a real calendar date, within libplist's range.
std::string checkDateText(std::string_view text) {
  const std::string bad = "malformed date \"" + snippet(text) + "\"";
  const std::string_view s = trimXmlSpace(text);
  static constexpr std::string_view kPattern = "dddd-dd-ddTdd:dd:ddZ";
  if (s.size() != kPattern.size()) return bad;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const bool digit = s[i] >= '0' && s[i] <= '9';
    if (kPattern[i] == 'd' ? !digit : s[i] != kPattern[i]) return bad;
  }
  const auto number = [&](std::size_t at, std::size_t width) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + width; ++i) value = value * 10 + (s[i] - '0');
    return value;
  };
  const unsigned year = number(0, 4), month = number(5, 2), day = number(8, 2);
  const unsigned hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month < 1 || month > 12) return bad;
  const unsigned monthDays = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  if (day < 1 || day > monthDays || hour > 23 || minute > 59 || second > 59) return bad;
  constexpr std::int64_t kReferenceDay = 11323;  // 2001-01-01
  const std::int64_t seconds = (daysFromCivil(year, month, day) - kReferenceDay) * 86400 +
                               hour * 3600 + minute * 60 + second;
  if (seconds < kEarliestDate || seconds > kLatestDateSecond) {
    return "date " + snippet(s) + " out of range";
  }
  return {};
}

// Padded base64, whitespace allowed between characters.
std::string checkDataText(std::string_view text) {
  std::size_t symbols = 0;
  std::size_t padding = 0;
  for (const char c : text) {
    if (isXmlSpace(c)) continue;
    const bool alphabet = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '+' || c == '/';
    if (c == '=') {
      ++padding;
    } else if (!alphabet || padding > 0) {
      return "malformed base64 in <data>";
    }
    ++symbols;
  }
  if (symbols % 4 != 0 || padding > 2) return "malformed base64 in <data>";
  return {};
}

class XmlGuard {
 public:
  XmlGuard(std::string_view text, const Limits& limits) : text_(text), limits_(limits) {}

  // Checks the whole document; empty on success, otherwise the reason.
  std::string check() {
    if (text_.find('\0') != std::string_view::npos) return "document contains a NUL byte";
    if (std::string error = skipMisc(true); !error.empty()) return error;
    if (pos_ == text_.size()) return "no root element";
    std::string error = element();
    if (error.empty()) error = skipMisc(false);
    if (error.empty() && pos_ != text_.size()) error = "unexpected content after the root element";
    if (!error.empty()) return error + " (at byte " + std::to_string(pos_) + ")";
    return {};
  }

  // The document to hand to libplist: the input with every character or entity reference in
  // string and key text replaced by its character in a CDATA section. libplist decodes
  // references in place, shifting the rest of the text each time, which is quadratic.
  // REQUIRES: check() succeeded.
  std::string document() const {
    std::string out = rewritten_;
    out.append(text_.substr(copied_));
    return out;
  }

 private:
  bool startsWith(std::string_view prefix) const {
    return text_.substr(pos_, prefix.size()) == prefix;
  }

  void skipSpace() {
    while (pos_ < text_.size() && isXmlSpace(text_[pos_])) ++pos_;
  }

  // Skips a comment at pos_; its body may hold neither '<' nor '>'.
  std::string comment() {
    const std::size_t end = text_.find("-->", pos_ + 4);
    if (end == std::string_view::npos) return "unterminated comment";
    if (text_.substr(pos_ + 4, end - pos_ - 4).find_first_of("<>") != std::string_view::npos) {
      return "comment contains '<' or '>'";
    }
    pos_ = end + 3;
    return {};
  }

  // Finds the first `terminator` at or after `from` that lies outside quoted text. '<' may not
  // appear at all, '>' only as the end of the terminator, and neither kind of quote inside the
  // other, so a reader that honours both kinds of quote, only one, or neither ends the markup
  // at the same place. (libplist honours double quotes in processing instructions and
  // DOCTYPE, but not single quotes.) Returns the terminator's position, or npos and *error.
  std::size_t scanMarkup(std::size_t from, std::string_view terminator, std::string* error) const {
    char quote = 0;
    for (std::size_t i = from; i < text_.size(); ++i) {
      const char c = text_[i];
      if (c == '<') {
        *error = "'<' inside markup";
        return std::string_view::npos;
      }
      if (quote != 0) {
        if (c == '>' || ((c == '"' || c == '\'') && c != quote)) {
          *error = "'>' or a mixed quote inside a quoted value";
          return std::string_view::npos;
        }
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (text_.substr(i, terminator.size()) == terminator) {
        return i;
      } else if (c == '>') {
        *error = "stray '>' inside markup";
        return std::string_view::npos;
      }
    }
    *error = "unterminated markup";
    return std::string_view::npos;
  }

  // Skips whitespace, comments, processing instructions and (in the prolog) a DOCTYPE.
  std::string skipMisc(bool prolog) {
    for (;;) {
      skipSpace();
      std::string error;
      if (startsWith("<!--")) {
        if (error = comment(); !error.empty()) return error;
      } else if (startsWith("<?")) {
        const std::size_t end = scanMarkup(pos_ + 2, "?>", &error);
        if (end == std::string_view::npos) return "processing instruction: " + error;
        pos_ = end + 2;
      } else if (prolog && startsWith("<!DOCTYPE")) {
        const std::size_t bracket = text_.find_first_of("[>", pos_ + 9);
        if (bracket != std::string_view::npos && text_[bracket] == '[') {
          return "DOCTYPE with an internal subset is not supported";
        }
        const std::size_t end = scanMarkup(pos_ + 9, ">", &error);
        if (end == std::string_view::npos) return "DOCTYPE: " + error;
        pos_ = end + 1;
      } else {
        return {};
      }
    }
  }

  struct Tag {
    std::string_view name;
    bool closing = false;
    bool selfClosing = false;
  };

  // Reads the tag at pos_ (which holds '<'); attribute values are skipped.
  std::string tag(Tag& out) {
    std::size_t i = pos_ + 1;
    out = Tag{};
    if (i < text_.size() && text_[i] == '/') {
      out.closing = true;
      ++i;
    }
    const std::size_t nameStart = i;
    while (i < text_.size() && !isXmlSpace(text_[i]) && text_[i] != '/' && text_[i] != '>' &&
           text_[i] != '<' && text_[i] != '"' && text_[i] != '\'') {
      ++i;
    }
    out.name = text_.substr(nameStart, i - nameStart);
    std::string error;
    const std::size_t end = scanMarkup(i, ">", &error);
    if (end == std::string_view::npos) return "tag: " + error;
    char quote = 0;
    for (; i < end; ++i) {
      const char c = text_[i];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (out.closing && !isXmlSpace(c)) {
        return "malformed closing tag";
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '/') {
        // Only as the very last character, so every reader agrees the element is empty.
        if (i + 1 != end) return "stray '/' in a tag";
        out.selfClosing = true;
      }
    }
    pos_ = end + 1;
    return {};
  }

  // Reads text up to the closing tag `</name>`, which it consumes. In strings and keys the
  // text may hold comments and CDATA sections; elsewhere it must be plain.
  std::string content(std::string_view name, bool rich, std::string_view* plain) {
    const std::size_t start = pos_;
    for (;;) {
      const std::size_t lt = text_.find('<', pos_);
      if (lt == std::string_view::npos) return "unterminated <" + std::string(name) + ">";
      if (rich) {
        if (std::string error = references(pos_, lt); !error.empty()) return error;
      }
      pos_ = lt;
      if (rich && startsWith("<!--")) {
        if (std::string error = comment(); !error.empty()) return error;
        continue;
      }
      if (rich && startsWith("<![CDATA[")) {
        const std::size_t end = text_.find("]]>", pos_ + 9);
        if (end == std::string_view::npos) return "unterminated CDATA section";
        pos_ = end + 3;
        continue;
      }
      if (plain != nullptr) *plain = text_.substr(start, lt - start);
      Tag close;
      if (std::string error = tag(close); !error.empty()) return error;
      if (!close.closing || close.name != name) {
        return "unexpected tag inside <" + std::string(name) + ">";
      }
      return {};
    }
  }

  // Rewrites each reference in text_[from, to) into rewritten_ (see document()).
  std::string references(std::size_t from, std::size_t to) {
    // Searches stay inside the segment, or a document of many short strings goes quadratic.
    const std::string_view segment = text_.substr(0, to);
    for (std::size_t at = segment.find('&', from); at != std::string_view::npos;
         at = segment.find('&', at)) {
      const std::size_t semicolon = segment.substr(0, at + 12).find(';', at);
      if (semicolon == std::string_view::npos) return "malformed character reference";
      const std::string_view name = text_.substr(at + 1, semicolon - at - 1);
      std::string character;
      if (name == "amp") {
        character = "&";
      } else if (name == "lt") {
        character = "<";
      } else if (name == "gt") {
        character = ">";
      } else if (name == "quot") {
        character = "\"";
      } else if (name == "apos") {
        character = "'";
      } else if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [end, status] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || end != digits.data() + digits.size() || status != std::errc() ||
            code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
          return "character reference &" + snippet(name) + "; is not a valid character";
        }
        character = encodeUtf8(code);
      } else {
        return "unknown entity &" + snippet(name) + ";";
      }
      rewritten_.append(text_.substr(copied_, at - copied_));
      rewritten_ += "<![CDATA[" + character + "]]>";
      copied_ = semicolon + 1;
      at = semicolon + 1;
    }
    return {};
  }

  static std::string encodeUtf8(std::uint32_t code) {
    std::string out;
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
  }

  struct Container {
    bool dict;
    bool expectKey = true;  // dictionaries only
  };

  std::string countValue() {
    if (++values_ > limits_.maxNodes) {
      return "more than " + std::to_string(limits_.maxNodes) + " values";
    }
    return {};
  }

  // Reads the root element (optionally a <plist> wrapper) and everything inside it.
  std::string element() {
    if (pos_ >= text_.size() || text_[pos_] != '<') return "expected an element";
    const std::size_t plistStart = pos_;
    Tag root;
    if (std::string error = tag(root); !error.empty()) return error;
    bool wrapped = false;
    if (root.name == "plist" && !root.closing) {
      if (root.selfClosing) return "empty <plist>";
      wrapped = true;
    } else {
      pos_ = plistStart;
    }
    if (std::string error = values(); !error.empty()) return error;
    if (wrapped) {
      if (std::string error = skipMisc(false); !error.empty()) return error;
      Tag close;
      if (pos_ >= text_.size()) return "missing </plist>";
      if (std::string error = tag(close); !error.empty()) return error;
      if (!close.closing || close.name != "plist") return "expected </plist>";
    }
    return {};
  }

  // Reads exactly one value, iteratively, with its nested contents.
  std::string values() {
    std::vector<Container> stack;
    bool haveRoot = false;
    for (;;) {
      if (stack.empty() && haveRoot) return {};
      if (std::string error = skipMisc(false); !error.empty()) return error;
      if (pos_ >= text_.size()) return "unexpected end of document";
      if (text_[pos_] != '<') return "unexpected text between elements";
      Tag t;
      if (std::string error = tag(t); !error.empty()) return error;

      if (t.closing) {
        if (stack.empty()) return "unexpected </" + snippet(t.name) + ">";
        const Container& top = stack.back();
        if (t.name != (top.dict ? "dict" : "array")) {
          return "mismatched </" + snippet(t.name) + ">";
        }
        if (top.dict && !top.expectKey) return "dictionary key without a value";
        stack.pop_back();
        continue;
      }

      if (t.name == "key") {
        if (stack.empty() || !stack.back().dict) return "<key> outside a dictionary";
        if (!stack.back().expectKey) return "two keys in a row";
        stack.back().expectKey = false;
        if (!t.selfClosing) {
          if (std::string error = content("key", true, nullptr); !error.empty()) return error;
        }
        continue;
      }

      // Any other element is a value.
      if (!stack.empty() && stack.back().dict) {
        if (stack.back().expectKey) return "dictionary value without a key";
        stack.back().expectKey = true;
      }
      if (std::string error = countValue(); !error.empty()) return error;
      haveRoot = true;
      if (t.name == "array" || t.name == "dict") {
        if (t.selfClosing) continue;
        if (stack.size() + 1 > limits_.maxDepth) {
          return "nesting deeper than " + std::to_string(limits_.maxDepth) + " levels";
        }
        stack.push_back({t.name == "dict"});
        continue;
      }
      if (t.selfClosing) {
        if (t.name == "string" || t.name == "true" || t.name == "false" || t.name == "data") {
          continue;
        }
        return "empty <" + std::string(t.name) + ">";
      }
      std::string_view text;
      std::string error;
      if (t.name == "string") {
        error = content("string", true, nullptr);
      } else if (t.name == "true" || t.name == "false") {
        error = content(t.name, false, &text);
        if (error.empty() && !trimXmlSpace(text).empty()) error = "text inside a boolean";
      } else if (t.name == "integer") {
        error = content("integer", false, &text);
        if (error.empty()) error = checkIntegerText(text);
      } else if (t.name == "real") {
        error = content("real", false, &text);
        if (error.empty()) error = checkRealText(text);
      } else if (t.name == "date") {
        error = content("date", false, &text);
        if (error.empty()) error = checkDateText(text);
      } else if (t.name == "data") {
        error = content("data", false, &text);
        if (error.empty()) error = checkDataText(text);
      } else {
        error = "unknown element <" + snippet(t.name) + ">";
      }
      if (!error.empty()) return error;
    }
  }

  std::string_view text_;
  const Limits& limits_;
  std::size_t pos_ = 0;
  std::size_t values_ = 0;
  std::string rewritten_;   // the document up to copied_, references replaced
  std::size_t copied_ = 0;  // how much of text_ rewritten_ covers
};

// ---------------------------------------------------------------------------------------------
// libplist tree to Value. For binary input the walk follows the pre-pass's object graph in
// step, so each node is checked against the object it came from and dates are taken exactly.

class Converter {
 public:
  explicit Converter(const BinaryGuard* binary) : binary_(binary) {}

  // The Value for `node` (object `index` in a binary file), or an empty optional with error().
  std::optional<Value> convert(plist_t node, std::uint64_t index) {
    const ObjectInfo* info = binary_ != nullptr ? &binary_->object(index) : nullptr;
    const plist_type type = plist_get_node_type(node);
    const auto expect = [&](std::initializer_list<ObjectType> allowed) {
      if (info == nullptr) return true;
      return std::find(allowed.begin(), allowed.end(), info->type) != allowed.end();
    };
    switch (type) {
      case PLIST_BOOLEAN: {
        if (!expect({ObjectType::Bool})) break;
        std::uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
      }
      case PLIST_UINT: {
        if (!expect({ObjectType::Integer})) break;
        std::uint64_t u = 0;
        plist_get_uint_val(node, &u);
        return Value(static_cast<std::int64_t>(u));
      }
      case PLIST_REAL: {
        if (!expect({ObjectType::Real})) break;
        double d = 0;
        plist_get_real_val(node, &d);
        return Value(d);
      }
      case PLIST_DATE: {
        if (!expect({ObjectType::Date})) break;
        if (info != nullptr) return Value(Date{info->date});
        std::int32_t seconds = 0, micros = 0;
        plist_get_date_val(node, &seconds, &micros);
        return Value(Date{joinDate(seconds, micros)});
      }
      case PLIST_STRING:
      case PLIST_KEY: {
        if (!expect({ObjectType::Ascii, ObjectType::Utf16})) break;
        std::string s;
        if (type == PLIST_STRING) {
          std::uint64_t length = 0;
          const char* p = plist_get_string_ptr(node, &length);
          if (p != nullptr) s.assign(p, length);
        } else {
          char* key = nullptr;
          plist_get_key_val(node, &key);
          if (key != nullptr) s = key;
          std::free(key);
        }
        if (error_ = checkText(s, "string"); !error_.empty()) return std::nullopt;
        return Value(std::move(s));
      }
      case PLIST_DATA: {
        if (!expect({ObjectType::Data})) break;
        std::uint64_t length = 0;
        const char* p = plist_get_data_ptr(node, &length);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(p);
        return Value(p != nullptr ? Data(bytes, bytes + length) : Data());
      }
      case PLIST_ARRAY:
        if (!expect({ObjectType::Array})) break;
        return convertArray(node, info);
      case PLIST_DICT:
        if (!expect({ObjectType::Dict})) break;
        return convertDict(node, info);
      default:
        break;
    }
    error_ = info != nullptr ? "object " + std::to_string(index) + " decoded as an unexpected type"
                             : "unexpected value type";
    return std::nullopt;
  }

  const std::string& error() const { return error_; }

 private:
  // Walks the elements with an iterator: plist_array_get_item is linear in the index for
  // arrays read from binary files, which would make large arrays quadratic.
  std::optional<Value> convertArray(plist_t node, const ObjectInfo* info) {
    plist_array_iter it = nullptr;
    plist_array_new_iter(node, &it);
    if (it == nullptr) {
      error_ = "cannot iterate an array";
      return std::nullopt;
    }
    std::unique_ptr<void, decltype(&std::free)> iter(it, &std::free);
    Array elements;
    if (info != nullptr) elements.reserve(info->count);
    for (std::uint64_t i = 0;; ++i) {
      plist_t item = nullptr;
      plist_array_next_item(node, it, &item);
      if (item == nullptr) break;
      if (info != nullptr && i >= info->count) {
        error_ = "array decoded with the wrong number of elements";
        return std::nullopt;
      }
      std::optional<Value> element =
          convert(item, info != nullptr ? binary_->reference(*info, i) : 0);
      if (!element) return std::nullopt;
      elements.push_back(std::move(*element));
    }
    if (info != nullptr && elements.size() != info->count) {
      error_ = "array decoded with the wrong number of elements";
      return std::nullopt;
    }
    return Value(std::move(elements));
  }

  std::optional<Value> convertDict(plist_t node, const ObjectInfo* info) {
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(node, &it);
    if (it == nullptr) {
      error_ = "cannot iterate a dictionary";
      return std::nullopt;
    }
    std::unique_ptr<void, decltype(&std::free)> iter(it, &std::free);
    Dictionary entries;
    std::uint64_t n = 0;
    for (;; ++n) {
      char* rawKey = nullptr;
      plist_t item = nullptr;
      plist_dict_next_item(node, it, &rawKey, &item);
      std::unique_ptr<char, decltype(&std::free)> key(rawKey, &std::free);
      if (item == nullptr) break;
      if (key == nullptr || (info != nullptr && n >= info->count)) {
        error_ = "dictionary decoded with the wrong entries";
        return std::nullopt;
      }
      std::string name(key.get());
      if (error_ = checkText(name, "dictionary key"); !error_.empty()) return std::nullopt;
      std::optional<Value> value =
          convert(item, info != nullptr ? binary_->reference(*info, info->count + n) : 0);
      if (!value) return std::nullopt;
      // A repeated key keeps its last value, as libplist's XML reader does.
      entries.insert_or_assign(std::move(name), std::move(*value));
    }
    if (info != nullptr && n != info->count) {
      error_ = "dictionary decoded with the wrong number of entries";
      return std::nullopt;
    }
    return Value(std::move(entries));
  }

  const BinaryGuard* binary_;
  std::string error_;
};

ParseResult failure(std::string error) {
  return ParseResult{std::nullopt, std::move(error)};
}

ParseResult parseBinary(Bytes bytes, const Limits& limits) {
  const std::string prefix = "binary property list: ";
  BinaryGuard guard(bytes, limits);
  if (std::string error = guard.check(); !error.empty()) return failure(prefix + error);
  plist_t raw = nullptr;
  plist_from_bin(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::uint32_t>(bytes.size()), &raw);
  PlistPtr root(raw);
  if (root == nullptr) return failure(prefix + "malformed");
  Converter converter(&guard);
  std::optional<Value> value = converter.convert(root.get(), guard.topObject());
  if (!value) return failure(prefix + converter.error());
  return ParseResult{std::move(value), {}};
}

ParseResult parseXml(std::string_view text, const Limits& limits) {
  const std::string prefix = "XML property list: ";
  XmlGuard guard(text, limits);
  if (std::string error = guard.check(); !error.empty()) return failure(prefix + error);
  // Also gives libplist the terminating NUL its XML reader expects past the given length.
  const std::string copy = guard.document();
  if (copy.size() > kLibplistMaxBytes) return failure(prefix + "document too large");
  plist_t raw = nullptr;
  plist_from_xml(copy.c_str(), static_cast<std::uint32_t>(copy.size()), &raw);
  PlistPtr root(raw);
  if (root == nullptr) return failure(prefix + "malformed");
  Converter converter(nullptr);
  std::optional<Value> value = converter.convert(root.get(), 0);
  if (!value) return failure(prefix + converter.error());
  return ParseResult{std::move(value), {}};
}

// ---------------------------------------------------------------------------------------------
// Value to libplist tree.

PlistPtr toNode(const Value& value, Format format) {
  switch (value.kind()) {
    case Kind::Boolean:
      return PlistPtr(plist_new_bool(value.as<bool>() ? 1 : 0));
    case Kind::Integer:
      return PlistPtr(plist_new_uint(static_cast<std::uint64_t>(value.as<std::int64_t>())));
    case Kind::Real:
      return PlistPtr(plist_new_real(value.as<double>()));
    case Kind::String:
      return PlistPtr(plist_new_string(value.as<std::string>().c_str()));
    case Kind::Date: {
      double seconds = value.as<Date>().secondsSince2001;
      if (std::isnan(seconds)) seconds = 0;
      seconds =
          std::clamp(seconds, kEarliestDate, static_cast<double>(kLatestDateSecond) + 0.999999);
      if (format == Format::Xml) {
        // The XML writer keeps whole seconds only; round down so the text names the second
        // the instant falls in.
        return PlistPtr(plist_new_date(static_cast<std::int32_t>(std::floor(seconds)), 0));
      }
      const SplitDate split = splitDate(seconds);
      return PlistPtr(plist_new_date(static_cast<std::int32_t>(split.seconds),
                                     static_cast<std::int32_t>(split.micros)));
    }
    case Kind::Data: {
      const Data& bytes = value.as<Data>();
      static const char kEmpty = 0;
      const char* p = bytes.empty() ? &kEmpty : reinterpret_cast<const char*>(bytes.data());
      return PlistPtr(plist_new_data(p, bytes.size()));
    }
    case Kind::Array: {
      PlistPtr array(plist_new_array());
      for (const Value& element : value.as<Array>()) {
        plist_array_append_item(array.get(), toNode(element, format).release());
      }
      return array;
    }
    case Kind::Dictionary: {
      PlistPtr dict(plist_new_dict());
      for (const auto& [key, element] : value.as<Dictionary>()) {
        plist_dict_set_item(dict.get(), key.c_str(), toNode(element, format).release());
      }
      return dict;
    }
  }
  return PlistPtr(plist_new_bool(0));
}

std::string errnoText(std::string_view what, int error) {
  return std::string(what) + ": " + std::strerror(error);
}

// Writes all of `bytes` to `fd`, retrying short writes and interruptions.
bool writeAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

ParseResult parse(std::span<const std::uint8_t> bytes, const Limits& limits) {
  const std::size_t maxBytes = std::min(limits.maxBytes, kLibplistMaxBytes);
  if (bytes.size() > maxBytes) {
    return failure("property list is larger than " + std::to_string(maxBytes) + " bytes");
  }
  if (bytes.empty()) return failure("not a property list: input is empty");
  static constexpr std::string_view kBinaryMagic = "bplist00";
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.starts_with(kBinaryMagic)) return parseBinary(bytes, limits);
  if (text.starts_with("bplist")) return failure("unsupported binary property list version");
  std::string_view xml = text;
  if (xml.starts_with("\xEF\xBB\xBF")) xml.remove_prefix(3);  // UTF-8 byte order mark
  const std::size_t first = xml.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos || xml[first] != '<') return failure("not a property list");
  return parseXml(xml, limits);
}

ReadResult readFile(const std::filesystem::path& path, const Limits& limits) {
  const std::string name = path.string();
  const std::size_t maxBytes = std::min(limits.maxBytes, kLibplistMaxBytes);
  // O_NONBLOCK keeps a FIFO from stalling the open; it is refused below as not a regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return failure(errnoText(name + ": cannot open", errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) return failure(errnoText(name + ": cannot stat", errno));
  if (!S_ISREG(info.st_mode)) return failure(name + ": not a regular file");
  if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    return failure(name + ": file is " + std::to_string(info.st_size) + " bytes, more than " +
                   std::to_string(maxBytes));
  }
  // The file may grow after fstat: read at most one byte past the limit to notice.
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (bytes.size() > maxBytes) break;
      bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
    }
    const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failure(errnoText(name + ": cannot read", errno));
    }
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  if (used > maxBytes) {
    return failure(name + ": file is more than " + std::to_string(maxBytes) + " bytes");
  }
  bytes.resize(used);
  ParseResult result = parse(bytes, limits);
  if (!result.ok()) result.error = name + ": " + result.error;
  return result;
}

std::string toXml(const Value& value) {
  PlistPtr root = toNode(value, Format::Xml);
  char* out = nullptr;  // libplist writes nothing unless this starts out null
  std::uint32_t length = 0;
  plist_to_xml(root.get(), &out, &length);
  if (out == nullptr) return {};
  std::string xml(out, length);
  plist_to_xml_free(out);
  return xml;
}

std::vector<std::uint8_t> toBinary(const Value& value) {
  PlistPtr root = toNode(value, Format::Binary);
  char* out = nullptr;  // libplist writes nothing unless this starts out null
  std::uint32_t length = 0;
  plist_to_bin(root.get(), &out, &length);
  if (out == nullptr) return {};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(out);
  std::vector<std::uint8_t> binary(bytes, bytes + length);
  plist_to_bin_free(out);
  return binary;
}

std::string isWritable(const Value& value) {
  std::vector<const Value*> pending{&value};
  while (!pending.empty()) {
    const Value* v = pending.back();
    pending.pop_back();
    switch (v->kind()) {
      case Kind::String:
        if (std::string error = checkText(v->as<std::string>(), "string"); !error.empty()) {
          return error;
        }
        break;
      case Kind::Date:
        if (!dateFits(v->as<Date>().secondsSince2001)) {
          return "date outside 1932-12-13 to 2069-01-19";
        }
        break;
      case Kind::Array:
        for (const Value& element : v->as<Array>()) pending.push_back(&element);
        break;
      case Kind::Dictionary:
        for (const auto& [key, element] : v->as<Dictionary>()) {
          if (std::string error = checkText(key, "dictionary key"); !error.empty()) return error;
          pending.push_back(&element);
        }
        break;
      default:
        break;
    }
  }
  return {};
}

WriteResult writeFileAtomically(const std::filesystem::path& path, const Value& value,
                                Format format) {
  const std::string name = path.string();
  const auto fail = [&](std::string error) { return WriteResult{false, name + ": " + error}; };
  if (!path.has_filename()) return fail("not a file path");
  if (std::string error = isWritable(value); !error.empty()) {
    return fail("cannot write value: " + error);
  }
  std::string bytes;
  if (format == Format::Xml) {
    bytes = toXml(value);
  } else {
    const std::vector<std::uint8_t> binary = toBinary(value);
    bytes.assign(binary.begin(), binary.end());
  }
  if (bytes.empty()) return fail("libplist produced no output");

  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  // A name no other writer in this or another process picks: pid, a counter and the clock.
  static std::atomic<std::uint64_t> counter{0};
  std::filesystem::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    temp = folder / ("." + path.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter++) + "-" + std::to_string(now & 0xFFFFFF));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    return fail(errnoText("cannot create a temporary file", error));
  }

  // Keep the permissions of the file being replaced.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    (void)::fchmod(fd, old.st_mode & 07777);
  }
  const auto abandon = [&](std::string what, int error) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    return fail(errnoText(what, error));
  };
  if (!writeAll(fd, bytes.data(), bytes.size())) {
    const int error = errno;
    return abandon("cannot write", error);
  }
  if (::fsync(fd) != 0) {
    const int error = errno;
    return abandon("cannot sync", error);
  }
  const int closed = ::close(fd);
  const int closeError = errno;
  fd = -1;
  if (closed != 0) return abandon("cannot close", closeError);
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    return abandon("cannot replace", error);
  }

  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0 || ::fsync(dirFd) != 0) {
    const int error = errno;
    if (dirFd >= 0) ::close(dirFd);
    return fail(errnoText("written, but the folder could not be synced", error));
  }
  ::close(dirFd);
  return WriteResult{true, {}};
}

}  // namespace platform::plist
