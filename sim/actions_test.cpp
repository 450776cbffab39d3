// The actions menu and the reminder marker on a booted phone, driven through the scenario
// commands a user would type: what the sheet offers, what the row actions are with the actions
// switched off, and where the blue dot sits.

#include <optional>
#include <sstream>
#include <vector>

#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nsstring.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/lock_screen_list.h"
#include "platform/springboard/notification_center.h"
#include "platform/uikit/screen_stack.h"
#include "platform/uikit/uicolor.h"
#include "platform/uikit/uigesturerecognizer.h"
#include "platform/uikit/uinavigationcontroller.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uiview.h"
#include "platform/uikit/uiviewcontroller.h"
#include "platform/uikit/uiwindow.h"
#include "sim/phone_test_support.h"
#include "sim/scenario.h"

namespace sim::testing {
namespace {

namespace sb = platform::springboard;
using platform::objc::Strong;

class Actions : public PhoneTest {
 protected:
  // Runs scenario lines; returns how many failed. The transcript collects in out_.
  int run(const std::string& lines) {
    ParsedScenario parsed = parseScenario(lines, "t");
    EXPECT_TRUE(parsed.errors.empty()) << (parsed.errors.empty() ? "" : parsed.errors.front());
    ScenarioRunner runner(*phone_, out_, "t");
    return runner.runAll(parsed.commands);
  }

  // Stores a reminder for bulletin `key` due at the phone's time `fireDate`, as the editor would,
  // without telling the timer: nothing fires it until the schedule is next worked out. The entry
  // holds `archive`, or the published bulletin archived when it is nil.
  void storeReminder(const std::string& key, const std::string& title, double fireDate,
                     id archive = nil) {
    platform::objc::AutoreleasePool pool;
    Strong entry = platform::mutableDictionary();
    sel::setObject_forKey(entry, platform::nsdate(fireDate), CFSTR("fireDate"));
    sel::setObject_forKey(entry, platform::nsstring(title), CFSTR("title"));
    sel::setObject_forKey(entry, platform::nsstring("com.apple.MobileSMS"), CFSTR("sectionID"));
    if (!archive) {
      archive =
          sel::archivedDataWithRootObject(reinterpret_cast<id>(platform::NSKeyedArchiverClass()),
                                          sb::publishedBulletin(ui().bulletinServer(), key));
    }
    sel::setObject_forKey(entry, archive, CFSTR("bulletin"));
    platform::setObjectForKey(global("_ZN7tarrow89remindersE"), key, entry);
  }

  // Whether the first row of `table` shows the blue dot as it was last drawn (nothing is drawn
  // again to find out).
  static bool dotAsLastDrawn(id table) {
    auto rows = platform::uikit::shownRows(table);
    if (rows.empty()) {
      ADD_FAILURE() << "the table shows no row";
      return false;
    }
    static const platform::objc::Selector<id()> primaryLabel{"primaryLabel"};
    id marker = sel::viewWithTag(primaryLabel(rows.front().cell), kReminderMarkerTag);
    return marker && sel::alpha(marker) > 0.5;
  }
  // The layers of one kind on screen now, bottom to top.
  static std::vector<platform::uikit::ScreenLayer> shown(platform::uikit::ScreenLayerKind kind) {
    std::vector<platform::uikit::ScreenLayer> layers;
    for (const auto& layer : platform::uikit::screenStack())
      if (layer.kind == kind) layers.push_back(layer);
    return layers;
  }
  static bool isMarkerColour(id colour) {
    platform::uikit::ColorComponents c;
    return platform::uikit::colorComponents(colour, &c) && c.red == 113.0 / 255 &&
           c.green == 162.0 / 255 && c.blue == 234.0 / 255 && c.alpha == 1.0;
  }

