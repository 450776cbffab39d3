// Whole-device tests of the settings pane, driven as the Settings app drives it: the rows it
// shows and greys out, the file it writes, the notifications that reach the running extension,
// the respring prompt, a write that fails, and the application lists' descriptors.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/foundation/device_root.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/foundation/property_list_objects.h"
#include "platform/preferences/settings_app.h"
#include "platform/uikit/alert_presentation.h"
#include "platform/uikit/screen_stack.h"
#include "sim/phone_test_support.h"

namespace sim::testing {
namespace {

namespace prefs = platform::preferences;
namespace uikit = platform::uikit;
using platform::objc::Selector;

const Selector<id()> specifiers{"specifiers"};
const Selector<id(id)> specifierForID{"specifierForID:"};
const Selector<id(id)> propertyForKey{"propertyForKey:"};
const Selector<id()> table{"table"};
const Selector<id(id, id)> cellForRow{"tableView:cellForRowAtIndexPath:"};
const Selector<BOOL()> isUserInteractionEnabled{"isUserInteractionEnabled"};
const Selector<BOOL()> isEnabled{"isEnabled"};
const Selector<long()> selectionStyle{"selectionStyle"};
const Selector<id()> control{"control"};
const Selector<id()> textLabel{"textLabel"};
const Selector<id()> detailTextLabel{"detailTextLabel"};

constexpr const char* kMirror = "mirrorNotificationCenter";
constexpr const char* kInclude = "includeNotificationCenter";
constexpr const char* kAllApps = "enableAllApps";

// Counts the Darwin posts of the settings notification, as the extension would see them.
int gPreferencePosts = 0;
void countPost(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
  ++gPreferencePosts;
}

class SettingsPaneTest : public PhoneTest {
 protected:
  // Writes `file` as the whole settings file (none when empty), launches SpringBoard, unlocks,
  // and opens the pane.
  void openPane(const std::map<std::string, std::optional<Value>>& file = {}) {
    if (!file.empty()) ASSERT_EQ(phone_->changeSettings(file, false), "");
    ASSERT_TRUE(phone_->boot());
    phone_->unlock();
    ASSERT_EQ(phone_->openSettingsPane(), "");
    gPreferencePosts = 0;
    platform::ProcessScope scope(platform::kDeviceProcess);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &gPreferencePosts,
                                    countPost, CFSTR(kPreferencesNotification), nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
  }

  prefs::SettingsApp& app() { return prefs::SettingsApp::shared(); }

  prefs::PaneRow row(const std::string& key) {
    prefs::PaneShot pane;
    EXPECT_EQ(app().pane(&pane), "");
    for (const auto& r : pane.rows) {
      if (r.key == key || r.identifier == key) return r;
    }
    ADD_FAILURE() << "no row " << key;
    return {};
  }
  // The settings keys (or identifiers) of the rows that are greyed.
  std::set<std::string> greyedRows() {
    prefs::PaneShot pane;
    EXPECT_EQ(app().pane(&pane), "");
    std::set<std::string> greyed;
    for (const auto& r : pane.rows) {
      if (r.greyed) greyed.insert(r.key.empty() ? r.identifier : r.key);
    }
    return greyed;
  }
  std::string toggle(const std::string& key) {
    std::string error = app().toggle(key);
    phone_->wait(0);
    return error;
  }
  std::optional<Value> setting(const std::string& key) {
    auto file = phone_->readPropertyList(kSettingsFile);
    const Value* v = file ? file->find(key) : nullptr;
    return v ? std::optional<Value>(*v) : std::nullopt;
  }

  // The alert on top of the screen, if any.
  std::optional<uikit::ScreenLayer> alert() {
    std::optional<uikit::ScreenLayer> top;
    for (const auto& layer : uikit::screenStack()) {
      if (layer.kind == uikit::ScreenLayerKind::Alert) top = layer;
    }
    return top;
  }
  // Taps the button `title` of the alert on screen, as its process.
  void tapAlert(const std::string& title) {
    auto shown = alert();
    ASSERT_TRUE(shown);
    for (std::size_t i = 0; i < shown->buttons.size(); ++i) {
      if (shown->buttons[i].title != title) continue;
      {
        platform::ProcessScope scope(shown->process);
        platform::objc::AutoreleasePool pool;
        ASSERT_EQ(uikit::tapModalButton(shown->object, static_cast<long>(i)), "");
      }
      phone_->wait(0);
      return;
    }
    FAIL() << "the alert has no button " << title;
  }

