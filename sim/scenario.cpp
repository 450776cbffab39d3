#include "sim/scenario.h"

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <sstream>

#include "platform/foundation/nslog.h"
#include "sim/scenario_source.h"
#include "sim/scenario_values.h"

namespace sim {
namespace {

using platform::plist::Value;

// What a command accepts, checked before a scenario runs.
struct CommandRule {
  const char* name;
  const char* usage;
  const char* summary;
  std::size_t minArgs;
  std::size_t maxArgs;  // SIZE_MAX: any number
  // Further checks of the arguments; returns "" or what is wrong.
  std::function<std::string(const std::vector<Word>&)> check;
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

const char* const kFlagNames[] = {"deviceLocked",
                                  "enabled",
                                  "mirrorNotificationCenter",
                                  "includeNotificationCenter",
                                  "enableNotificationActions",
                                  "saveForUnlock",
                                  "saveForNotificationCenter",
                                  "manualRemoval",
                                  "enableAllApps",
                                  "gracePeriodOver"};
const char* const kStoreNames[] = {"keptItems", "removedBulletinIDs", "reminders"};

bool isOneOf(const std::string& word, std::initializer_list<const char*> options) {
  for (const char* o : options) {
    if (word == o) return true;
  }
  return false;
}

template <std::size_t N>
bool isOneOf(const std::string& word, const char* const (&options)[N]) {
  for (const char* o : options) {
    if (word == o) return true;
  }
  return false;
}

std::string joined(std::initializer_list<const char*> options) {
  std::string out;
  for (const char* o : options) out += (out.empty() ? "" : ", ") + std::string(o);
  return out;
}

template <std::size_t N>
std::string joined(const char* const (&options)[N]) {
  std::string out;
  for (const char* o : options) out += (out.empty() ? "" : ", ") + std::string(o);
  return out;
}

std::string checkBool(const std::string& word) {
  return isOneOf(word, {"true", "false"}) ? "" : "\"" + word + "\" must be true or false";
}

std::string checkCount(const std::string& word) {
  if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) {
    return "\"" + word + "\" must be a whole number";
  }
  return "";
}

std::string checkDevicePath(const std::string& word) {
  return !word.empty() && word[0] == '/'
             ? ""
             : "\"" + word + "\" must be an absolute device path such as /var/mobile/x.plist";
}

// KEY=VALUE words: returns "" or what is wrong with the first bad one.
std::string checkAssignments(const std::vector<Word>& words, std::size_t from,
                             bool valuesAreStrings) {
  for (std::size_t i = from; i < words.size(); ++i) {
    const Word& w = words[i];
    std::size_t eq = w.text.find('=');
    if (eq == std::string::npos || eq == 0 || (w.quoteAt != std::string::npos && w.quoteAt < eq)) {
      return "\"" + w.text + "\" must be KEY=VALUE";
    }
    if (valuesAreStrings) continue;
    std::string error;
    if (!parseValue(w.text.substr(eq + 1), w.quoteAt != std::string::npos, &error)) return error;
  }
  return "";
}

const std::vector<CommandRule>& commandRules() {
  static const std::vector<CommandRule> rules = {
      {"boot", "boot", "launch SpringBoard; the installed extension loads first", 0, 0, nullptr},
      {"respring", "respring", "relaunch SpringBoard: memory is gone, files stay", 0, 0, nullptr},
      {"lock", "lock", "lock the device (lock state 1 is posted)", 0, 0, nullptr},
      {"unlock", "unlock", "unlock the device (lock state 0 is posted)", 0, 0, nullptr},
      {"wake", "wake", "turn the display on without unlocking", 0, 0, nullptr},
      {"wait", "wait DURATION", "let time pass, e.g. wait 250ms, wait 5s, wait 2m, wait 1h", 1, 1,
       [](const std::vector<Word>& a) { return durationProblem(a[0].text); }},
      {"settings", "settings KEY=VALUE...",
       "change keys in the settings file as the settings pane does, then post its notification", 1,
       kAny, [](const std::vector<Word>& a) { return checkAssignments(a, 0, false); }},
      {"unset", "unset KEY...", "remove keys from the settings file, then post its notification", 1,
       kAny, nullptr},
      {"write-file", "write-file PATH TEXT",
       "write TEXT (quoted, with \\n escapes) as the whole file at PATH", 2, 2,
       [](const std::vector<Word>& a) { return checkDevicePath(a[0].text); }},
      {"delete-file", "delete-file PATH", "delete the file at PATH", 1, 1,
       [](const std::vector<Word>& a) { return checkDevicePath(a[0].text); }},
      {"post", "post darwin NAME | post distributed NAME [KEY=VALUE...]",
       "post a Darwin notification, or a distributed one with string user info", 2, kAny,
       [](const std::vector<Word>& a) -> std::string {
         if (a[0].text == "darwin")
           return a.size() == 2 ? "" : "a Darwin notification carries a name only";
         if (a[0].text == "distributed") return checkAssignments(a, 2, true);
         return "\"" + a[0].text + "\" must be darwin or distributed";
       }},
      {"show", "show flags|stores|settings|state|time|log|file PATH", "print what the phone holds",
       1, 2,
       [](const std::vector<Word>& a) -> std::string {
         if (a[0].text == "file")
           return a.size() == 2 ? checkDevicePath(a[1].text) : "show file needs a PATH";
         if (a.size() != 1 ||
             !isOneOf(a[0].text, {"flags", "stores", "settings", "state", "time", "log"})) {
           return "show takes one of " +
                  joined({"flags", "stores", "settings", "state", "time", "log", "file PATH"});
         }
         return "";
       }},
      {"expect", "expect WHAT ...", "fail the run unless the phone shows this (see the list below)",
       2, 3,
       [](const std::vector<Word>& a) -> std::string {
         const std::string& what = a[0].text;
         if (what == "flag") {
           if (a.size() != 3) return "usage: expect flag NAME true|false";
           if (!isOneOf(a[1].text, kFlagNames))
             return "unknown flag \"" + a[1].text + "\"; flags: " + joined(kFlagNames);
           return checkBool(a[2].text);
         }
         if (what == "count") {
           if (a.size() != 3) return "usage: expect count STORE N";
           if (!isOneOf(a[1].text, kStoreNames))
             return "unknown store \"" + a[1].text + "\"; stores: " + joined(kStoreNames);
           return checkCount(a[2].text);
         }
         if (what == "launches")
           return a.size() == 2 ? checkCount(a[1].text) : "usage: expect launches N";
         if (what == "running")
           return a.size() == 2 ? checkBool(a[1].text) : "usage: expect running true|false";
         if (what == "file") {
           if (a.size() != 3 || !isOneOf(a[2].text, {"exists", "missing"}))
             return "usage: expect file PATH exists|missing";
           return checkDevicePath(a[1].text);
         }
         if (what == "setting" || what == "loaded") {
           if (a.size() != 3)
             return "usage: expect " + what + " KEY VALUE (VALUE may be \"absent\")";
           std::string error;
           if (a[2].text != "absent" &&
               !parseValue(a[2].text, a[2].quoteAt != std::string::npos, &error))
             return error;
           return "";
         }
         if (what == "log") return a.size() == 2 ? "" : "usage: expect log \"TEXT\"";
         return "unknown expectation \"" + what +
                "\"; use flag, count, launches, running, file, setting, loaded or log";
       }},
      {"echo", "echo TEXT...", "print a line into the transcript", 0, kAny, nullptr},
  };
  return rules;
}

const CommandRule* findRule(const std::string& name) {
  for (const auto& rule : commandRules()) {
    if (name == rule.name) return &rule;
  }
  return nullptr;
}

// "never launched", "launched once", "launched 3 times".
std::string launchedText(int n) {
  if (n == 0) return "never launched";
  return n == 1 ? "launched once" : "launched " + std::to_string(n) + " times";
}

// The extension's snapshot, reshaped for lookups.
const Value* stateEntry(const std::optional<Value>& state, const char* key) {
  return state ? state->find(key) : nullptr;
}

}  // namespace

std::optional<Command> parseLine(const std::string& text, const std::string& file, int line,
                                 std::vector<std::string>& errors, const std::string& listHint) {
  auto where = file + ":" + std::to_string(line) + ": ";
  std::string error;
  auto words = splitWords(text, &error);
  if (!words) {
    errors.push_back(displayText(where + error));
    return std::nullopt;
  }
  if (words->empty()) return std::nullopt;
  Command command{line, (*words)[0].text, {}};
  std::vector<Word> args(words->begin() + 1, words->end());
  const CommandRule* rule = findRule(command.name);
  if (!rule) {
    errors.push_back(
        displayText(where + "unknown command \"" + command.name + "\" (" + listHint + ")"));
    return std::nullopt;
  }
  if (args.size() < rule->minArgs || args.size() > rule->maxArgs) {
    errors.push_back(displayText(
        where + (args.size() < rule->minArgs ? "missing argument" : "too many arguments") +
        "; usage: " + rule->usage));
    return std::nullopt;
  }
  if (rule->check) {
    std::string problem = rule->check(args);
    if (!problem.empty()) {
      errors.push_back(displayText(where + problem));
      return std::nullopt;
    }
  }
  for (Word& w : args) {
    // A value written in quotes keeps a marker so that "42" stays a string when run.
    if (w.quoteAt != std::string::npos) w.text.insert(w.quoteAt, 1, '\x01');
    command.args.push_back(std::move(w.text));
  }
  return command;
}

ParsedScenario parseScenario(const std::string& text, const std::string& file) {
  ParsedScenario parsed;
  std::string_view body = withoutByteOrderMark(text);
  if (looksBinary(body)) {
    parsed.errors.push_back(displayText(file) +
                            ": this looks like a binary file, not a scenario (a scenario is text, "
                            "one command per line)");
    parsed.errorCount = 1;
    return parsed;
  }
  std::vector<std::string> errors;
  for (int number = 1; !body.empty(); ++number) {
    std::size_t end = std::min(body.find('\n'), body.size());
    errors.clear();
    if (auto command = parseLine(std::string(body.substr(0, end)), file, number, errors))
      parsed.commands.push_back(std::move(*command));
    parsed.errorCount += errors.size();
    for (auto& e : errors) {
      if (parsed.errors.size() < kMaxListedErrors) parsed.errors.push_back(std::move(e));
    }
    body.remove_prefix(std::min(end + 1, body.size()));
  }
  return parsed;
}

namespace {

// Separates an argument from its quote marker: the text, and whether it was quoted.
std::pair<std::string, bool> unquote(const std::string& arg) {
  std::size_t at = arg.find('\x01');
  if (at == std::string::npos) return {arg, false};
  return {arg.substr(0, at) + arg.substr(at + 1), true};
}

std::pair<std::string, std::optional<Value>> assignment(const std::string& arg) {
  std::size_t eq = arg.find('=');
  auto [value, quoted] = unquote(arg.substr(eq + 1));
  return {arg.substr(0, eq), parseValue(value, quoted, nullptr)};
}

}  // namespace

ScenarioRunner::ScenarioRunner(Phone& phone, std::ostream& out, std::string file)
    : phone_(phone), out_(out), file_(std::move(file)) {}

void ScenarioRunner::stamp(const Command& command) {
  std::ostringstream line;
  line << command.name;
  for (const std::string& arg : command.args) {
    auto [text, quoted] = unquote(arg);
    std::string shown;
    for (char c : displayText(text)) shown += c == '"' && quoted ? "\\\"" : std::string(1, c);
    line << ' ' << (quoted || text.find(' ') != std::string::npos ? "\"" + shown + "\"" : shown);
  }
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%+9.3fs", phone_.elapsed());
  out_ << "[" << elapsed << "] " << line.str() << "\n";
}

bool ScenarioRunner::fail(const Command& command, const std::string& why) {
  out_ << file_ << ":" << command.line << ": " << why << "\n";
  return false;
}

bool ScenarioRunner::requireSpringBoard(const Command& command) {
  if (phone_.springBoardRunning()) return true;
  return fail(command, "SpringBoard is not running: put `boot` before this line");
}

void ScenarioRunner::show(const std::string& what, const Command& command) {
  if (what == "time") {
    out_ << "    device time " << phone_.localTime() << "\n";
    return;
  }
  if (what == "file") {
    std::string path = unquote(command.args[1]).first;
    if (!phone_.fileExists(path)) {
      out_ << "    " << path << ": no such file\n";
    } else if (auto contents = phone_.readPropertyList(path)) {
      out_ << "    " << path << ": " << formatValue(*contents) << "\n";
    } else {
      out_ << "    " << path << ": not a readable property list\n";
    }
    return;
  }
  if (what == "log") {
    if (platform::loggedLines().empty()) out_ << "    (empty)\n";
    for (const auto& e : platform::loggedLines())
      out_ << "    " << e.process << ": " << displayText(e.message, kMaxShownLogBytes) << "\n";
    return;
  }
  auto state = phone_.extensionState();
  if (!state) {
    out_ << "    (SpringBoard is not running or the extension is not loaded)\n";
    return;
  }
  if (what == "flags" || what == "state") {
    if (const Value* flags = stateEntry(state, "flags")) {
      for (const char* name : kFlagNames) {
        const Value* v = flags->find(name);
        out_ << "    " << name << std::string(28 - std::string(name).size(), ' ')
             << (v ? formatValue(*v) : "?") << "\n";
      }
    }
  }
  if (what == "stores" || what == "state") {
    for (const char* store : kStoreNames) {
      const Value* ids = stateEntry(state, store);
      const auto* list = ids ? ids->get<platform::plist::Array>() : nullptr;
      out_ << "    " << store << std::string(28 - std::string(store).size(), ' ')
           << (list ? list->size() : 0);
      if (list && !list->empty()) out_ << "  " << formatValue(*ids);
      out_ << "\n";
    }
  }
  if (what == "settings" || what == "state") {
    const Value* prefs = stateEntry(state, "preferences");
    bool empty = prefs && prefs->is<platform::plist::Dictionary>() &&
                 prefs->as<platform::plist::Dictionary>().empty();
    out_ << "    loaded settings: "
         << (!prefs  ? "none"
             : empty ? "{} (no keys)"
                     : formatValue(*prefs))
         << "\n";
  }
}

bool ScenarioRunner::run(const Command& command) {
  stamp(command);
  int launchesBefore = phone_.launchCount();
  bool ok = perform(command);
  if (phone_.launchCount() != launchesBefore) {
    out_ << "    SpringBoard " << (launchesBefore == 0 ? "launched" : "relaunched") << " (launch "
         << phone_.launchCount() << ")\n";
    for (const auto& e : phone_.loaderErrors()) out_ << "    loader: " << e << "\n";
  }
  return ok;
}

bool ScenarioRunner::perform(const Command& command) {
  const std::string& name = command.name;
  std::vector<std::string> args;
  for (const auto& a : command.args) args.push_back(a);
  try {
    if (name == "boot") {
      if (!phone_.boot())
        return fail(command, "SpringBoard is already running (use respring to relaunch it)");
    } else if (name == "respring") {
      if (!requireSpringBoard(command)) return false;
      phone_.respring();
    } else if (name == "lock" || name == "unlock" || name == "wake") {
      if (!requireSpringBoard(command)) return false;
      if (name == "lock")
        phone_.lock();
      else if (name == "unlock")
        phone_.unlock();
      else
        phone_.wake();
      out_ << "    " << (name == "wake" ? "display on; " : "") << "device "
           << (phone_.locked() ? "locked" : "unlocked") << "\n";
    } else if (name == "wait") {
      phone_.wait(*parseDuration(args[0]));
      out_ << "    device time " << phone_.localTime() << "\n";
    } else if (name == "settings" || name == "unset") {
      std::map<std::string, std::optional<Value>> changes;
      for (const auto& arg : args) {
        if (name == "unset")
          changes[unquote(arg).first] = std::nullopt;
        else
          changes.insert(assignment(arg));
      }
      std::string error = phone_.changeSettings(changes);
      if (!error.empty()) return fail(command, "cannot write the settings file: " + error);
      out_ << "    settings file rewritten; posted " << kPreferencesNotification << "\n";
      if (std::string refused = phone_.propertyListProblem(kSettingsFile); !refused.empty())
        out_ << "    warning: the extension cannot read the file written: " << refused << "\n";
    } else if (name == "write-file") {
      std::string contents = unquote(args[1]).first;
      std::string error = phone_.writeFile(unquote(args[0]).first, contents);
      if (!error.empty()) return fail(command, error);
      out_ << "    wrote " << countOf(contents.size(), "byte", "bytes") << " to "
           << unquote(args[0]).first << "\n";
    } else if (name == "delete-file") {
      phone_.deleteFile(unquote(args[0]).first);
    } else if (name == "post") {
      std::string notification = unquote(args[1]).first;
      if (args[0] == "darwin") {
        phone_.postDarwin(notification);
      } else {
        std::map<std::string, std::string> info;
        for (std::size_t i = 2; i < args.size(); ++i) {
          std::size_t eq = args[i].find('=');
          info[args[i].substr(0, eq)] = unquote(args[i].substr(eq + 1)).first;
        }
        phone_.postDistributed(notification, info);
      }
    } else if (name == "show") {
      show(args[0], command);
    } else if (name == "echo") {
      std::string text;
      for (const auto& a : args) text += (text.empty() ? "" : " ") + unquote(a).first;
      out_ << "    " << text << "\n";
    } else if (name == "expect") {
      return expect(command);
    }
  } catch (const std::exception& e) {
    return fail(command, e.what());
  }
  return true;
}

bool ScenarioRunner::expect(const Command& command) {
  const std::string& what = command.args[0];
  auto arg = [&](std::size_t i) { return unquote(command.args[i]).first; };
  auto check = [&](bool ok, const std::string& expected, const std::string& actual) {
    if (ok) {
      out_ << "    ok: " << expected << "\n";
      return true;
    }
    return fail(command, "expected " + expected + ", but " + actual);
  };
  if (what == "launches") {
    int n = std::stoi(arg(1));
    return check(phone_.launchCount() == n, "launches " + arg(1),
                 "SpringBoard was " + launchedText(phone_.launchCount()));
  }
  if (what == "running") {
    bool want = arg(1) == "true";
    return check(
        phone_.springBoardRunning() == want, std::string("running ") + arg(1),
        std::string("SpringBoard is ") + (phone_.springBoardRunning() ? "running" : "not running"));
  }
  if (what == "file") {
    bool want = arg(2) == "exists";
    bool exists = phone_.fileExists(arg(1));
    return check(exists == want, "file " + arg(1) + " " + arg(2),
                 exists ? "it exists" : "it is missing");
  }
  if (what == "log") {
    for (const auto& e : platform::loggedLines()) {
      if (e.message.find(arg(1)) != std::string::npos)
        return check(true, "log \"" + arg(1) + "\"", "");
    }
    return check(false, "a log line containing \"" + arg(1) + "\"", "none was logged");
  }
  if (what == "setting") {
    auto contents = phone_.readPropertyList(kSettingsFile);
    const Value* actual = contents ? contents->find(arg(1)) : nullptr;
    if (arg(2) == "absent") {
      return check(!actual, "setting " + arg(1) + " absent",
                   "it is " + (actual ? formatValue(*actual) : ""));
    }
    auto [text, quoted] = unquote(command.args[2]);
    auto want = parseValue(text, quoted, nullptr);
    return check(actual && *actual == *want, "setting " + arg(1) + " = " + formatValue(*want),
                 actual ? "it is " + formatValue(*actual)
                        : (contents ? "the key is absent" : "the settings file cannot be read"));
  }
  if (!requireSpringBoard(command)) return false;
  auto state = phone_.extensionState();
  if (!state) return fail(command, "the extension is not loaded");
  if (what == "flag") {
    const Value* flags = state->find("flags");
    const Value* v = flags ? flags->find(arg(1)) : nullptr;
    bool want = arg(2) == "true";
    return check(v && v->is<bool>() && v->as<bool>() == want, "flag " + arg(1) + " " + arg(2),
                 "it is " + (v ? formatValue(*v) : std::string("missing")));
  }
  if (what == "count") {
    const Value* ids = state->find(arg(1).c_str());
    const auto* list = ids ? ids->get<platform::plist::Array>() : nullptr;
    std::size_t n = list ? list->size() : 0;
    return check(n == std::stoul(arg(2)), "count " + arg(1) + " " + arg(2),
                 arg(1) + " holds " + std::to_string(n));
  }
  if (what == "loaded") {
    const Value* prefs = state->find("preferences");
    const Value* actual = prefs ? prefs->find(arg(1)) : nullptr;
    if (arg(2) == "absent") {
      return check(!actual, "loaded " + arg(1) + " absent",
                   "it is " + (actual ? formatValue(*actual) : ""));
    }
    auto [text, quoted] = unquote(command.args[2]);
    auto want = parseValue(text, quoted, nullptr);
    return check(actual && *actual == *want, "loaded " + arg(1) + " = " + formatValue(*want),
                 actual ? "it is " + formatValue(*actual) : "the key is absent");
  }
  return fail(command, "unknown expectation " + what);
}

int ScenarioRunner::runAll(const std::vector<Command>& commands) {
  int failures = 0;
  for (const Command& c : commands) {
    if (!run(c)) ++failures;
  }
  return failures;
}

namespace {

// The forms of `expect`, one a line, each with what makes it hold.
constexpr const char* kExpectations =
    "expect flag NAME true|false       a flag of the extension (show flags lists them)\n"
    "expect count STORE N              keptItems, removedBulletinIDs or reminders holds N\n"
    "expect launches N                 SpringBoard has been launched N times\n"
    "expect running true|false         SpringBoard is running\n"
    "expect file PATH exists|missing   a device file is there or not\n"
    "expect setting KEY VALUE|absent   the settings file holds KEY = VALUE\n"
    "expect loaded KEY VALUE|absent    the extension's loaded settings hold KEY = VALUE\n"
    "expect log \"TEXT\"                 some logged line contains TEXT\n";

// `text` with `indent` put before each of its lines.
std::string indented(const std::string& text, const std::string& indent) {
  std::string out;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) out += indent + line + "\n";
  return out;
}

}  // namespace