  // What the reminders window shows, when it is shown.
  static std::optional<platform::uikit::ScreenLayer> remindersWindow() {
    std::optional<platform::uikit::ScreenLayer> found;
    for (const auto& layer : platform::uikit::screenStack())
      if (layer.title == "Tarrow 8 Reminders") found = layer;
    return found;
  }
  id lockScreenTable() { return platform::objc::objectIvar(ui().listView(), "_tableView"); }
  id notificationCenterTable() {
    return sel::view(sb::bulletinListController(ui().notificationCenter()));
  }

  std::ostringstream out_;
};

TEST_F(Actions, TheSheetFollowsTheStoresAndTheLockState) {
  boot();
  EXPECT_EQ(
      run("publish m1 com.apple.MobileSMS title=A\n"
          "swipe lockscreen m1\ntap T\n"
          "expect sheet \"Remove from LockScreen\" \"Add Reminder\" \"Clear LockScreen Section\" "
          "\"Clear LockScreen All\" Cancel\n"
          "tap Cancel\nexpect sheet\n"),
      0)
      << out_.str();
  // Unlocked with a reminder stored, the menu offers the reminders window too.
  EXPECT_EQ(
      run("swipe lockscreen m1\ntap T\ntap \"Add Reminder\"\npick 2026-12-09T09:00\ntap Add\n"
          "unlock\nnc show\nlong-press m1\n"
          "expect sheet \"Remove from LockScreen\" \"Edit Reminder: 12/9/26, 9:00 AM\" "
          "\"Clear LockScreen Section\" \"Clear LockScreen All\" \"Edit All Reminders\" Cancel\n"),
      0)
      << out_.str();
}

TEST_F(Actions, SwitchedOffTheRowsOfferOnlySpringBoardsOwnActions) {
  for (const char* key : {"enabled", "enableNotificationActions"}) {
    SCOPED_TRACE(key);
    makePhone();
    out_.str("");
    boot({{key, Value(false)}});
    EXPECT_EQ(run("publish m1 com.apple.MobileSMS title=A\nunlock\nnc show\nswipe nc m1\n"), 0);
    EXPECT_NE(out_.str().find("row actions: Clear\n"), std::string::npos) << out_.str();
    EXPECT_EQ(run("lock\npublish m2 com.apple.MobileSMS title=B\nswipe lockscreen m2\n"), 1)
        << "the lock screen offers none of its own";
    EXPECT_NE(out_.str().find("the row of m2 offers no swipe actions"), std::string::npos)
        << out_.str();
  }
}

TEST_F(Actions, TheWindowListsEarliestFirstAndThePickerStopsFiveMinutesBack) {
  boot();
  ASSERT_EQ(run("unlock\n"
                "publish a com.apple.MobileSMS title=A\npublish b com.apple.mobilemail title=B\n"
                "publish c com.apple.reminders title=C\nnc show\n"
                "long-press a\ntap \"Add Reminder\"\npick 2026-12-09T09:00\ntap Add\n"
                "long-press b\ntap \"Add Reminder\"\npick 2026-12-09T08:30\ntap Add\n"
                "long-press c\ntap \"Add Reminder\"\npick 2026-12-09T10:15\ntap Add\n"
                "long-press a\ntap \"Edit All Reminders\"\nexpect window B A C\n"
                "select 0\npick 2026-12-09T07:00\n"),
            0)
      << out_.str();
  EXPECT_NE(out_.str().find("the picker shows 2026-12-09T07:55"), std::string::npos)
      << "no earlier than five minutes before the row was tapped\n"
      << out_.str();
  // Kept at 07:55, the reminder is already due: rescheduling fires it at once.
  EXPECT_EQ(run("tap Add\nexpect reminder b absent\nexpect window A C\n"), 0) << out_.str();
}

TEST_F(Actions, TheMarkerIsAHalfHeightDotLeftOfTheTitle) {
  boot();
  ASSERT_EQ(run("publish m1 com.apple.MobileSMS title=A\nswipe lockscreen m1\ntap T\n"
                "tap \"Add Reminder\"\ntap Add\nexpect marker m1 true\n"),
            0)
      << out_.str();
  id table = platform::objc::objectIvar(ui().listView(), "_tableView");
  id cell = platform::uikit::shownRows(table).front().cell;
  static const platform::objc::Selector<id()> primaryLabel{"primaryLabel"};
  id label = primaryLabel(cell);
  id marker = sel::viewWithTag(label, kReminderMarkerTag);
  ASSERT_NE(marker, nil);
  double h = sel::frame(label).size.height;
  CGRect f = sel::frame(marker);
  EXPECT_DOUBLE_EQ(f.origin.x, -1.375 * h);
  EXPECT_DOUBLE_EQ(f.origin.y, 1.25 * h) << "made while locked";
  EXPECT_DOUBLE_EQ(f.size.width, 0.5 * h);
  EXPECT_DOUBLE_EQ(f.size.height, 0.5 * h);
  EXPECT_DOUBLE_EQ(sel::cornerRadius(sel::layer(marker)), 0.25 * h);
  platform::uikit::ColorComponents colour;
  ASSERT_TRUE(platform::uikit::colorComponents(sel::backgroundColor(marker), &colour));
  EXPECT_DOUBLE_EQ(colour.red, 113.0 / 255);
  EXPECT_DOUBLE_EQ(colour.green, 162.0 / 255);
  EXPECT_DOUBLE_EQ(colour.blue, 234.0 / 255);
  EXPECT_DOUBLE_EQ(colour.alpha, 1.0);
  EXPECT_FALSE(sel::clipsToBounds(label)) << "the dot lies outside the label's bounds";
  // Deleting the reminder hides the same view.
  ASSERT_EQ(run("swipe lockscreen m1\ntap T\ntap \"Edit Reminder: 12/9/26, 9:00 AM\"\ntap Delete\n"
                "expect marker m1 false\n"),
            0)
      << out_.str();
  EXPECT_EQ(sel::viewWithTag(label, kReminderMarkerTag), marker);
  EXPECT_DOUBLE_EQ(sel::alpha(marker), 0.0);
  // A reminder again shows the same view again, in front of whatever the label gained meanwhile,
  // and unclipped however the label was set.
  Strong other =
      Strong::adopt(sel::init(sel::alloc(reinterpret_cast<id>(platform::uikit::UIViewClass()))));
  sel::addSubview(label, other);
  sel::setClipsToBounds(label, YES);
  ASSERT_EQ(
      run("swipe lockscreen m1\ntap T\ntap \"Add Reminder\"\ntap Add\nexpect marker m1 true\n"), 0)
      << out_.str();
  EXPECT_EQ(sel::viewWithTag(label, kReminderMarkerTag), marker);
  EXPECT_DOUBLE_EQ(sel::alpha(marker), 1.0);
  EXPECT_EQ(platform::uikit::subviewsOf(label).back().get(), marker);
  EXPECT_FALSE(sel::clipsToBounds(label));
}

// With the extension switched off, laying a row out changes nothing: a dot shown stays shown,
// even once its reminder has fired.
TEST_F(Actions, SwitchedOffTheMarkerIsLeftAsItWas) {
  boot();
  ASSERT_EQ(run("unlock\npublish m1 com.apple.MobileSMS title=A\nnc show\nlong-press m1\n"
                "tap \"Add Reminder\"\npick 2026-12-09T08:10\ntap Add\nexpect marker m1 true\n"
                "settings enabled=false\nwait 11m\nexpect reminder m1 absent\n"
                "expect marker m1 true\n"),
            0)
      << out_.str();
}

// Opened on the locked screen, the editor keeps the display awake until it closes, whichever
// button closes it; opened while unlocked it leaves the display alone. It offers "Add", "Delete"
// and "Cancel", the last as its cancel button.
TEST_F(Actions, TheLockedEditorKeepsTheDisplayAwakeUntilItCloses) {
  struct Case {
    const char* open;
    const char* button;
    bool awakeWhileOpen;
  };
  const Case cases[] = {
      {"swipe lockscreen m1\ntap T\n", "Add", true},
      {"swipe lockscreen m1\ntap T\n", "Delete", true},
      {"swipe lockscreen m1\ntap T\n", "Cancel", true},
      {"unlock\nnc show\nlong-press m1\n", "Add", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.open) + c.button);
    makePhone();
    out_.str("");
    boot();
    ASSERT_EQ(run("publish m1 com.apple.MobileSMS title=A\n" + std::string(c.open) +
                  "tap \"Add Reminder\"\n"),
              0)
        << out_.str();
    EXPECT_EQ(sb::listKeepsDisplayAwake(ui().listView()), c.awakeWhileOpen);
    auto alerts = shown(platform::uikit::ScreenLayerKind::Alert);
    ASSERT_EQ(alerts.size(), 1u);
    ASSERT_EQ(alerts[0].buttons.size(), 3u);
    EXPECT_EQ(alerts[0].buttons[2].title, "Cancel");
    EXPECT_EQ(alerts[0].cancelButtonIndex, 2);
    ASSERT_EQ(run("tap " + std::string(c.button) + "\n"), 0) << out_.str();
    EXPECT_FALSE(sb::listKeepsDisplayAwake(ui().listView()));
  }
}

// When the editor's row is gone by the time a button is tapped, no button does anything.
TEST_F(Actions, AnEditorWhoseRowHasGoneChangesNothing) {
  boot();
  ASSERT_EQ(run("unlock\npublish m1 com.apple.MobileSMS title=A\nnc show\nlong-press m1\n"
                "tap \"Add Reminder\"\nwithdraw m1\ntap Add\nexpect reminder m1 absent\n"),
            0)
      << out_.str();
  EXPECT_EQ(out_.str().find("SpringBoard relaunched"), std::string::npos) << out_.str();
  EXPECT_EQ(store("reminders"), ids({}));
}

// A respring forgets every reminder; the reminders window of the next launch lists only what was
// set since, and works as before.
TEST_F(Actions, AfterARespringTheWindowListsOnlyTheNewReminders) {
  boot();
  ASSERT_EQ(run("unlock\npublish a com.apple.MobileSMS title=A\nnc show\nlong-press a\n"
                "tap \"Add Reminder\"\ntap Add\nlong-press a\ntap \"Edit All Reminders\"\n"
                "expect window A\ntap Done\n"
                "respring\nunlock\npublish b com.apple.MobileSMS title=B\nnc show\n"
                "long-press b\ntap \"Add Reminder\"\ntap Add\nlong-press b\n"
                "tap \"Edit All Reminders\"\nexpect window B\nselect 0\ntap Delete\n"
                "expect reminder b absent\n"),
            0)
      << out_.str();
}

// After "Add", the list the user edits from is drawn again so that its dot follows the store;
// from Notification Center on the locked screen neither list is, until something else redraws.
TEST_F(Actions, TheEditorRedrawsTheListItWasOpenedFromUnlessThatIsNotificationCenterWhileLocked) {
  struct Case {
    const char* name;
    const char* lines;  // from a fresh boot, with m1 published while locked
    std::optional<bool> lockScreenDot, notificationCenterDot;
  };
  const Case cases[] = {
      {"lock screen, locked", "swipe lockscreen m1\ntap T\n", true, std::nullopt},
      {"Notification Center, unlocked", "unlock\nnc show\nlong-press m1\n", std::nullopt, true},
      {"Notification Center, locked", "expect marker m1 false\nnc show\nlong-press m1\n", false,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makePhone();
    out_.str("");
    boot();
    ASSERT_EQ(run("publish m1 com.apple.MobileSMS title=A\n" + std::string(c.lines) +
                  "tap \"Add Reminder\"\ntap Add\nexpect reminder m1 2026-12-09T09:00\n"),
              0)
        << out_.str();
    if (c.lockScreenDot) EXPECT_EQ(dotAsLastDrawn(lockScreenTable()), *c.lockScreenDot);
    if (c.notificationCenterDot)
      EXPECT_EQ(dotAsLastDrawn(notificationCenterTable()), *c.notificationCenterDot);
  }
  // The reminder is there all the same: the next redraw shows it.
  EXPECT_EQ(run("expect marker m1 true\n"), 0) << out_.str();
}

// "Delete" works out the schedule again even for a bulletin without a reminder, so a reminder
// already due fires then; "Cancel" leaves everything as it was.
TEST_F(Actions, DeleteWithoutAReminderStillReschedulesAndCancelDoesNothing) {
  for (const char* button : {"Delete", "Cancel"}) {
    SCOPED_TRACE(button);
    makePhone();
    out_.str("");
    boot();
    ASSERT_EQ(run("unlock\npublish a com.apple.MobileSMS title=A\n"
                  "publish b com.apple.MobileSMS title=B\nnc show\n"),
              0)
        << out_.str();
    storeReminder("b", "B", phone_->now() - 60);
    ASSERT_EQ(run("long-press a\ntap \"Add Reminder\"\ntap " + std::string(button) + "\n"), 0)
        << out_.str();
    bool deleted = std::string(button) == "Delete";
    EXPECT_EQ(store("reminders"), deleted ? ids({}) : ids({"b"}));
    auto* replayed = platform::springboard::DeliveryLog::shared().lastDelivery("b");
    EXPECT_EQ(replayed && replayed->sound == "tone alert 2", deleted) << out_.str();
  }
}

// The window marks a reminder whose notification cannot be read back (a damaged archive, or one
// of something else), and lists it in its place; the rest of the list is untouched.
TEST_F(Actions, TheWindowSaysWhichRemindersCannotBeRead) {
  platform::objc::AutoreleasePool pool;
  struct Case {
    const char* name;
    Strong archive;
  };
  const std::uint8_t junk[] = {'n', 'o', 't', ' ', 'a', 'n', ' ',
                               'a', 'r', 'c', 'h', 'i', 'v', 'e'};
  const Case cases[] = {
      {"damaged", platform::nsdata(junk)},
      {"another class", Strong(sel::archivedDataWithRootObject(
                            reinterpret_cast<id>(platform::NSKeyedArchiverClass()),
                            platform::nsstring("just a string")))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makePhone();
    out_.str("");
    boot();
    ASSERT_EQ(run("unlock\npublish a com.apple.MobileSMS title=A\n"
                  "publish b com.apple.MobileSMS title=B\nnc show\n"),
              0);
    storeReminder("a", "A", phone_->now() + 3600);
    storeReminder("b", "B", phone_->now() + 7200, c.archive);
    ASSERT_EQ(run("long-press a\ntap \"Edit All Reminders\"\nexpect window A B\nshow screen\n"), 0)
        << out_.str();
    EXPECT_NE(out_.str().find("row 0: A  12/9/26, 9:00\u202fAM  [icon of Messages]\n"),
              std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("row 1: B  12/9/26, 10:00\u202fAM \u2014 unreadable, will not be "
                              "shown  [icon of Messages]\n"),
              std::string::npos)
        << out_.str();
  }
}

// The window sits just below the status bar, not above the lock screen, with a dark opaque bar
// in white, Done and Trash; its controllers turn with the device and ask for light status text.
// Deleting its last reminder leaves it open and empty.
TEST_F(Actions, TheRemindersWindowAndItsLastReminderDeleted) {
  boot();
  ASSERT_EQ(run("unlock\npublish a com.apple.MobileSMS title=A\nnc show\n"
                "long-press a\ntap \"Add Reminder\"\ntap Add\n"
                "long-press a\ntap \"Edit All Reminders\"\nexpect window A\n"),
            0)
      << out_.str();
  auto list = remindersWindow();
  ASSERT_TRUE(list);
  std::optional<platform::uikit::ScreenLayer> window;
  for (const auto& layer : platform::uikit::screenStack())
    if (layer.kind == platform::uikit::ScreenLayerKind::Window && layer.window == list->window)
      window = layer;
  ASSERT_TRUE(window) << "the list is presented in a window of its own";
  EXPECT_DOUBLE_EQ(window->level, platform::uikit::UIWindowLevelStatusBar - 1.0);
  EXPECT_FALSE(window->secure);
  EXPECT_TRUE(window->keyWindow);
  ASSERT_EQ(list->buttons.size(), 2u);
  EXPECT_EQ(list->buttons[0].title, "Done");
  EXPECT_EQ(list->buttons[1].title, "Trash");
  id navigation = list->controller;
  if (!sel::isKindOfClass(navigation, platform::uikit::UINavigationControllerClass()))
    navigation = sel::navigationController(navigation);
  id bar = sel::navigationBar(navigation);
  EXPECT_EQ(sel::barStyle(bar), 1);
  EXPECT_FALSE(sel::isTranslucent(bar));
  platform::uikit::ColorComponents tint;
  ASSERT_TRUE(platform::uikit::colorComponents(sel::tintColor(bar), &tint));
  EXPECT_EQ(tint.red + tint.green + tint.blue + tint.alpha, 4.0) << "white";
  for (id controller : {sel::topViewController(navigation), window->controller}) {
    SCOPED_TRACE(platform::objc::className(controller));
    for (long orientation : {1, 2, 3, 4})
      EXPECT_TRUE(sel::shouldAutorotateToInterfaceOrientation(controller, orientation));
    EXPECT_EQ(sel::preferredStatusBarStyle(controller), 1);
  }

  ASSERT_EQ(run("select 0\ntap Delete\nexpect reminder a absent\n"), 0) << out_.str();
  list = remindersWindow();
  ASSERT_TRUE(list) << "the list stays open";
  EXPECT_TRUE(list->rows.empty()) << list->rows.size() << " rows left";
}

// The menu row action comes first, in the marker colour; tapping it closes the swiped row and
// opens a sheet tagged with the row, on both lists.
TEST_F(Actions, TheMenuRowActionClosesTheRowAndOpensASheetTaggedWithIt) {
  boot();
  ASSERT_EQ(run("publish m0 com.apple.MobileSMS title=A\npublish m1 com.apple.MobileSMS title=B\n"),
            0);
  struct Case {
    const char* swipe;
    const char* firstActions;
  };
  for (const Case& c : {Case{"swipe lockscreen m0\n", "row actions: T\n"},
                        Case{"unlock\nnc show\nswipe nc m0\n", "row actions: T, Clear\n"}}) {
    SCOPED_TRACE(c.swipe);
    out_.str("");
    ASSERT_EQ(run(c.swipe), 0) << out_.str();
    EXPECT_NE(out_.str().find(c.firstActions), std::string::npos) << out_.str();
    auto tables = platform::uikit::swipedTables();
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_TRUE(isMarkerColour(
        sel::backgroundColor(platform::uikit::swipedRowActions(tables.front()).front())));
    ASSERT_EQ(run("tap T\n"), 0) << out_.str();
    EXPECT_TRUE(platform::uikit::swipedTables().empty()) << "the swiped row is closed";
    EXPECT_FALSE(sel::isEditing(tables.front())) << "and the table is not left editing";
    auto sheets = shown(platform::uikit::ScreenLayerKind::Sheet);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sel::tag(sheets.front().object), 1) << "m0 is the second row";
    ASSERT_EQ(run("tap Cancel\n"), 0) << out_.str();
  }
}

// A long press opens the menu as soon as it is recognised, once, however long it is held; a cell
// that no table holds opens nothing.
TEST_F(Actions, ALongPressOpensOneMenuWhenRecognisedAndNoneOutsideATable) {
  boot();
  ASSERT_EQ(run("unlock\npublish m1 com.apple.MobileSMS title=A\nnc show\n"), 0);
  bool shownWhileHeld = false;
  platform::RunLoop::main().post(
      platform::DeviceClock::shared().now() + platform::kNanosPerSecond,
      [&] { shownWhileHeld = !shown(platform::uikit::ScreenLayerKind::Sheet).empty(); });
  ASSERT_EQ(run("long-press m1 hold=2s\n"), 0) << out_.str();
  EXPECT_TRUE(shownWhileHeld) << "open one second into a two-second press";
  EXPECT_EQ(shown(platform::uikit::ScreenLayerKind::Sheet).size(), 1u);
  ASSERT_EQ(run("tap Cancel\n"), 0) << out_.str();

  id cell = platform::uikit::shownRows(notificationCenterTable()).front().cell;
  Strong held(cell);
  asSpringBoard([&] { sel::removeFromSuperview(cell); });
  EXPECT_EQ(platform::uikit::pressView(cell, 1.0), 1u) << "its recognizer still begins";
  phone_->wait(0);
  EXPECT_TRUE(shown(platform::uikit::ScreenLayerKind::Sheet).empty());
}

// On a pad the sheet gets a clear, secure key window of its own just above alerts, which goes
// when the sheet does (its cancel included); on a phone the sheet needs no window.
TEST_F(Actions, OnAPadTheSheetHasASecureWindowThatGoesWithIt) {
  for (const char* device : {"phone", "pad"}) {
    SCOPED_TRACE(device);
    makePhone();
    out_.str("");
    ASSERT_EQ(run("device " + std::string(device) + "\n"), 0);
    boot();
    auto windowsBefore = shown(platform::uikit::ScreenLayerKind::Window).size();
    ASSERT_EQ(run("publish m1 com.apple.MobileSMS title=A\nswipe lockscreen m1\ntap T\n"), 0)
        << out_.str();
    auto windows = shown(platform::uikit::ScreenLayerKind::Window);
    if (std::string(device) == "phone") {
      EXPECT_EQ(windows.size(), windowsBefore);
    } else {
      ASSERT_EQ(windows.size(), windowsBefore + 1);
      const auto& sheetWindow = windows.back();
      EXPECT_DOUBLE_EQ(sheetWindow.level, platform::uikit::UIWindowLevelAlert + 1.0);
      EXPECT_TRUE(sheetWindow.secure);
      EXPECT_TRUE(sheetWindow.keyWindow);
      platform::uikit::ColorComponents background;
      ASSERT_TRUE(
          platform::uikit::colorComponents(sel::backgroundColor(sheetWindow.window), &background));
      EXPECT_EQ(background.alpha, 0.0) << "clear";
    }
    ASSERT_EQ(run("tap Cancel\n"), 0) << out_.str();
    EXPECT_EQ(shown(platform::uikit::ScreenLayerKind::Window).size(), windowsBefore);
  }
}

// "Remove from LockScreen" while unlocked changes only the stores; "Add to LockScreen" while
// locked shows the row at once; "Clear LockScreen All" clears every application's rows.
TEST_F(Actions, TheLockScreenChoicesKeepTheStoresAndTheLockedListTogether) {
  boot();
  ASSERT_EQ(run("publish m1 com.apple.MobileSMS title=A\npublish e1 com.apple.mobilemail title=B\n"
                "expect kept e1 m1\n"
                "unlock\nnc show\nswipe nc m1\ntap T\ntap \"Remove from LockScreen\"\n"
                "expect kept e1\nexpect removed m1\n"
                "lock\nwait 1s\nexpect lockscreen e1\n"
                "nc show\nswipe nc m1\ntap T\ntap \"Add to LockScreen\"\n"
                "expect kept e1 m1\nexpect removed\nexpect lockscreen m1 e1\n"
                "nc hide\nswipe lockscreen e1\ntap T\ntap \"Clear LockScreen All\"\n"
                "expect kept\nexpect lockscreen\n"),
            0)
      << out_.str();
}

}  // namespace
}  // namespace sim::testing
