#include "platform/preferences/applist/bundle_predicate.h"

#include <algorithm>
#include <cctype>

namespace platform::preferences {
namespace {

// A reader over the predicate's text that remembers the first error.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void skipSpace() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool atEnd() {
    skipSpace();
    return at_ >= text_.size();
  }
  // Takes `c` if it comes next.
  bool take(char c) {
    skipSpace();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  // The identifier-like word that comes next ("" when none), not taken.
  std::string_view peekWord() {
    skipSpace();
    std::size_t end = at_;
    while (end < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[end])) || text_[end] == '_'))
      ++end;
    return text_.substr(at_, end - at_);
  }
  // Takes the keyword `word` (any case) if it comes next as a whole word.
  bool takeKeyword(std::string_view word) {
    std::string_view next = peekWord();
    if (next.size() != word.size() ||
        !std::equal(next.begin(), next.end(), word.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == b;
        }))
      return false;
    at_ += next.size();
    return true;
  }
  // Takes the key path `bundleIdentifier` (key paths are case sensitive).
  bool takeKeyPath() {
    if (peekWord() != "bundleIdentifier") return fail("expected the key path bundleIdentifier");
    at_ += std::string_view("bundleIdentifier").size();
    return true;
  }
  // Takes a quoted string into *out.
  bool takeString(std::string* out) {
    skipSpace();
    if (at_ >= text_.size() || (text_[at_] != '\'' && text_[at_] != '"'))
      return fail("expected a quoted bundle identifier");
    char quote = text_[at_++];
    out->clear();
    while (at_ < text_.size() && text_[at_] != quote) {
      if (text_[at_] == '\\' && at_ + 1 < text_.size()) ++at_;
      out->push_back(text_[at_++]);
    }
    if (at_ >= text_.size()) return fail("a quoted string is not closed");
    ++at_;
    return true;
  }
  bool fail(const std::string& why) {
    if (error_.empty())
      error_ =
          why + " at character " + std::to_string(at_ + 1) + " of \"" + std::string(text_) + "\"";
    return false;
  }
  const std::string& error() const { return error_; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  std::string error_;
};

// `bundleIdentifier in {...}`, or the same in parentheses.
bool readComparison(Reader& r, BundlePredicate* out) {
  if (r.take('(')) {
    if (!readComparison(r, out)) return false;
    return r.take(')') || r.fail("expected ')'");
  }
  if (!r.takeKeyPath()) return false;
  if (!r.takeKeyword("in")) return r.fail("expected IN");
  if (!r.take('{')) return r.fail("expected '{'");
  if (r.take('}')) return true;
  for (;;) {
    std::string identifier;
    if (!r.takeString(&identifier)) return false;
    out->identifiers.push_back(std::move(identifier));
    if (r.take('}')) return true;
    if (!r.take(',')) return r.fail("expected ',' or '}'");
  }
}

}  // namespace

bool BundlePredicate::matches(std::string_view bundleIdentifier) const {
  bool in =
      std::find(identifiers.begin(), identifiers.end(), bundleIdentifier) != identifiers.end();
  return in != negated;
}

std::optional<BundlePredicate> parseBundlePredicate(std::string_view text, std::string* error) {
  Reader r(text);
  BundlePredicate predicate;
  predicate.negated = r.takeKeyword("not") || r.take('!');
  if (!readComparison(r, &predicate) || (!r.atEnd() && !r.fail("unexpected text"))) {
    *error = r.error();
    return std::nullopt;
  }
  return predicate;
}

}  // namespace platform::preferences
