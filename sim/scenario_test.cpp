// The scenario language: what a file may say, the errors that stop it before it runs, and its
// literals.

#include "sim/scenario.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim/scenario_source.h"
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
      "lock now\n"
      "wait 5\n"
      "wait 99999999999999h\n";
  ParsedScenario parsed = parseScenario(text, "s.scenario");
  const char* expected[] = {
      "s.scenario:3: unknown command \"jump\"",
      "s.scenario:4: missing argument; usage: wait DURATION",
      "s.scenario:5: too many arguments; usage: wait DURATION",
      "s.scenario:6: duration \"5x\" has an unknown unit \"x\"",
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
      "s.scenario:17: duration \"5\" has no unit",
      "s.scenario:18: duration \"99999999999999h\" is too long",
  };
  ASSERT_EQ(parsed.errors.size(), std::size(expected)) << ::testing::PrintToString(parsed.errors);
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(parsed.errors[i].rfind(expected[i], 0), 0u) << parsed.errors[i];
  }
  ASSERT_EQ(parsed.commands.size(), 1u);
  EXPECT_EQ(parsed.commands[0].name, "boot");
  EXPECT_EQ(parsed.commands[0].line, 2);
}

TEST(ScenarioParse, LockScreenLinesAreCheckedAgainstTheWholeFile) {
  const std::string text =
      "boot\n"
      "publish m1 com.apple.MobileSMS title=Hi date=2026-12-09T08:05\n"
      "publish m1 com.apple.MobileSMS title=Hi date=2026-12-09T09:00\n"
      "publish m1 com.apple.MobileSMS title=Other\n"
      "publish m2 com.apple.MobileSMS date=2026-13-01T08:00\n"
      "publish m3 com.apple.MobileSMS date=tomorrow\n"
      "publish m4 title=NoApp\n"
      "publish m5 com.apple.MobileSMS colour=red\n"
      "withdraw nosuch\n"
      "expect lockscreen m1 typo\n"
      "open nc m1\n"
      "nc show\n"
      "nc show\n"
      "open nc m1\n"
      "nc hide\n"
      "unlock\n"
      "open lockscreen m1\n"
      "lock\n"
      "open lockscreen m1\n"
      "open home m1\n"
      "show lockscreen now\n"
      "expect played\n";
  ParsedScenario parsed = parseScenario(text, "l.scenario");
  const char* expected[] = {
      "l.scenario:4: bulletin m1 was published with other contents on line 2",
      "l.scenario:5: bad date \"2026-13-01T08:00\"",
      "l.scenario:6: bad date \"tomorrow\"",
      "l.scenario:7: \"title=NoApp\" must be an application's bundle identifier",
      "l.scenario:8: \"colour=red\" must be title=T",
      "l.scenario:9: unknown bulletin ID \"nosuch\"",
      "l.scenario:10: unknown bulletin ID \"typo\"",
      "l.scenario:11: Notification Center is not shown here",
      "l.scenario:13: Notification Center is already shown",
      "l.scenario:15: Notification Center is not shown here",
      "l.scenario:17: the lock screen is not shown here",
      "l.scenario:20: \"home\" must be lockscreen or nc",
      "l.scenario:21: usage: show lockscreen",
      "l.scenario:22: usage: expect played ID",
  };
  ASSERT_EQ(parsed.errors.size(), std::size(expected)) << ::testing::PrintToString(parsed.errors);
  for (std::size_t i = 0; i < std::size(expected); ++i)
    EXPECT_EQ(parsed.errors[i].rfind(expected[i], 0), 0u) << parsed.errors[i];
}

TEST(ScenarioRun, WhatOnlyRunningShowsFailsTheCommand) {
  PhoneOptions options;
  options.extension = TARROW8_EXTENSION;
  Phone phone(options);
  std::ostringstream out;
  ScenarioRunner runner(phone, out, "r.scenario");
  // A respring request the checker cannot follow puts Notification Center away; the row opened
  // was withdrawn; the second publish of m1 goes out at the prompt, where no whole file is seen.
  ParsedScenario parsed = parseScenario(
      "settings enabled=true\nboot\npublish m1 com.apple.MobileSMS\nnc show\n"
      "post distributed net.vornel.tarrow8/respring\nopen nc m1\nwithdraw m1\n"
      "open lockscreen m1\nwithdraw m1\n",
      "r.scenario");
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front();
  EXPECT_EQ(runner.runAll(parsed.commands), 4);
  std::vector<std::string> errors;
  auto again = parseLine("publish m1 com.apple.MobileSMS title=changed", "input", 10, errors);
  ASSERT_TRUE(again.has_value());
  EXPECT_FALSE(runner.run(*again));
  for (const char* text : {
           "r.scenario:6: Notification Center is not shown (use nc show)",
           "r.scenario:7: no application has bulletin m1 published",
           "r.scenario:8: the lock screen shows no bulletin m1",
           "r.scenario:9: no application has bulletin m1 published",
           "r.scenario:10: bulletin m1 was published before with other contents",
       }) {
    EXPECT_NE(out.str().find(text), std::string::npos) << text << "\n" << out.str();
  }
}

