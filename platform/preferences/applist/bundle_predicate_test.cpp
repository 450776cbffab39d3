// Reading the predicates of an application list's sections: the forms the lists use, the ways
// NSPredicate lets them be written, and text that is no such predicate.

#include "platform/preferences/applist/bundle_predicate.h"

#include <gtest/gtest.h>

namespace platform::preferences {
namespace {

struct Parsed {
  const char* text;
  bool negated;
  std::vector<std::string> identifiers;
};

TEST(BundlePredicateTest, TheFormsAListUsesAreReadAsTheySay) {
  for (const Parsed& c : std::vector<Parsed>{
           {"bundleIdentifier in {'a','b'}", false, {"a", "b"}},
           {"not bundleIdentifier in {'a','b'}", true, {"a", "b"}},
           {"bundleIdentifier in {}", false, {}},
           {"not bundleIdentifier in {}", true, {}},
           {"bundleIdentifier IN {\"com.apple.mobilesafari\"}", false, {"com.apple.mobilesafari"}},
           {"NOT (bundleIdentifier In { 'x' , 'y' })", true, {"x", "y"}},
           {"!bundleIdentifier in {'x'}", true, {"x"}},
           {"  bundleIdentifier  in{'it\\'s'}  ", false, {"it's"}},
           {"bundleIdentifier in {'a,b','c'}", false, {"a,b", "c"}},
       }) {
    std::string error;
    auto predicate = parseBundlePredicate(c.text, &error);
    ASSERT_TRUE(predicate) << c.text << ": " << error;
    EXPECT_EQ(predicate->negated, c.negated) << c.text;
    EXPECT_EQ(predicate->identifiers, c.identifiers) << c.text;
  }
}

TEST(BundlePredicateTest, MatchingFollowsTheSetAndTheNegation) {
  std::string error;
  auto in = parseBundlePredicate("bundleIdentifier in {'com.a','com.b'}", &error);
  auto out = parseBundlePredicate("not bundleIdentifier in {'com.a','com.b'}", &error);
  auto none = parseBundlePredicate("bundleIdentifier in {}", &error);
  auto all = parseBundlePredicate("not bundleIdentifier in {}", &error);
  ASSERT_TRUE(in && out && none && all);
  EXPECT_TRUE(in->matches("com.a"));
  EXPECT_FALSE(in->matches("com.c"));
  EXPECT_FALSE(in->matches("com")) << "whole identifiers, not text inside the set";
  EXPECT_FALSE(out->matches("com.b"));
  EXPECT_TRUE(out->matches("com.c"));
  EXPECT_FALSE(none->matches("com.a"));
  EXPECT_TRUE(all->matches("com.a"));
}

TEST(BundlePredicateTest, TextThatIsNoSuchPredicateSaysWhereItGoesWrong) {
  struct Bad {
    const char* text;
    const char* says;
  };
  for (const Bad& c : std::vector<Bad>{
           {"", "expected the key path bundleIdentifier at character 1"},
           {"displayName in {'a'}", "expected the key path bundleIdentifier"},
           {"bundleidentifier in {'a'}", "expected the key path bundleIdentifier"},
           {"bundleIdentifier == 'a'", "expected IN"},
           {"bundleIdentifier in ('a')", "expected '{'"},
           {"bundleIdentifier in {%@}", "expected a quoted bundle identifier"},
           {"bundleIdentifier in {a}", "expected a quoted bundle identifier"},
           {"bundleIdentifier in {'a',}", "expected a quoted bundle identifier"},
           {"bundleIdentifier in {'a' 'b'}", "expected ',' or '}'"},
           {"bundleIdentifier in {'a'", "expected ',' or '}'"},
           {"bundleIdentifier in {'a}", "a quoted string is not closed"},
           {"bundleIdentifier in {'a'} or true", "unexpected text"},
           {"not not bundleIdentifier in {}", "expected the key path"},
           {"(bundleIdentifier in {'a'}", "expected ')'"},
       }) {
    std::string error;
    EXPECT_FALSE(parseBundlePredicate(c.text, &error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " gave: " << error;
  }
}

}  // namespace
}  // namespace platform::preferences
