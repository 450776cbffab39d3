// Scenario commands for the Settings app: opening and closing the extension's pane, flipping
// its switches, opening its application lists, checking applications in them, going back, and
// what the pane and the lists show. The respring prompt is answered with `tap`.

#include <ostream>

#include "platform/preferences/settings_app.h"
#include "sim/command_checks.h"
#include "sim/command_family.h"
#include "sim/text_settings_screens.h"

namespace sim {
namespace {

namespace prefs = platform::preferences;

// The application lists by the word a scenario names them with, and their rows' identifiers.
constexpr std::pair<const char*, const char*> kLists[] = {
    {"whitelist", "NSAppWhiteList"},
    {"blacklist", "NSAppBlackList"},
};

std::string listIdentifier(const std::string& word) {
  for (const auto& [name, identifier] : kLists) {
    if (word == name) return identifier;
  }
  return word;
}

prefs::SettingsApp& app() {
  return prefs::SettingsApp::shared();
}

// Reports `error` (with the Settings app's loader errors, which name the files) or succeeds;
// either way lets the events the touch queued run.
bool finish(RunContext& c, const std::string& error) {
  c.phone.wait(0);
  if (error.empty()) return true;
  std::string why = error;
  for (const std::string& problem : app().errors()) why += "\n  " + problem;
  return c.fail(why);
}

// True when the user is in the Settings app; otherwise reports how to get there.
bool requirePane(RunContext& c, const char* then = "") {
  return c.phone.settingsPaneShown() ||
         c.fail(std::string("the Settings pane is not shown (use settings-app open") + then + ")");
}

// The pane as shown, or a failure saying why there is none.
bool withPane(RunContext& c, prefs::PaneShot* shot) {
  if (!requirePane(c)) return false;
  std::string error = app().pane(shot);
  return error.empty() || c.fail(error);
}

bool withList(RunContext& c, prefs::ListShot* shot) {
  if (!requirePane(c, ", then open-list")) return false;
  std::string error = app().list(shot);
  return error.empty() || c.fail(error);
}

// The row a scenario names by its settings key, its identifier, or "whitelist"/"blacklist".
const prefs::PaneRow* findRow(const prefs::PaneShot& pane, const std::string& name) {
  std::string identifier = listIdentifier(name);
  for (const prefs::PaneRow& row : pane.rows) {
    if ((!row.key.empty() && row.key == name) || row.identifier == identifier) return &row;
  }
  return nullptr;
}

std::string rowNames(const prefs::PaneShot& pane) {
  std::vector<std::string> names;
  for (const prefs::PaneRow& row : pane.rows)
    names.push_back(row.key.empty() ? row.identifier : row.key);
  return names.empty() ? "(none)" : joined(names);
}

bool openSettings(RunContext& c) {
  if (c.arg(0) == "open") {
    if (!c.requireSpringBoard()) return false;
    if (!finish(c, c.phone.openSettingsPane())) return false;
    c.say("the Settings app shows the Tarrow8 pane");
    return true;
  }
  if (!finish(c, c.phone.closeSettingsPane())) return false;
  c.say("back on the home screen; the Settings app stays in the background");
  return true;
}

bool toggle(RunContext& c) {
  if (!requirePane(c)) return false;
  if (!finish(c, app().toggle(c.arg(0)))) return false;
  prefs::PaneShot pane;
  if (app().pane(&pane).empty()) {
    if (const prefs::PaneRow* row = findRow(pane, c.arg(0))) c.say(describePaneRow(*row));
  }
  return true;
}

bool openList(RunContext& c) {
  if (!requirePane(c)) return false;
  if (!finish(c, app().openList(listIdentifier(c.arg(0))))) return false;
  prefs::ListShot list;
  if (app().list(&list).empty()) c.say("the list \"" + list.title + "\" is shown");
  return true;
}

bool check(RunContext& c, bool checked) {
  if (!requirePane(c, ", then open-list")) return false;
  if (!finish(c, app().check(c.arg(0), checked))) return false;
  c.say(c.arg(0) + (checked ? " checked" : " unchecked"));
  return true;
}

bool back(RunContext& c) {
  prefs::ListShot list;
  if (!withList(c, &list)) return false;
  if (!finish(c, app().back())) return false;
  c.say("back on the pane");
  return true;
}

bool expectRow(RunContext& c) {
  prefs::PaneShot pane;
  if (!withPane(c, &pane)) return false;
  const prefs::PaneRow* row = findRow(pane, c.arg(1));
  if (!row) return c.fail("the pane has no row " + c.arg(1) + "; its rows: " + rowNames(pane));
  const std::string want = c.arg(2);
  bool holds = false;
  if (want == "on" || want == "off") {
    if (row->kind != prefs::RowKind::Switch)
      return c.fail("the row " + c.arg(1) + " has no switch: " + describePaneRow(*row));
    holds = row->on == (want == "on");
  } else if (want == "greyed" || want == "active") {
    holds = row->greyed == (want == "greyed");
  } else if (want == "red") {
    holds = row->kind == prefs::RowKind::Switch && row->tint == prefs::SwitchTint::Red;
  } else {  // default-tint
    holds = row->kind == prefs::RowKind::Switch && row->tint == prefs::SwitchTint::Default;
  }
  return c.check(holds, "row " + c.arg(1) + " " + want, "it is " + describePaneRow(*row));
}

bool expectListed(RunContext& c) {
  prefs::ListShot list;
  if (!withList(c, &list)) return false;
  const std::string name = c.arg(1);
  const prefs::ListSection* section = nullptr;
  std::vector<std::string> titles;
  for (std::size_t i = 0; i < list.sections.size(); ++i) {
    titles.push_back("\"" + list.sections[i].title + "\"");
    if (list.sections[i].title == name || std::to_string(i) == name) section = &list.sections[i];
  }
  if (!section)
    return c.fail("the list has no section \"" + name +
                  "\"; its sections: " + (titles.empty() ? "(none)" : joined(titles)));
  std::vector<std::string> want, shown;
  for (std::size_t i = 2; i < c.argCount(); ++i) want.push_back(c.arg(i));
  for (const prefs::ListRow& row : section->rows) shown.push_back(row.bundleIdentifier);
  return c.check(
      want == shown,
      "section \"" + section->title + "\" lists " + (want.empty() ? "nothing" : joined(want)),
      "it lists " + (shown.empty() ? std::string("nothing") : joined(shown)));
}

// Commands that act on the pane need a `settings-app open` before them that no
// `settings-app close` undid.
void checkWholeScenario(const std::vector<Command>& commands, const std::string& file,
                        std::vector<std::string>& errors) {
  bool open = false;
  for (const Command& command : commands) {
    const std::string& name = command.name;
    bool form = !command.args.empty();
    if (name == "settings-app" && form) {
      open = unquote(command.args[0]).first == "open";
      continue;
    }
    bool needsPane = name == "toggle" || name == "open-list" || name == "check" ||
                     name == "uncheck" || name == "back" ||
                     ((name == "show" || name == "expect") && form &&
                      isOneOf(unquote(command.args[0]).first, {"pane", "list", "row", "listed"}));
    if (needsPane && !open) {
      errors.push_back(file + ":" + std::to_string(command.line) + ": " + name +
                       " needs the Settings pane: add settings-app open before it");
    }
  }
}

CommandFamily build() {
  CommandFamily f;
  f.title = "Settings app";
  f.commands = {
      {"settings-app", "settings-app open|close",
       "open the Settings app on the Tarrow8 pane (unlocked), or go back to the home screen", 1, 1,
       [](const std::vector<Word>& a) -> std::string {
         return isOneOf(a[0].text, {"open", "close"}) ? "" : "usage: settings-app open|close";
       },
       openSettings},
      {"toggle", "toggle KEY", "flip the switch of the pane's row that edits KEY", 1, 1, nullptr,
       toggle},
      {"open-list", "open-list whitelist|blacklist",
       "tap the pane's white-list or black-list row: its application list opens", 1, 1,
       [](const std::vector<Word>& a) -> std::string {
         return isOneOf(a[0].text, {"whitelist", "blacklist"})
                    ? ""
                    : "usage: open-list whitelist|blacklist";
       },
       openList},
      {"check", "check BUNDLE", "check the application BUNDLE in the open list", 1, 1, nullptr,
       [](RunContext& c) { return check(c, true); }},
      {"uncheck", "uncheck BUNDLE", "uncheck the application BUNDLE in the open list", 1, 1,
       nullptr, [](RunContext& c) { return check(c, false); }},
      {"back", "back", "leave the open list for the pane (the navigation bar's back button)", 0, 0,
       nullptr, back},
  };
  f.shows = {
      {"pane", "show pane",
       "every row of the pane: label, key, value, greyed or not, a switch's tint",
       [](const std::vector<Word>& a) { return a.size() == 1 ? "" : "usage: show pane"; },
       [](RunContext& c) {
         prefs::PaneShot pane;
         if (!withPane(c, &pane)) return false;
         renderPane(pane, c.out);
         return true;
       }},
      {"list", "show list", "the open application list: its sections, applications, check marks",
       [](const std::vector<Word>& a) { return a.size() == 1 ? "" : "usage: show list"; },
       [](RunContext& c) {
         prefs::ListShot list;
         if (!withList(c, &list)) return false;
         renderApplicationList(list, c.out);
         return true;
       }},
  };
  f.expectations = {
      {"row", "expect row KEY on|off|greyed|active|red|default-tint",
       "the pane's row of KEY (or whitelist, blacklist): its switch, whether it takes a touch, "
       "its switch's tint",
       [](const std::vector<Word>& a) -> std::string {
         if (a.size() != 3 ||
             !isOneOf(a[2].text, {"on", "off", "greyed", "active", "red", "default-tint"}))
           return "usage: expect row KEY on|off|greyed|active|red|default-tint";
         return "";
       },
       expectRow},
      {"listed", "expect listed SECTION [BUNDLE...]",
       "the open list's section (its title, or 0, 1) lists exactly these applications, in order",
       [](const std::vector<Word>& a) -> std::string {
         return a.size() >= 2 ? "" : "usage: expect listed SECTION [BUNDLE...]";
       },
       expectListed},
  };
  f.checkScenario = checkWholeScenario;
  return f;
}

}  // namespace

const CommandFamily& settingsAppCommands() {
  static const CommandFamily family = build();
  return family;
}

}  // namespace sim
