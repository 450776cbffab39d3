#pragma once
// Where a scenario's text comes from and how pieces of it are shown back: reading a file with
// the system's reason when that fails, telling a binary file from a text, skipping a byte-order
// mark, and quoting untrusted text for a terminal (control bytes escaped, long text cut).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// How many errors a scenario check lists before it only counts the rest.
inline constexpr std::size_t kMaxListedErrors = 20;
// The most bytes of one message shown; longer messages lose their middle.
inline constexpr std::size_t kMaxShownBytes = 300;
// The most bytes of one logged line shown in a transcript.
inline constexpr std::size_t kMaxShownLogBytes = 2000;

// `text` made safe to print: control bytes, DEL, C1 controls, bidirectional overrides and bytes
// that are not UTF-8 are escaped (\t, \x1b, \u009b, \xff); when `text` is longer than `limit`
// bytes its middle is replaced by a mark saying how much was cut.
std::string displayText(std::string_view text, std::size_t limit = kMaxShownBytes);

// `n` with thousands separators, e.g. "26,395".
std::string withThousands(std::size_t n);

// "1 error", "2 errors": `n` (with separators) and the noun, plural unless n is 1.
std::string countOf(std::size_t n, std::string_view singular, std::string_view plural);

// The line that stands for the errors not listed, e.g. "… and 26,395 more errors".
std::string moreErrorsLine(std::size_t notListed);

// Whether `bytes` look like the contents of a binary file rather than text: a NUL byte, or
// more than one byte in ten a control byte that text does not use, in the first 8 KiB.
bool looksBinary(std::string_view bytes);

// `text` without the UTF-8 byte-order mark it may start with.
std::string_view withoutByteOrderMark(std::string_view text);

// A scenario file's contents, or why they cannot be had.
struct ScenarioSource {
  std::optional<std::string> text;
  // The system's reason, e.g. "Is a directory" or "Permission denied"; empty on success.
  std::string error;
};

// Reads the whole file at `path`. A directory, a missing or unreadable file gives no text and
// the system's message for it.
ScenarioSource readScenarioFile(const std::string& path);

}  // namespace sim
