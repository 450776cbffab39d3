#pragma once
// printf-style formatting with the platform's "%@" conversion, which prints an object's
// description. Used by NSLog and stringWithFormat.

#include <objc/objc.h>

#include <cstdarg>
#include <string>

namespace platform {

// Formats `format` with the arguments in `args`. Supports the C conversions (d i u x X o c s p
// f e g a, with flags, width, precision and the hh h l ll z t j q length modifiers), "%%" and
// "%@" (an id; nil prints "(null)").
std::string formatWithArguments(const char* format, va_list args);

// Formats `format` with the given arguments, as formatWithArguments.
std::string formatString(const char* format, ...);

// The description of `object` as UTF-8: "(null)" for nil.
std::string describe(id object);

}  // namespace platform
