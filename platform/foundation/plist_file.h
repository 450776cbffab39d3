#pragma once
// Reading and writing property-list files, XML or binary, through libplist. Every input is
// checked by a pre-pass of our own before libplist sees it, so a hostile or corrupt file
// gives an error message rather than a crash, a hang or an exhausted memory.

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

// Reads a property list from `bytes`, binary ("bplist00") or XML, detected from the content.
// Strings come back as valid UTF-8; binary dates keep microsecond precision and XML dates
// whole seconds. Integers beyond the signed 64-bit range, binary UIDs and sets, dates outside
// libplist's range (1932-12-13 to 2069-01-19) and anything beyond `limits` are refused.
ParseResult parse(std::span<const std::uint8_t> bytes, const Limits& limits = {});

// Reads the property list in the file at `path`. Missing, unreadable, non-regular or oversized
// files and malformed contents give no value and an error that begins with the path.
ReadResult readFile(const std::filesystem::path& path, const Limits& limits = {});

// `value` as an XML property list. Dates are written to the whole second (rounded down).
// REQUIRES: isWritable(value).empty(); otherwise out-of-range dates are clamped and strings
// are cut at the first NUL.
std::string toXml(const Value& value);

// `value` as a binary ("bplist00") property list. Dates keep microsecond precision.
// REQUIRES: isWritable(value).empty(); otherwise as for toXml.
std::vector<std::uint8_t> toBinary(const Value& value);

// Empty if `value` can be written faithfully; otherwise why not (a string or key that is not
// valid UTF-8 or holds a NUL, or a date outside 1932-12-13 to 2069-01-19).
std::string isWritable(const Value& value);

// Replaces the file at `path` with `value` in `format`, so that a reader sees either the old
// file or the complete new one, even across a crash. Writes a uniquely named temporary file
// beside it, syncs it, renames it over `path` and syncs the folder. On failure the old file is
// left as it was and no temporary file remains. Creates no folders.
WriteResult writeFileAtomically(const std::filesystem::path& path, const Value& value,
                                Format format = Format::Xml);

}  // namespace platform::plist
