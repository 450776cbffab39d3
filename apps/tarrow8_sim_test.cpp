// tarrow8-sim run as a user runs it: what it says and how it exits for scenario files it cannot
// use and options it does not know, that a signal leaves no temporary device root behind, and
// the page --html writes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

namespace fs = std::filesystem;

// One run of the program: what it printed and how it ended.
struct Outcome {
  std::string out, err;
  int exitCode = -1;  // -1 when a signal ended it
  int signal = 0;
};

// A started program whose standard streams are pipes.
class Child {
 public:
  Child(const std::vector<std::string>& args, const fs::path& tmpdir) {
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0), dup2(out[1], 1), dup2(err[1], 2);
      for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
      setenv("TMPDIR", tmpdir.c_str(), 1);
      std::vector<char*> argv{const_cast<char*>(TARROW8_SIM)};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(TARROW8_SIM, argv.data());
      _exit(127);
    }
    close(in[0]), close(out[1]), close(err[1]);
    in_ = in[1], out_ = out[0], err_ = err[0];
  }
  ~Child() {
    for (int fd : {in_, out_, err_}) {
      if (fd >= 0) close(fd);
    }
  }

  void write(const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
      ssize_t n = ::write(in_, text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
  }
  void closeInput() { close(std::exchange(in_, -1)); }

  // Reads what the program prints until `text` appears on standard output or it closes it.
  bool readUntil(const std::string& text) {
    while (outcome_.out.find(text) == std::string::npos) {
      if (!pump(5000)) return false;
    }
    return true;
  }
  // Waits for the end, collecting everything printed.
  Outcome finish() {
    while (out_ >= 0 || err_ >= 0) pump(-1);
    int status = 0;
    waitpid(pid_, &status, 0);
    if (WIFEXITED(status)) outcome_.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome_.signal = WTERMSIG(status);
    return outcome_;
  }
  pid_t pid() const { return pid_; }

 private:
  // Reads from whichever output is ready; false once both are closed or nothing came in time.
  bool pump(int timeoutMs) {
    pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    if (poll(fds, 2, timeoutMs) <= 0) return false;
    std::string* into[2] = {&outcome_.out, &outcome_.err};
    int* fd[2] = {&out_, &err_};
    for (int i = 0; i < 2; ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[65536];
      ssize_t n = read(*fd[i], buffer, sizeof buffer);
      if (n > 0) {
        into[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(std::exchange(*fd[i], -1));
      }
    }
    return out_ >= 0 || err_ >= 0;
  }

  pid_t pid_ = -1;
  int in_ = -1, out_ = -1, err_ = -1;
  Outcome outcome_;
};

class SimulatorProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tarrow8-program-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "tmp");
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path file(const std::string& name, const std::string& contents) {
    std::ofstream(folder_ / name, std::ios::binary) << contents;
    return folder_ / name;
  }
  Outcome run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"--extension", TARROW8_EXTENSION});
    Child child(args, folder_ / "tmp");
    child.write(input);
    child.closeInput();
    return child.finish();
  }
  // What is left in the folder the program makes its temporary device roots in.
  std::size_t leftInTmp() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_ / "tmp"), {}));
  }

  fs::path folder_;
};

struct BadInputCase {
  const char* name;
  std::vector<std::string> args;
  const char* message;  // expected in standard error
};

TEST_F(SimulatorProgramTest, ScenariosThatCannotRunAreRefusedWithTheReason) {
  fs::path comments = file("comments.scenario", "# nothing but a comment\n\n   \n");
  fs::path binary = file("binary.scenario", std::string("\x7f"
                                                        "ELF\x02\x01\x01\0\0\0",
                                                        10) +
                                                std::string(100000, '\x01'));
  fs::path missing = folder_ / "missing.scenario";
  const BadInputCase cases[] = {
      {"a directory", {folder_.string()}, ": Is a directory"},
      {"a missing file", {missing.string()}, "cannot read scenario file "},
      {"an empty device", {"/dev/null"}, "/dev/null holds no command"},
      {"only comments", {comments.string()}, "holds no command (only blank lines and comments)"},
      {"a binary file", {binary.string()}, "this looks like a binary file, not a scenario"},
  };
  for (const auto& c : cases) {
    Outcome o = run(c.args);
    EXPECT_EQ(o.exitCode, 2) << c.name;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << c.name << ": " << o.err;
    EXPECT_LT(o.err.size(), 1000u) << c.name << ": one short message";
    EXPECT_EQ(o.out.find("all passed"), std::string::npos) << c.name;
  }
  EXPECT_NE(run({missing.string()}).err.find(": No such file or directory"), std::string::npos);
  EXPECT_EQ(leftInTmp(), 0u) << "nothing was set up for input that cannot run";
}

TEST_F(SimulatorProgramTest, EveryWrongOptionExitsWithTwo) {
  const std::vector<std::string> wrong[] = {
      {"--nosuch"},         {"-x"},
      {"--locale"},         {"a.scenario", "b.scenario"},
      {"-i", "a.scenario"}, {"--locale", "xx_NOWHERE", file("ok.scenario", "boot\n").string()},
  };
  for (const auto& args : wrong) {
    Outcome o = run(args);
    EXPECT_EQ(o.exitCode, 2) << ::testing::PrintToString(args) << o.err;
    EXPECT_FALSE(o.err.empty()) << ::testing::PrintToString(args);
  }
  Outcome help = run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("2 when the scenario or an\noption is wrong"), std::string::npos);
}

