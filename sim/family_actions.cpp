// Scenario commands for the actions menu and reminders: swiping a row, pressing one, tapping
// what is on top (a row action, a sheet's or an alert's button, a bar button), selecting a row of
// the reminders window, turning the date picker, the kind of device, and what the screen shows.

#include <optional>
#include <ostream>

#include "platform/foundation/device_locale.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/notification_center.h"
#include "platform/springboard/springboard_host.h"
#include "platform/springboard/springboard_ui.h"
#include "platform/uikit/screen_stack.h"
#include "platform/uikit/uidatepicker.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uiview.h"
#include "sim/command_checks.h"
#include "sim/command_family.h"
#include "sim/screens.h"
#include "sim/text_screens.h"

namespace sim {
namespace {

namespace sb = platform::springboard;
namespace uikit = platform::uikit;
using platform::objc::Strong;
using platform::plist::Value;

// Runs a user's gesture as SpringBoard, whose screen it lands on.
template <class Work>
auto asSpringBoard(Work work) {
  platform::ProcessScope scope(platform::springboard::SpringBoardHost::shared().pid());
  platform::objc::AutoreleasePool pool;
  return work();
}

// A title as a scenario writes it: the no-break spaces ICU puts in dates ("8:30\u202fAM") read
// as plain spaces.
std::string plainTitle(std::string title) {
  for (const char* wide : {"\u202f", "\u00a0"}) {
    for (std::size_t at; (at = title.find(wide)) != std::string::npos;)
      title.replace(at, std::string(wide).size(), " ");
  }
  return title;
}

// "YYYY-MM-DDTHH:MM" in the device's time zone.
std::optional<double> parseMinute(const std::string& text) {
  return parseDeviceTime(text, false);
}

std::string minuteText(double seconds) {
  return platform::formatDatePattern(seconds, "yyyy-MM-dd'T'HH:mm");
}

// The table a screen shows its rows in, and the row of `bulletinID` in it.
struct RowOnScreen {
  id table = nil;
  long row = -1;
};

std::optional<RowOnScreen> rowOf(RunContext& c, const std::string& screen, const std::string& id) {
  sb::SpringBoardUI* ui = sb::SpringBoardUI::running();
  if (!ui) {
    c.requireSpringBoard();
    return std::nullopt;
  }
  RowOnScreen found;
  std::vector<std::string> ids;
  if (screen == "lockscreen") {
    found.table = platform::objc::objectIvar(ui->listView(), "_tableView");
    ids = rowIDs(lockScreenShot()->rows);
  } else {
    if (!ui->notificationCenterVisible()) {
      c.fail("Notification Center is not shown (use nc show)");
      return std::nullopt;
    }
    found.table = sel::view(sb::bulletinListController(ui->notificationCenter()));
    ids = rowIDs(notificationCenterShot()->rows);
  }
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] == id) found.row = static_cast<long>(i);
  }
  if (found.row < 0) {
    c.fail(std::string(screen == "lockscreen" ? "the lock screen" : "Notification Center") +
           " shows no row " + id + "; it shows " + (ids.empty() ? "(none)" : joined(ids)));
    return std::nullopt;
  }
  return found;
}

// The cell the table shows for `row`, laid out as the screen draws it.
id cellOf(const RowOnScreen& at) {
  asSpringBoard([&] { sel::reloadData(at.table); });
  for (const auto& shown : uikit::shownRows(at.table)) {
    if (sel::row(shown.indexPath) == at.row && sel::section(shown.indexPath) == 0)
      return shown.cell;
  }
  return nil;
}

std::string layerName(const uikit::ScreenLayer& layer) {
  switch (layer.kind) {
    case uikit::ScreenLayerKind::Alert:
      return "the alert \"" + layer.title + "\"";
    case uikit::ScreenLayerKind::Sheet:
      return "the sheet \"" + layer.title + "\"";
    case uikit::ScreenLayerKind::SwipedRow:
      return "a swiped row";
    default:
      return layer.title.empty() ? "a window" : "the window \"" + layer.title + "\"";
  }
}

std::string buttonTitles(const uikit::ScreenLayer& layer) {
  std::vector<std::string> titles;
  for (const auto& b : layer.buttons) titles.push_back("\"" + b.title + "\"");
  return titles.empty() ? "no buttons" : joined(titles);
}