  // What the cell of `row` (section 0) shows: whether it, its labels and its switch take part.
  struct CellState {
    bool touches, text, detail, control;
    long selectionStyle;
    bool operator==(const CellState&) const = default;
  };
  CellState cellState(long row) {
    platform::ProcessScope scope(app().pid());
    platform::objc::AutoreleasePool pool;
    id controller = app().paneController("Tarrow8");
    id cell = cellForRow(controller, table(controller), platform::indexPath(row, 0).get());
    id toggle = sel::respondsToSelector(cell, control.sel()) ? control(cell) : nil;
    // A part the cell does not have (a link row's switch or detail label) counts as taking part.
    auto takesPart = [](id view) { return !view || isEnabled(view) != NO; };
    return {isUserInteractionEnabled(cell) != NO, takesPart(textLabel(cell)),
            takesPart(detailTextLabel(cell)), takesPart(toggle), selectionStyle(cell)};
  }

  // A property of a specifier of the open pane, as a property-list value.
  std::optional<Value> specifierProperty(const char* identifier, const char* property) {
    platform::objc::AutoreleasePool pool;
    id controller = app().paneController("Tarrow8");
    id specifier = specifierForID(controller, CFSTR(identifier));
    return platform::valueFromObject(propertyForKey(specifier, CFSTR(property)));
  }
};

TEST_F(SettingsPaneTest, MirroringGreysTheFourRowsItOverridesAndTurningItOffFreesThemAtOnce) {
  openPane({{"enabled", Value(true)}, {kMirror, Value(true)}});
  const std::set<std::string> overridden = {"saveForUnlock", "saveForNotificationCenter",
                                            "manualRemoval", kInclude};
  EXPECT_EQ(greyedRows(), (std::set<std::string>{"saveForUnlock", "saveForNotificationCenter",
                                                 "manualRemoval", kInclude, "NSAppWhiteList"}));
  for (const auto& key : overridden) {
    EXPECT_NE(toggle(key), "") << key << " takes no touch while mirroring";
    EXPECT_FALSE(setting(key)) << key;
  }

  ASSERT_EQ(toggle(kMirror), "");
  EXPECT_EQ(greyedRows(), std::set<std::string>{"NSAppWhiteList"});
  EXPECT_EQ(setting(kMirror), Value(false));
  EXPECT_EQ(gPreferencePosts, 1);
  EXPECT_FALSE(flag(kMirror)) << "the extension reloaded the file";
  ASSERT_TRUE(alert());
  EXPECT_EQ(alert()->title, "Tarrow 8");
  EXPECT_EQ(alert()->message, "You should probably respring now. Do you want to?");
  ASSERT_EQ(alert()->buttons.size(), 2u);
  EXPECT_EQ(alert()->buttons[0].title, "No");
  EXPECT_EQ(alert()->buttons[1].title, "Yes");
  EXPECT_EQ(alert()->cancelButtonIndex, 0);
}

TEST_F(SettingsPaneTest, AGreyedRowHasItsCellLabelsAndSwitchOffAndTheListRowsCannotBeSelected) {
  openPane({{"enabled", Value(true)}, {kMirror, Value(true)}});
  const CellState on = cellState(0), off{false, false, on.detail, false, on.selectionStyle};
  for (long r : {0, 1, 2, 7}) EXPECT_EQ(cellState(r), on) << "row " << r;
  for (long r = 3; r <= 6; ++r) EXPECT_EQ(cellState(r), off) << "row " << r;
  EXPECT_EQ(cellState(8), (CellState{false, false, true, true, 0})) << "white list, all apps on";
  EXPECT_EQ(cellState(9), (CellState{true, true, true, true, 0})) << "black list";

  ASSERT_EQ(toggle(kMirror), "");
  for (long r = 3; r <= 6; ++r) EXPECT_EQ(cellState(r), on) << "row " << r;
  ASSERT_EQ(toggle(kAllApps), "");
  EXPECT_EQ(cellState(8), (CellState{true, true, true, true, 0}));
  EXPECT_EQ(cellState(9), (CellState{false, false, true, true, 0}));
}

TEST_F(SettingsPaneTest, EveryRowWritesItsKeyTellsTheExtensionAndPromptsOnlyWhereARespringHelps) {
  struct Case {
    const char* key;
    bool prompts;
    std::set<std::string> greyedAfter;  // with every switch at its default before
  };
  const Case cases[] = {
      {"enabled", false, {"NSAppWhiteList"}},
      {"enableNotificationActions", false, {"NSAppWhiteList"}},
      {kMirror,
       true,
       {"saveForUnlock", "saveForNotificationCenter", "manualRemoval", kInclude, "NSAppWhiteList"}},
      {"saveForUnlock", false, {"NSAppWhiteList"}},
      {"saveForNotificationCenter", false, {"NSAppWhiteList"}},
      {"manualRemoval", false, {"NSAppWhiteList"}},
      {kInclude, true, {"NSAppWhiteList"}},
      {kAllApps, false, {"NSAppBlackList"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    makePhone();
    openPane({{"enabled", Value(true)}});
    bool before = row(c.key).on;
    ASSERT_EQ(toggle(c.key), "");
    EXPECT_EQ(row(c.key).on, !before);
    EXPECT_EQ(setting(c.key), Value(!before));
    EXPECT_EQ(setting("enabled"), Value(std::string(c.key) == "enabled" ? !before : true))
        << "the other keys of the file stay";
    EXPECT_EQ(gPreferencePosts, 1);
    EXPECT_EQ(flag(c.key), !before) << "the extension reloaded the file";
    EXPECT_EQ(alert().has_value(), c.prompts);
    EXPECT_EQ(greyedRows(), c.greyedAfter);
  }
}

TEST_F(SettingsPaneTest, NoPostsNothingAndYesRelaunchesSpringBoardOnceWithTheFileAsWritten) {
  openPane({{"enabled", Value(true)}});
  ASSERT_EQ(toggle(kInclude), "");
  tapAlert("No");
  phone_->wait(10);
  EXPECT_FALSE(alert());
  EXPECT_EQ(phone_->launchCount(), 1);

  ASSERT_EQ(toggle(kInclude), "");
  ASSERT_EQ(toggle(kMirror), "");  // a second prompt over the first
  tapAlert("Yes");
  phone_->wait(10);
  EXPECT_EQ(phone_->launchCount(), 2);
  EXPECT_TRUE(flag(kMirror));
  EXPECT_FALSE(flag(kInclude));
  EXPECT_FALSE(alert()) << "the relaunched phone is locked: the Settings app is off screen";
  phone_->unlock();
  tapAlert("Yes");  // the first prompt, still shown, answers for itself
  phone_->wait(10);
  EXPECT_EQ(phone_->launchCount(), 3);
}

TEST_F(SettingsPaneTest, OnlyTheSwitchInRowZeroIsRed) {
  openPane();
  prefs::PaneShot pane;
  ASSERT_EQ(app().pane(&pane), "");
  int switches = 0;
  for (const auto& r : pane.rows) {
    if (r.kind != prefs::RowKind::Switch) continue;
    ++switches;
    EXPECT_EQ(r.tint, r.row == 0 ? prefs::SwitchTint::Red : prefs::SwitchTint::Default) << r.key;
  }
  EXPECT_EQ(switches, 8);
}

TEST_F(SettingsPaneTest, AWriteKeepsAnotherWritersKeysWhileTheRowsShowTheLastLoadUntilShownAgain) {
  openPane({{"enabled", Value(true)}});
  ASSERT_EQ(phone_->changeSettings({{"Whitelist-com.apple.MobileSMS", Value(true)},
                                    {"enableNotificationActions", Value(false)}},
                                   false),
            "");
  ASSERT_EQ(toggle("saveForUnlock"), "");
  EXPECT_EQ(setting("Whitelist-com.apple.MobileSMS"), Value(true));
  EXPECT_EQ(setting("enableNotificationActions"), Value(false));
  EXPECT_EQ(setting("saveForUnlock"), Value(false));
  EXPECT_TRUE(row("enableNotificationActions").on) << "not read again until the pane appears";

  ASSERT_EQ(phone_->changeSettings({{"saveForNotificationCenter", Value(false)}}, false), "");
  ASSERT_EQ(phone_->closeSettingsPane(), "");
  ASSERT_EQ(phone_->openSettingsPane(), "");
  EXPECT_FALSE(row("enableNotificationActions").on);
  EXPECT_FALSE(row("saveForNotificationCenter").on) << "the file is read as the pane appears";
}

TEST_F(SettingsPaneTest, ValuesWithoutABooleanReadingCountAsAbsentInTheRowRules) {
  // A date in place of a switch's value: mirroring counts as off, all applications as on.
  Value date = Value(platform::plist::Date{0});
  openPane({{"enabled", Value(true)}, {kMirror, date}, {kAllApps, date}});
  EXPECT_EQ(greyedRows(), std::set<std::string>{"NSAppWhiteList"});
}

TEST_F(SettingsPaneTest, ThePaneWorksAgainAfterTheSettingsAppRelaunches) {
  openPane({{"enabled", Value(true)}});
  ASSERT_EQ(toggle("saveForUnlock"), "");
  const int launches = app().launchCount();
  app().terminate();
  ASSERT_EQ(phone_->openSettingsPane(), "") << "the bundle loads again into a new process";
  EXPECT_EQ(app().launchCount(), launches + 1);
  EXPECT_FALSE(row("saveForUnlock").on);
  ASSERT_EQ(toggle("saveForUnlock"), "");
  EXPECT_EQ(setting("saveForUnlock"), Value(true));
  EXPECT_TRUE(flag("saveForUnlock"));
}

TEST_F(SettingsPaneTest, AChangeThatCannotBeSavedChangesNothingTellsNobodyAndSaysSo) {
  openPane({{"enabled", Value(true)}});
  auto fileBefore = phone_->readPropertyList(kSettingsFile);
  ASSERT_TRUE(fileBefore);
  phone_->setFolderReadOnly("/var/mobile/Library/Preferences", true);
  for (const char* key : {"saveForUnlock", kMirror}) {
    SCOPED_TRACE(key);
    ASSERT_EQ(toggle(key), "");
    EXPECT_EQ(phone_->readPropertyList(kSettingsFile), fileBefore);
    EXPECT_EQ(gPreferencePosts, 0) << "the extension is not told of a change that was not made";
    EXPECT_EQ(row(key).on, std::string(key) == "saveForUnlock") << "the switch goes back";
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title, "Tarrow 8");
    EXPECT_NE(alert()->message.find("not saved"), std::string::npos) << alert()->message;
    EXPECT_EQ(alert()->cancelButtonIndex, 0);
    tapAlert("OK");
    EXPECT_FALSE(alert()) << "no respring prompt follows";
    EXPECT_EQ(phone_->launchCount(), 1);
  }
  EXPECT_EQ(greyedRows(), std::set<std::string>{"NSAppWhiteList"});

  phone_->setFolderReadOnly("/var/mobile/Library/Preferences", false);
  ASSERT_EQ(toggle("saveForUnlock"), "");
  EXPECT_EQ(setting("saveForUnlock"), Value(false));
  EXPECT_EQ(gPreferencePosts, 1);
}

TEST_F(SettingsPaneTest, EachListIsSplitByItsOwnMarksAsTheyWereWhenThePaneWasMade) {
  openPane({{"enabled", Value(true)},
            {"Whitelist-com.apple.MobileSMS", Value(true)},
            {"Whitelist-com.apple.mobilemail", Value(std::string("YES"))},
            {"Whitelist-com.apple.weather", Value(false)},
            {"Whitelist-bad'identifier", Value(true)},
            {"Whitelist-com.apple.Maps", Value(platform::plist::Date{0})},
            {"Blacklist-com.facebook.Facebook", Value(true)}});
  auto white = specifierProperty("NSAppWhiteList", "ALSectionDescriptors");
  ASSERT_TRUE(white && white->is<platform::plist::Array>());
  const auto& sections = white->as<platform::plist::Array>();
  ASSERT_EQ(sections.size(), 2u);
  const std::set<std::string> sets = {"'com.apple.MobileSMS','com.apple.mobilemail'",
                                      "'com.apple.mobilemail','com.apple.MobileSMS'"};
  std::string marked = sections[0].find("predicate")->as<std::string>();
  std::string unmarked = sections[1].find("predicate")->as<std::string>();
  ASSERT_EQ(marked.rfind("bundleIdentifier in {", 0), 0u) << marked;
  EXPECT_TRUE(sets.count(marked.substr(21, marked.size() - 22))) << marked;
  EXPECT_EQ(unmarked, "not " + marked);
  EXPECT_EQ(sections[0].find("title")->as<std::string>(), "Enabled WhiteList Applications");
  EXPECT_EQ(sections[1].find("title")->as<std::string>(), "Disabled WhiteList Applications");
  for (const Value& s : sections) {
    EXPECT_EQ(s.as<platform::plist::Dictionary>().size(), 5u);
    EXPECT_EQ(*s.find("cell-class-name"), Value(std::string("ALCheckCell")));
    EXPECT_EQ(*s.find("icon-size"), Value(std::string("29")));
    EXPECT_EQ(*s.find("suppress-hidden-apps"), Value(true));
  }
  auto black = specifierProperty("NSAppBlackList", "ALSectionDescriptors");
  ASSERT_TRUE(black);
  EXPECT_EQ(*black->as<platform::plist::Array>()[0].find("predicate"),
            Value(std::string("bundleIdentifier in {'com.facebook.Facebook'}")));

  // The white list is used while all applications are off; its marked section lists the two.
  ASSERT_EQ(toggle(kAllApps), "");
  ASSERT_EQ(app().openList("NSAppWhiteList"), "");
  prefs::ListShot list;
  ASSERT_EQ(app().list(&list), "");
  ASSERT_EQ(list.sections.size(), 2u);
  std::vector<std::string> first;
  for (const auto& r : list.sections[0].rows) first.push_back(r.bundleIdentifier);
  EXPECT_EQ(first, ids({"com.apple.mobilemail", "com.apple.MobileSMS"}));
  std::set<std::string> second;
  for (const auto& r : list.sections[1].rows) second.insert(r.bundleIdentifier);
  EXPECT_TRUE(second.count("com.apple.weather"));
  EXPECT_TRUE(second.count("com.facebook.Facebook")) << "black-list marks do not count here";
  EXPECT_FALSE(second.count("com.apple.MobileSMS"));
  EXPECT_FALSE(second.count("com.apple.springboard")) << "hidden applications are left out";
  EXPECT_TRUE(list.problems.empty());

  // Checking Weather writes its key, and the extension keeps its bulletins from now on; the
  // sections stay as they were made.
  ASSERT_EQ(app().check("com.apple.weather", true), "");
  phone_->wait(0);
  EXPECT_EQ(setting("Whitelist-com.apple.weather"), Value(true));
  ASSERT_EQ(app().back(), "");
  id before = specifiers(app().paneController("Tarrow8"));
  EXPECT_EQ(specifiers(app().paneController("Tarrow8")), before) << "the specifiers are cached";
  ASSERT_EQ(app().openList("NSAppWhiteList"), "");
  ASSERT_EQ(app().list(&list), "");
  EXPECT_EQ(list.sections[0].rows.size(), 2u);
  ASSERT_EQ(phone_->closeSettingsPane(), "");
  phone_->lock();
  publish("w1", "com.apple.weather");
  publish("c1", "com.apple.mobilecal");
  EXPECT_EQ(kept(), ids({"w1"}));
}

// A pane writing while it is killed at any moment leaves the old file or the new one, and keeps
// another writer's keys.
TEST_F(SettingsPaneTest, AWriterKilledAtAnyMomentLeavesAWholeFileWithTheOtherWritersKeys) {
  openPane({{"enabled", Value(true)}, {"Whitelist-com.apple.MobileSMS", Value(true)}});
  const auto host = platform::resolveDevicePath(kSettingsFile).value();
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    std::fflush(nullptr);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) app().toggle("saveForUnlock");
    }
    ::usleep(static_cast<useconds_t>(200 + round * 97 % 3000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    auto file = platform::plist::readFile(host);
    ASSERT_TRUE(file.value) << file.error;
    EXPECT_EQ(*file.value->find("Whitelist-com.apple.MobileSMS"), Value(true));
    EXPECT_EQ(*file.value->find("enabled"), Value(true));
  }
}

}  // namespace
}  // namespace sim::testing
