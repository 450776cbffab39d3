#include "platform/foundation/plist_xml_guard.h"

#include <charconv>
#include <cstdint>
#include <system_error>
#include <vector>

#include "platform/foundation/plist_text.h"
#include "platform/foundation/plist_xml_text.h"

namespace platform::plist::detail {
namespace {

// One open <array> or <dict> on the scanner's stack.
struct Container {
  bool dict;
  bool expectKey = true;  // dictionaries only
};

}  // namespace

// A start, end or empty-element tag as the scanner reads it.
struct XmlGuard::Tag {
  std::string_view name;
  bool closing = false;
  bool selfClosing = false;
};

std::string XmlGuard::check() {
  if (text_.find('\0') != std::string_view::npos) return "document contains a NUL byte";
  if (std::string error = skipMisc(true); !error.empty()) return error;
  if (pos_ == text_.size()) return "no root element";
  std::string error = element();
  if (error.empty()) error = skipMisc(false);
  if (error.empty() && pos_ != text_.size()) error = "unexpected content after the root element";
  if (!error.empty()) return error + " (at byte " + std::to_string(pos_) + ")";
  return {};
}

// libplist decodes references in place, shifting the rest of the text each time, which is
// quadratic.
std::string XmlGuard::document() const {
  std::string out = rewritten_;
  out.append(text_.substr(copied_));
  return out;
}

bool XmlGuard::startsWith(std::string_view prefix) const {
  return text_.substr(pos_, prefix.size()) == prefix;
}

void XmlGuard::skipSpace() {
  while (pos_ < text_.size() && isXmlSpace(text_[pos_])) ++pos_;
}

std::string XmlGuard::comment() {
  const std::size_t end = text_.find("-->", pos_ + 4);
  if (end == std::string_view::npos) return "unterminated comment";
  if (text_.substr(pos_ + 4, end - pos_ - 4).find_first_of("<>") != std::string_view::npos) {
    return "comment contains '<' or '>'";
  }
  pos_ = end + 3;
  return {};
}

// '<' may not appear at all, '>' only as the end of the terminator, and neither kind of quote
// inside the other, so a reader that honours both kinds of quote, only one, or neither ends the
// markup at the same place. (libplist honours double quotes in processing instructions and
// DOCTYPE, but not single quotes.)
std::size_t XmlGuard::scanMarkup(std::size_t from, std::string_view terminator,
                                 std::string* error) const {
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

std::string XmlGuard::skipMisc(bool prolog) {
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

std::string XmlGuard::tag(Tag& out) {
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

std::string XmlGuard::content(std::string_view name, bool rich, std::string_view* plain) {
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

std::string XmlGuard::references(std::size_t from, std::size_t to) {
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

void XmlGuard::replaceWithIndex(std::size_t start, Value scalar) {
  rewritten_.append(text_.substr(copied_, start - copied_));
  rewritten_ += "<integer>" + std::to_string(scalars_.size()) + "</integer>";
  copied_ = pos_;
  scalars_.push_back(std::move(scalar));
}

std::string XmlGuard::countValue() {
  if (++values_ > limits_.maxNodes) {
    return "more than " + std::to_string(limits_.maxNodes) + " values";
  }
  return {};
}

std::string XmlGuard::element() {
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

std::string XmlGuard::values() {
  std::vector<Container> stack;
  bool haveRoot = false;
  for (;;) {
    if (stack.empty() && haveRoot) return {};
    if (std::string error = skipMisc(false); !error.empty()) return error;
    if (pos_ >= text_.size()) return "unexpected end of document";
    if (text_[pos_] != '<') return "unexpected text between elements";
    const std::size_t elementStart = pos_;
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
      Integer integer;
      if (error.empty()) error = parseIntegerText(text, &integer);
      if (error.empty()) replaceWithIndex(elementStart, integer);
    } else if (t.name == "real") {
      error = content("real", false, &text);
      if (error.empty()) error = checkRealText(text);
    } else if (t.name == "date") {
      error = content("date", false, &text);
      double seconds = 0;
      if (error.empty()) error = parseDateText(text, &seconds);
      if (error.empty()) replaceWithIndex(elementStart, Date{seconds});
    } else if (t.name == "data") {
      error = content("data", false, &text);
      if (error.empty()) error = checkDataText(text);
    } else {
      error = "unknown element <" + snippet(t.name) + ">";
    }
    if (!error.empty()) return error;
  }
}

}  // namespace platform::plist::detail
