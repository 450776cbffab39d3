#pragma once
// The literal syntax of scenario files: quoted words, durations ("250ms", "5s") and
// property-list values ("true", "42", "\"text\"", "date:2026-12-09T08:00:00Z").

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/plist_value.h"

namespace sim {

// One word of a line; `quoteAt` is the offset in `text` where quoting began (npos: unquoted).
struct Word {
  std::string text;
  std::size_t quoteAt = std::string::npos;
};

// Splits a line into words at white space; "double quotes" group and allow \" \\ \n \t \xNN.
// A "#" outside quotes starts a comment. Returns nothing (and sets *error) on an open quote or a
// bad escape.
std::optional<std::vector<Word>> splitWords(const std::string& line, std::string* error);

// Seconds in a duration such as "100ns", "250ms", "1.5s", "2m" or "1h"; nothing when malformed
// or negative.
std::optional<double> parseDuration(const std::string& text);
// Why parseDuration refuses `text` (no number, no or an unknown unit, longer than ten years), or
// "" when it reads it.
std::string durationProblem(const std::string& text);

// A device time written "YYYY-MM-DDTHH:MM" (or with ":SS" when `withSeconds`), read in the
// device's time zone, as seconds since the reference date; nothing when malformed.
std::optional<double> parseDeviceTime(const std::string& text, bool withSeconds);

// The value a scenario literal stands for: true/false/YES/NO, an integer, a real, a quoted or
// "string:" text, "date:YYYY-MM-DDTHH:MM:SSZ", "data:HEX", "array" (empty) or "dict" (empty).
// `quoted` says whether the literal was written in quotes (then it is always a string).
std::optional<platform::plist::Value> parseValue(const std::string& text, bool quoted,
                                                 std::string* error);

// A value written back the way parseValue reads it.
std::string formatValue(const platform::plist::Value& value);

}  // namespace sim
