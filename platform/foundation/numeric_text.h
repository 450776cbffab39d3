#pragma once
// The platform's readings of a string as a number or a truth value, as NSString's boolValue,
// intValue, longLongValue and doubleValue define them.

#include <string_view>

namespace platform {

// YES when, after leading white space, an optional sign and any zeros, the next character is
// one of "Y", "y", "T", "t" or a digit 1-9; everything after it is ignored. NO otherwise.
bool stringBoolValue(std::u16string_view text);

// The decimal integer at the start of the text after leading white space and an optional sign;
// trailing characters are ignored, 0 when there is none, INT_MAX or INT_MIN on overflow.
int stringIntValue(std::u16string_view text);

// Like stringIntValue with the range of long long.
long long stringLongLongValue(std::u16string_view text);

// The decimal floating-point number at the start of the text after leading white space; 0 when
// there is none. Trailing characters are ignored.
double stringDoubleValue(std::u16string_view text);

}  // namespace platform
