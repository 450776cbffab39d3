#pragma once
// The predicates an application list's sections are filtered with, parsed as NSPredicate reads
// them (not matched as text): `bundleIdentifier in {'a','b'}` and its negation
// `not bundleIdentifier in {'a','b'}` (or `NOT`, `!`, either with the comparison in
// parentheses), with `IN` in any case, the set's strings in single or double quotes (a
// backslash escapes the next character), and the empty set `{}`.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::preferences {

// A parsed predicate: whether an application's bundle identifier is (or, negated, is not) one
// of `identifiers`.
struct BundlePredicate {
  bool negated = false;
  std::vector<std::string> identifiers;

  // Whether the application `bundleIdentifier` passes.
  bool matches(std::string_view bundleIdentifier) const;
};

// The predicate `text` says, or nothing and in *error where and why it cannot be read.
std::optional<BundlePredicate> parseBundlePredicate(std::string_view text, std::string* error);

}  // namespace platform::preferences
