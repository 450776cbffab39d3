// Scenario commands for the device and the settings file: SpringBoard's launches, the lock
// state, time, the settings pane's writes, files, notifications, and the extension's state.

#include <map>
#include <optional>
#include <ostream>

#include "platform/foundation/nslog.h"
#include "sim/command_checks.h"
#include "sim/command_family.h"
#include "sim/scenario_source.h"

namespace sim {
namespace {

using platform::plist::Value;

const std::vector<std::string> kFlagNames = {"deviceLocked",
                                             "enabled",
                                             "mirrorNotificationCenter",
                                             "includeNotificationCenter",
                                             "enableNotificationActions",
                                             "saveForUnlock",
                                             "saveForNotificationCenter",
                                             "manualRemoval",
                                             "enableAllApps",
                                             "gracePeriodOver"};
const std::vector<std::string> kStoreNames = {"keptItems", "removedBulletinIDs", "reminders"};

bool known(const std::string& word, const std::vector<std::string>& names) {
  for (const auto& n : names) {
    if (word == n) return true;
  }
  return false;
}

std::string padded(const std::string& name) {
  return name + std::string(name.size() < 28 ? 28 - name.size() : 1, ' ');
}

std::pair<std::string, std::optional<Value>> assignment(const std::string& arg) {
  std::size_t eq = arg.find('=');
  auto [value, quoted] = unquote(arg.substr(eq + 1));
  return {arg.substr(0, eq), parseValue(value, quoted, nullptr)};
}

// The value a literal argument stands for.
Value literal(const RunContext& c, std::size_t i) {
  return *parseValue(c.arg(i), c.quoted(i), nullptr);
}

bool changeSettings(RunContext& c, bool remove) {
  std::map<std::string, std::optional<Value>> changes;
  for (std::size_t i = 0; i < c.argCount(); ++i) {
    if (remove)
      changes[c.arg(i)] = std::nullopt;
    else
      changes.insert(assignment(c.command().args[i]));
  }
  std::string error = c.phone.changeSettings(changes);
  if (!error.empty()) return c.fail("cannot write the settings file: " + error);
  c.say(std::string("settings file rewritten; posted ") + kPreferencesNotification);
  if (std::string refused = c.phone.propertyListProblem(kSettingsFile); !refused.empty())
    c.say("warning: the extension cannot read the file written: " + refused);
  return true;
}

bool post(RunContext& c) {
  std::string name = c.arg(1);
  if (c.arg(0) == "darwin") {
    c.phone.postDarwin(name);
    return true;
  }
  std::map<std::string, std::string> info;
  for (std::size_t i = 2; i < c.argCount(); ++i) {
    const std::string& raw = c.command().args[i];
    std::size_t eq = raw.find('=');
    info[raw.substr(0, eq)] = unquote(raw.substr(eq + 1)).first;
  }
  c.phone.postDistributed(name, info);
  return true;
}

// The extension's snapshot, or a failure when SpringBoard or the extension is missing.
std::optional<Value> extensionState(RunContext& c) {
  if (!c.requireSpringBoard()) return std::nullopt;
  auto state = c.phone.extensionState();
  if (!state) c.fail("the extension is not loaded");
  return state;
}

bool showState(RunContext& c, bool flagsPart, bool storesPart, bool settingsPart) {
  auto state = c.phone.extensionState();
  if (!state) {
    c.say("(SpringBoard is not running or the extension is not loaded)");
    return true;
  }
  if (const Value* flags = flagsPart ? state->find("flags") : nullptr) {
    for (const auto& name : kFlagNames) {
      const Value* v = flags->find(name);
      c.say(padded(name) + (v ? formatValue(*v) : "?"));
    }
  }
  if (storesPart) {
    for (const auto& store : kStoreNames) {
      const Value* ids = state->find(store);
      const auto* list = ids ? ids->get<platform::plist::Array>() : nullptr;
      std::string line = padded(store) + std::to_string(list ? list->size() : 0);
      if (list && !list->empty()) line += "  " + formatValue(*ids);
      c.say(line);
    }
  }
  if (settingsPart) {
    const Value* prefs = state->find("preferences");
    bool empty = prefs && prefs->is<platform::plist::Dictionary>() &&
                 prefs->as<platform::plist::Dictionary>().empty();
    c.say("loaded settings: " + (!prefs  ? std::string("none")
                                 : empty ? std::string("{} (no keys)")
                                         : formatValue(*prefs)));
  }
  return true;
}

bool showFile(RunContext& c) {
  std::string path = c.arg(1);
  if (!c.phone.fileExists(path)) {
    c.say(path + ": no such file");
  } else if (auto contents = c.phone.readPropertyList(path)) {
    c.say(path + ": " + formatValue(*contents));
  } else {
    c.say(path + ": not a readable property list");
  }
  return true;
}

// expect setting / expect loaded: `contents` is the dictionary to look in (null: unreadable).
bool expectKey(RunContext& c, const char* what, const Value* contents, const char* unreadable) {
  std::string key = c.arg(1);
  const Value* actual = contents ? contents->find(key) : nullptr;
  if (c.arg(2) == "absent" && !c.quoted(2)) {
    return c.check(!actual, std::string(what) + " " + key + " absent",
                   "it is " + (actual ? formatValue(*actual) : ""));
  }
  Value want = literal(c, 2);
  return c.check(
      actual && *actual == want, std::string(what) + " " + key + " = " + formatValue(want),
      actual ? "it is " + formatValue(*actual) : (contents ? "the key is absent" : unreadable));
}

std::string checkKeyValue(const std::vector<Word>& a, const std::string& what) {
  if (a.size() != 3) return "usage: expect " + what + " KEY VALUE (VALUE may be \"absent\")";
  std::string error;
  if (a[2].text != "absent" && !parseValue(a[2].text, a[2].quoteAt != std::string::npos, &error))
    return error;
  return "";
}

CommandFamily build() {
  CommandFamily f;
  f.title = "device and settings";
  f.commands = {
      {"boot", "boot", "launch SpringBoard; the installed extension loads first", 0, 0, nullptr,
       [](RunContext& c) {
         return c.phone.boot() ||
                c.fail("SpringBoard is already running (use respring to relaunch it)");
       }},
      {"respring", "respring", "relaunch SpringBoard: memory is gone, files stay", 0, 0, nullptr,
       [](RunContext& c) {
         if (!c.requireSpringBoard()) return false;
         c.phone.respring();
         return true;
       }},
      {"lock", "lock", "lock the device: the lock screen comes up, then lock state 1 is posted", 0,
       0, nullptr,
       [](RunContext& c) {
         if (!c.requireSpringBoard()) return false;
         c.phone.lock();
         c.say("device locked");
         return true;
       }},
      {"unlock", "unlock",
       "unlock the device: lock state 0 is posted, then the lock-screen list is cleared", 0, 0,
       nullptr,
       [](RunContext& c) {
         if (!c.requireSpringBoard()) return false;
         c.phone.unlock();
         c.say("device unlocked");
         return true;
       }},
      {"wake", "wake", "turn the display on without unlocking (the lock screen appears again)", 0,
       0, nullptr,
       [](RunContext& c) {
         if (!c.requireSpringBoard()) return false;
         bool woke = c.phone.wake();
         c.say(std::string(woke ? "display on; " : "the display was already on; ") + "device " +
               (c.phone.locked() ? "locked" : "unlocked"));
         return true;
       }},
      {"wait", "wait DURATION", "let time pass, e.g. wait 250ms, wait 5s, wait 2m, wait 1h", 1, 1,
       [](const std::vector<Word>& a) { return durationProblem(a[0].text); },
       [](RunContext& c) {
         c.phone.wait(*parseDuration(c.arg(0)));
         c.say("device time " + c.phone.localTime());
         return true;
       }},
      {"settings", "settings KEY=VALUE...",
       "change keys in the settings file as the settings pane does, then post its notification", 1,
       kAnyCount, [](const std::vector<Word>& a) { return checkAssignments(a, 0, false); },
       [](RunContext& c) { return changeSettings(c, false); }},
      {"unset", "unset KEY...", "remove keys from the settings file, then post its notification", 1,
       kAnyCount, nullptr, [](RunContext& c) { return changeSettings(c, true); }},
      {"write-file", "write-file PATH TEXT",
       "write TEXT (quoted, with \\n escapes) as the whole file at PATH", 2, 2,
       [](const std::vector<Word>& a) { return checkDevicePath(a[0].text); },
       [](RunContext& c) {
         std::string contents = c.arg(1);
         std::string error = c.phone.writeFile(c.arg(0), contents);
         if (!error.empty()) return c.fail(error);
         c.say("wrote " + countOf(contents.size(), "byte", "bytes") + " to " + c.arg(0));
         return true;
       }},
      {"delete-file", "delete-file PATH", "delete the file at PATH", 1, 1,
       [](const std::vector<Word>& a) { return checkDevicePath(a[0].text); },
       [](RunContext& c) {
         c.phone.deleteFile(c.arg(0));
         return true;
       }},
      {"read-only", "read-only PATH", "make the device folder PATH refuse every write inside it",
       1, 1, [](const std::vector<Word>& a) { return checkDevicePath(a[0].text); },
       [](RunContext& c) {
         c.phone.setFolderReadOnly(c.arg(0), true);
         c.say(c.arg(0) + " refuses writes");
         return true;
       }},
      {"writable", "writable PATH", "let the device folder PATH take writes again", 1, 1,
       [](const std::vector<Word>& a) { return checkDevicePath(a[0].text); },
       [](RunContext& c) {
         c.phone.setFolderReadOnly(c.arg(0), false);
         c.say(c.arg(0) + " takes writes");
         return true;
       }},
      {"post", "post darwin NAME | post distributed NAME [KEY=VALUE...]",
       "post a Darwin notification, or a distributed one with string user info", 2, kAnyCount,
       [](const std::vector<Word>& a) -> std::string {
         if (a[0].text == "darwin")
           return a.size() == 2 ? "" : "a Darwin notification carries a name only";
         if (a[0].text == "distributed") return checkAssignments(a, 2, true);
         return "\"" + a[0].text + "\" must be darwin or distributed";
       },
       post},
      {"echo", "echo TEXT...", "print a line into the transcript", 0, kAnyCount, nullptr,
       [](RunContext& c) {
         std::string text;
         for (std::size_t i = 0; i < c.argCount(); ++i) text += (i ? " " : "") + c.arg(i);
         c.say(text);
         return true;
       }},
  };
  auto noMore = [](const char* usage) {
    return [usage](const std::vector<Word>& a) -> std::string {
      return a.size() == 1 ? "" : std::string("usage: ") + usage;
    };
  };
  f.shows = {
      {"flags", "show flags", "the extension's ten flags", noMore("show flags"),
       [](RunContext& c) { return showState(c, true, false, false); }},
      {"stores", "show stores", "the extension's three stores", noMore("show stores"),
       [](RunContext& c) { return showState(c, false, true, false); }},
      {"settings", "show settings", "the settings the extension loaded", noMore("show settings"),
       [](RunContext& c) { return showState(c, false, false, true); }},
      {"state", "show state", "flags, stores and loaded settings", noMore("show state"),
       [](RunContext& c) { return showState(c, true, true, true); }},
      {"time", "show time", "the device time", noMore("show time"),
       [](RunContext& c) {
         c.say("device time " + c.phone.localTime());
         return true;
       }},
      {"log", "show log", "every line logged with NSLog", noMore("show log"),
       [](RunContext& c) {
         if (platform::loggedLines().empty()) c.say("(empty)");
         for (const auto& e : platform::loggedLines())
           c.say(e.process + ": " + displayText(e.message, kMaxShownLogBytes));
         return true;
       }},
      {"file", "show file PATH", "a property-list file of the device",
       [](const std::vector<Word>& a) {
         return a.size() == 2 ? checkDevicePath(a[1].text) : "usage: show file PATH";
       },
       showFile},
  };
  f.expectations = {
      {"flag", "expect flag NAME true|false", "a flag of the extension (show flags lists them)",
       [](const std::vector<Word>& a) -> std::string {
         if (a.size() != 3) return "usage: expect flag NAME true|false";
         if (!known(a[1].text, kFlagNames))
           return "unknown flag \"" + a[1].text + "\"; flags: " + joined(kFlagNames);
         return checkBool(a[2].text);
       },
       [](RunContext& c) {
         auto state = extensionState(c);
         if (!state) return false;
         const Value* flags = state->find("flags");
         const Value* v = flags ? flags->find(c.arg(1)) : nullptr;
         bool want = c.arg(2) == "true";
         return c.check(v && v->is<bool>() && v->as<bool>() == want,
                        "flag " + c.arg(1) + " " + c.arg(2),
                        "it is " + (v ? formatValue(*v) : std::string("missing")));
       }},
      {"count", "expect count STORE N", "keptItems, removedBulletinIDs or reminders holds N",
       [](const std::vector<Word>& a) -> std::string {
         if (a.size() != 3) return "usage: expect count STORE N";
         if (!known(a[1].text, kStoreNames))
           return "unknown store \"" + a[1].text + "\"; stores: " + joined(kStoreNames);
         return checkCount(a[2].text);
       },
       [](RunContext& c) {
         auto state = extensionState(c);
         if (!state) return false;
         const Value* ids = state->find(c.arg(1));
         const auto* list = ids ? ids->get<platform::plist::Array>() : nullptr;
         std::size_t n = list ? list->size() : 0;
         return c.check(n == std::stoul(c.arg(2)), "count " + c.arg(1) + " " + c.arg(2),
                        c.arg(1) + " holds " + std::to_string(n));
       }},
      {"launches", "expect launches N", "SpringBoard has been launched N times",
       [](const std::vector<Word>& a) {
         return a.size() == 2 ? checkCount(a[1].text) : "usage: expect launches N";
       },
       [](RunContext& c) {
         int n = std::stoi(c.arg(1));
         int launched = c.phone.launchCount();
         std::string actual = launched == 0   ? "never launched"
                              : launched == 1 ? "launched once"
                                              : "launched " + std::to_string(launched) + " times";
         return c.check(launched == n, "launches " + c.arg(1), "SpringBoard was " + actual);
       }},
      {"running", "expect running true|false", "SpringBoard is running",
       [](const std::vector<Word>& a) {
         return a.size() == 2 ? checkBool(a[1].text) : "usage: expect running true|false";
       },
       [](RunContext& c) {
         bool want = c.arg(1) == "true";
         bool running = c.phone.springBoardRunning();
         return c.check(running == want, "running " + c.arg(1),
                        std::string("SpringBoard is ") + (running ? "running" : "not running"));
       }},
      {"file", "expect file PATH exists|missing", "a device file is there or not",
       [](const std::vector<Word>& a) -> std::string {
         if (a.size() != 3 || !isOneOf(a[2].text, {"exists", "missing"}))
           return "usage: expect file PATH exists|missing";
         return checkDevicePath(a[1].text);
       },
       [](RunContext& c) {
         bool want = c.arg(2) == "exists";
         bool exists = c.phone.fileExists(c.arg(1));
         return c.check(exists == want, "file " + c.arg(1) + " " + c.arg(2),
                        exists ? "it exists" : "it is missing");
       }},
      {"setting", "expect setting KEY VALUE|absent", "the settings file holds KEY = VALUE",
       [](const std::vector<Word>& a) { return checkKeyValue(a, "setting"); },
       [](RunContext& c) {
         auto contents = c.phone.readPropertyList(kSettingsFile);
         return expectKey(c, "setting", contents ? &*contents : nullptr,
                          "the settings file cannot be read");
       }},
      {"loaded", "expect loaded KEY VALUE|absent",
       "the extension's loaded settings hold KEY = VALUE",
       [](const std::vector<Word>& a) { return checkKeyValue(a, "loaded"); },
       [](RunContext& c) {
         auto state = extensionState(c);
         if (!state) return false;
         return expectKey(c, "loaded", state->find("preferences"), "the key is absent");
       }},
      {"log", "expect log \"TEXT\"", "some logged line contains TEXT",
       [](const std::vector<Word>& a) { return a.size() == 2 ? "" : "usage: expect log \"TEXT\""; },
       [](RunContext& c) {
         for (const auto& e : platform::loggedLines()) {
           if (e.message.find(c.arg(1)) != std::string::npos)
             return c.check(true, "log \"" + c.arg(1) + "\"", "");
         }
         return c.check(false, "a log line containing \"" + c.arg(1) + "\"", "none was logged");
       }},
  };
  return f;
}

}  // namespace

const CommandFamily& deviceCommands() {
  static const CommandFamily family = build();
  return family;
}

}  // namespace sim
