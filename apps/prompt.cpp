#include "apps/prompt.h"

#include <poll.h>
#include <unistd.h>

#include <iostream>
#include <sstream>

#include "platform/dispatch/run_loop.h"
#include "sim/scenario.h"
#include "sim/scenario_source.h"

namespace simulator {
namespace {

constexpr int kExitFailed = 1;
constexpr int kExitPageNotWritten = 2;
constexpr const char* kListHint = "help lists them";

// Whether a line (or the end of input) is waiting on standard input.
bool inputWaiting() {
  if (std::cin.rdbuf()->in_avail() > 0) return true;  // already read from the descriptor
  pollfd input{STDIN_FILENO, POLLIN, 0};
  return poll(&input, 1, 0) > 0;
}

std::vector<std::string> wordsOf(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

void printHelp(const std::vector<std::string>& words, std::ostream& out) {
  if (words.size() == 1) {
    out << sim::scenarioCommandSummary()
        << "\n  help COMMAND shows one command's forms; save-html FILE writes the steps so far as"
           " a page;\n  quit (or Ctrl-D) ends the session\n";
  } else if (auto help = sim::commandHelp(words[1])) {
    out << *help;
  } else {
    out << "no command \"" << sim::displayText(words[1]) << "\" (" << kListHint << ")\n";
  }
}

}  // namespace

std::vector<std::string> promptCompletions(const std::string& beforeCursor) {
  std::vector<std::string> words = wordsOf(beforeCursor);
  bool startingWord =
      beforeCursor.empty() || beforeCursor.back() == ' ' || beforeCursor.back() == '\t';
  std::string start = startingWord ? "" : words.back();
  std::size_t position = words.size() - (startingWord ? 0 : 1);
  std::vector<std::string> pool;
  if (position == 0) {
    pool = sim::commandNames();
    pool.insert(pool.end(), {"help", "save-html", "quit"});
  } else if (position == 1 && words[0] == "help") {
    pool = sim::commandNames();
  }
  std::vector<std::string> matches;
  for (const auto& word : pool) {
    if (word.rfind(start, 0) == 0) matches.push_back(word);
  }
  return matches;
}

namespace {

// Writes the page of the steps so far to `path` (save-html); says where, or why it could not.
void savePage(const sim::HtmlPage& page, const std::string& path, std::ostream& out) {
  sim::PageFile file;
  std::string error = file.open(path);
  if (error.empty()) error = file.write(page.text());
  if (!error.empty()) {
    out << error << "\n";
    return;
  }
  out << "page of " << sim::countOf(page.stepCount(), "step", "steps") << " written to "
      << sim::displayText(path) << "\n";
}

}  // namespace

int runPrompt(sim::Phone& phone, LineSource& lines, std::ostream& out, bool live,
              sim::PageFile* pageFile) {
  sim::ScenarioRunner runner(phone, out, "input");
  // Every step is drawn as it runs, so that save-html can write the steps typed before it.
  sim::HtmlPage page("input");
  runner.setStepObserver(page.observer(phone));
  out << "Type commands (\"help\" lists them, \"help COMMAND\" shows one, \"quit\" ends). "
         "Start with: boot\n";
  std::size_t run = 0, failed = 0, notUnderstood = 0;
  auto untilTyping = [] { platform::RunLoop::main().runLive([] { return !inputWaiting(); }); };
  for (int number = 1;; ++number) {
    out.flush();
    auto line = lines.next("tarrow8> ", live ? std::function<void()>(untilTyping) : nullptr);
    if (!line) break;
    std::vector<std::string> words = wordsOf(*line);
    if (words.empty()) continue;
    lines.remember(*line);
    if (words[0] == "quit" || words[0] == "exit") break;
    if (words[0] == "help") {
      printHelp(words, out);
      continue;
    }
    if (words[0] == "save-html") {
      if (words.size() == 2) {
        savePage(page, words[1], out);
      } else {
        out << "usage: save-html FILE\n";
      }
      continue;
    }
    std::vector<std::string> errors;
    auto command = sim::parseLine(*line, "input", number, errors, kListHint);
    for (const auto& e : errors) out << e << "\n";
    if (!command) {
      if (!errors.empty()) ++notUnderstood;
      continue;
    }
    ++run;
    if (!runner.run(*command)) ++failed;
  }
  out << "\nsession: " << sim::countOf(run, "command", "commands") << " run, "
      << (failed == 0 ? "all passed" : sim::withThousands(failed) + " failed");
  if (notUnderstood > 0)
    out << "; " << sim::countOf(notUnderstood, "line", "lines") << " not understood";
  out << "\n";
  if (pageFile) {
    std::string error = pageFile->write(page.text());
    if (!error.empty()) {
      std::cerr << "tarrow8-sim: " << error << "\n";
      return kExitPageNotWritten;
    }
  }
  return failed == 0 ? 0 : kExitFailed;
}

}  // namespace simulator
