// A long random walk through the phone's sequences (publish, withdraw, open, lock, unlock,
// wake, Notification Center, pull-to-clear, settings changes, waits, resprings), checking after
// every step that no screen shows a row twice, that every kept entry is a list item for its own
// bulletin, and that SpringBoard never crashed. Seeded, so a failure repeats.

#include <random>
#include <set>
#include <sstream>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/list_item.h"
#include "sim/phone_test_support.h"
#include "sim/scenario.h"

namespace sim::testing {
namespace {

namespace sb = platform::springboard;
using platform::objc::Strong;

const char* const kApps[] = {"com.apple.MobileSMS", "com.apple.mobilemail", "com.apple.mobiletimer",
                             "com.apple.reminders", "com.facebook.Facebook"};
const char* const kFlags[] = {
    "enabled",       "mirrorNotificationCenter",        "includeNotificationCenter",
    "saveForUnlock", "saveForNotificationCenter",       "manualRemoval",
    "enableAllApps", "Blacklist-com.facebook.Facebook", "Whitelist-com.apple.MobileSMS"};
constexpr int kBulletins = 24;

class RandomWalk : public PhoneTest {
 protected:
  // Fails the test when a screen shows a row twice or a kept entry is not what it must be.
  void checkInvariants(int step) {
    platform::objc::AutoreleasePool pool;
    ASSERT_EQ(crashes_, 0) << "SpringBoard crashed before step " << step;
    ASSERT_TRUE(phone_->springBoardRunning());
    for (const auto& rows : {lockScreen(), notificationCenter()}) {
      std::set<std::string> seen(rows.begin(), rows.end());
      ASSERT_EQ(seen.size(), rows.size()) << "a row shown twice at step " << step;
    }
    static const platform::objc::Selector<id()> activeBulletin{"activeBulletin"};
    for (const Strong& key : platform::arrayElements(sel::allKeys(keptItems()))) {
      id item =
          sel::objectForKey(sel::objectForKey(keptItems(), key), platform::nsstring("bulletin"));
      ASSERT_TRUE(sel::isKindOfClass(item, sb::SBAwayBulletinListItemClass())) << "step " << step;
      auto contents = sb::bulletinContents(activeBulletin(item));
      ASSERT_TRUE(contents.has_value()) << "step " << step;
      ASSERT_EQ(contents->bulletinID, platform::utf8(key)) << "step " << step;
    }
  }

  void step(std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::string id = "b" + std::to_string(pick(kBulletins));
    int appIndex = std::stoi(id.substr(1)) % 5;
    switch (pick(18)) {
      case 15:
      case 16:
      case 17: {
        // A visit to the menu as a user makes one: open it on a row that is shown, tap one of
        // its buttons, then work the editor or the window it may open. Taps of a title that is
        // not on top fail harmlessly and are part of the walk.
        auto run = [&](const std::string& line) {
          std::vector<std::string> errors;
          if (auto command = parseLine(line, "walk", 1, errors)) runner_->run(*command);
        };
        if (phone_->locked()) {
          auto rows = lockScreen();
          if (rows.empty() || rows[0].empty()) break;
          run("swipe lockscreen " +
              rows[static_cast<std::size_t>(pick(static_cast<int>(rows.size())))]);
          run("tap T");
        } else {
          auto rows = notificationCenter();
          if (rows.empty()) break;
          phone_->showNotificationCenter();
          run("long-press " + rows[static_cast<std::size_t>(pick(static_cast<int>(rows.size())))]);
        }
        const char* choices[] = {"\"Remove from LockScreen\"", "\"Add to LockScreen\"",
                                 "\"Add Reminder\"",           "\"Clear LockScreen Section\"",
                                 "\"Edit All Reminders\"",     "Cancel"};
        run(std::string("tap ") + choices[pick(6)]);
        const char* after[] = {"pick 2026-12-09T08:10",
                               "tap Add",
                               "tap Delete",
                               "tap Cancel",
                               "select 0",
                               "tap Done",
                               "tap Trash"};
        for (int n = pick(3); n > 0; --n) run(after[pick(7)]);
        if (pick(2) == 0) run("tap Add");
        break;
      }
      case 0:
      case 1:
      case 2: {
        BulletinContents c;
        c.bulletinID = id;
        c.sectionID = kApps[appIndex];
        c.title = "title " + id;
        c.fullscreen = appIndex == 2 && std::stoi(id.substr(1)) % 2 == 0;
        c.date = phone_->now() - pick(600);
        phone_->publish(c);
        break;
      }
      case 3:
        phone_->withdraw(id);
        break;
      case 4: {
        auto rows = lockScreen();
        if (!rows.empty())
          phone_->openFromLockScreen(
              rows[static_cast<std::size_t>(pick(static_cast<int>(rows.size())))]);
        break;
      }
      case 5: {
        auto rows = notificationCenter();
        phone_->showNotificationCenter();
        if (!rows.empty()) phone_->openFromNotificationCenter(rows[0]);
        break;
      }
      case 6:
        phone_->lock();
        break;
      case 7:
        phone_->unlock();
        break;
      case 8:
        phone_->wake();
        break;
      case 9: {
        std::size_t cleared = 0;
        phone_->showNotificationCenter();
        phone_->clearNotificationCenterSection(kApps[pick(5)], &cleared);
        phone_->hideNotificationCenter();
        break;
      }
      case 10:
        phone_->pullToClear(pick(3) == 0 ? std::nullopt
                                         : std::optional<std::string>(kApps[pick(5)]));
        break;
      case 11: {
        const char* key = kFlags[pick(9)];
        // Mostly on: a phone switched off most of the time would walk few of the paths.
        bool on = std::string(key) == "enabled" ? pick(5) != 0 : pick(2) == 0;
        phone_->changeSettings({{key, Value(on)}});
        break;
      }
      case 12:
      case 13: {
        const double waits[] = {0, 0.1, 0.25, 1, 6};
        phone_->wait(waits[pick(5)]);
        break;
      }
      case 14:
        if (pick(20) == 0) phone_->respring();
        break;
    }
  }

  int crashes_ = 0;
  std::ostringstream transcript_;
  std::unique_ptr<ScenarioRunner> runner_;
};

TEST_F(RandomWalk, ThousandsOfStepsKeepTheScreensAndTheStoreSound) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    makePhone();
    phone_->setCrashListener([this](const std::string&, const std::string&) { ++crashes_; });
    transcript_.str("");
    runner_ = std::make_unique<ScenarioRunner>(*phone_, transcript_, "walk");
    boot();
    std::mt19937 random(seed);
    std::size_t mostKept = 0, mostShown = 0, mostReminders = 0;
    for (int i = 0; i < 1500; ++i) {
      step(random);
      checkInvariants(i);
      if (HasFatalFailure()) return;
      mostKept = std::max(mostKept, kept().size());
      mostShown = std::max(mostShown, lockScreen().size());
      mostReminders = std::max(mostReminders, store("reminders").size());
    }
    // A walk that never filled the store or the screen would have checked nothing.
    EXPECT_GE(mostKept, 5u);
    EXPECT_GE(mostShown, 3u);
    EXPECT_GE(mostReminders, 1u) << "the walk reached the reminder editor";
    EXPECT_NE(transcript_.str().find("row actions: T"), std::string::npos)
        << "and the menu\n"
        << transcript_.str().substr(0, 1500);
  }
}

}  // namespace
}  // namespace sim::testing
