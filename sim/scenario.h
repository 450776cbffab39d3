#pragma once
// Scenario files: one command per line, checked whole before anything runs, then run against a
// phone while a transcript is printed. docs/scenarios.md is the language's reference.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "sim/phone.h"

namespace sim {

// One parsed line: its number, the command word and its arguments (quotes removed).
struct Command {
  int line = 0;
  std::string name;
  std::vector<std::string> args;
};

// The result of reading a scenario: its commands, or the errors that stop it from running, each
// "FILE:LINE: what is wrong" with the text shown safe for a terminal.
struct ParsedScenario {
  std::vector<Command> commands;
  // The first errors found (at most kMaxListedErrors of scenario_source.h).
  std::vector<std::string> errors;
  // How many errors were found in all.
  std::size_t errorCount = 0;
};

// Parses and checks `text` (named `file` in messages): unknown commands, missing or extra
// arguments, bad durations, values and expectations are all reported, with a hint. A leading
// byte-order mark is skipped; text that looks binary is refused with one error.
ParsedScenario parseScenario(const std::string& text, const std::string& file);

// Parses and checks one line (numbered `line`); nothing when it is blank or a comment.
// `listHint` tells an unknown command where the commands are listed.
std::optional<Command> parseLine(const std::string& text, const std::string& file, int line,
                                 std::vector<std::string>& errors,
                                 const std::string& listHint = "tarrow8-sim --commands lists them");

// What one command did, as a watcher of the run sees it once the command has run.
struct Step {
  const Command& command;
  // Everything the transcript showed while it ran, the stamped command line first; lines the
  // phone logged count when they went to the same stream.
  std::string printed;
  bool ok = true;  // false when it failed (an unmet expectation or a refused action)
};
// Told of each step right after it ran, before the next one starts.
using StepObserver = std::function<void(const Step&)>;

// Runs commands against a phone, printing the transcript to `out`.
class ScenarioRunner {
 public:
  ScenarioRunner(Phone& phone, std::ostream& out, std::string file);

  // From now on `observer` hears of every command run (none: nobody does). The transcript
  // stays what it is.
  void setStepObserver(StepObserver observer) { observer_ = std::move(observer); }

  // Runs one command. Returns false when it failed (an unmet expectation or an action the phone
  // refused); the reason is printed as "FILE:LINE: ...".
  bool run(const Command& command);
  // Runs every command; returns the number that failed.
  int runAll(const std::vector<Command>& commands);

 private:
  // What the screens showed before a command, to report what it changed.
  struct ScreenState {
    std::vector<std::string> lockScreen;
    std::vector<std::string> notificationCenter;
    std::size_t deliveries = 0;
    std::size_t openings = 0;
  };
  void stamp(const Command& command);
  ScreenState screenState() const;
  void reportChanges(const ScreenState& before);
  bool perform(const Command& command);

  Phone& phone_;
  std::ostream& out_;
  std::string file_;
  StepObserver observer_;
};

// A one-page summary of the commands, for --help and the interactive "help".
std::string scenarioCommandSummary();

// The forms of one command and what it does (for the interactive "help COMMAND"), or nothing
// when there is no such command.
std::optional<std::string> commandHelp(const std::string& name);

// The names of every command, in the order the summary lists them.
std::vector<std::string> commandNames();

}  // namespace sim
