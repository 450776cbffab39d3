#include "platform/foundation/numeric_text.h"

#include <unicode/uchar.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

// Skips leading white space (the Unicode White_Space property, newlines included).
std::size_t skipWhiteSpace(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && u_isUWhiteSpace(text[i])) ++i;
  return i;
}

// Reads an optional sign and the decimal digits after it, saturating at the given bounds.
long long scanInteger(std::u16string_view text, long long min, long long max) {
  std::size_t i = skipWhiteSpace(text);
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    int digit = text[i] - u'0';
    if (!negative) {
      if (value > (max - digit) / 10) return max;
      value = value * 10 + digit;
    } else {
      if (value < (min + digit) / 10) return min;
      value = value * 10 - digit;
    }
  }
  return value;
}

}  // namespace

bool stringBoolValue(std::u16string_view text) {
  std::size_t i = skipWhiteSpace(text);
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  while (i < text.size() && text[i] == u'0') ++i;
  if (i >= text.size()) return false;
  char16_t c = text[i];
  return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

int stringIntValue(std::u16string_view text) {
  return static_cast<int>(scanInteger(text, INT_MIN, INT_MAX));
}

long long stringLongLongValue(std::u16string_view text) {
  return scanInteger(text, LLONG_MIN, LLONG_MAX);
}

double stringDoubleValue(std::u16string_view text) {
  std::size_t i = skipWhiteSpace(text);
  // Only ASCII can be part of a number; stop at the first other character.
  std::string ascii;
  for (; i < text.size() && text[i] < 0x80; ++i) ascii.push_back(static_cast<char>(text[i]));
  // strtod also reads hexadecimal, "inf" and "nan", which the platform does not: keep the
  // leading decimal part only.
  std::size_t end = 0;
  if (end < ascii.size() && (ascii[end] == '+' || ascii[end] == '-')) ++end;
  while (end < ascii.size() && ascii[end] >= '0' && ascii[end] <= '9') ++end;
  if (end < ascii.size() && ascii[end] == '.') {
    ++end;
    while (end < ascii.size() && ascii[end] >= '0' && ascii[end] <= '9') ++end;
  }
  if (end < ascii.size() && (ascii[end] == 'e' || ascii[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < ascii.size() && (ascii[exponent] == '+' || ascii[exponent] == '-')) ++exponent;
    if (exponent < ascii.size() && ascii[exponent] >= '0' && ascii[exponent] <= '9') {
      end = exponent;
      while (end < ascii.size() && ascii[end] >= '0' && ascii[end] <= '9') ++end;
    }
  }
  ascii.resize(end);
  if (ascii.empty()) return 0;
  return std::strtod(ascii.c_str(), nullptr);
}

}  // namespace platform