TEST_F(SimulatorProgramTest, BadLinesAreShownEscapedCutAndCounted) {
  std::string text = "jump\x1b]0;owned\x07\n";
  text += "wait " + std::string(10'000'000, '9') + "h\n";
  for (int i = 0; i < 26'413; ++i) text += "nosuch\n";
  Outcome o = run({file("bad.scenario", text).string()});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err.find('\x1b'), std::string::npos) << "no escape sequence reaches the terminal";
  EXPECT_NE(o.err.find("bad.scenario:1: unknown command \"jump\\x1b]0;owned\\x07\""),
            std::string::npos);
  EXPECT_NE(o.err.find("is too long: the longest is 87840h"), std::string::npos);
  EXPECT_NE(o.err.find("… and 26,395 more errors\n"), std::string::npos);
  EXPECT_NE(o.err.find("tarrow8-sim: 26,415 errors; nothing was run"), std::string::npos);
  EXPECT_LT(o.err.size(), 10'000u) << "not the 10 MB line, not every error";
}

TEST_F(SimulatorProgramTest, AByteOrderMarkIsNotPartOfTheFirstCommand) {
  Outcome o = run({file("bom.scenario",
                        "\xEF\xBB\xBF"
                        "boot\nexpect launches 1\n")
                       .string()});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(o.out.find("bom.scenario: 2 commands, all passed"), std::string::npos) << o.out;
  Outcome check = run({"--check", (folder_ / "bom.scenario").string()});
  EXPECT_NE(check.out.find("2 commands, no errors"), std::string::npos) << check.out;
}

TEST_F(SimulatorProgramTest, EndingSignalsRemoveTheTemporaryDeviceRoot) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    Child child({"--extension", TARROW8_EXTENSION, "-i"}, folder_ / "tmp");
    child.write("boot\nsettings enabled=true\n");
    ASSERT_TRUE(child.readUntil("settings file rewritten")) << strsignal(signal);
    ASSERT_EQ(leftInTmp(), 1u) << "the device root is in use";
    kill(child.pid(), signal);
    Outcome o = child.finish();
    EXPECT_EQ(o.signal, signal) << "ended by the signal, as the shell expects: " << o.err;
    EXPECT_EQ(leftInTmp(), 0u) << strsignal(signal);
  }
}

// How many steps a page written by --html or save-html holds.
std::size_t stepsInPage(const fs::path& page) {
  std::ifstream in(page);
  std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t steps = 0;
  for (std::size_t at = 0; (at = html.find("<li class=\"step", at)) != std::string::npos; ++at)
    ++steps;
  return html.rfind("<!DOCTYPE html>", 0) == 0 ? steps : 0;
}

// The transcript without the line naming the temporary device root, which differs per run.
std::string withoutDeviceRoot(const std::string& out) {
  std::size_t at = out.find("device root ");
  return at == std::string::npos ? out : out.substr(0, at) + out.substr(out.find('\n', at));
}

TEST_F(SimulatorProgramTest, APageThatCannotBeWrittenStopsTheRunBeforeItStarts) {
  fs::path scenario = file("ok.scenario", "boot\nexpect launches 1\n");
  fs::create_directories(folder_ / "a folder");
  for (const fs::path& page : {folder_ / "missing" / "page.html", folder_ / "a folder"}) {
    Outcome o = run({"--html", page.string(), scenario.string()});
    EXPECT_EQ(o.exitCode, 2) << page;
    EXPECT_NE(o.err.find("tarrow8-sim: cannot write the page to " + page.string() + ": "),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("; nothing was run"), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "") << "no phone was set up and no command ran";
  }
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
  EXPECT_EQ(leftInTmp(), 0u);
}

TEST_F(SimulatorProgramTest, APageHoldsEveryStepAndChangesNothingInTheTranscript) {
  fs::path scenario = file("page.scenario",
                           "settings enabled=true\nboot\npublish m1 com.apple.MobileSMS title=A\n"
                           "swipe lockscreen m1\ntap T\nexpect sheet\n");
  Outcome plain = run({scenario.string()});
  Outcome paged = run({"--html", (folder_ / "page.html").string(), scenario.string()});
  EXPECT_EQ(plain.exitCode, 1) << "the sheet is shown: the last line fails";
  EXPECT_EQ(paged.exitCode, plain.exitCode);
  EXPECT_EQ(withoutDeviceRoot(paged.out), withoutDeviceRoot(plain.out));
  EXPECT_EQ(stepsInPage(folder_ / "page.html"), 6u);
  EXPECT_NE(paged.err.find("page written to"), std::string::npos) << paged.err;
}

TEST_F(SimulatorProgramTest, ThePromptsPageHoldsTheSessionsSteps) {
  fs::path early = folder_ / "early.html", whole = folder_ / "whole.html";
  Outcome o = run({"-i", "--html", whole.string()},
                  "boot\nsave-html " + early.string() + "\nexpect launches 1\nquit\n");
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(o.out.find("page of 1 step written to " + early.string()), std::string::npos) << o.out;
  EXPECT_EQ(stepsInPage(early), 1u) << "the steps typed before save-html";
  EXPECT_EQ(stepsInPage(whole), 2u) << "--html: the whole session, at its end";
}

}  // namespace
