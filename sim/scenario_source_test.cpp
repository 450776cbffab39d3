// Reading scenario files and showing their text back: escapes, cuts, counts, binary files and
// byte-order marks.

#include "sim/scenario_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace sim {
namespace {

namespace fs = std::filesystem;

TEST(ScenarioSource, DisplayTextEscapesWhatATerminalWouldActOn) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain words, \"quotes\" and \\", "plain words, \"quotes\" and \\"},
      {"tab\there\r\n", "tab\\there\\r\\n"},
      {"\x1b[31mred\x1b[0m", "\\x1b[31mred\\x1b[0m"},
      {std::string("nul\0bell\a del\x7f", 14), "nul\\x00bell\\x07 del\\x7f"},
      {"caf\xC3\xA9 \xE2\x9C\x93", "caf\xC3\xA9 \xE2\x9C\x93"},  // UTF-8 stays as it is
      {"\xC2\x9B"
       "2J",
       "\\u009b2J"},  // C1 control sequence start
      {"abc\xE2\x80\xAE"
       "fed",
       "abc\\u202efed"},                             // right-to-left override
      {"bad \xFF\xC3 end", "bad \\xff\\xc3 end"},    // not UTF-8
      {"\xC0\xAF overlong", "\\xc0\\xaf overlong"},  // overlong encoding of '/'
      {"\xED\xA0\x80 surrogate", "\\xed\\xa0\\x80 surrogate"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(displayText(text), shown) << shown;
}

TEST(ScenarioSource, DisplayTextCutsTheMiddleOfLongText) {
  std::string text = "start " + std::string(1000, 'x') + " end";
  std::string shown = displayText(text, 60);
  EXPECT_EQ(shown,
            "start " + std::string(34, 'x') + "…[950 bytes cut]…" + std::string(16, 'x') + " end");
  EXPECT_EQ(displayText(std::string(60, 'y'), 60), std::string(60, 'y')) << "at the limit: whole";
  // A cut never splits a character: "é" is two bytes.
  std::string accents;
  for (int i = 0; i < 100; ++i) accents += "\xC3\xA9";
  shown = displayText(accents, 31);
  EXPECT_EQ(shown.find("\\x"), std::string::npos) << shown;
  EXPECT_EQ(shown.rfind("\xC3\xA9\xC3\xA9", 0), 0u);
}

TEST(ScenarioSource, CountsReadAsNumbersWithSeparators) {
  EXPECT_EQ(withThousands(0), "0");
  EXPECT_EQ(withThousands(999), "999");
  EXPECT_EQ(withThousands(26395), "26,395");
  EXPECT_EQ(withThousands(1234567), "1,234,567");
  EXPECT_EQ(countOf(1, "command", "commands"), "1 command");
  EXPECT_EQ(countOf(0, "command", "commands"), "0 commands");
  EXPECT_EQ(countOf(1500, "error", "errors"), "1,500 errors");
  EXPECT_EQ(moreErrorsLine(1), "… and 1 more error");
  EXPECT_EQ(moreErrorsLine(26395), "… and 26,395 more errors");
}

TEST(ScenarioSource, BinaryFilesAreToldFromText) {
  EXPECT_FALSE(looksBinary(""));
  EXPECT_FALSE(looksBinary("boot\r\nwait 5s\t# tabs, CRLF\f\n"));
  EXPECT_FALSE(looksBinary("echo \"\x1b[1mbold\x1b[0m\"\n")) << "a few escapes in text";
  EXPECT_TRUE(looksBinary(std::string("boot\n\0", 6))) << "a NUL byte";
  EXPECT_TRUE(looksBinary("\x01\x02\x03\x04 abcdefgh\x05\x06")) << "mostly control bytes";
  // Only the first 8 KiB are looked at.
  EXPECT_FALSE(looksBinary(std::string(8192, 'a') + std::string(1, '\0')));
}

TEST(ScenarioSource, AByteOrderMarkIsSkipped) {
  EXPECT_EQ(withoutByteOrderMark("\xEF\xBB\xBF"
                                 "boot\n"),
            "boot\n");
  EXPECT_EQ(withoutByteOrderMark("boot\n"), "boot\n");
  EXPECT_EQ(withoutByteOrderMark("\xEF\xBB"), "\xEF\xBB") << "half a mark is text";
}

TEST(ScenarioSource, FilesThatCannotBeReadSayWhy) {
  fs::path folder = fs::temp_directory_path() / ("tarrow8-source-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "ok.scenario", std::ios::binary) << "boot\n";
  const std::pair<fs::path, std::string> failures[] = {
      {folder, "Is a directory"},
      {folder / "missing.scenario", "No such file or directory"},
      {folder / "ok.scenario" / "below", "Not a directory"},
  };
  for (const auto& [path, reason] : failures) {
    ScenarioSource source = readScenarioFile(path.string());
    EXPECT_FALSE(source.text.has_value()) << path;
    EXPECT_EQ(source.error, reason) << path;
  }
  ScenarioSource ok = readScenarioFile((folder / "ok.scenario").string());
  EXPECT_EQ(ok.text, "boot\n");
  EXPECT_EQ(ok.error, "");
  ScenarioSource empty = readScenarioFile("/dev/null");
  EXPECT_EQ(empty.text, "") << "a device with nothing in it reads as empty text";
  fs::remove_all(folder);
}

}  // namespace
}  // namespace sim
