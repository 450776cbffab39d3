#include "platform/foundation/format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/foundation/nsstring.h"

namespace platform {
namespace {

// Formats one C conversion with snprintf, taking its argument from `args` by type.
template <class T>
void appendConversion(std::string& out, const std::string& pattern, T value) {
  char buffer[128];
  int n = std::snprintf(buffer, sizeof buffer, pattern.c_str(), value);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) < sizeof buffer) {
    out.append(buffer, static_cast<std::size_t>(n));
    return;
  }
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), pattern.c_str(), value);
  out.append(big.data(), static_cast<std::size_t>(n));
}

}  // namespace

std::string describe(id object) {
  if (!object) return "(null)";
  if (isString(object)) return utf8(object);
  NSStringClass();  // installs the default description
  return utf8(sel::description(object), objc::className(object));
}

std::string formatWithArguments(const char* format, va_list args) {
  std::string out;
  if (!format) return out;
  for (const char* p = format; *p;) {
    if (*p != '%') {
      out.push_back(*p++);
      continue;
    }
    const char* start = p++;
    if (*p == '%') {
      out.push_back('%');
      ++p;
      continue;
    }
    if (*p == '@') {
      out += describe(va_arg(args, id));
      ++p;
      continue;
    }
    // Flags, width and precision ("*" takes an int argument).
    std::string pattern(start, p);
    while (*p && std::strchr("-+ #0'", *p)) pattern.push_back(*p++);
    auto readNumber = [&] {
      if (*p == '*') {
        pattern += std::to_string(va_arg(args, int));
        ++p;
      }
      while (*p >= '0' && *p <= '9') pattern.push_back(*p++);
    };
    readNumber();
    if (*p == '.') {
      pattern.push_back(*p++);
      readNumber();
    }
    // Length modifier.
    std::string length;
    while (*p && std::strchr("hlqzjtL", *p)) length.push_back(*p++);
    char conversion = *p;
    if (!conversion) {
      out += pattern + length;
      break;
    }
    ++p;
    if (length == "q") length = "ll";
    std::string full = pattern + length + conversion;
    switch (conversion) {
      case 'd':
      case 'i':
        if (length == "ll")
          appendConversion(out, full, va_arg(args, long long));
        else if (length == "l")
          appendConversion(out, full, va_arg(args, long));
        else if (length == "z" || length == "t")
          appendConversion(out, full, va_arg(args, std::ptrdiff_t));
        else if (length == "j")
          appendConversion(out, full, va_arg(args, std::intmax_t));
        else
          appendConversion(out, full, va_arg(args, int));
        break;
      case 'u':
      case 'x':
      case 'X':
      case 'o':
        if (length == "ll")
          appendConversion(out, full, va_arg(args, unsigned long long));
        else if (length == "l")
          appendConversion(out, full, va_arg(args, unsigned long));
        else if (length == "z" || length == "t")
          appendConversion(out, full, va_arg(args, std::size_t));
        else if (length == "j")
          appendConversion(out, full, va_arg(args, std::uintmax_t));
        else
          appendConversion(out, full, va_arg(args, unsigned int));
        break;
      case 'c':
        appendConversion(out, pattern + conversion, va_arg(args, int));
        break;
      case 's': {
        const char* text = va_arg(args, const char*);
        appendConversion(out, pattern + conversion, text ? text : "(null)");
        break;
      }
      case 'p':
        appendConversion(out, pattern + conversion, va_arg(args, void*));
        break;
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
        if (length == "L")
          appendConversion(out, full, va_arg(args, long double));
        else
          appendConversion(out, pattern + conversion, va_arg(args, double));
        break;
      default:
        // Unknown conversion: print it as written and take no argument.
        out += full;
        break;
    }
  }
  return out;
}

std::string formatString(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = formatWithArguments(format, args);
  va_end(args);
  return out;
}

}  // namespace platform
