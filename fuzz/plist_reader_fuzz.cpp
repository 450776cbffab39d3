// Feeds arbitrary bytes to the property-list reader. Every input must give a value or an error,
// never a crash, a hang or a memory blow-up; every value read must be writable as binary and
// read back equal from it, and from XML too wherever XML can hold it.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "platform/foundation/plist_file.h"
#include "platform/foundation/plist_value.h"

namespace {

using platform::plist::Array;
using platform::plist::Date;
using platform::plist::Dictionary;
using platform::plist::Format;
using platform::plist::Value;

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::abort();
}

// Equality that lets NaN match NaN and, for values that went through XML, compares dates by
// the whole second they fall in (the XML form keeps no fraction).
bool same(const Value& original, const Value& copy, bool wholeSecondDates) {
  if (original.kind() != copy.kind()) return false;
  if (const double* a = original.get<double>()) {
    const double b = copy.as<double>();
    return (std::isnan(*a) && std::isnan(b)) || *a == b;
  }
  if (const Date* a = original.get<Date>()) {
    const double expected =
        wholeSecondDates ? std::floor(a->secondsSince2001) : a->secondsSince2001;
    return expected == copy.as<Date>().secondsSince2001;
  }
  if (const Array* a = original.get<Array>()) {
    const Array& b = copy.as<Array>();
    if (a->size() != b.size()) return false;
    for (std::size_t i = 0; i < a->size(); ++i) {
      if (!same((*a)[i], b[i], wholeSecondDates)) return false;
    }
    return true;
  }
  if (const Dictionary* a = original.get<Dictionary>()) {
    const Dictionary& b = copy.as<Dictionary>();
    if (a->size() != b.size()) return false;
    for (auto i = a->begin(), j = b.begin(); i != a->end(); ++i, ++j) {
      if (i->first != j->first || !same(i->second, j->second, wholeSecondDates)) return false;
    }
    return true;
  }
  return original == copy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  const platform::plist::ParseResult read = platform::plist::parse(input);
  if (!read.ok()) {
    if (read.error.empty()) fail("refused without a message", "");
    return 0;
  }
  const Value& value = *read.value;
  // Everything read can be written as binary; what was read from XML can be written as XML.
  const bool fromBinary = size >= 6 && std::memcmp(data, "bplist", 6) == 0;
  if (std::string why = platform::plist::isWritable(value, Format::Binary); !why.empty()) {
    fail("read a value that cannot be written as binary", why);
  }
  const std::string whyNotXml = platform::plist::isWritable(value, Format::Xml);
  if (!fromBinary && !whyNotXml.empty()) fail("read XML that cannot be written as XML", whyNotXml);

  // The copies may be larger than the input (shared references are written out in full).
  const platform::plist::Limits roomy{.maxBytes = std::size_t{1} << 30,
                                      .maxExpandedBytes = std::size_t{1} << 30};
  const platform::plist::ParseResult binary =
      platform::plist::parse(platform::plist::toBinary(value), roomy);
  if (!binary.ok()) fail("binary copy unreadable", binary.error);
  if (!same(value, *binary.value, false)) fail("binary copy differs", "");

  if (!whyNotXml.empty()) return 0;  // a binary date past the year 9999, say
  const std::string xml = platform::plist::toXml(value);
  const platform::plist::ParseResult text = platform::plist::parse(
      std::span(reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size()), roomy);
  if (!text.ok()) fail("XML copy unreadable", text.error + "\n" + xml);
  if (!same(value, *text.value, true)) fail("XML copy differs", xml);
  return 0;
}
