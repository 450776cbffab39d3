#pragma once
// Compile-time Objective-C type encodings of C++ types, so that a method registered from a C++
// function carries its true encoding ("v@:@q") without anyone spelling it by hand.

#include <objc/runtime.h>

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

namespace platform::objc {

// A fixed-capacity string usable in constant expressions.
template <std::size_t N>
struct EncodingString {
  std::array<char, N + 1> chars{};
  constexpr EncodingString() = default;
  constexpr EncodingString(const char (&text)[N + 1]) {
    for (std::size_t i = 0; i < N; ++i) chars[i] = text[i];
  }
  constexpr std::string_view view() const { return {chars.data(), N}; }
  constexpr const char* c_str() const { return chars.data(); }
};
template <std::size_t N>
EncodingString(const char (&)[N]) -> EncodingString<N - 1>;

template <std::size_t A, std::size_t B>
constexpr EncodingString<A + B> operator+(const EncodingString<A>& a, const EncodingString<B>& b) {
  EncodingString<A + B> out;
  for (std::size_t i = 0; i < A; ++i) out.chars[i] = a.chars[i];
  for (std::size_t i = 0; i < B; ++i) out.chars[A + i] = b.chars[i];
  return out;
}

// TypeEncoding<T>::value is T's encoding. Types without a specialisation fail to compile, so
// a method can never be registered with a guessed encoding.
template <class T>
struct TypeEncoding;

#define PLATFORM_OBJC_ENCODING(type, text)       \
  template <>                                    \
  struct TypeEncoding<type> {                    \
    static constexpr EncodingString value{text}; \
  }

PLATFORM_OBJC_ENCODING(void, "v");
PLATFORM_OBJC_ENCODING(id, "@");
PLATFORM_OBJC_ENCODING(Class, "#");
PLATFORM_OBJC_ENCODING(SEL, ":");
PLATFORM_OBJC_ENCODING(bool, "B");
PLATFORM_OBJC_ENCODING(unsigned char, "C");
PLATFORM_OBJC_ENCODING(signed char, "c");
PLATFORM_OBJC_ENCODING(char, "c");
PLATFORM_OBJC_ENCODING(short, "s");
PLATFORM_OBJC_ENCODING(unsigned short, "S");
PLATFORM_OBJC_ENCODING(int, "i");
PLATFORM_OBJC_ENCODING(unsigned int, "I");
// The device follows the 64-bit platform, where NSInteger is long and encodes as "q".
PLATFORM_OBJC_ENCODING(long, "q");
PLATFORM_OBJC_ENCODING(unsigned long, "Q");
PLATFORM_OBJC_ENCODING(long long, "q");
PLATFORM_OBJC_ENCODING(unsigned long long, "Q");
PLATFORM_OBJC_ENCODING(float, "f");
PLATFORM_OBJC_ENCODING(double, "d");
PLATFORM_OBJC_ENCODING(const char*, "*");
PLATFORM_OBJC_ENCODING(void*, "^v");
PLATFORM_OBJC_ENCODING(const void*, "^v");

#undef PLATFORM_OBJC_ENCODING

// Blocks in this C++ world are std::function values; as arguments they encode as the
// platform's block type "@?".
template <class R, class... Args>
struct TypeEncoding<std::function<R(Args...)>> {
  static constexpr EncodingString value{"@?"};
};

// The encoding of a method whose C++ signature is R(Args...): result, self, _cmd, arguments.
template <class R, class... Args>
constexpr auto methodEncoding() {
  return ((TypeEncoding<R>::value + TypeEncoding<id>::value + TypeEncoding<SEL>::value) + ... +
          TypeEncoding<Args>::value);
}

}  // namespace platform::objc
