// The actions menu and the reminder marker on a booted phone, driven through the scenario
// commands a user would type: what the sheet offers, what the row actions are with the actions
// switched off, and where the blue dot sits.

#include <sstream>

#include "platform/springboard/notification_center.h"
#include "platform/uikit/screen_stack.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uiview.h"
#include "sim/phone_test_support.h"
#include "sim/scenario.h"

namespace sim::testing {
namespace {

namespace sb = platform::springboard;

class Actions : public PhoneTest {
 protected:
  // Runs scenario lines; returns how many failed. The transcript collects in out_.
  int run(const std::string& lines) {
    ParsedScenario parsed = parseScenario(lines, "t");
    EXPECT_TRUE(parsed.errors.empty()) << (parsed.errors.empty() ? "" : parsed.errors.front());
    ScenarioRunner runner(*phone_, out_, "t");
    return runner.runAll(parsed.commands);
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
  id marker = sel::viewWithTag(label, 26425);
  ASSERT_NE(marker, nil);
  double h = sel::frame(label).size.height;
  CGRect f = sel::frame(marker);
  EXPECT_DOUBLE_EQ(f.origin.x, -1.375 * h);
  EXPECT_DOUBLE_EQ(f.origin.y, 1.25 * h) << "made while locked";
  EXPECT_DOUBLE_EQ(f.size.width, 0.5 * h);
  EXPECT_DOUBLE_EQ(f.size.height, 0.5 * h);
  EXPECT_DOUBLE_EQ(sel::cornerRadius(sel::layer(marker)), 0.25 * h);
  // Deleting the reminder hides the same view.
  ASSERT_EQ(run("swipe lockscreen m1\ntap T\ntap \"Edit Reminder: 12/9/26, 9:00 AM\"\ntap Delete\n"
                "expect marker m1 false\n"),
            0)
      << out_.str();
  EXPECT_EQ(sel::viewWithTag(label, 26425), marker);
  EXPECT_DOUBLE_EQ(sel::alpha(marker), 0.0);
}

}  // namespace
}  // namespace sim::testing
