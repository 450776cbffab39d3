// tarrow8-sim: a simulated phone running SpringBoard with the Tarrow8 extension, driven by a
// scenario file, the built-in tour, or commands typed at a prompt.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "apps/ending_signals.h"
#include "apps/line_editor.h"
#include "apps/prompt.h"
#include "sim/html_page.h"
#include "sim/phone.h"
#include "sim/scenario.h"
#include "sim/scenario_source.h"
#include "sim/tour.h"

namespace {

using sim::countOf;
using sim::displayText;

constexpr int kExitFailed = 1;
constexpr int kExitBadInput = 2;

// Lines typed at a terminal, edited with libedit.
class EditedLines : public simulator::LineSource {
 public:
  EditedLines() : editor_("tarrow8-sim", simulator::promptCompletions) {}
  std::optional<std::string> next(const std::string& prompt,
                                  const std::function<void()>& untilTyping) override {
    return editor_.readLine(prompt, untilTyping);
  }
  void remember(const std::string& line) override { editor_.remember(line); }

 private:
  simulator::LineEditor editor_;
};

// Lines read from standard input when it is not a terminal (no prompt is shown).
class PlainLines : public simulator::LineSource {
 public:
  std::optional<std::string> next(const std::string&,
                                  const std::function<void()>& untilTyping) override {
    if (untilTyping) untilTyping();
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    return line;
  }
};

// The scenario to run: the file's text, standard input or the tour; nothing (after saying why
// on standard error) when the file cannot be read.
std::optional<std::string> scenarioText(const std::string& scenario) {
  if (scenario.empty()) return sim::tourScenario();
  if (scenario == "-") {
    std::ostringstream in;
    in << std::cin.rdbuf();
    return in.str();
  }
  sim::ScenarioSource source = sim::readScenarioFile(scenario);
  if (!source.text) {
    std::cerr << "tarrow8-sim: cannot read scenario file " << displayText(scenario) << ": "
              << source.error << "\n";
  }
  return source.text;
}

}  // namespace

