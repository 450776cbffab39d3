// Scenario commands for the lock screen and Notification Center: applications publishing and
// withdrawing bulletins, the user opening and clearing them, the other extension's
// pull-to-clear, the two screens, and what the extension keeps.

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <set>

#include "platform/foundation/device_locale.h"
#include "platform/springboard/delivery_log.h"
#include "sim/command_checks.h"
#include "sim/command_family.h"
#include "sim/screens.h"
#include "sim/text_screens.h"

namespace sim {
namespace {

using platform::plist::Value;
using platform::springboard::BulletinContents;

const char* const kContentKeys[] = {"title", "subtitle", "message", "date", "sound"};

// "YYYY-MM-DDTHH:MM[:SS]" in the device's time zone, as seconds since the reference date.
std::optional<double> parseBulletinDate(const std::string& text) {
  return parseDeviceTime(text, true);
}

// Checks publish's words: ID APP, then KEY=VALUE contents and the word "fullscreen".
std::string checkPublish(const std::vector<Word>& a) {
  if (a[0].text.empty()) return "the bulletin ID must not be empty";
  if (a[1].text.empty() || a[1].text.find('=') != std::string::npos)
    return "\"" + a[1].text +
           "\" must be an application's bundle identifier, e.g. com.apple.MobileSMS";
  std::set<std::string> seen;
  for (std::size_t i = 2; i < a.size(); ++i) {
    const std::string& w = a[i].text;
    if (w == "fullscreen" && a[i].quoteAt == std::string::npos) {
      if (!seen.insert(w).second) return "fullscreen is given twice";
      continue;
    }
    std::size_t eq = w.find('=');
    std::string key = eq == std::string::npos ? w : w.substr(0, eq);
    if (eq == std::string::npos || std::none_of(std::begin(kContentKeys), std::end(kContentKeys),
                                                [&](const char* k) { return key == k; }))
      return "\"" + w + "\" must be title=T, subtitle=T, message=T, date=YYYY-MM-DDTHH:MM[:SS], " +
             "sound=NAME or fullscreen";
    if (!seen.insert(key).second) return key + "= is given twice";
    if (key == "date" && !parseBulletinDate(w.substr(eq + 1)))
      return "bad date \"" + w.substr(eq + 1) + "\": write YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS";
  }
  return "";
}

// What a publish line gives the bulletin; the date is the device's current time unless given.
BulletinContents publishedContents(const RunContext& c) {
  BulletinContents contents;
  contents.bulletinID = c.arg(0);
  contents.sectionID = c.arg(1);
  contents.date = c.phone.now();
  for (std::size_t i = 2; i < c.argCount(); ++i) {
    std::string w = c.arg(i);
    if (w == "fullscreen") {
      contents.fullscreen = true;
      continue;
    }
    std::size_t eq = w.find('=');
    std::string key = w.substr(0, eq), value = w.substr(eq + 1);
    if (key == "title") contents.title = value;
    if (key == "subtitle") contents.subtitle = value;
    if (key == "message") contents.message = value;
    if (key == "sound") contents.sound = value;
    if (key == "date") contents.date = *parseBulletinDate(value);
  }
  return contents;
}

// Every ID of an expectation's list; the first word is the expectation's name.
std::vector<std::string> listedIDs(const RunContext& c) {
  std::vector<std::string> ids;
  for (std::size_t i = 1; i < c.argCount(); ++i) ids.push_back(c.arg(i));
  return ids;
}

std::string shownList(const std::vector<std::string>& ids) {
  return ids.empty() ? "(none)" : joined(ids);
}

// expect lockscreen / expect nc: exactly these rows, top first.
bool expectRows(RunContext& c, const char* screen, const std::vector<ScreenRow>& rows) {
  std::vector<std::string> want = listedIDs(c), have = rowIDs(rows);
  return c.check(want == have, std::string(screen) + " " + shownList(want),
                 std::string("it shows ") + shownList(have));
}

// expect kept / expect removed: exactly these IDs in the store, in any order.
bool expectStore(RunContext& c, const char* store, const char* what) {
  if (!c.requireSpringBoard()) return false;
  auto state = c.phone.extensionState();
  if (!state) return c.fail("the extension is not loaded");
  std::vector<std::string> have;
  if (const auto* ids = state->find(store)) {
    for (const Value& id : ids->as<platform::plist::Array>()) have.push_back(id.as<std::string>());
  }
  std::vector<std::string> want = listedIDs(c);
  std::sort(want.begin(), want.end());
  return c.check(want == have, std::string(what) + " " + shownList(want),
                 std::string(store) + " holds " + shownList(have));
}

bool expectPlayed(RunContext& c, bool played) {
  std::string id = c.arg(1);
  const auto* last = platform::springboard::DeliveryLog::shared().lastDelivery(id);
  if (!last) return c.fail("bulletin " + id + " was never shown on the lock screen or as a banner");
  return c.check(last->played == played, std::string(played ? "played " : "silent ") + id,
                 "its last delivery: " + describeDelivery(*last));
}

bool withLockScreen(RunContext& c, const std::function<bool(const LockScreenShot&)>& use) {
  if (!c.requireSpringBoard()) return false;
  return use(*lockScreenShot());
}

bool withNotificationCenter(RunContext& c,
                            const std::function<bool(const NotificationCenterShot&)>& use) {
  if (!c.requireSpringBoard()) return false;
  return use(*notificationCenterShot());
}

bool reportError(RunContext& c, const std::string& error) {
  return error.empty() || c.fail(error);
}

// Static checks over the whole scenario: IDs used before any publish of them, publishes that
// reuse an ID with other contents, and commands for a screen that cannot be showing.
void checkWholeScenario(const std::vector<Command>& commands, const std::string& file,
                        std::vector<std::string>& errors) {
  std::map<std::string, std::pair<std::vector<std::string>, int>> published;  // contents, line
  // What the screens show, as far as the lines tell; unknown after a line that can relaunch.
  std::optional<bool> locked = true, ncShown = false;
  auto error = [&](const Command& c, const std::string& what) {
    errors.push_back(file + ":" + std::to_string(c.line) + ": " + what);
  };
  auto requireKnown = [&](const Command& c, const std::string& id) {
    if (!published.count(unquote(id).first))
      error(c,
            "unknown bulletin ID \"" + unquote(id).first + "\": no publish line before this one");
  };
  for (const Command& c : commands) {
    const auto& a = c.args;
    if (c.name == "publish") {
      std::vector<std::string> contents(a.begin() + 1, a.end());
      contents.erase(std::remove_if(contents.begin(), contents.end(),
                                    [](const std::string& w) { return w.rfind("date=", 0) == 0; }),
                     contents.end());
      std::sort(contents.begin() + 1, contents.end());
      auto [at, fresh] = published.try_emplace(unquote(a[0]).first, contents, c.line);
      if (!fresh && at->second.first != contents)
        error(c, "bulletin " + unquote(a[0]).first + " was published with other contents on line " +
                     std::to_string(at->second.second) + "; give this one a new ID");
    } else if (c.name == "withdraw") {
      requireKnown(c, a[0]);
    } else if (c.name == "open") {
      requireKnown(c, a[1]);
      if (a[0] == "lockscreen" && locked == false)
        error(c, "the lock screen is not shown here (the device was unlocked): put `lock` first");
      if (a[0] == "nc" && ncShown == false)
        error(c, "Notification Center is not shown here: put `nc show` first");
      // Opening unlocks the device, when the screen was surely showing; otherwise the line may
      // fail and leave the device as it was.
      bool shown = a[0] == "nc" ? ncShown == true : locked == true;
      if (shown)
        locked = false;
      else
        locked.reset();
      if (a[0] == "nc") ncShown = false;
    } else if (c.name == "nc") {
      if ((a[0] == "hide" || a[0] == "clear") && ncShown == false)
        error(c, "Notification Center is not shown here: put `nc show` first");
      if (a[0] == "show" && ncShown == true) error(c, "Notification Center is already shown");
      if (a[0] == "show") ncShown = true;
      if (a[0] == "hide") ncShown = false;
    } else if (c.name == "lock") {
      locked = true;
      ncShown = false;
    } else if (c.name == "unlock") {
      locked = false;
    } else if (c.name == "boot" || c.name == "respring") {
      locked = true;
      ncShown = false;
    } else if (c.name == "tap") {
      ncShown.reset();  // a menu choice may put Notification Center away
    } else if (c.name == "post") {
      locked.reset();  // a respring request, perhaps
      ncShown.reset();
    } else if (c.name == "expect" && !a.empty() &&
               isOneOf(a[0], {"lockscreen", "nc", "kept", "removed", "played", "silent"})) {
      for (std::size_t i = 1; i < a.size(); ++i) requireKnown(c, a[i]);
    }
  }
}

CommandFamily build() {
  CommandFamily f;
  f.title = "lock screen and Notification Center";
  f.commands = {
      {"publish",
       "publish ID APP [title=T] [subtitle=T] [message=T] [date=YYYY-MM-DDTHH:MM[:SS]] "
       "[fullscreen] [sound=NAME]",
       "the application APP publishes bulletin ID to the lock screen and Notification Center", 2,
       kAnyCount, checkPublish,
       [](RunContext& c) { return reportError(c, c.phone.publish(publishedContents(c))); }},
      {"withdraw", "withdraw ID", "the bulletin's application withdraws it", 1, 1, nullptr,
       [](RunContext& c) { return reportError(c, c.phone.withdraw(c.arg(0))); }},
      {"open", "open lockscreen|nc ID",
       "the user opens the bulletin from the lock screen or Notification Center", 2, 2,
       [](const std::vector<Word>& a) -> std::string {
         return isOneOf(a[0].text, {"lockscreen", "nc"})
                    ? ""
                    : "\"" + a[0].text + "\" must be lockscreen or nc";
       },
       [](RunContext& c) {
         return reportError(c, c.arg(0) == "lockscreen"
                                   ? c.phone.openFromLockScreen(c.arg(1))
                                   : c.phone.openFromNotificationCenter(c.arg(1)));
       }},
      {"nc", "nc show | nc hide | nc clear APP",
       "pull Notification Center down, put it away, or tap an application's clear button", 1, 2,
       [](const std::vector<Word>& a) -> std::string {
         if (a[0].text == "clear") return a.size() == 2 ? "" : "usage: nc clear APP";
         if (isOneOf(a[0].text, {"show", "hide"}))
           return a.size() == 1 ? "" : "usage: nc " + a[0].text;
         return "\"" + a[0].text + "\" must be show, hide or clear";
       },
       [](RunContext& c) {
         if (c.arg(0) == "show" || c.arg(0) == "hide") {
           bool show = c.arg(0) == "show";
           std::string error =
               show ? c.phone.showNotificationCenter() : c.phone.hideNotificationCenter();
           if (error.empty())
             c.say(show ? "Notification Center pulled down" : "Notification Center put away");
           return reportError(c, error);
         }
         std::size_t cleared = 0;
         std::string error = c.phone.clearNotificationCenterSection(c.arg(1), &cleared);
         if (error.empty())
           c.say("cleared " + std::to_string(cleared) +
                 (cleared == 1 ? " bulletin" : " bulletins") + " of " + applicationName(c.arg(1)));
         return reportError(c, error);
       }},
      {"pull-to-clear", "pull-to-clear [APP]",
       "the other lock-screen extension asks to clear APP's section (no APP: no sectionID)", 0, 1,
       nullptr,
       [](RunContext& c) {
         c.phone.pullToClear(c.argCount() ? std::optional<std::string>(c.arg(0)) : std::nullopt);
         c.say(std::string("posted ") + kPullToClearNotification +
               (c.argCount() ? " with sectionID " + c.arg(0) : " without a sectionID"));
         return true;
       }},
  };
  auto noMore = [](const char* usage) {
    return [usage](const std::vector<Word>& a) -> std::string {
      return a.size() == 1 ? "" : std::string("usage: ") + usage;
    };
  };
  f.shows = {
      {"lockscreen", "show lockscreen", "the lock screen's rows, top first, and what they played",
       noMore("show lockscreen"),
       [](RunContext& c) {
         return withLockScreen(c, [&](const LockScreenShot& s) {
           renderLockScreen(s, c.out);
           return true;
         });
       }},
      {"nc", "show nc", "Notification Center's rows, top first", noMore("show nc"),
       [](RunContext& c) {
         return withNotificationCenter(c, [&](const NotificationCenterShot& s) {
           renderNotificationCenter(s, c.out);
           return true;
         });
       }},
  };
  auto oneID = [](const char* usage) {
    return [usage](const std::vector<Word>& a) -> std::string {
      return a.size() == 2 ? "" : std::string("usage: ") + usage;
    };
  };
  f.expectations = {
      {"lockscreen", "expect lockscreen [ID...]",
       "the lock screen shows exactly these rows, top first (none: empty)", nullptr,
       [](RunContext& c) {
         return withLockScreen(
             c, [&](const LockScreenShot& s) { return expectRows(c, "lockscreen", s.rows); });
       }},
      {"nc", "expect nc [ID...]", "Notification Center lists exactly these rows, top first",
       nullptr,
       [](RunContext& c) {
         return withNotificationCenter(
             c, [&](const NotificationCenterShot& s) { return expectRows(c, "nc", s.rows); });
       }},
      {"kept", "expect kept [ID...]", "keptItems holds exactly these bulletinIDs, any order",
       nullptr, [](RunContext& c) { return expectStore(c, "keptItems", "kept"); }},
      {"removed", "expect removed [ID...]",
       "removedBulletinIDs holds exactly these bulletinIDs, any order", nullptr,
       [](RunContext& c) { return expectStore(c, "removedBulletinIDs", "removed"); }},
      {"played", "expect played ID", "the last delivery of ID played lights and sound",
       oneID("expect played ID"), [](RunContext& c) { return expectPlayed(c, true); }},
      {"silent", "expect silent ID", "the last delivery of ID was silent",
       oneID("expect silent ID"), [](RunContext& c) { return expectPlayed(c, false); }},
  };
  f.checkScenario = checkWholeScenario;
  return f;
}

}  // namespace

const CommandFamily& lockScreenCommands() {
  static const CommandFamily family = build();
  return family;
}

}  // namespace sim