// What is on top that has buttons or rows, or nothing.
std::optional<uikit::ScreenLayer> topLayer() {
  auto stack = uikit::screenStack();
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    if (!it->buttons.empty() || !it->rows.empty() || it->kind == uikit::ScreenLayerKind::Alert ||
        it->kind == uikit::ScreenLayerKind::Sheet)
      return *it;
  }
  return std::nullopt;
}

// Runs a user's touch as the process that shows what it lands on (SpringBoard, or the Settings
// app for its own alerts).
template <class Work>
auto asOwner(const uikit::ScreenLayer& layer, Work work) {
  if (layer.process == platform::kDeviceProcess) return asSpringBoard(work);
  platform::ProcessScope scope(layer.process);
  platform::objc::AutoreleasePool pool;
  return work();
}

bool tap(RunContext& c) {
  std::string title = c.arg(0);
  auto top = topLayer();
  if (!top)
    return c.fail(
        "nothing with buttons is shown; tap needs a sheet, an alert, a swiped row or the reminders "
        "window");
  for (std::size_t i = 0; i < top->buttons.size(); ++i) {
    if (plainTitle(top->buttons[i].title) != plainTitle(title)) continue;
    std::string error;
    switch (top->kind) {
      case uikit::ScreenLayerKind::Alert:
      case uikit::ScreenLayerKind::Sheet:
        error =
            asOwner(*top, [&] { return uikit::tapModalButton(top->object, static_cast<long>(i)); });
        break;
      case uikit::ScreenLayerKind::SwipedRow:
        error = asOwner(*top, [&] { return uikit::tapRowAction(top->object, i); });
        break;
      default:
        error = asOwner(*top, [&] { return uikit::tapBarButton(top->buttons[i].object); });
    }
    c.phone.wait(0);
    return error.empty() || c.fail(error);
  }
  return c.fail("no button \"" + title + "\" on top: " + layerName(*top) + " shows " +
                buttonTitles(*top));
}

bool select(RunContext& c) {
  long n = std::stol(c.arg(0));
  auto top = topLayer();
  if (!top || top->rows.empty()) return c.fail("no list is shown on top to select a row in");
  if (n >= static_cast<long>(top->rows.size()))
    return c.fail("the list shows " + std::to_string(top->rows.size()) + " rows (0 to " +
                  std::to_string(top->rows.size() - 1) + ")");
  const auto& row = top->rows[static_cast<std::size_t>(n)];
  std::string error = asSpringBoard(
      [&] { return uikit::selectRow(row.table, platform::indexPath(row.row, row.section)); });
  c.phone.wait(0);
  return error.empty() || c.fail(error);
}

// The date picker of the alert on top, or nil.
id shownPicker() {
  auto top = topLayer();
  if (!top || top->kind != uikit::ScreenLayerKind::Alert) return nil;
  return sel::isKindOfClass(top->accessoryView, uikit::UIDatePickerClass()) ? top->accessoryView
                                                                            : nil;
}

void renderLayer(const uikit::ScreenLayer& layer, std::ostream& out) {
  out << "    " << layerName(layer) << ":\n";
  if (!layer.message.empty()) out << "      message: " << layer.message << "\n";
  if (id picker = layer.accessoryView) {
    if (sel::isKindOfClass(picker, uikit::UIDatePickerClass()))
      out << "      picker: "
          << platform::formatDate(platform::dateSeconds(sel::date(picker)),
                                  platform::DateStyle::Short, platform::DateStyle::Short)
          << "\n";
  }
  for (std::size_t i = 0; i < layer.buttons.size(); ++i) {
    bool cancel = static_cast<long>(i) == layer.cancelButtonIndex;
    out << "      [" << i << "] " << layer.buttons[i].title << (cancel ? "  (cancel)" : "") << "\n";
  }
  for (std::size_t i = 0; i < layer.rows.size(); ++i) {
    const auto& row = layer.rows[i];
    out << "      row " << i << ": " << row.text << "  " << row.detail;
    if (!row.iconBundleIdentifier.empty())
      out << "  [icon of " << applicationName(row.iconBundleIdentifier) << "]";
    out << "\n";
  }
}

std::vector<std::string> listedIDs(const RunContext& c) {
  std::vector<std::string> ids;
  for (std::size_t i = 1; i < c.argCount(); ++i) ids.push_back(c.arg(i));
  return ids;
}

std::string shownList(const std::vector<std::string>& ids) {
  return ids.empty() ? "(none)" : joined(ids);
}

