#pragma once
// Text checks shared by the binary and XML readers and by the writers: which strings a
// property list may hold, and UTF-8 encoding of single characters.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::plist::detail {

// The code point of the UTF-8 sequence at s[i], moving i past it; nothing for a malformed or
// overlong sequence, a surrogate or a value past U+10FFFF, moving i one byte on.
// REQUIRES: i < s.size().
std::optional<std::uint32_t> decodeUtf8(std::string_view s, std::size_t& i);

// Whether `s` is well-formed UTF-8: shortest forms only, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view s);

// Empty if `s` is usable as a string or key; otherwise why not, beginning with `what` (e.g.
// "string contains a NUL character" or "dictionary key is not valid UTF-8").
std::string checkText(std::string_view s, std::string_view what);

// The UTF-8 encoding of the code point `code`.
// REQUIRES: code <= 0x10FFFF.
std::string encodeUtf8(std::uint32_t code);

}  // namespace platform::plist::detail
