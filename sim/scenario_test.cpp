// The scenario language: what a file may say, the errors that stop it before it runs, and its
// literals.

#include "sim/scenario.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim/scenario_values.h"

namespace sim {
namespace {

using platform::plist::Value;

TEST(ScenarioParse, ReportsEveryBadLineWithFileAndLine) {
  const std::string text =
      "# a comment\n"
      "boot\n"
      "jump\n"
      "wait\n"
      "wait 5 seconds\n"
      "wait 5x\n"
      "wait -1s\n"
      "settings enabled\n"
      "settings enabled=maybe\n"
      "expect flag nosuch true\n"
      "expect flag enabled perhaps\n"
      "expect count keptItems many\n"
      "write-file relative.plist \"x\"\n"
      "echo \"unclosed\n"
      "post carrier-pigeon name\n"
      "lock now\n";
  ParsedScenario parsed = parseScenario(text, "s.scenario");
  const char* expected[] = {
      "s.scenario:3: unknown command \"jump\"",
      "s.scenario:4: missing argument; usage: wait DURATION",
      "s.scenario:5: too many arguments; usage: wait DURATION",
      "s.scenario:6: bad duration \"5x\"",
      "s.scenario:7: bad duration \"-1s\"",
      "s.scenario:8: \"enabled\" must be KEY=VALUE",
      "s.scenario:9: \"maybe\" is not a value",
      "s.scenario:10: unknown flag \"nosuch\"",
      "s.scenario:11: \"perhaps\" must be true or false",
      "s.scenario:12: \"many\" must be a whole number",
      "s.scenario:13: \"relative.plist\" must be an absolute device path",
      "s.scenario:14: a quoted text is not closed",
      "s.scenario:15: \"carrier-pigeon\" must be darwin or distributed",
      "s.scenario:16: too many arguments; usage: lock",
  };
  ASSERT_EQ(parsed.errors.size(), std::size(expected)) << ::testing::PrintToString(parsed.errors);
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(parsed.errors[i].rfind(expected[i], 0), 0u) << parsed.errors[i];
  }
  ASSERT_EQ(parsed.commands.size(), 1u);
  EXPECT_EQ(parsed.commands[0].name, "boot");
  EXPECT_EQ(parsed.commands[0].line, 2);
}

TEST(ScenarioValues, DurationsNeedAUnit) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"250ms", 0.25},         {"5s", 5.0},           {"1.5s", 1.5},          {"2m", 120.0},
      {"1h", 3600.0},          {"100ns", 1e-7},       {"5", std::nullopt},    {"s", std::nullopt},
      {"1..2s", std::nullopt}, {".5s", std::nullopt}, {"5sec", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [text, seconds] : cases) {
    auto parsed = parseDuration(text);
    ASSERT_EQ(parsed.has_value(), seconds.has_value()) << text;
    if (seconds) EXPECT_DOUBLE_EQ(*parsed, *seconds) << text;
  }
}

TEST(ScenarioValues, LiteralsBecomePropertyListValues) {
  const std::pair<const char*, Value> cases[] = {
      {"true", Value(true)},
      {"NO", Value(false)},
      {"42", Value(42)},
      {"-7", Value(-7)},
      {"0.5", Value(0.5)},
      {"string:YES", Value("YES")},
      {"data:00ff", Value(platform::plist::Data{0x00, 0xff})},
      {"date:2001-01-01T00:01:00Z", Value(platform::plist::Date{60})},
      {"array", Value(platform::plist::Array{})},
  };
  for (const auto& [text, value] : cases) {
    auto parsed = parseValue(text, false, nullptr);
    ASSERT_TRUE(parsed.has_value()) << text;
    EXPECT_EQ(*parsed, value) << text;
    auto written = splitWords(formatValue(value), nullptr);
    ASSERT_TRUE(written && written->size() == 1) << formatValue(value);
    const Word& word = written->front();
    EXPECT_EQ(*parseValue(word.text, word.quoteAt != std::string::npos, nullptr), value)
        << "round trip of " << text;
  }
  EXPECT_EQ(*parseValue("42", true, nullptr), Value("42")) << "quoted text stays text";
  std::string error;
  EXPECT_FALSE(parseValue("data:0g", false, &error));
  EXPECT_FALSE(parseValue("date:2026-02-30T00:00:00Z", false, &error));
  EXPECT_FALSE(parseValue("99999999999999999999", false, &error));
  EXPECT_NE(error.find("64 bits"), std::string::npos);
}

TEST(ScenarioValues, QuotedWordsKeepTheirEscapes) {
  std::string error;
  auto words = splitWords(R"(write-file /x "a\"b\n\x41" key="two words" # comment)", &error);
  ASSERT_TRUE(words.has_value()) << error;
  ASSERT_EQ(words->size(), 4u);
  EXPECT_EQ((*words)[2].text, "a\"b\nA");
  EXPECT_EQ((*words)[3].text, "key=two words");
  EXPECT_EQ((*words)[3].quoteAt, 4u);
  EXPECT_FALSE(splitWords(R"(echo "bad \q")", &error));
}

TEST(ScenarioRun, FailedExpectationsAreCountedAndNamed) {
  PhoneOptions options;
  options.extension = TARROW8_EXTENSION;
  Phone phone(options);
  std::ostringstream out;
  ScenarioRunner runner(phone, out, "t.scenario");
  ParsedScenario parsed = parseScenario(
      "lock\nboot\nexpect flag enabled true\nexpect launches 1\nboot\nexpect setting enabled "
      "absent\n",
      "t.scenario");
  ASSERT_TRUE(parsed.errors.empty());
  EXPECT_EQ(runner.runAll(parsed.commands), 3);
  std::string transcript = out.str();
  EXPECT_NE(
      transcript.find("t.scenario:1: SpringBoard is not running: put `boot` before this line"),
      std::string::npos);
  EXPECT_NE(transcript.find("t.scenario:3: expected flag enabled true, but it is false"),
            std::string::npos);
  EXPECT_NE(transcript.find("ok: launches 1"), std::string::npos);
  EXPECT_NE(transcript.find("t.scenario:5: SpringBoard is already running"), std::string::npos);
  EXPECT_NE(transcript.find("ok: setting enabled absent"), std::string::npos);
}

}  // namespace
}  // namespace sim
