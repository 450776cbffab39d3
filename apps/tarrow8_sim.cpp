// tarrow8-sim: a simulated phone running SpringBoard with the Tarrow8 extension, driven by a
// scenario file, the built-in tour, or commands typed at a prompt.

#include <poll.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/dispatch/run_loop.h"
#include "sim/phone.h"
#include "sim/scenario.h"
#include "sim/tour.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitBadInput = 2;

// Whether a line (or the end of input) is waiting on standard input.
bool inputWaiting() {
  if (std::cin.rdbuf()->in_avail() > 0) return true;  // already read from the descriptor
  pollfd input{STDIN_FILENO, POLLIN, 0};
  return poll(&input, 1, 0) > 0;
}

int interactive(sim::Phone& phone, bool live) {
  sim::ScenarioRunner runner(phone, std::cout, "input");
  bool tty = isatty(STDIN_FILENO);
  std::cout << "Type commands (\"help\" lists them, \"quit\" ends). Start with: boot\n";
  std::string line;
  int failures = 0;
  for (int number = 1;; ++number) {
    if (tty) std::cout << "tarrow8> " << std::flush;
    // A live phone keeps running its timers and deliveries while it waits for the next line.
    if (live) platform::RunLoop::main().runLive([] { return !inputWaiting(); });
    if (!std::getline(std::cin, line)) break;
    if (line == "quit" || line == "exit") break;
    if (line == "help") {
      std::cout << sim::scenarioCommandSummary();
      continue;
    }
    std::vector<std::string> errors;
    auto command = sim::parseLine(line, "input", number, errors);
    for (const auto& e : errors) std::cout << e << "\n";
    if (command && !runner.run(*command)) ++failures;
  }
  return failures == 0 ? 0 : kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);  // lets the live prompt see lines std::cin has buffered
  CLI::App app{
      "tarrow8-sim: a simulated iOS 8 phone running SpringBoard with the Tarrow8 extension.\n\n"
      "It boots a phone under a device root, loads the extension the way the hooking library\n"
      "does, and runs a scenario: one command per line that locks and unlocks the phone, lets\n"
      "time pass, writes the settings file as the settings pane would, posts notifications,\n"
      "shows the extension's flags and stores, and checks them with `expect` lines. Time is\n"
      "virtual: `wait 1h` is exact and instant. With no scenario the built-in tour runs.\n\n"
      "Examples:\n"
      "  tarrow8-sim                                  run the built-in tour\n"
      "  tarrow8-sim scenarios/settings.scenario      run a scenario file\n"
      "  tarrow8-sim -i --device-root ./phone         type commands; keep the files in ./phone\n"
      "  tarrow8-sim --time-zone Europe/Berlin --locale de_DE --start \"2026-12-24 18:00\" FILE\n\n"
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
  app.add_option("--extension", options.extension,
                 "The extension library to install (default: Tarrow8.dylib beside this program)");
  app.add_flag(
      "--live", options.live,
      "Follow the wall clock: time passes by itself and `wait` really waits (ignores --start)");
  app.add_flag("--check", checkOnly, "Only check the scenario for errors; run nothing");
  app.add_flag("--commands", listCommands, "List the scenario commands and exit");
  CLI11_PARSE(app, argc, argv);

  if (listCommands) {
    std::cout << "Scenario commands:\n" << sim::scenarioCommandSummary();
    return 0;
  }
  if (typeCommands && !scenario.empty()) {
    std::cerr << "tarrow8-sim: give a scenario file or --interactive, not both\n";
    return kExitBadInput;
  }

  std::string text;
  std::string name = "tour";
  if (!typeCommands) {
    if (scenario.empty()) {
      text = sim::tourScenario();
    } else if (scenario == "-") {
      std::ostringstream in;
      in << std::cin.rdbuf();
      text = in.str();
      name = "stdin";
    } else {
      std::ifstream in(scenario, std::ios::binary);
      if (!in) {
        std::cerr << "tarrow8-sim: cannot read scenario file " << scenario << "\n";
        return kExitBadInput;
      }
      std::ostringstream buffer;
      buffer << in.rdbuf();
      text = buffer.str();
      name = scenario;
    }
  }
  sim::ParsedScenario parsed;
  if (!typeCommands) {
    parsed = sim::parseScenario(text, name);
    if (!parsed.errors.empty()) {
      for (const auto& e : parsed.errors) std::cerr << e << "\n";
      std::cerr << "tarrow8-sim: " << parsed.errors.size() << " error(s); nothing was run\n";
      return kExitBadInput;
    }
    if (checkOnly) {
      std::cout << name << ": " << parsed.commands.size() << " commands, no errors\n";
      return 0;
    }
  }

  try {
    sim::Phone phone(options);
    phone.setLogListener([](const std::string& process, const std::string& message) {
      std::cout << "    log   " << process << ": " << message << "\n";
    });
    phone.setCrashListener([](const std::string& process, const std::string& what) {
      std::cout << "    crash " << process << ": " << what << "\n";
    });
    std::cout << "Tarrow8 simulator: locale " << options.locale << ", time zone "
              << options.timeZone << ", device time " << phone.localTime() << "\n"
              << "device root " << phone.root().string() << "\n\n";
    if (typeCommands) return interactive(phone, options.live);
    sim::ScenarioRunner runner(phone, std::cout, name);
    int failures = runner.runAll(parsed.commands);
    std::cout << "\n"
              << name << ": " << parsed.commands.size() << " commands, "
              << (failures == 0 ? "all passed" : std::to_string(failures) + " failed") << "\n";
    return failures == 0 ? 0 : kExitFailed;
  } catch (const std::exception& e) {
    std::cerr << "tarrow8-sim: " << e.what() << "\n";
    return kExitBadInput;
  }
}
