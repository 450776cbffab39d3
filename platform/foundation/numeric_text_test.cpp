// NSString's numeric readings, over a table of the cases the platform documents.

#include "platform/foundation/numeric_text.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/foundation/nsstring.h"
#include "platform/objc/object.h"

namespace platform {
namespace {

struct BoolCase {
  std::u16string text;
  bool expected;
};

TEST(NumericText, BoolValueFollowsThePlatformRules) {
  const BoolCase cases[] = {
      {u"YES", true},   {u"yes", true},   {u"Y", true},
      {u"true", true},  {u"T", true},     {u"1", true},
      {u"9", true},     {u"42abc", true}, {u"  \t\n y", true},
      {u"+1", true},    {u"-1", true},    {u"0001", true},
      {u"-0007", true}, {u"+0y", true},   {u"\u00a0\u2003t", true},
      {u"NO", false},   {u"no", false},   {u"false", false},
      {u"0", false},    {u"000", false},  {u"", false},
      {u"   ", false},  {u"x1", false},   {u"+-1", false},
      {u"--1", false},  {u"0x1", false},  {u".5", false},
      {u"  -", false},  {u"N", false},    {u"on", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(stringBoolValue(c.text), c.expected)
        << "text: \"" << std::string(c.text.begin(), c.text.end()) << "\"";
  }
}

struct IntCase {
  std::u16string text;
  int expected;
};

TEST(NumericText, IntValueReadsLeadingDecimalAndSaturates) {
  const IntCase cases[] = {
      {u"42", 42},
      {u"  42", 42},
      {u"\n\t-17", -17},
      {u"+8", 8},
      {u"007", 7},
      {u"12abc", 12},
      {u"3.9", 3},
      {u"abc", 0},
      {u"", 0},
      {u"-", 0},
      {u"- 5", 0},
      {u"+-5", 0},
      {u"2147483647", INT_MAX},
      {u"2147483648", INT_MAX},
      {u"99999999999999999999", INT_MAX},
      {u"-2147483648", INT_MIN},
      {u"-2147483649", INT_MIN},
      {u"1e3", 1},
      {u"0x10", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(stringIntValue(c.text), c.expected)
        << "text: \"" << std::string(c.text.begin(), c.text.end()) << "\"";
  }
  EXPECT_EQ(stringLongLongValue(u"9223372036854775808"), LLONG_MAX);
  EXPECT_EQ(stringLongLongValue(u"-9223372036854775809"), LLONG_MIN);
}

TEST(NumericText, DoubleValueReadsOnlyDecimalNotation) {
  EXPECT_DOUBLE_EQ(stringDoubleValue(u"  2.5kg"), 2.5);
  EXPECT_DOUBLE_EQ(stringDoubleValue(u"-1e2"), -100);
  EXPECT_DOUBLE_EQ(stringDoubleValue(u"3e"), 3);
  EXPECT_EQ(stringDoubleValue(u"inf"), 0);
  EXPECT_EQ(stringDoubleValue(u"nan"), 0);
  EXPECT_EQ(stringDoubleValue(u"0x1p3"), 0);
}

TEST(NumericText, StringsAnswerTheSameThroughSends) {
  objc::AutoreleasePool pool;
  EXPECT_EQ(sel::boolValue(nsstring("  yes please")), YES);
  EXPECT_EQ(sel::boolValue(nsstring("0")), NO);
  EXPECT_EQ(sel::intValue(nsstring(" -12px")), -12);
  EXPECT_EQ(sel::boolValue(nsstring("\u00e9t\u00e9")), NO) << "non-ASCII first letter";
}

}  // namespace
}  // namespace platform