int main(int argc, char** argv) {
  simulator::catchEndingSignals();   // before any other thread starts
  std::ios::sync_with_stdio(false);  // lets the live prompt see lines std::cin has buffered
  CLI::App app{
      "tarrow8-sim: a simulated iOS 8 phone running SpringBoard with the Tarrow8 extension.\n\n"
      "It boots a phone under a device root with both deliverables installed the way the phone\n"
      "has them (the extension loaded into SpringBoard, the settings pane into the Settings\n"
      "app), and runs a scenario: one command per line that locks and unlocks the phone, posts\n"
      "notifications, swipes rows and taps the actions menu, sets reminders, lets time pass,\n"
      "changes settings in the Settings app's pane (or writes the file directly), shows what\n"
      "the screens and the extension's stores hold, and checks them with `expect` lines. Time\n"
      "is virtual: `wait 1h` is exact and instant. With no scenario the built-in tour runs.\n\n"
      "Examples:\n"
      "  tarrow8-sim                                  run the built-in tour\n"
      "  tarrow8-sim scenarios/settings_pane.scenario run a scenario file\n"
      "  tarrow8-sim -i --device-root ./phone         type commands; keep the files in ./phone\n"
      "  tarrow8-sim --html tour.html                 the tour as a page of the phone's screens\n"
      "  tarrow8-sim --time-zone Europe/Berlin --locale de_DE --start \"2026-12-24 18:00\" FILE\n\n"
      "At the prompt (-i) lines can be edited and recalled with the arrow keys, Tab completes\n"
      "command names, \"help COMMAND\" shows one command's forms, and \"save-html FILE\" writes\n"
      "the steps so far as a page.\n"
      "--commands lists the scenario commands; docs/scenarios.md describes the language.\n"
      "Exit status: 0 when every expectation held, 1 when one failed, 2 when the scenario or an\n"
      "option is wrong.",
      "tarrow8-sim"};
  sim::PhoneOptions options;
  std::string scenario;
  bool typeCommands = false;
  bool checkOnly = false;
  bool listCommands = false;
  app.add_option("scenario", scenario, "Scenario file to run (\"-\" reads standard input)");
  app.add_flag("-i,--interactive", typeCommands, "Read commands from a prompt instead of a file");
  app.add_option(
      "--device-root", options.deviceRoot,
      "Folder for the device's files, kept between runs (default: a fresh temporary folder)");
  app.add_option("--locale", options.locale, "Device locale, e.g. en_US, de_DE")
      ->capture_default_str();
  app.add_option("--time-zone", options.timeZone, "Device time zone, e.g. UTC, America/New_York")
      ->capture_default_str();
  app.add_option("--start", options.startTime, "Device time at start, \"YYYY-MM-DD HH:MM[:SS]\"")
      ->capture_default_str();
  app.add_option("--package", options.package,
                 "The device package to install: both deliverables laid out as on the phone "
                 "(default: the package folder beside this program)");
  app.add_option("--extension", options.extension,
                 "A tweak library to install instead of the package's");
  app.add_flag(
      "--live", options.live,
      "Follow the wall clock: time passes by itself and `wait` really waits (ignores --start)");
  std::string htmlPath;
  app.add_option("--html", htmlPath,
                 "Also write the run as one HTML page: every step with the phone's screen after "
                 "it (opens at the first failure)");
  app.add_flag("--check", checkOnly, "Only check the scenario for errors; run nothing");
  app.add_flag("--commands", listCommands, "List the scenario commands and exit");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help exits 0; every wrong option exits 2, as the help says.
    return app.exit(e) == 0 ? 0 : kExitBadInput;
  }

  if (listCommands) {
    std::cout << "Scenario commands:\n" << sim::scenarioCommandSummary();
    return 0;
  }
  if (typeCommands && !scenario.empty()) {
    std::cerr << "tarrow8-sim: give a scenario file or --interactive, not both\n";
    return kExitBadInput;
  }

  std::string name = scenario.empty() ? "tour" : scenario == "-" ? "stdin" : scenario;
  sim::ParsedScenario parsed;
  if (!typeCommands) {
    auto text = scenarioText(scenario);
    if (!text) return kExitBadInput;
    parsed = sim::parseScenario(*text, name);
    if (parsed.errorCount > 0) {
      for (const auto& e : parsed.errors) std::cerr << e << "\n";
      if (parsed.errorCount > parsed.errors.size())
        std::cerr << sim::moreErrorsLine(parsed.errorCount - parsed.errors.size()) << "\n";
      std::cerr << "tarrow8-sim: " << countOf(parsed.errorCount, "error", "errors")
                << "; nothing was run\n";
      return kExitBadInput;
    }
    if (parsed.commands.empty()) {
      std::cerr << "tarrow8-sim: " << displayText(name)
                << " holds no command (only blank lines and comments); nothing to run\n";
      return kExitBadInput;
    }
    if (checkOnly) {
      std::cout << displayText(name) << ": "
                << countOf(parsed.commands.size(), "command", "commands") << ", no errors\n";
      return 0;
    }
  }

  // A page that cannot be written is known before anything runs.
  sim::PageFile pageFile;
  if (!htmlPath.empty()) {
    std::string error = pageFile.open(htmlPath);
    if (!error.empty()) {
      std::cerr << "tarrow8-sim: " << error << "; nothing was run\n";
      return kExitBadInput;
    }
  }

  try {
    std::optional<sim::Phone> phone;
    {
      // A signal from here on removes a temporary device root before it ends the program.
      simulator::EndingSignalsHeld held;
      phone.emplace(options);
      if (options.deviceRoot.empty()) {
        simulator::onEndingSignal([root = phone->root()] {
          std::error_code ignored;
          std::filesystem::remove_all(root, ignored);
        });
      }
    }
    phone->setLogListener([](const std::string& process, const std::string& message) {
      std::cout << "    log   " << process << ": " << displayText(message, sim::kMaxShownLogBytes)
                << "\n";
    });
    phone->setCrashListener([](const std::string& process, const std::string& what) {
      std::cout << "    crash " << process << ": " << displayText(what) << "\n";
    });
    std::cout << "Tarrow8 simulator: locale " << options.locale << ", time zone "
              << options.timeZone << ", device time " << phone->localTime() << "\n"
              << "device root " << phone->root().string() << "\n\n";
    sim::PageFile* page = htmlPath.empty() ? nullptr : &pageFile;
    if (typeCommands) {
      if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
        EditedLines lines;
        return simulator::runPrompt(*phone, lines, std::cout, options.live, page);
      }
      PlainLines lines;
      return simulator::runPrompt(*phone, lines, std::cout, options.live, page);
    }
    sim::ScenarioRunner runner(*phone, std::cout, name);
    sim::HtmlPage html(name);
    if (page) runner.setStepObserver(html.observer(*phone));
    int failures = runner.runAll(parsed.commands);
    std::cout << "\n"
              << displayText(name) << ": " << countOf(parsed.commands.size(), "command", "commands")
              << ", " << (failures == 0 ? "all passed" : sim::withThousands(failures) + " failed")
              << "\n";
    if (page) {
      std::cout.flush();
      std::string error = page->write(html.text());
      if (!error.empty()) {
        std::cerr << "tarrow8-sim: " << error << "\n";
        return kExitBadInput;
      }
      std::cerr << "tarrow8-sim: page written to " << displayText(htmlPath) << "\n";
    }
    return failures == 0 ? 0 : kExitFailed;
  } catch (const std::exception& e) {
    std::cerr << "tarrow8-sim: " << e.what() << "\n";
    return kExitBadInput;
  }
}
