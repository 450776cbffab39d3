#include "platform/foundation/plist_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <set>

#include "platform/foundation/plist_value.h"

namespace platform::plist {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------------------------------------
// A tiny bplist00 emitter, so hostile binary files can be described object by object.

// REQUIRES: width <= 8.
void appendBigEndian(Bytes& out, std::uint64_t value, std::size_t width) {
  for (std::size_t i = width; i-- > 0;) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A marker byte for `type` (high nibble) with `count`, spilling into an integer object past 14.
Bytes header(std::uint8_t type, std::uint64_t count) {
  Bytes out;
  if (count < 15) {
    out.push_back(static_cast<std::uint8_t>(type << 4 | count));
  } else {
    out.push_back(static_cast<std::uint8_t>(type << 4 | 0xF));
    out.push_back(0x13);
    appendBigEndian(out, count, 8);
  }
  return out;
}

Bytes boolObject(bool b) {
  return {static_cast<std::uint8_t>(b ? 0x09 : 0x08)};
}

// An integer object of 1, 2, 4, 8 or 16 bytes (the last with its high half zero).
Bytes intObject(std::uint64_t value, std::size_t width = 8) {
  Bytes out{static_cast<std::uint8_t>(0x10 | std::countr_zero(width))};
  if (width == 16) {
    appendBigEndian(out, 0, 8);
    width = 8;
  }
  appendBigEndian(out, value, width);
  return out;
}

Bytes dateObject(double seconds) {
  Bytes out{0x33};
  appendBigEndian(out, std::bit_cast<std::uint64_t>(seconds), 8);
  return out;
}

Bytes asciiObject(std::string_view s) {
  Bytes out = header(0x5, s.size());
  out.insert(out.end(), s.begin(), s.end());
  return out;
}

Bytes utf16Object(std::vector<std::uint16_t> units) {
  Bytes out = header(0x6, units.size());
  for (std::uint16_t u : units) appendBigEndian(out, u, 2);
  return out;
}

Bytes arrayObject(std::vector<std::uint64_t> refs, std::size_t refSize = 1) {
  Bytes out = header(0xA, refs.size());
  for (std::uint64_t r : refs) appendBigEndian(out, r, refSize);
  return out;
}

Bytes dictObject(std::vector<std::uint64_t> keys, std::vector<std::uint64_t> values,
                 std::size_t refSize = 1) {
  Bytes out = header(0xD, keys.size());
  for (std::uint64_t r : keys) appendBigEndian(out, r, refSize);
  for (std::uint64_t r : values) appendBigEndian(out, r, refSize);
  return out;
}

// Objects in order (object i is objects[i]), an offset table and a trailer. Trailer fields can
// be overridden to describe broken files.
struct Bplist {
  std::vector<Bytes> objects;
  std::uint64_t top = 0;
  std::uint8_t refSize = 1;
  std::uint8_t offsetSize = 4;
  std::optional<std::uint64_t> objectCount = std::nullopt;
  std::optional<std::uint64_t> tableOffset = std::nullopt;
  std::optional<std::uint64_t> firstOffset = std::nullopt;

  Bytes bytes() const {
    Bytes out{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    std::vector<std::uint64_t> offsets;
    for (const Bytes& object : objects) {
      offsets.push_back(out.size());
      out.insert(out.end(), object.begin(), object.end());
    }
    if (firstOffset && !offsets.empty()) offsets[0] = *firstOffset;
    const std::uint64_t table = out.size();
    for (std::uint64_t offset : offsets) appendBigEndian(out, offset, offsetSize);
    out.insert(out.end(), 6, 0);
    out.push_back(offsetSize);
    out.push_back(refSize);
    appendBigEndian(out, objectCount.value_or(objects.size()), 8);
    appendBigEndian(out, top, 8);
    appendBigEndian(out, tableOffset.value_or(table), 8);
    return out;
  }
};

Bytes toBytes(std::string_view s) {
  return Bytes(s.begin(), s.end());
}

std::string xmlDocument(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n" +
         std::string(body) + "\n</plist>\n";
}

std::string repeat(std::string_view s, std::size_t n) {
  std::string out;
  out.reserve(s.size() * n);
  for (std::size_t i = 0; i < n; ++i) out += s;
  return out;
}

std::string nestedXmlArrays(std::size_t depth) {
  return xmlDocument(repeat("<array>", depth) + repeat("</array>", depth));
}

// A chain of `depth` arrays, each holding the next; the innermost holds `true`.
Bytes nestedBinaryArrays(std::size_t depth) {
  Bplist plist;
  plist.refSize = 4;
  for (std::size_t i = 0; i < depth; ++i) plist.objects.push_back(arrayObject({i + 1}, 4));
  plist.objects.push_back(boolObject(true));
  return plist.bytes();
}

ParseResult parseText(std::string_view text, const Limits& limits = {}) {
  return parse(toBytes(text), limits);
}

ParseResult roundTrip(const Value& value, Format format) {
  if (format == Format::Xml) return parseText(toXml(value));
  return parse(toBinary(value));
}

// ---------------------------------------------------------------------------------------------
// Value.

TEST(PlistValueTest, KindAndAccessorsAgreeForEveryKind) {
  struct Case {
    Value value;
    Kind kind;
    std::string_view name;
  };
  const Case cases[] = {
      {Value(true), Kind::Boolean, "boolean"},
      {Value(7), Kind::Integer, "integer"},
      {Value(2.5), Kind::Real, "real"},
      {Value("text"), Kind::String, "string"},
      {Value(Date{1.0}), Kind::Date, "date"},
      {Value(Data{1, 2}), Kind::Data, "data"},
      {Value(Array{1}), Kind::Array, "array"},
      {Value(Dictionary{{"k", 1}}), Kind::Dictionary, "dictionary"},
      {Value(Uid{1}), Kind::Uid, "uid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value.kind(), c.kind);
    EXPECT_EQ(c.value.kindName(), c.name);
    EXPECT_EQ(c.value.is<bool>(), c.kind == Kind::Boolean);
    EXPECT_EQ(c.value.get<std::int64_t>() != nullptr, c.kind == Kind::Integer);
    EXPECT_EQ(c.value.get<std::string>() != nullptr, c.kind == Kind::String);
    EXPECT_EQ(c.value.get<Dictionary>() != nullptr, c.kind == Kind::Dictionary);
  }
}

TEST(PlistValueTest, ConstructionPicksTheIntendedKind) {
  EXPECT_EQ(Value("literal").kind(), Kind::String);  // not a boolean
  EXPECT_EQ(Value(std::uint8_t{200}).as<std::int64_t>(), 200);
  // Unsigned values above INT64_MAX stay unsigned and have no signed view.
  const Value huge(std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(huge.kind(), Kind::Integer);
  EXPECT_EQ(huge.as<Integer>(), Integer::fromUnsigned(std::numeric_limits<std::uint64_t>::max()));
  EXPECT_FALSE(huge.is<std::int64_t>());
  EXPECT_THROW((void)huge.as<std::int64_t>(), std::bad_variant_access);
  EXPECT_NE(huge, Value(-1));
  EXPECT_EQ(Value(std::uint64_t{5}), Value(5)) << "small unsigned values are plain integers";
  EXPECT_EQ(Value(Uid{3}).kind(), Kind::Uid);
  EXPECT_EQ(Value().kind(), Kind::Dictionary);
  EXPECT_TRUE(Value().as<Dictionary>().empty());
  EXPECT_THROW((void)Value(1).as<std::string>(), std::bad_variant_access);
}

TEST(PlistValueTest, EqualityComparesKindAndContentsDeeply) {
  const Value a = Dictionary{{"list", Array{1, "two", Date{3}}}};
  Value b = a;
  EXPECT_EQ(a, b);
  b.as<Dictionary>()["list"].as<Array>()[1] = "three";
  EXPECT_NE(a, b);
  EXPECT_NE(Value(1), Value(1.0));
  EXPECT_NE(Value(true), Value(1));
  EXPECT_NE(Value(Data{'a'}), Value("a"));
  EXPECT_NE(Value(std::nan("")), Value(std::nan("")));
}

TEST(PlistValueTest, FindLooksUpDictionaryEntriesOnly) {
  const Value settings = Dictionary{{"Enabled", true}};
  ASSERT_NE(settings.find("Enabled"), nullptr);
  EXPECT_EQ(*settings.find("Enabled"), Value(true));
  EXPECT_EQ(settings.find("Missing"), nullptr);
  EXPECT_EQ(Value(Array{true}).find("Enabled"), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Round trips.

Data allByteValues() {
  Data bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
  return bytes;
}

Value everyType() {
  const double inf = std::numeric_limits<double>::infinity();
  return Dictionary{
      {"true", true},
      {"false", false},
      {"zero", 0},
      {"negative", -42},
      {"int64 min", std::numeric_limits<std::int64_t>::min()},
      {"int64 max", std::numeric_limits<std::int64_t>::max()},
      {"2^63", std::uint64_t{1} << 63},
      {"uint64 max", std::numeric_limits<std::uint64_t>::max()},
      {"beyond 32 bits", std::int64_t{1} << 40},
      {"real", 3.25},
      {"third", 1.0 / 3.0},
      {"denormal", 5e-324},
      {"huge", 1e300},
      {"infinity", inf},
      {"minus infinity", -inf},
      {"ascii", "plain"},
      {"unicode", "caf\xC3\xA9 \xF0\x9F\x98\x80 \xE4\xB8\xAD\xE6\x96\x87"},
      {"markup", "<a href=\"x\">&amp;</a> ]]> 'q'"},
      {"empty string", ""},
      {"whitespace", "  two\n\tlines  "},
      {"reference date", Date{0}},
      {"date", Date{123456789}},
      {"before 2001", Date{-86400.0 * 365}},
      {"earliest date", Date{-2147483648.0}},
      {"latest date", Date{2147483647.0}},
      {"year 1", Date{-63113904000.0}},
      {"year 9999", Date{252423993599.0}},
      {"uid", Uid{7}},
      {"wide uid", Uid{0xFFFFFFFF}},
      {"data", Data{0, 1, 2, 255}},
      {"empty data", Data{}},
      {"every byte", allByteValues()},
      {"array", Array{1, "two", Array{}, Dictionary{}, Array{Array{false}}}},
      {"nested", Dictionary{{"a", Dictionary{{"b", Array{Date{5}, Data{9}}}}}}},
      {"", "empty key"},
      {"\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87", "unicode key"},
  };
}

class PlistRoundTripTest : public ::testing::TestWithParam<Format> {};

TEST_P(PlistRoundTripTest, EveryTypeSurvives) {
  const Value value = everyType();
  const ParseResult back = roundTrip(value, GetParam());
  ASSERT_TRUE(back.ok()) << back.error;
  EXPECT_EQ(*back.value, value);
}

TEST_P(PlistRoundTripTest, EveryKindSurvivesAsTheTopLevel) {
  const Value tops[] = {Value(true),        Value(-7),     Value(0.5),     Value("top"),
                        Value(Date{86400}), Value(Data{}), Value(Array{}), Value(Dictionary{})};
  for (const Value& top : tops) {
    SCOPED_TRACE(top.kindName());
    const ParseResult back = roundTrip(top, GetParam());
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(*back.value, top);
  }
}

TEST_P(PlistRoundTripTest, LargeFilesSurvive) {
  // Over 64 KiB and thousands of objects, so offsets and references need wider fields.
  Dictionary settings;
  for (int i = 0; i < 5000; ++i) settings.emplace("setting." + std::to_string(i), i % 2 == 0);
  settings.emplace("blob", Data(70000, 0xAB));
  const Value value = settings;
  const ParseResult back = roundTrip(value, GetParam());
  ASSERT_TRUE(back.ok()) << back.error;
  EXPECT_EQ(*back.value, value);
}

TEST_P(PlistRoundTripTest, NotANumberStaysNotANumber) {
  const ParseResult back = roundTrip(Array{std::nan("")}, GetParam());
  ASSERT_TRUE(back.ok()) << back.error;
  EXPECT_TRUE(std::isnan(back.value->as<Array>()[0].as<double>()));
}

INSTANTIATE_TEST_SUITE_P(Formats, PlistRoundTripTest,
                         ::testing::Values(Format::Xml, Format::Binary), [](const auto& info) {
                           return info.param == Format::Xml ? "Xml" : "Binary";
                         });

TEST(PlistDateTest, BinaryKeepsTheExactInstantAndXmlRoundsDownToTheSecond) {
  struct Case {
    double seconds;
    double xmlSeconds;
  };
  // The negative ones are the instants whose sign libplist's own reader loses.
  const Case cases[] = {{0.5, 0}, {-0.25, -1}, {-1.25, -2}, {86400.75, 86400}, {-3600.5, -3601}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    const Value value = Array{Date{c.seconds}};
    const ParseResult binary = roundTrip(value, Format::Binary);
    ASSERT_TRUE(binary.ok()) << binary.error;
    EXPECT_EQ(binary.value->as<Array>()[0].as<Date>().secondsSince2001, c.seconds);
    const ParseResult xml = roundTrip(value, Format::Xml);
    ASSERT_TRUE(xml.ok()) << xml.error;
    EXPECT_EQ(xml.value->as<Array>()[0].as<Date>().secondsSince2001, c.xmlSeconds);
  }
}

TEST(PlistDateTest, BinaryDatesAreExactAcrossRepeatedTrips) {
  for (double seconds : {123456.789012, -98765.432109, 2147483647.999999, 0.000001, -0.000001}) {
    SCOPED_TRACE(seconds);
    const ParseResult once = roundTrip(Date{seconds}, Format::Binary);
    ASSERT_TRUE(once.ok()) << once.error;
    EXPECT_EQ(once.value->as<Date>().secondsSince2001, seconds);
    const ParseResult twice = roundTrip(*once.value, Format::Binary);
    ASSERT_TRUE(twice.ok()) << twice.error;
    EXPECT_EQ(*twice.value, *once.value);
  }
}

TEST(PlistDateTest, XmlDatesMapToSecondsSince2001) {
  struct Case {
    const char* text;
    double seconds;
  };
  const Case cases[] = {
      {"2001-01-01T00:00:00Z", 0},
      {"2001-01-02T00:00:01Z", 86401},
      {"1970-01-01T00:00:00Z", -978307200},
      {"2024-02-29T12:30:45Z", 730902645},
      {"1932-12-13T20:45:52Z", -2147483648.0},
      {"2069-01-19T03:14:07Z", 2147483647.0},
      {"2069-01-19T03:14:08Z", 2147483648.0},
      {"1969-12-31T23:59:59Z", -978307201},
      {"1900-01-01T00:00:00Z", -3187296000.0},
      {"2000-02-29T00:00:00Z", -26524800},
      {"2100-01-01T00:00:00Z", 3124137600.0},
      {"0001-01-01T00:00:00Z", -63113904000.0},
      {"0000-01-01T00:00:00Z", -63145526400.0},
      {"9999-12-31T23:59:59Z", 252423993599.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string element = std::string("<date>") + c.text + "</date>";
    const ParseResult r = parseText(xmlDocument(element));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.value->as<Date>().secondsSince2001, c.seconds);
    EXPECT_NE(toXml(Date{c.seconds}).find(element), std::string::npos) << toXml(Date{c.seconds});
  }
}

TEST(PlistDateTest, BinaryDatesAreAnyFiniteDoubleAndXmlTakesTheFourDigitYears) {
  struct Case {
    double seconds;
    const char* xml;  // the XML text, or null where XML cannot hold the date
  };
  const Case cases[] = {
      {0.1, "2001-01-01T00:00:00Z"},
      {-0.25, "2000-12-31T23:59:59Z"},
      {123456.789012, "2001-01-02T10:17:36Z"},
      {5e-324, "2001-01-01T00:00:00Z"},
      {-5e-324, "2000-12-31T23:59:59Z"},
      {-1e10, "1684-02-11T06:13:20Z"},
      {1e10, "2317-11-21T17:46:40Z"},
      {252423993599.5, "9999-12-31T23:59:59Z"},
      {252423993600.0, nullptr},
      {-63145526400.0, "0000-01-01T00:00:00Z"},
      {-63145526400.5, nullptr},
      {1e300, nullptr},
      {-std::numeric_limits<double>::max(), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    const ParseResult read = parse(Bplist{.objects = {dateObject(c.seconds)}}.bytes());
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value->as<Date>().secondsSince2001, c.seconds);
    EXPECT_EQ(isWritable(*read.value, Format::Binary), "");
    const ParseResult binary = roundTrip(*read.value, Format::Binary);
    ASSERT_TRUE(binary.ok()) << binary.error;
    EXPECT_EQ(binary.value->as<Date>().secondsSince2001, c.seconds);
    if (c.xml == nullptr) {
      EXPECT_NE(isWritable(*read.value, Format::Xml).find("0000 to 9999"), std::string::npos);
      continue;
    }
    EXPECT_EQ(isWritable(*read.value, Format::Xml), "");
    const std::string xml = toXml(*read.value);
    EXPECT_NE(xml.find(std::string("<date>") + c.xml + "</date>"), std::string::npos) << xml;
    const ParseResult text = parseText(xml);
    ASSERT_TRUE(text.ok()) << text.error;
    EXPECT_EQ(text.value->as<Date>().secondsSince2001, std::floor(c.seconds));
  }
}

// ---------------------------------------------------------------------------------------------
// Integers beyond the signed 64-bit range and UIDs, as Foundation writes them.

constexpr std::uint64_t kTwoTo63 = std::uint64_t{1} << 63;
constexpr std::uint64_t kMaxUnsigned = std::numeric_limits<std::uint64_t>::max();

// A 16-byte integer object with the given halves.
Bytes int128Object(std::uint64_t high, std::uint64_t low) {
  Bytes out{0x14};
  appendBigEndian(out, high, 8);
  appendBigEndian(out, low, 8);
  return out;
}

// The bytes of the top object toBinary() writes for the scalar `value`: everything between the
// header and the offset table.
Bytes writtenObject(const Value& value) {
  const Bytes file = toBinary(value);
  std::uint64_t table = 0;
  for (std::size_t i = file.size() - 8; i < file.size(); ++i) table = table << 8 | file[i];
  return Bytes(file.begin() + 8, file.begin() + static_cast<std::ptrdiff_t>(table));
}

TEST(PlistIntegerTest, XmlIntegersSpanMinus2To63Through2To64Minus1) {
  struct Case {
    const char* text;
    Integer expected;
  };
  const Case cases[] = {
      {"9223372036854775807", Integer(INT64_MAX)},
      {"9223372036854775808", Integer::fromUnsigned(kTwoTo63)},
      {"18446744073709551615", Integer::fromUnsigned(kMaxUnsigned)},
      {"+18446744073709551615", Integer::fromUnsigned(kMaxUnsigned)},
      {"0xFFFFFFFFFFFFFFFF", Integer::fromUnsigned(kMaxUnsigned)},
      {"-1", Integer(-1)},
      {"-9223372036854775808", Integer(INT64_MIN)},
      {"-0x8000000000000000", Integer(INT64_MIN)},
      {"-0", Integer(0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ParseResult r = parseText(xmlDocument(std::string("<integer>") + c.text + "</integer>"));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.value->as<Integer>(), c.expected);
    for (Format format : {Format::Xml, Format::Binary}) {
      const ParseResult back = roundTrip(*r.value, format);
      ASSERT_TRUE(back.ok()) << back.error;
      EXPECT_EQ(*back.value, *r.value);
    }
  }
  EXPECT_NE(toXml(Integer::fromUnsigned(kMaxUnsigned)).find("<integer>18446744073709551615<"),
            std::string::npos);
  EXPECT_NE(toXml(Integer(INT64_MIN)).find("<integer>-9223372036854775808<"), std::string::npos);
}

TEST(PlistIntegerTest, BinaryIntegersReadAsFoundationWritesThem) {
  struct Case {
    const char* name;
    Bytes object;
    Integer expected;
  };
  const Case cases[] = {
      {"1 byte", intObject(200, 1), Integer(200)},
      {"4 bytes are unsigned", intObject(0xFFFFFFFF, 4), Integer::fromUnsigned(0xFFFFFFFF)},
      {"8 bytes are signed", intObject(static_cast<std::uint64_t>(-5), 8), Integer(-5)},
      {"8 bytes holding INT64_MIN", intObject(kTwoTo63, 8), Integer(INT64_MIN)},
      {"16 bytes holding 2^63", intObject(kTwoTo63, 16), Integer::fromUnsigned(kTwoTo63)},
      {"16 bytes holding 2^64-1", intObject(kMaxUnsigned, 16), Integer::fromUnsigned(kMaxUnsigned)},
      {"16 bytes holding a small number", intObject(9, 16), Integer(9)},
      {"16 bytes holding -1", int128Object(kMaxUnsigned, kMaxUnsigned), Integer(-1)},
      {"16 bytes holding -2^63", int128Object(kMaxUnsigned, kTwoTo63), Integer(INT64_MIN)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ParseResult r = parse(Bplist{.objects = {c.object}}.bytes());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.value->as<Integer>(), c.expected);
  }
}

TEST(PlistIntegerTest, BinaryWriterUsesFoundationsEncodings) {
  struct Case {
    Value value;
    Bytes object;
  };
  const Case cases[] = {
      {Value(200), {0x10, 0xC8}},
      {Value(0xFFFF), {0x11, 0xFF, 0xFF}},
      {Value(std::int64_t{1} << 32), {0x13, 0, 0, 0, 1, 0, 0, 0, 0}},
      {Value(-1), {0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {Value(kTwoTo63), int128Object(0, kTwoTo63)},
      {Value(kMaxUnsigned), int128Object(0, kMaxUnsigned)},
      {Value(Uid{5}), {0x80, 0x05}},
      {Value(Uid{300}), {0x81, 0x01, 0x2C}},
      {Value(Uid{70000}), {0x83, 0x00, 0x01, 0x11, 0x70}},
      {Value(Date{-0.5}), {0x33, 0xBF, 0xE0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.object));
    EXPECT_EQ(writtenObject(c.value), c.object);
  }
}

TEST(PlistUidTest, BinaryUidsOfEveryWidthReadAsUids) {
  struct Case {
    Bytes object;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {{0x80, 0x05}, 5},
      {{0x81, 0x01, 0x2C}, 300},
      {{0x82, 0x01, 0x00, 0x00}, 65536},
      {{0x83, 0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFF},
      {{0x87, 0, 0, 0, 0, 0, 0, 0, 7}, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const ParseResult r = parse(Bplist{.objects = {c.object}}.bytes());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(*r.value, Value(Uid{c.expected}));
    for (Format format : {Format::Xml, Format::Binary}) {
      const ParseResult back = roundTrip(*r.value, format);
      ASSERT_TRUE(back.ok()) << back.error;
      EXPECT_EQ(*back.value, *r.value);
    }
  }
}

// A keyed archive's shape: $top and $objects hold UIDs, one of which (200) names no object of
// the file, so the pre-pass must treat UIDs as values and never follow them.
Bplist keyedArchive() {
  Bplist plist;
  plist.objects = {
      dictObject({1, 2, 3, 4}, {5, 6, 7, 8}),
      asciiObject("$archiver"),
      asciiObject("$top"),
      asciiObject("$objects"),
      asciiObject("$version"),
      asciiObject("NSKeyedArchiver"),
      dictObject({9}, {10}),
      arrayObject({11, 12}),
      intObject(100000, 4),
      asciiObject("root"),
      Bytes{0x80, 0x01},
      asciiObject("$null"),
      Bytes{0x81, 0x00, 0xC8},
  };
  return plist;
}

TEST(PlistUidTest, AKeyedArchiveReadsWithItsUidsAsValues) {
  const ParseResult r = parse(keyedArchive().bytes());
  ASSERT_TRUE(r.ok()) << r.error;
  const Value expected = Dictionary{
      {"$archiver", "NSKeyedArchiver"},
      {"$top", Dictionary{{"root", Uid{1}}}},
      {"$objects", Array{"$null", Uid{200}}},
      {"$version", 100000},
  };
  EXPECT_EQ(*r.value, expected);
  for (Format format : {Format::Xml, Format::Binary}) {
    const ParseResult back = roundTrip(*r.value, format);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(*back.value, expected);
  }
  // Eight values, each UID one of them; two levels deep.
  EXPECT_TRUE(parse(keyedArchive().bytes(), {.maxNodes = 8}).ok());
  EXPECT_FALSE(parse(keyedArchive().bytes(), {.maxNodes = 7}).ok());
  EXPECT_TRUE(parse(keyedArchive().bytes(), {.maxDepth = 2}).ok());
  EXPECT_FALSE(parse(keyedArchive().bytes(), {.maxDepth = 1}).ok());
}

TEST(PlistUidTest, XmlWritesUidsAsCfUidDictionariesAndReadsOnlyThatFormBack) {
  EXPECT_NE(toXml(Array{Uid{5}})
                .find("\t<dict>\n\t\t<key>CF$UID</key>\n\t\t<integer>5</integer>\n"
                      "\t</dict>\n"),
            std::string::npos)
      << toXml(Array{Uid{5}});
  struct Case {
    const char* xml;
    Value expected;
  };
  const Case cases[] = {
      {"<dict><key>CF$UID</key><integer>5</integer></dict>", Uid{5}},
      {"<dict><key>CF$UID</key><integer>4294967295</integer></dict>", Uid{0xFFFFFFFF}},
      {"<dict><key>CF$UID</key><integer>4294967296</integer></dict>",
       Dictionary{{"CF$UID", std::int64_t{1} << 32}}},
      {"<dict><key>CF$UID</key><integer>-1</integer></dict>", Dictionary{{"CF$UID", -1}}},
      {"<dict><key>CF$UID</key><string>5</string></dict>", Dictionary{{"CF$UID", "5"}}},
      {"<dict><key>CF$UID</key><integer>5</integer><key>x</key><true/></dict>",
       Dictionary{{"CF$UID", 5}, {"x", true}}},
      {"<dict><key>cf$uid</key><integer>5</integer></dict>", Dictionary{{"cf$uid", 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    const ParseResult r = parseText(xmlDocument(c.xml));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(*r.value, c.expected);
  }
  // In a binary file such a dictionary is just a dictionary: binary has UIDs of its own. XML
  // would turn it into a UID, so it is not written as XML.
  const Value lookalike = Dictionary{{"CF$UID", 5}};
  EXPECT_EQ(*roundTrip(lookalike, Format::Binary).value, lookalike);
  EXPECT_EQ(isWritable(lookalike, Format::Binary), "");
  EXPECT_NE(isWritable(Array{lookalike}, Format::Xml).find("as a UID"), std::string::npos);
  EXPECT_EQ(isWritable(Dictionary{{"CF$UID", "5"}}, Format::Xml), "");
}

// ---------------------------------------------------------------------------------------------
// Accepted input that was not written by us.

TEST(PlistReadTest, AcceptsHandWrittenXmlForms) {
  struct Case {
    const char* name;
    std::string text;
    Value expected;
  };
  const Case cases[] = {
      {"no plist wrapper", "<dict><key>a</key><true/></dict>", Dictionary{{"a", true}}},
      {"comments and blank lines",
       xmlDocument("<!-- settings -->\n<array>\n<!-- one -->\n"
                   "<integer>1</integer>\n</array>\n<!-- end -->"),
       Array{1}},
      {"byte order mark", "\xEF\xBB\xBF<plist><string>x</string></plist>", Value("x")},
      {"hex and signed integers",
       xmlDocument("<array><integer>0x1F</integer><integer>-0x10</integer>"
                   "<integer>+7</integer><integer> 12 </integer></array>"),
       Array{31, -16, 7, 12}},
      {"integer extremes",
       xmlDocument("<array><integer>-9223372036854775808</integer>"
                   "<integer>9223372036854775807</integer></array>"),
       Array{std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}},
      {"entities and CDATA",
       xmlDocument("<string>&lt;&amp;&gt;&quot;&apos;&#65;&#x263A;&#x1F600;<![CDATA[<raw>&]]>"
                   "</string>"),
       Value("<&>\"'A\xE2\x98\xBA\xF0\x9F\x98\x80<raw>&")},
      {"entities in keys", xmlDocument("<dict><key>a&amp;b&#x2F;c</key><true/></dict>"),
       Dictionary{{"a&b/c", true}}},
      {"reals",
       xmlDocument("<array><real>1.5</real><real>-2e3</real><real>+infinity</real></array>"),
       Array{1.5, -2000.0, std::numeric_limits<double>::infinity()}},
      {"data with line breaks", xmlDocument("<data>\n\tAAEC\n\t/w==\n</data>"), Data{0, 1, 2, 255}},
      {"empty elements", xmlDocument("<array><string/><data/><array/><dict/></array>"),
       Array{"", Data{}, Array{}, Dictionary{}}},
      {"repeated key keeps the last value",
       xmlDocument("<dict><key>k</key><integer>1</integer><key>k</key><integer>2</integer></dict>"),
       Dictionary{{"k", 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ParseResult r = parseText(c.text);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(*r.value, c.expected);
  }
}

TEST(PlistReadTest, AcceptsBinaryFeaturesOtherWritersUse) {
  // Shared objects, a UTF-16 string with a surrogate pair, 2-byte references, an extended
  // length and every integer width.
  Bplist plist;
  plist.refSize = 2;
  plist.objects = {
      dictObject({1, 2}, {3, 3}, 2),
      asciiObject("shared"),
      utf16Object({0x00E9, 0xD83D, 0xDE00}),
      arrayObject({4, 5, 6, 7, 8, 9, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}, 2),
      intObject(1, 1),
      intObject(0xFFFF, 2),
      intObject(0xFFFFFFFF, 4),
      intObject(static_cast<std::uint64_t>(-5), 8),
      intObject(9, 16),
      asciiObject(std::string(20, 'x')),
  };
  const ParseResult r = parse(plist.bytes());
  ASSERT_TRUE(r.ok()) << r.error;
  Array numbers = {1, 0xFFFF, 0xFFFFFFFFLL, -5, 9, std::string(20, 'x')};
  numbers.insert(numbers.end(), 10, Value(1));
  EXPECT_EQ(*r.value, (Dictionary{{"shared", numbers}, {"\xC3\xA9\xF0\x9F\x98\x80", numbers}}));
}

// ---------------------------------------------------------------------------------------------
// Hostile and broken input: each is refused with a message naming what is wrong.

struct HostileCase {
  const char* name;
  std::function<Bytes()> make;
  const char* error;  // a fragment the message must contain
};

Bytes truncatedBinary(std::size_t keep) {
  Bytes full = toBinary(everyType());
  full.resize(keep);
  return full;
}

const HostileCase kHostileCases[] = {
    {"empty input", [] { return Bytes{}; }, "input is empty"},
    {"garbage", [] { return toBytes("hello, world"); }, "not a property list"},
    {"random bytes",
     [] {
       return Bytes{0x00, 0xFF, 0x13, 0x37};
     },
     "not a property list"},
    {"unknown binary version", [] { return toBytes("bplist15xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"); },
     "unsupported binary property list version"},
    {"over the size cap",
     [] { return toBytes("<plist>" + std::string(std::size_t{4} << 20, ' ') + "</plist>"); },
     "larger than 4194304 bytes"},

    // Binary: structure.
    {"binary magic only", [] { return toBytes("bplist00"); }, "truncated"},
    {"binary truncated inside objects", [] { return truncatedBinary(100); },
     "binary property list"},
    {"binary missing its last byte",
     [] {
       Bytes full = toBinary(everyType());
       full.pop_back();
       return full;
     },
     "binary property list"},
    {"binary reference out of range",
     [] {
       return Bplist{.objects = {arrayObject({1, 12}), boolObject(true)}}.bytes();
     },
     "object reference 12 out of range"},
    {"binary top object out of range",
     [] { return Bplist{.objects = {boolObject(true)}, .top = 3}.bytes(); },
     "top object 3 out of range"},
    {"binary offset beyond the objects",
     [] { return Bplist{.objects = {boolObject(true)}, .firstOffset = 4000}.bytes(); },
     "outside the object area"},
    {"binary offset table past the end",
     [] { return Bplist{.objects = {boolObject(true)}, .objectCount = 1000000}.bytes(); },
     "runs past the end"},
    {"binary offset table outside the file",
     [] { return Bplist{.objects = {boolObject(true)}, .tableOffset = 1u << 31}.bytes(); },
     "lies outside the file"},
    {"binary invalid reference size",
     [] { return Bplist{.objects = {boolObject(true)}, .refSize = 9}.bytes(); },
     "invalid object reference size"},
    {"binary string longer than the file",
     [] { return Bplist{.objects = {header(0x5, 1000)}}.bytes(); }, "past the object area"},
    {"binary length near 2^64",
     [] { return Bplist{.objects = {header(0xA, ~std::uint64_t{0} - 1)}}.bytes(); },
     "past the object area"},
    {"binary malformed length marker",
     [] {
       return Bplist{.objects = {Bytes{0x5F, 0x23, 0, 0, 0, 0, 0, 0, 0, 1, 'a'}}}.bytes();
     },
     "malformed length marker"},

    // Binary: resource exhaustion.
    {"binary deep nesting", [] { return nestedBinaryArrays(100000); }, "nesting deeper than 128"},
    {"binary exponential shared references",
     [] {
       Bplist plist;
       for (std::uint64_t i = 0; i < 40; ++i) plist.objects.push_back(arrayObject({i + 1, i + 1}));
       plist.objects.push_back(boolObject(true));
       return plist.bytes();
     },
     "more than 100000 values"},
    {"binary wide shared references",
     [] {
       Bplist plist;
       plist.refSize = 1;
       plist.objects = {arrayObject(std::vector<std::uint64_t>(200000, 1)), boolObject(true)};
       return plist.bytes();
     },
     "more than 100000 values"},
    {"binary shared string expanding past the byte limit",
     [] {
       Bplist plist;
       plist.objects = {arrayObject(std::vector<std::uint64_t>(100, 1)),
                        arrayObject(std::vector<std::uint64_t>(100, 2)),
                        asciiObject(std::string(5000, 's'))};
       return plist.bytes();
     },
     "bytes of strings and data"},
    {"binary reference cycle",
     [] {
       return Bplist{.objects = {arrayObject({1}), arrayObject({0})}}.bytes();
     },
     "reference cycle"},
    {"binary self reference through a dictionary",
     [] {
       return Bplist{.objects = {dictObject({1}, {0}), asciiObject("k")}}.bytes();
     },
     "reference cycle"},

    // Binary: objects libplist would misread.
    {"binary dictionary key that is not a string",
     [] {
       return Bplist{.objects = {dictObject({1}, {1}), intObject(1, 1)}}.bytes();
     },
     "is not a string"},
    {"binary UID beyond 32 bits",
     [] {
       return Bplist{.objects = {Bytes{0x84, 0x01, 0x00, 0x00, 0x00, 0x00}}}.bytes();
     },
     "UID out of the 32-bit range"},
    {"binary UID longer than the file",
     [] {
       return Bplist{.objects = {Bytes{0x8F, 0x01}}}.bytes();
     },
     "past the object area"},
    {"binary UID as a dictionary key",
     [] {
       return Bplist{.objects = {dictObject({1}, {1}), Bytes{0x80, 0x01}}}.bytes();
     },
     "is not a string"},
    {"binary set",
     [] {
       return Bplist{.objects = {Bytes{0xC1, 0x01}, boolObject(true)}}.bytes();
     },
     "sets are not supported"},
    {"binary null", [] { return Bplist{.objects = {Bytes{0x00}}}.bytes(); }, "unsupported object"},
    {"binary 128-bit integer beyond 64 bits",
     [] {
       Bytes object{0x14};
       appendBigEndian(object, 1, 8);
       appendBigEndian(object, 5, 8);
       return Bplist{.objects = {object}}.bytes();
     },
     "out of the 64-bit range"},
    {"binary 128-bit integer below -2^63",
     [] {
       Bytes object{0x14};
       appendBigEndian(object, ~std::uint64_t{0}, 8);
       appendBigEndian(object, 5, 8);
       return Bplist{.objects = {object}}.bytes();
     },
     "out of the 64-bit range"},
    {"binary date that is not a number",
     [] { return Bplist{.objects = {dateObject(std::nan(""))}}.bytes(); },
     "date is not a finite number"},
    {"binary infinite date",
     [] {
       return Bplist{.objects = {dateObject(-std::numeric_limits<double>::infinity())}}.bytes();
     },
     "date is not a finite number"},
    {"binary string with a NUL",
     [] { return Bplist{.objects = {asciiObject(std::string("a\0b", 3))}}.bytes(); },
     "NUL character"},
    {"binary UTF-16 unpaired surrogate",
     [] {
       return Bplist{.objects = {utf16Object({'a', 0xD800, 'b'})}}.bytes();
     },
     "unpaired UTF-16 surrogate"},
    {"binary ASCII string that is not UTF-8",
     [] { return Bplist{.objects = {asciiObject("a\xFF")}}.bytes(); }, "not valid UTF-8"},

    // XML: structure and exhaustion.
    {"XML deep nesting", [] { return toBytes(nestedXmlArrays(100000)); },
     "nesting deeper than 128"},
    {"XML too many values",
     [] { return toBytes(xmlDocument("<array>" + repeat("<true/>", 100001) + "</array>")); },
     "more than 100000 values"},
    {"XML truncated",
     [] {
       const std::string full = toXml(everyType());
       return toBytes(full.substr(0, full.size() / 2));
     },
     "XML property list"},
    {"XML missing </plist>", [] { return toBytes("<plist><true/>"); }, "missing </plist>"},
    {"XML mismatched close", [] { return toBytes(xmlDocument("<array></dict>")); },
     "mismatched </dict>"},
    {"XML key without value", [] { return toBytes(xmlDocument("<dict><key>a</key></dict>")); },
     "key without a value"},
    {"XML value without key", [] { return toBytes(xmlDocument("<dict><true/></dict>")); },
     "value without a key"},
    {"XML key outside a dictionary", [] { return toBytes(xmlDocument("<key>a</key>")); },
     "outside a dictionary"},
    {"XML unknown element", [] { return toBytes(xmlDocument("<uid>1</uid>")); }, "unknown element"},
    {"XML text after the root", [] { return toBytes(xmlDocument("<true/>") + "<array>"); },
     "after the root"},
    {"XML comment hiding markup",
     [] { return toBytes(xmlDocument("<array><!--> <array> --></array>")); }, "comment contains"},
    {"XML processing instruction whose quote hides markup",
     [] { return toBytes(xmlDocument("<array><?pi \" ?><true/><?pi \" ?></array>")); },
     "processing instruction: '>' or a mixed quote inside a quoted value"},
    {"XML mixed quotes in a processing instruction",
     [] { return toBytes("<?pi 'a\"b' ?><plist><true/></plist>"); }, "mixed quote"},
    {"XML attribute value holding '>'",
     [] { return toBytes("<plist version=\"1>\"><true/></plist>"); }, "inside a quoted value"},
    {"XML DOCTYPE with an internal subset",
     [] { return toBytes("<!DOCTYPE plist [<!ENTITY a 'b'>]><plist><true/></plist>"); },
     "internal subset"},
    {"XML slash before the end of a tag", [] { return toBytes(xmlDocument("<array/ ></array>")); },
     "stray '/'"},
    {"XML NUL byte", [] { return toBytes(std::string("<plist><string>a\0</string></plist>", 33)); },
     "NUL byte"},

    // XML: text libplist would misread silently.
    {"XML octal-looking integer", [] { return toBytes(xmlDocument("<integer>010</integer>")); },
     "malformed integer"},
    {"XML integer 2^64",
     [] { return toBytes(xmlDocument("<integer>18446744073709551616</integer>")); },
     "out of the 64-bit range"},
    {"XML hex integer 2^64",
     [] { return toBytes(xmlDocument("<integer>0x10000000000000000</integer>")); },
     "out of the 64-bit range"},
    {"XML integer below -2^63",
     [] { return toBytes(xmlDocument("<integer>-9223372036854775809</integer>")); },
     "out of the 64-bit range"},
    {"XML integer garbage", [] { return toBytes(xmlDocument("<integer>12abc</integer>")); },
     "malformed integer"},
    {"XML empty integer", [] { return toBytes(xmlDocument("<integer></integer>")); },
     "malformed integer"},
    {"XML real garbage", [] { return toBytes(xmlDocument("<real>1.5x</real>")); },
     "malformed real"},
    {"XML date garbage", [] { return toBytes(xmlDocument("<date>yesterday</date>")); },
     "malformed date"},
    {"XML impossible date",
     [] { return toBytes(xmlDocument("<date>2001-02-30T00:00:00Z</date>")); }, "malformed date"},
    {"XML date with a five-digit year",
     [] { return toBytes(xmlDocument("<date>10000-01-01T00:00:00Z</date>")); }, "malformed date"},
    {"XML date on a day only leap years have",
     [] { return toBytes(xmlDocument("<date>1900-02-29T00:00:00Z</date>")); }, "malformed date"},
    {"XML date with a fraction of a second",
     [] { return toBytes(xmlDocument("<date>2001-01-01T00:00:00.5Z</date>")); }, "malformed date"},
    {"XML malformed base64", [] { return toBytes(xmlDocument("<data>AAE</data>")); },
     "malformed base64"},
    {"XML string that is not UTF-8", [] { return toBytes(xmlDocument("<string>\xC3</string>")); },
     "not valid UTF-8"},
    {"XML surrogate character reference",
     [] { return toBytes(xmlDocument("<string>&#xD800;</string>")); }, "not a valid character"},
    {"XML NUL character reference",
     [] { return toBytes(xmlDocument("<dict><key>&#0;</key><true/></dict>")); },
     "not a valid character"},
    {"XML unknown entity", [] { return toBytes(xmlDocument("<string>&nbsp;</string>")); },
     "unknown entity &nbsp;"},
    {"XML unterminated entity", [] { return toBytes(xmlDocument("<string>a & b</string>")); },
     "malformed character reference"},
};

void PrintTo(const HostileCase& c, std::ostream* os) {
  *os << c.name;
}

class PlistHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(PlistHostileTest, IsRefusedWithAClearError) {
  const HostileCase& c = GetParam();
  const ParseResult r = parse(c.make());
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find(c.error), std::string::npos) << "error was: " << r.error;
}

INSTANTIATE_TEST_SUITE_P(Inputs, PlistHostileTest, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(PlistReadTest, EveryTruncationOfABinaryFileIsRefused) {
  const Bytes full = toBinary(everyType());
  for (std::size_t keep = 0; keep < full.size(); ++keep) {
    const ParseResult r = parse(std::span(full).first(keep));
    EXPECT_FALSE(r.ok()) << "kept " << keep << " of " << full.size() << " bytes";
  }
}

TEST(PlistLimitsTest, DepthLimitIsExactInBothFormats) {
  for (std::size_t depth : {1, 2, 3, 10}) {
    SCOPED_TRACE(depth);
    const Limits limits{.maxDepth = depth};
    EXPECT_TRUE(parseText(nestedXmlArrays(depth), limits).ok());
    EXPECT_FALSE(parseText(nestedXmlArrays(depth + 1), limits).ok());
    EXPECT_TRUE(parse(nestedBinaryArrays(depth), limits).ok());
    EXPECT_FALSE(parse(nestedBinaryArrays(depth + 1), limits).ok());
  }
}

TEST(PlistLimitsTest, SharedReferencesCountOncePerUse) {
  // Object 0 holds object 1 three times; object 1 holds object 2 (a 10-byte string) twice.
  // Expanded: 1 + 3 * (1 + 2) = 10 values, 3 * 2 * 10 = 60 string bytes, 2 levels.
  Bplist plist;
  plist.objects = {arrayObject({1, 1, 1}), arrayObject({2, 2}), asciiObject("0123456789")};
  const Bytes bytes = plist.bytes();
  EXPECT_TRUE(parse(bytes, {.maxNodes = 10}).ok());
  EXPECT_FALSE(parse(bytes, {.maxNodes = 9}).ok());
  EXPECT_TRUE(parse(bytes, {.maxExpandedBytes = 60}).ok());
  EXPECT_FALSE(parse(bytes, {.maxExpandedBytes = 59}).ok());
  EXPECT_TRUE(parse(bytes, {.maxDepth = 2}).ok());
  EXPECT_FALSE(parse(bytes, {.maxDepth = 1}).ok());
}

TEST(PlistLimitsTest, SharedSubtreeReachedDeeperCountsItsFullDepth) {
  // Object 1 (two levels deep) is first met at depth 2, then again at depth 4 through the
  // chain 0 -> 2 -> 3 -> 1, where it reaches depth 5.
  Bplist plist;
  plist.objects = {arrayObject({1, 2}), arrayObject({4}), arrayObject({3}), arrayObject({1}),
                   arrayObject({})};
  const Bytes bytes = plist.bytes();
  EXPECT_TRUE(parse(bytes, {.maxDepth = 5}).ok());
  const ParseResult r = parse(bytes, {.maxDepth = 4});
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find("nesting deeper than 4"), std::string::npos) << r.error;
}

// ---------------------------------------------------------------------------------------------
// Files.

class PlistFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "plist_file_test.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    ::chmod(dir_.c_str(), 0755);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(dir_ / "locked", std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }

  static void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::set<std::string> entries(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  std::filesystem::path dir_;
};

TEST_F(PlistFileTest, ReadsWhatItWroteInBothFormats) {
  for (Format format : {Format::Xml, Format::Binary}) {
    const std::filesystem::path path = dir_ / "settings.plist";
    const WriteResult written = writeFileAtomically(path, everyType(), format);
    ASSERT_TRUE(written.ok) << written.error;
    const std::string bytes = readBytes(path);
    EXPECT_EQ(bytes.starts_with("bplist00"), format == Format::Binary);
    const ReadResult read = readFile(path);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(*read.value, everyType());
  }
  EXPECT_EQ(entries(dir_), std::set<std::string>{"settings.plist"});
}

TEST_F(PlistFileTest, ReadFailuresNameTheFile) {
  writeBytes(dir_ / "garbage.plist", "not a plist");
  writeBytes(dir_ / "empty.plist", "");
  writeBytes(dir_ / "big.plist", xmlDocument("<string>" + std::string(200, 'x') + "</string>"));
  std::filesystem::create_directory(dir_ / "folder.plist");
  ASSERT_EQ(::mkfifo((dir_ / "fifo.plist").c_str(), 0644), 0);
  struct Case {
    const char* file;
    const char* error;
  };
  const Case cases[] = {
      {"missing.plist", "No such file or directory"},
      {"garbage.plist", "not a property list"},
      {"empty.plist", "input is empty"},
      {"big.plist", "more than 128"},
      {"folder.plist", "not a regular file"},
      {"fifo.plist", "not a regular file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::filesystem::path path = dir_ / c.file;
    const ReadResult r = readFile(path, {.maxBytes = 128});
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.starts_with(path.string() + ": ")) << r.error;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
  }
}

TEST_F(PlistFileTest, ReplacesTheOldFileAndKeepsItsPermissions) {
  const std::filesystem::path path = dir_ / "settings.plist";
  writeBytes(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(writeFileAtomically(path, Dictionary{{"v", 2}}).ok);
  EXPECT_EQ(*readFile(path).value, (Dictionary{{"v", 2}}));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(PlistFileTest, MissingFolderIsAnErrorAndIsNotCreated) {
  const std::filesystem::path path = dir_ / "absent" / "settings.plist";
  const WriteResult r = writeFileAtomically(path, Value(true));
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find(path.string()), std::string::npos) << r.error;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "absent"));
}

TEST_F(PlistFileTest, FailedRenameLeavesNoTemporaryFile) {
  // A non-empty folder where the file should go makes the final rename fail.
  const std::filesystem::path path = dir_ / "settings.plist";
  std::filesystem::create_directory(path);
  writeBytes(path / "inside", "kept");
  const WriteResult r = writeFileAtomically(path, Value(true));
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("cannot replace"), std::string::npos) << r.error;
  EXPECT_EQ(entries(dir_), std::set<std::string>{"settings.plist"});
  EXPECT_EQ(readBytes(path / "inside"), "kept");
}

TEST_F(PlistFileTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  const std::filesystem::path path = dir_ / "settings.plist";
  writeBytes(path, "old contents");
  // Cap the size of any file this process writes, so writing the temporary file fails.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previousHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit capped = saved;
  capped.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &capped), 0);
  const WriteResult r = writeFileAtomically(path, everyType());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("cannot write"), std::string::npos) << r.error;
  EXPECT_EQ(readBytes(path), "old contents");
  EXPECT_EQ(entries(dir_), std::set<std::string>{"settings.plist"});
}

TEST_F(PlistFileTest, UnwritableFolderLeavesTheOldFileUntouched) {
  const std::filesystem::path folder = dir_ / "locked";
  std::filesystem::create_directory(folder);
  const std::filesystem::path path = folder / "settings.plist";
  writeBytes(path, "old contents");
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  // Root ignores folder permissions, so the write runs in a child that gives up root.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    const WriteResult r = writeFileAtomically(path, Value(true));
    ::_exit(r.ok ? 1 : (r.error.find("temporary file") != std::string::npos ? 0 : 2));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot drop root privileges here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(readBytes(path), "old contents");
  EXPECT_EQ(entries(folder), std::set<std::string>{"settings.plist"});
}

TEST_F(PlistFileTest, RefusesValuesThatCannotBeWrittenFaithfully) {
  const std::filesystem::path path = dir_ / "settings.plist";
  writeBytes(path, "old contents");
  const Value cases[] = {
      Dictionary{{"bad", "\xFF"}},
      Dictionary{{std::string("k\0ey", 4), 1}},
      Array{Date{1e13}},  // past the year 9999
      Array{Date{std::nan("")}},
  };
  for (const Value& value : cases) {
    const WriteResult r = writeFileAtomically(path, value);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("cannot write value"), std::string::npos) << r.error;
  }
  EXPECT_EQ(readBytes(path), "old contents");
  EXPECT_EQ(entries(dir_), std::set<std::string>{"settings.plist"});
}

}  // namespace
}  // namespace platform::plist
