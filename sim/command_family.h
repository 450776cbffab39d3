#pragma once
// A family of scenario commands (device and settings, lock screen and Notification Center, ...):
// each command's usage, its static checks and how it runs, together with the family's `show`
// screens and `expect` forms. The scenario runner only finds the rule and dispatches to it.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "sim/phone.h"
#include "sim/scenario.h"
#include "sim/scenario_values.h"

namespace sim {

// The argument text without its quote marker, and whether it was written in quotes.
std::pair<std::string, bool> unquote(const std::string& arg);

// What a running command sees: the phone, the transcript and its own arguments.
class RunContext {
 public:
  RunContext(Phone& phone, std::ostream& out, const std::string& file, const Command& command)
      : phone(phone), out(out), file_(file), command_(command) {}

  Phone& phone;
  std::ostream& out;

  const Command& command() const { return command_; }
  std::size_t argCount() const { return command_.args.size(); }
  // Argument `i` as written, without quotes.
  std::string arg(std::size_t i) const { return unquote(command_.args[i]).first; }
  // Whether argument `i` was written in quotes.
  bool quoted(std::size_t i) const { return unquote(command_.args[i]).second; }

  // Prints one indented transcript line.
  void say(const std::string& line) const;
  // Reports that the command failed ("FILE:LINE: why") and returns false.
  bool fail(const std::string& why) const;
  // Reports an expectation: "ok: expected" when it holds, else a failure naming what was found.
  bool check(bool ok, const std::string& expected, const std::string& actual) const;
  // True when SpringBoard runs; otherwise reports that `boot` is missing and returns false.
  bool requireSpringBoard() const;

 private:
  const std::string& file_;
  const Command& command_;
};

// Checks a command's words before anything runs; returns "" or what is wrong.
using WordCheck = std::function<std::string(const std::vector<Word>&)>;
// Runs a command; returns false when it failed (after reporting why).
using CommandRun = std::function<bool(RunContext&)>;

struct CommandRule {
  const char* name;
  const char* usage;
  const char* summary;
  std::size_t minArgs;
  std::size_t maxArgs;  // kAnyCount: any number
  WordCheck check;      // may be empty
  CommandRun run;
};

// A form of `show` or `expect`, chosen by the first word after it. Its check sees every word
// after `show`/`expect`, the selecting word first.
struct SubRule {
  const char* name;
  const char* usage;
  const char* summary;
  WordCheck check;  // may be empty
  CommandRun run;
};

// Checks that need the whole scenario (an ID used before it is published, ...); appends
// "FILE:LINE: what is wrong" messages to `errors`.
using ScenarioCheck =
    std::function<void(const std::vector<Command>& commands, const std::string& file,
                       std::vector<std::string>& errors)>;

struct CommandFamily {
  const char* title;
  std::vector<CommandRule> commands;
  std::vector<SubRule> shows;
  std::vector<SubRule> expectations;
  ScenarioCheck checkScenario;  // may be empty
};

inline constexpr std::size_t kAnyCount = static_cast<std::size_t>(-1);

// The families, in the order `--commands` lists them.
const CommandFamily& deviceCommands();
const CommandFamily& lockScreenCommands();
const CommandFamily& actionCommands();
const CommandFamily& settingsAppCommands();
std::vector<const CommandFamily*> commandFamilies();

}  // namespace sim
