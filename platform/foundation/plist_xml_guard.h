#pragma once
// The XML pre-pass. A strict scanner over the markup: it tracks the nesting of <array> and
// <dict>, counts values, checks that dictionaries alternate keys and values, and validates the
// text of integers, reals, dates and data (plist_xml_text.h). Markup whose extent could be read
// two ways ('<' or '>' inside comments, declarations, processing instructions or attribute
// values, or quoting one reader honours and another ignores) is refused, so libplist can never
// see nesting the scanner did not. Integers and dates, whose range libplist cannot hold, are
// read here and handed to libplist only as their place in a table (see document()).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/plist_file.h"
#include "platform/foundation/plist_value.h"

namespace platform::plist::detail {

// Checks an XML property list before libplist reads it, and prepares the copy libplist gets.
// Keeps references to the text and `limits`, which must outlive it.
class XmlGuard {
 public:
  // A guard over the document `text` (without a byte order mark), bounded by `limits`.
  XmlGuard(std::string_view text, const Limits& limits) : text_(text), limits_(limits) {}

  // Checks the whole document; empty on success, otherwise the reason and the byte offset at
  // which it was found.
  std::string check();

  // The document to hand to libplist: the input with each reference in string and key text
  // replaced by its character in a CDATA section, and each <integer> or <date> element
  // replaced by <integer>N</integer>, N its index in scalars(). REQUIRES: check() succeeded.
  std::string document() const;

  // The integers and dates of the document, in document order, as Values.
  // REQUIRES: check() succeeded.
  const std::vector<Value>& scalars() const { return scalars_; }

 private:
  // A start, end or empty-element tag as the scanner reads it.
  struct Tag;

  // Whether the text at pos_ begins with `prefix`.
  bool startsWith(std::string_view prefix) const;

  // Moves pos_ past any XML whitespace.
  void skipSpace();

  // Skips the comment at pos_; its body may hold neither '<' nor '>'.
  std::string comment();

  // The position of the first `terminator` at or after `from` outside quoted text, or npos and
  // *error if the markup's end is missing or could be read differently by another reader.
  std::size_t scanMarkup(std::size_t from, std::string_view terminator, std::string* error) const;

  // Skips whitespace, comments, processing instructions and (in the prolog) a DOCTYPE.
  std::string skipMisc(bool prolog);

  // Reads the tag at pos_ (which holds '<') into `out`; attribute values are skipped.
  std::string tag(Tag& out);

  // Reads text up to `</name>`, which it consumes, into *plain unless that is null. If `rich`
  // (strings, keys) comments, CDATA sections and references may appear; otherwise none may.
  std::string content(std::string_view name, bool rich, std::string_view* plain);

  // Checks each reference in text_[from, to) and rewrites it into rewritten_ (see document()).
  std::string references(std::size_t from, std::size_t to);

  // Replaces the element from `start` to pos_ in the copy for libplist with the index of
  // `scalar`, which it appends to scalars_.
  void replaceWithIndex(std::size_t start, Value scalar);

  // Counts one more value; fails once there are more than limits_.maxNodes.
  std::string countValue();

  // Reads the root element (optionally inside a <plist> wrapper) and everything in it.
  std::string element();

  // Reads exactly one value, iteratively, with its nested contents.
  std::string values();

  std::string_view text_;       // the whole document
  const Limits& limits_;        // the bounds being enforced
  std::size_t pos_ = 0;         // where the scanner is
  std::size_t values_ = 0;      // values seen so far
  std::string rewritten_;       // the document up to copied_, references replaced
  std::size_t copied_ = 0;      // how much of text_ rewritten_ covers
  std::vector<Value> scalars_;  // the integers and dates read, in document order
};

}  // namespace platform::plist::detail
