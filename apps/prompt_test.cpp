// The prompt on a phone: help, errors that point to it, completion, and the closing summary with
// its exit status.

#include "apps/prompt.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>
#include <sstream>

namespace simulator {
namespace {

// Lines given in advance, as if typed one after the other.
class ScriptedLines : public LineSource {
 public:
  explicit ScriptedLines(std::deque<std::string> lines) : lines_(std::move(lines)) {}
  std::optional<std::string> next(const std::string&, const std::function<void()>&) override {
    if (lines_.empty()) return std::nullopt;
    std::string line = lines_.front();
    lines_.pop_front();
    return line;
  }
  void remember(const std::string& line) override { remembered.push_back(line); }
  std::vector<std::string> remembered;

 private:
  std::deque<std::string> lines_;
};

class PromptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::PhoneOptions options;
    options.extension = TARROW8_EXTENSION;
    phone_ = std::make_unique<sim::Phone>(options);
  }
  // Runs the lines at the prompt; returns the exit status and keeps the transcript.
  int type(std::deque<std::string> lines) {
    ScriptedLines source(std::move(lines));
    int status = runPrompt(*phone_, source, out_, false);
    remembered_ = source.remembered;
    return status;
  }
  bool said(const std::string& text) const { return out_.str().find(text) != std::string::npos; }

  std::unique_ptr<sim::Phone> phone_;
  std::ostringstream out_;
  std::vector<std::string> remembered_;
};

TEST_F(PromptTest, TheSummaryCountsWhatRanAndTheStatusMatchesIt) {
  EXPECT_EQ(type({"boot", "expect launches 1", "expect launches 2", "jump", "", "quit", "boot"}),
            1);
  EXPECT_TRUE(said("input:3: expected launches 2, but SpringBoard was launched once"));
  EXPECT_TRUE(said("input:4: unknown command \"jump\" (help lists them)")) << out_.str();
  EXPECT_TRUE(said("\nsession: 3 commands run, 1 failed; 1 line not understood\n")) << out_.str();
  EXPECT_FALSE(said("already running")) << "nothing runs after quit";
  EXPECT_EQ(remembered_, (std::vector<std::string>{"boot", "expect launches 1", "expect launches 2",
                                                   "jump", "quit"}))
      << "blank lines stay out of the history";
}

TEST_F(PromptTest, ASessionWhereEverythingHeldExitsWithZero) {
  EXPECT_EQ(type({"boot"}), 0);
  EXPECT_TRUE(said("\nsession: 1 command run, all passed\n")) << out_.str();
  out_.str("");
  EXPECT_EQ(type({}), 0);
  EXPECT_TRUE(said("\nsession: 0 commands run, all passed\n")) << out_.str();
}

TEST_F(PromptTest, HelpListsTheCommandsOrShowsTheFormsOfOne) {
  type({"help", "help wait", "help nosuch"});
  EXPECT_TRUE(said("  respring  ")) << "the list of every command";
  EXPECT_TRUE(said("help COMMAND shows one command's forms"));
  EXPECT_TRUE(said("  wait DURATION\n    let time pass")) << out_.str();
  EXPECT_TRUE(said("no command \"nosuch\" (help lists them)"));
  EXPECT_TRUE(said("session: 0 commands run")) << "help is not a command of the phone";
}

TEST_F(PromptTest, SaveHtmlWritesThePageOfTheStepsSoFar) {
  std::string page = ::testing::TempDir() + "prompt-page-" + std::to_string(getpid()) + ".html";
  type({"boot", "expect launches 1", "save-html " + page, "save-html", "save-html /nonexistent/p"});
  EXPECT_TRUE(said("page of 2 steps written to " + page)) << out_.str();
  EXPECT_TRUE(said("usage: save-html FILE\n"));
  EXPECT_TRUE(said("cannot write the page to /nonexistent/p: No such file or directory\n"));
  EXPECT_TRUE(said("session: 2 commands run, all passed")) << "save-html is not a command";
  std::ifstream in(page);
  std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("id=\"step-2\""), std::string::npos);
  EXPECT_EQ(html.find("id=\"step-3\""), std::string::npos);
  std::remove(page.c_str());
}

TEST(PromptCompletion, CompletesCommandNamesAndTheWordAfterHelp) {
  using Words = std::vector<std::string>;
  const std::pair<const char*, Words> cases[] = {
      {"res", {"respring"}},
      {"w", {"wake", "wait", "write-file", "writable", "withdraw"}},
      {"help e", {"echo", "expect"}},
      {"  unl", {"unlock"}},
      {"respring ", {}},
      {"show fl", {}},
      {"qu", {"quit"}},
      {"sav", {"save-html"}},
      {"nosuch", {}},
  };
  for (const auto& [line, words] : cases) EXPECT_EQ(promptCompletions(line), words) << line;
  EXPECT_GT(promptCompletions("").size(), 10u) << "every command, at the start of a line";
}

}  // namespace
}  // namespace simulator