bool expectButtons(RunContext& c, uikit::ScreenLayerKind kind, const char* what) {
  std::vector<std::string> want, have;
  for (const auto& w : listedIDs(c)) want.push_back(plainTitle(w));
  std::string title;
  for (const auto& layer : uikit::screenStack()) {
    if (layer.kind != kind) continue;
    have.clear();
    for (const auto& b : layer.buttons) have.push_back(plainTitle(b.title));
    title = layer.title;
  }
  return c.check(want == have, std::string(what) + " " + shownList(want),
                 have.empty()
                     ? std::string("no ") + what + " is shown"
                     : "the " + std::string(what) + " \"" + title + "\" shows " + shownList(have));
}

CommandFamily build() {
  CommandFamily f;
  f.title = "actions and reminders";
  f.commands = {
      {"device", "device phone|pad", "the kind of device (before boot)", 1, 1,
       [](const std::vector<Word>& a) -> std::string {
         return isOneOf(a[0].text, {"phone", "pad"}) ? ""
                                                     : "\"" + a[0].text + "\" must be phone or pad";
       },
       [](RunContext& c) {
         if (c.phone.springBoardRunning()) return c.fail("choose the device before boot");
         uikit::setDeviceIdiom(c.arg(0) == "pad" ? 1 : 0);
         c.say("the device is a " + c.arg(0));
         return true;
       }},
      {"swipe", "swipe lockscreen|nc ID", "swipe the row of ID: its row actions are shown", 2, 2,
       [](const std::vector<Word>& a) -> std::string {
         return isOneOf(a[0].text, {"lockscreen", "nc"})
                    ? ""
                    : "\"" + a[0].text + "\" must be lockscreen or nc";
       },
       [](RunContext& c) {
         auto at = rowOf(c, c.arg(0), c.arg(1));
         if (!at) return false;
         cellOf(*at);
         std::vector<std::string> titles;
         asSpringBoard([&] {
           for (const Strong& action : uikit::swipeRow(at->table, platform::indexPath(at->row, 0)))
             titles.push_back(platform::utf8(sel::title(action)));
         });
         c.phone.wait(0);
         if (titles.empty()) return c.fail("the row of " + c.arg(1) + " offers no swipe actions");
         c.say("row actions: " + joined(titles));
         return true;
       }},
      {"long-press", "long-press ID [hold=DURATION]",
       "press and hold a Notification Center row (default 1s)", 1, 2,
       [](const std::vector<Word>& a) -> std::string {
         if (a.size() == 2 &&
             (a[1].text.rfind("hold=", 0) != 0 || !parseDuration(a[1].text.substr(5))))
           return "\"" + a[1].text + "\" must be hold=DURATION, e.g. hold=2s";
         return "";
       },
       [](RunContext& c) {
         auto at = rowOf(c, "nc", c.arg(0));
         if (!at) return false;
         double hold = c.argCount() == 2 ? *parseDuration(c.arg(1).substr(5)) : 1.0;
         id cell = cellOf(*at);
         if (!cell) return c.fail("Notification Center draws no cell for " + c.arg(0));
         std::size_t began = uikit::pressView(cell, hold);
         c.phone.wait(0);
         c.say("held " + c.arg(0) + " for " + std::to_string(hold).substr(0, 4) + "s; " +
               std::to_string(began) + (began == 1 ? " recognizer" : " recognizers") + " began");
         return true;
       }},
      {"tap", "tap TITLE", "tap the button, row action or bar button of that title on top", 1, 1,
       nullptr, tap},
      {"select", "select N", "tap row N (from 0) of the list on top", 1, 1,
       [](const std::vector<Word>& a) { return checkCount(a[0].text); }, select},
      {"pick", "pick YYYY-MM-DDTHH:MM", "turn the shown date picker to that minute", 1, 1,
       [](const std::vector<Word>& a) -> std::string {
         return parseMinute(a[0].text) ? ""
                                       : "bad date \"" + a[0].text + "\": write YYYY-MM-DDTHH:MM";
       },
       [](RunContext& c) {
         id picker = shownPicker();
         if (!picker) {
           auto top = topLayer();
           return c.fail("no date picker is shown" +
                         (top ? "; on top: " + layerName(*top) : std::string()));
         }
         std::string error =
             asSpringBoard([&] { return uikit::pickDate(picker, *parseMinute(c.arg(0))); });
         if (!error.empty()) return c.fail(error);
         c.say("the picker shows " + minuteText(platform::dateSeconds(sel::date(picker))));
         return true;
       }},
  };
  f.shows = {
      {"screen", "show screen", "what is on top: sheet, alert with its picker, reminders window",
       [](const std::vector<Word>& a) -> std::string {
         return a.size() == 1 ? "" : "usage: show screen";
       },
       [](RunContext& c) {
         auto top = topLayer();
         if (!top) {
           c.say("(nothing but the lock screen or the home screen)");
           return true;
         }
         renderLayer(*top, c.out);
         return true;
       }},
  };
  f.expectations = {
      {"sheet", "expect sheet [TITLE...]",
       "the actions sheet shows exactly these buttons (none: no sheet)", nullptr,
       [](RunContext& c) { return expectButtons(c, uikit::ScreenLayerKind::Sheet, "sheet"); }},
      {"alert", "expect alert [TITLE]", "the alert of that title is shown (none: no alert)",
       nullptr,
       [](RunContext& c) {
         std::string shown;
         for (const auto& layer : uikit::screenStack())
           if (layer.kind == uikit::ScreenLayerKind::Alert)
             shown = layer.title.empty() ? "(untitled)" : layer.title;
         std::string want = c.argCount() > 1 ? c.arg(1) : "";
         return c.check(
             shown == want, want.empty() ? "no alert" : "alert " + want,
             shown.empty() ? "no alert is shown" : "the alert \"" + shown + "\" is shown");
       }},
      {"window", "expect window [TITLE...]",
       "the reminders window lists exactly these rows in order", nullptr,
       [](RunContext& c) {
         std::vector<std::string> want = listedIDs(c), have;
         bool shown = false;
         for (const auto& layer : uikit::screenStack()) {
           if (layer.title != "Tarrow 8 Reminders") continue;
           shown = true;
           have.clear();
           for (const auto& row : layer.rows) have.push_back(row.text);
         }
         if (want.empty())  // no titles: the window is not shown
           return c.check(!shown, "no reminders window", "it is shown, listing " + shownList(have));
         return c.check(
             shown && want == have, "window " + shownList(want),
             shown ? "it lists " + shownList(have) : "the reminders window is not shown");
       }},
      {"reminder", "expect reminder ID YYYY-MM-DDTHH:MM|absent",
       "the reminder of ID fires at that minute",
       [](const std::vector<Word>& a) -> std::string {
         if (a.size() != 3) return "usage: expect reminder ID YYYY-MM-DDTHH:MM|absent";
         return a[2].text == "absent" || parseMinute(a[2].text) ? ""
                                                                : "bad date \"" + a[2].text + "\"";
       },
       [](RunContext& c) {
         if (!c.requireSpringBoard()) return false;
         auto state = c.phone.extensionState();
         const Value* dates = state ? state->find("reminderDates") : nullptr;
         const Value* date = dates ? dates->find(c.arg(1)) : nullptr;
         std::string have = date && date->is<platform::plist::Date>()
                                ? minuteText(date->as<platform::plist::Date>().secondsSince2001)
                                : "absent";
         return c.check(have == c.arg(2), "reminder " + c.arg(1) + " " + c.arg(2),
                        have == "absent" ? "it has no reminder" : "it fires at " + have);
       }},
      {"marker", "expect marker ID true|false", "the row of ID shows the blue reminder dot",
       [](const std::vector<Word>& a) -> std::string {
         return a.size() == 3 ? checkBool(a[2].text) : "usage: expect marker ID true|false";
       },
       [](RunContext& c) {
         bool onLockScreen = c.phone.locked();
         auto at = rowOf(c, onLockScreen ? "lockscreen" : "nc", c.arg(1));
         if (!at) return false;
         id cell = cellOf(*at);
         static const platform::objc::Selector<id()> primaryLabel{"primaryLabel"};
         id marker = sel::viewWithTag(primaryLabel(cell), kReminderMarkerTag);
         bool shown = marker && sel::alpha(marker) > 0.5;
         bool want = c.arg(2) == "true";
         return c.check(shown == want, "marker " + c.arg(1) + " " + c.arg(2),
                        shown ? "the row shows the dot" : "the row shows no dot");
       }},
  };
  return f;
}

}  // namespace

const CommandFamily& actionCommands() {
  static const CommandFamily family = build();
  return family;
}

}  // namespace sim
