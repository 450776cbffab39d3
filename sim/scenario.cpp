#include "sim/scenario.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "platform/springboard/delivery_log.h"
#include "sim/command_family.h"
#include "sim/scenario_source.h"
#include "sim/screens.h"
#include "sim/text_screens.h"

namespace sim {
namespace {

using platform::springboard::DeliveryLog;

const CommandRule* findCommand(const std::string& name) {
  for (const CommandFamily* family : commandFamilies()) {
    for (const CommandRule& rule : family->commands) {
      if (name == rule.name) return &rule;
    }
  }
  return nullptr;
}

// The `show` or `expect` form named `name`, or null.
const SubRule* findSubRule(bool expectation, const std::string& name) {
  for (const CommandFamily* family : commandFamilies()) {
    for (const SubRule& rule : expectation ? family->expectations : family->shows) {
      if (name == rule.name) return &rule;
    }
  }
  return nullptr;
}

// "a, b or c" of the forms of `show` or `expect`.
std::string subRuleNames(bool expectation) {
  std::vector<std::string> names;
  for (const CommandFamily* family : commandFamilies()) {
    for (const SubRule& rule : expectation ? family->expectations : family->shows)
      names.push_back(rule.name);
  }
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i)
    out += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return out;
}

// Checks `show` and `expect` lines, whose first word picks the form.
std::string checkSubRule(bool expectation, const std::vector<Word>& args) {
  const char* command = expectation ? "expect" : "show";
  const SubRule* rule = findSubRule(expectation, args[0].text);
  if (!rule) {
    return std::string("unknown ") + (expectation ? "expectation" : "screen") + " \"" +
           args[0].text + "\"; " + command + " takes " + subRuleNames(expectation);
  }
  return rule->check ? rule->check(args) : "";
}

const CommandRule& showRule() {
  static const CommandRule rule{"show",
                                "show WHAT",
                                "print a screen or what the phone holds",
                                1,
                                kAnyCount,
                                [](const std::vector<Word>& a) { return checkSubRule(false, a); },
                                [](RunContext& c) { return findSubRule(false, c.arg(0))->run(c); }};
  return rule;
}

const CommandRule& expectRule() {
  static const CommandRule rule{"expect",
                                "expect WHAT ...",
                                "check something; a failed expectation makes the run exit 1",
                                1,
                                kAnyCount,
                                [](const std::vector<Word>& a) { return checkSubRule(true, a); },
                                [](RunContext& c) { return findSubRule(true, c.arg(0))->run(c); }};
  return rule;
}

const CommandRule* findRule(const std::string& name) {
  if (name == "show") return &showRule();
  if (name == "expect") return &expectRule();
  return findCommand(name);
}

// While it lives, everything written to `out` still goes there and is also kept, for the step
// observer; the stream gets its own buffer back at the end.
class CopiedOutput : public std::streambuf {
 public:
  explicit CopiedOutput(std::ostream& out) : out_(out), original_(out.rdbuf(this)) {}
  ~CopiedOutput() override { out_.rdbuf(original_); }
  CopiedOutput(const CopiedOutput&) = delete;
  CopiedOutput& operator=(const CopiedOutput&) = delete;
  const std::string& copy() const { return copy_; }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    copy_.push_back(traits_type::to_char_type(c));
    return original_->sputc(traits_type::to_char_type(c));
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    copy_.append(s, static_cast<std::size_t>(n));
    return original_->sputn(s, n);
  }
  int sync() override { return original_->pubsync(); }

 private:
  std::ostream& out_;
  std::streambuf* original_;
  std::string copy_;
};

}  // namespace

std::pair<std::string, bool> unquote(const std::string& arg) {
  std::size_t at = arg.find('\x01');
  if (at == std::string::npos) return {arg, false};
  return {arg.substr(0, at) + arg.substr(at + 1), true};
}

void RunContext::say(const std::string& line) const {
  out << "    " << line << "\n";
}

bool RunContext::fail(const std::string& why) const {
  out << file_ << ":" << command_.line << ": " << why << "\n";
  return false;
}

bool RunContext::check(bool ok, const std::string& expected, const std::string& actual) const {
  if (!ok) return fail("expected " + expected + ", but " + actual);
  say("ok: " + expected);
  return true;
}

bool RunContext::requireSpringBoard() const {
  return phone.springBoardRunning() ||
         fail("SpringBoard is not running: put `boot` before this line");
}

std::vector<const CommandFamily*> commandFamilies() {
  return {&deviceCommands(), &lockScreenCommands(), &actionCommands(), &settingsAppCommands()};
}

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
    if (auto command = parseLine(std::string(body.substr(0, end)), file, number, errors))
      parsed.commands.push_back(std::move(*command));
    body.remove_prefix(std::min(end + 1, body.size()));
  }
  for (const CommandFamily* family : commandFamilies()) {
    if (family->checkScenario) family->checkScenario(parsed.commands, file, errors);
  }
  // Errors in line order, the first ones listed and the rest only counted.
  std::stable_sort(errors.begin(), errors.end(), [&](const std::string& a, const std::string& b) {
    auto lineOf = [&](const std::string& e) {
      return std::strtol(e.c_str() + std::min(e.size(), file.size() + 1), nullptr, 10);
    };
    return lineOf(a) < lineOf(b);
  });
  parsed.errorCount = errors.size();
  for (auto& e : errors) {
    if (parsed.errors.size() < kMaxListedErrors) parsed.errors.push_back(displayText(e));
  }
  return parsed;
}

ScenarioRunner::ScenarioRunner(Phone& phone, std::ostream& out, std::string file)
    : phone_(phone), out_(out), file_(std::move(file)) {}

