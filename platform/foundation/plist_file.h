#pragma once
// Reading and writing property-list files, XML or binary. Reading goes through libplist, and
// every input is checked by a pre-pass of our own before libplist sees it, so a hostile or
// corrupt file gives an error message rather than a crash, a hang or an exhausted memory; the
// pre-pass also reads the integers, dates and UIDs, whose range libplist cannot hold. Writing
// is the device's own, for the same reason.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/foundation/plist_value.h"

namespace platform::plist {

// Bounds on what a single property list may cost to read.
struct Limits {
  // Largest accepted input, in bytes (never more than 4 GiB, libplist's own bound).
  std::size_t maxBytes = std::size_t{4} << 20;
  // Deepest accepted nesting of arrays and dictionaries; a top-level array is depth 1.
  // libplist recurses once per level, so keep this in the hundreds at most.
  std::size_t maxDepth = 128;
  // Most values accepted, counted after shared references in a binary file are expanded (a
  // value referenced twice counts twice). Dictionary keys are not counted.
  std::size_t maxNodes = 100000;
  // Most string, key and data bytes accepted after shared references are expanded.
  std::size_t maxExpandedBytes = std::size_t{16} << 20;
};

// The two on-disk encodings.
enum class Format { Xml, Binary };

// The outcome of reading a property list: a value, or no value and a human-readable error.
struct ParseResult {
  // The value read; empty on failure.
  std::optional<Value> value;
  // Why nothing was read, e.g. "binary property list: reference cycle through object 3".
  std::string error;

  // True if a value was read.
  bool ok() const { return value.has_value(); }
};

// The outcome of reading a property-list file; errors name the file.
using ReadResult = ParseResult;

// The outcome of writing a property-list file.
struct WriteResult {
  // True once the new file is in place and synced.
  bool ok = false;
  // Why not, beginning with the path; empty on success.
  std::string error;
};

// Reads a property list from `bytes`, binary ("bplist00") or XML, detected from the content,
// as Foundation reads it. Strings come back as valid UTF-8; integers from -2^63 to 2^64-1
// (binary: 1, 2 and 4 bytes unsigned, 8 signed, 16 within that range); binary dates as their
// exact double (any finite one) and XML dates ("YYYY-MM-DDTHH:MM:SSZ", years 0000..9999) to
// the whole second; binary UIDs of 1 to 16 bytes holding a 32-bit number as Kind::Uid, and in
// XML a dictionary whose only entry is "CF$UID" holding such a number as that UID too.
// Refused: integers outside that range (2^64 included, as Foundation refuses it), dates that
// are NaN or infinite, sets, null objects and anything beyond `limits`.
ParseResult parse(std::span<const std::uint8_t> bytes, const Limits& limits = {});

// Reads the property list in the file at `path`. Missing, unreadable, non-regular or oversized
// files and malformed contents give no value and an error that begins with the path.
ReadResult readFile(const std::filesystem::path& path, const Limits& limits = {});

// `value` as an XML property list. Dates are written to the whole second (rounded down); a
// UID as the dictionary {"CF$UID": n}, which parse() reads back as the UID.
// REQUIRES: isWritable(value, Format::Xml).empty(); otherwise dates outside the years
// 0000..9999 are clamped to them and the text may not read back.
std::string toXml(const Value& value);

// `value` as a binary ("bplist00") property list. Dates keep their exact double.
// REQUIRES: isWritable(value, Format::Binary).empty(); otherwise the file may not read back.
std::vector<std::uint8_t> toBinary(const Value& value);

// Empty if `value` can be written faithfully in `format`; otherwise why not: a string or key
// that is not valid UTF-8 or holds a NUL, a date that is NaN or infinite or, for XML, a date
// outside the years 0000..9999 or a dictionary that XML would read back as a UID (its only
// entry "CF$UID" holding an integer from 0 to 2^32-1).
std::string isWritable(const Value& value, Format format = Format::Xml);

// Replaces the file at `path` with `value` in `format`, so that a reader sees either the old
// file or the complete new one, even across a crash. Writes a uniquely named temporary file
// beside it, syncs it, renames it over `path` and syncs the folder. On failure the old file is
// left as it was and no temporary file remains. Creates no folders.
WriteResult writeFileAtomically(const std::filesystem::path& path, const Value& value,
                                Format format = Format::Xml);

}  // namespace platform::plist