TEST(ScenarioParse, ShowsBadTextSafelyAndStopsListingAfterTwenty) {
  std::string text =
      "\xEF\xBB\xBF"
      "boot\n";             // a byte-order mark before the first command
  text += "jump\x1b[2J\n";  // an escape sequence that clears the screen
  text += "echo \"" + std::string(1'000'000, 'x') + "\n";  // an unclosed quote on a long line
  text += "wait " + std::string(1'000'000, '7') + "x\n";
  for (int i = 0; i < 30; ++i) text += "nosuch\n";
  ParsedScenario parsed = parseScenario(text, "s.scenario");
  ASSERT_EQ(parsed.commands.size(), 1u);
  EXPECT_EQ(parsed.commands[0].name, "boot") << "the mark is not part of the first word";
  EXPECT_EQ(parsed.errorCount, 33u);
  ASSERT_EQ(parsed.errors.size(), kMaxListedErrors);
  EXPECT_EQ(parsed.errors[0],
            "s.scenario:2: unknown command \"jump\\x1b[2J\" (tarrow8-sim --commands "
            "lists them)");
  EXPECT_EQ(parsed.errors[1], "s.scenario:3: a quoted text is not closed (add the closing \")");
  const std::string& longLine = parsed.errors[2];
  EXPECT_LE(longLine.size(), kMaxShownBytes + 40) << "a long word is cut, not repeated";
  EXPECT_EQ(longLine.rfind("s.scenario:4: duration \"7777", 0), 0u) << longLine;
  EXPECT_NE(longLine.find(" bytes cut]…"), std::string::npos) << longLine;
  EXPECT_NE(longLine.find("has an unknown unit \"x\": use ns, us, ms, s, m or h"),
            std::string::npos)
      << "the hint at the end survives the cut: " << longLine;
}

TEST(ScenarioParse, RefusesBinaryTextWithOneError) {
  std::string binary(
      "boot\n\x7f"
      "ELF\x02\x01\x01\0\0\0\0\n",
      17);
  ParsedScenario parsed = parseScenario(binary, "a.out");
  EXPECT_TRUE(parsed.commands.empty());
  ASSERT_EQ(parsed.errors.size(), 1u);
  EXPECT_EQ(parsed.errorCount, 1u);
  EXPECT_EQ(parsed.errors[0].rfind("a.out: this looks like a binary file, not a scenario", 0), 0u)
      << parsed.errors[0];
}

TEST(ScenarioParse, HelpShowsEachFormOfOneCommand) {
  auto post = commandHelp("post");
  ASSERT_TRUE(post.has_value());
  EXPECT_EQ(*post,
            "  post darwin NAME\n"
            "  post distributed NAME [KEY=VALUE...]\n"
            "    post a Darwin notification, or a distributed one with string user info\n");
  auto expect = commandHelp("expect");
  ASSERT_TRUE(expect.has_value());
  EXPECT_NE(expect->find("  expect launches N"), std::string::npos) << *expect;
  EXPECT_NE(expect->find("  expect log \"TEXT\""), std::string::npos) << *expect;
  EXPECT_FALSE(commandHelp("jump").has_value());
  auto names = commandNames();
  EXPECT_EQ(names.front(), "boot");
  for (const auto& name : names) EXPECT_TRUE(commandHelp(name).has_value()) << name;
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

TEST(ScenarioRun, TheTranscriptSaysWhatEachCommandDid) {
  PhoneOptions options;
  options.extension = TARROW8_EXTENSION;
  Phone phone(options);
  std::ostringstream out;
  ScenarioRunner runner(phone, out, "t.scenario");
  const std::string oversized(5 << 20, 'x');  // past the reader's 4 MiB cap
  ParsedScenario parsed = parseScenario(
      "show log\nboot\nshow settings\nlock\nwake\nwrite-file /var/mobile/note \"hi\\n\"\n"
      "expect launches 3\nsettings big=\"" +
          oversized + "\"\necho \"\x1b[31mred\"\n",
      "t.scenario");
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front();
  EXPECT_EQ(runner.runAll(parsed.commands), 1);
  const std::pair<const char*, const char*> said[] = {
      {"show log", "] show log\n    (empty)\n"},
      {"show settings", "    loaded settings: {} (no keys)\n"},
      {"wake", "] wake\n    display on; device locked\n"},
      {"write-file", "    wrote 3 bytes to /var/mobile/note\n"},
      {"expect launches", "expected launches 3, but SpringBoard was launched once\n"},
      {"settings",
       "    warning: the extension cannot read the file written: "
       "/var/mobile/Library/Preferences/net.vornel.tarrow8.plist: file is "},
      {"echo's stamp", "] echo \"\\x1b[31mred\"\n"},
  };
  for (const auto& [command, text] : said) {
    EXPECT_NE(out.str().find(text), std::string::npos) << command << ":\n"
                                                       << out.str().substr(0, 2000);
  }
  EXPECT_LT(out.str().size(), 4000u) << "the oversized value is not printed whole";
}

}  // namespace
}  // namespace sim