void ScenarioRunner::stamp(const Command& command) {
  std::ostringstream line;
  line << command.name;
  for (const std::string& arg : command.args) {
    // A quoted word is shown quoted from where its quote began ("title=\"Two words\"").
    std::size_t quoteAt = arg.find('\x01');
    auto [text, quoted] = unquote(arg);
    std::string shown;
    std::string before = quoted ? text.substr(0, std::min(quoteAt, text.size())) : text;
    std::string inside = quoted ? text.substr(before.size()) : "";
    shown = displayText(before);
    if (quoted) {
      shown += '"';
      for (char c : displayText(inside)) shown += c == '"' ? "\\\"" : std::string(1, c);
      shown += '"';
    }
    line << ' ' << shown;
  }
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%+9.3fs", phone_.elapsed());
  out_ << "[" << elapsed << "] " << line.str() << "\n";
}

ScenarioRunner::ScreenState ScenarioRunner::screenState() const {
  ScreenState state;
  if (auto lock = lockScreenShot()) state.lockScreen = rowIDs(lock->rows);
  if (auto center = notificationCenterShot()) state.notificationCenter = rowIDs(center->rows);
  state.deliveries = DeliveryLog::shared().deliveryCount();
  state.openings = DeliveryLog::shared().openings().size();
  return state;
}

void ScenarioRunner::reportChanges(const ScreenState& before) {
  ScreenState after = screenState();
  auto list = [](const std::vector<std::string>& ids) {
    std::string out;
    for (const auto& id : ids)
      out += (out.empty() ? "" : ", ") + (id.empty() ? "(no bulletin)" : id);
    return out.empty() ? "(empty)" : out;
  };
  const auto& openings = DeliveryLog::shared().openings();
  for (std::size_t i = before.openings; i < openings.size(); ++i) {
    out_ << "    opened " << applicationName(openings[i].sectionID) << " from the "
         << openings[i].from << " (" << openings[i].bulletinID << ")\n";
  }
  for (const auto& delivery : DeliveryLog::shared().deliveriesSince(before.deliveries))
    out_ << "    " << describeDelivery(delivery) << "\n";
  if (after.lockScreen != before.lockScreen)
    out_ << "    lock screen now: " << list(after.lockScreen) << "\n";
  if (after.notificationCenter != before.notificationCenter)
    out_ << "    Notification Center now: " << list(after.notificationCenter) << "\n";
}

bool ScenarioRunner::run(const Command& command) {
  std::optional<CopiedOutput> copied;
  if (observer_) copied.emplace(out_);
  stamp(command);
  int launchesBefore = phone_.launchCount();
  ScreenState before = screenState();
  bool ok = perform(command);
  if (phone_.launchCount() != launchesBefore) {
    out_ << "    SpringBoard " << (launchesBefore == 0 ? "launched" : "relaunched") << " (launch "
         << phone_.launchCount() << ")\n";
    for (const auto& e : phone_.loaderErrors()) out_ << "    loader: " << e << "\n";
  }
  if (command.name != "show" && command.name != "expect") reportChanges(before);
  if (observer_) {
    std::string printed = copied->copy();
    copied.reset();
    observer_(Step{command, std::move(printed), ok});
  }
  return ok;
}

bool ScenarioRunner::perform(const Command& command) {
  RunContext context(phone_, out_, file_, command);
  try {
    return findRule(command.name)->run(context);
  } catch (const std::exception& e) {
    return context.fail(e.what());
  }
}

int ScenarioRunner::runAll(const std::vector<Command>& commands) {
  int failures = 0;
  for (const Command& c : commands) {
    if (!run(c)) ++failures;
  }
  return failures;
}

std::optional<std::string> commandHelp(const std::string& name) {
  const CommandRule* rule = findRule(name);
  if (!rule) return std::nullopt;
  std::ostringstream out;
  auto form = [&](const std::string& usage, const char* summary) {
    out << "  " << usage << "\n    " << summary << "\n";
  };
  if (name == "show" || name == "expect") {
    for (const CommandFamily* family : commandFamilies()) {
      for (const SubRule& sub : name == "show" ? family->shows : family->expectations)
        form(sub.usage, sub.summary);
    }
    return out.str();
  }
  // "nc show | nc hide | nc clear APP" is three forms, one a line.
  std::string usage = rule->usage;
  for (std::size_t bar; (bar = usage.find(" | ")) != std::string::npos;) {
    out << "  " << usage.substr(0, bar) << "\n";
    usage.erase(0, bar + 3);
  }
  form(usage, rule->summary);
  return out.str();
}

std::vector<std::string> commandNames() {
  std::vector<std::string> names;
  for (const CommandFamily* family : commandFamilies()) {
    for (const CommandRule& rule : family->commands) names.emplace_back(rule.name);
  }
  names.emplace_back("show");
  names.emplace_back("expect");
  return names;
}

std::string scenarioCommandSummary() {
  std::ostringstream out;
  auto line = [&](const std::string& usage, const char* summary) {
    out << "  " << usage
        << (usage.size() < 34 ? std::string(34 - usage.size(), ' ') : "\n" + std::string(36, ' '))
        << summary << "\n";
  };
  for (const CommandFamily* family : commandFamilies()) {
    out << family->title << ":\n";
    for (const CommandRule& rule : family->commands) line(rule.usage, rule.summary);
    for (const SubRule& rule : family->shows) line(rule.usage, rule.summary);
    for (const SubRule& rule : family->expectations) line(rule.usage, rule.summary);
    out << "\n";
  }
  return out.str();
}

}  // namespace sim