std::string scenarioCommandSummary() {
  std::ostringstream out;
  for (const auto& rule : commandRules()) {
    std::string usage = rule.usage;
    out << "  " << usage
        << (usage.size() < 34 ? std::string(34 - usage.size(), ' ') : "\n" + std::string(36, ' '))
        << rule.summary << "\n";
  }
  out << "\n  expectations:\n" << indented(kExpectations, "    ");
  return out.str();
}

std::optional<std::string> commandHelp(const std::string& name) {
  const CommandRule* rule = findRule(name);
  if (!rule) return std::nullopt;
  std::string forms;
  if (name == "expect") {
    forms = kExpectations;
  } else {
    // "post darwin NAME | post distributed NAME ..." is two forms, one a line.
    std::string usage = rule->usage;
    for (std::size_t bar; (bar = usage.find(" | ")) != std::string::npos;) {
      forms += usage.substr(0, bar) + "\n";
      usage.erase(0, bar + 3);
    }
    forms += usage + "\n";
  }
  std::string summary =
      name == "expect" ? "each fails the run unless the phone shows it" : rule->summary;
  return indented(forms, "  ") + "    " + summary + "\n";
}

std::vector<std::string> commandNames() {
  std::vector<std::string> names;
  for (const auto& rule : commandRules()) names.emplace_back(rule.name);
  return names;
}

}  // namespace sim
