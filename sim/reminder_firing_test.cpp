// Reminder firing on a booted phone: what is due is published again with a sound and forgotten,
// one timer waits five seconds past the earliest reminder left, and a reminder whose archive
// gives no bulletin is logged and dropped.

#include "platform/dispatch/run_loop.h"
#include "platform/dispatch/timers.h"
#include "platform/foundation/nsdata.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nskeyedarchiver.h"
#include "platform/foundation/nsstring.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/notification_center.h"
#include "sim/phone_test_support.h"

namespace sim::testing {
namespace {

namespace sb = platform::springboard;
using platform::objc::Strong;

class ReminderFiring : public PhoneTest {
 protected:
  // Boots, unlocks and pulls Notification Center down once, so its list is remembered.
  void SetUp() override {
    PhoneTest::SetUp();
    boot();
    phone_->unlock();
    ASSERT_EQ(phone_->showNotificationCenter(), "");
    ASSERT_EQ(phone_->hideNotificationCenter(), "");
  }

  // Stores a reminder for a new bulletin `id` due `inSeconds` from now (nullopt: no fireDate).
  void remind(const std::string& key, std::optional<double> inSeconds,
              const std::string& sound = "", bool corrupt = false) {
    platform::objc::AutoreleasePool pool;
    BulletinContents c;
    c.bulletinID = key;
    c.sectionID = "com.apple.MobileSMS";
    c.title = "title " + key;
    c.date = phone_->now();
    c.sound = sound;
    Strong bulletin = sb::makeBulletin(c);
    Strong entry = platform::mutableDictionary();
    if (inSeconds)
      platform::setObjectForKey(entry, "fireDate", platform::nsdate(phone_->now() + *inSeconds));
    platform::setObjectForKey(entry, "title", platform::nsstring(c.title));
    platform::setObjectForKey(entry, "sectionID", platform::nsstring(c.sectionID));
    const std::uint8_t junk[] = {'n', 'o', 't', ' ', 'a', 'n', ' ',
                                 'a', 'r', 'c', 'h', 'i', 'v', 'e'};
    Strong archive = corrupt
                         ? platform::nsdata(junk)
                         : Strong(sel::archivedDataWithRootObject(
                               reinterpret_cast<id>(platform::NSKeyedArchiverClass()), bulletin));
    platform::setObjectForKey(entry, "bulletin", archive);
    platform::setObjectForKey(global("_ZN7tarrow89remindersE"), key, entry);
  }
  void fire() {
    static const platform::objc::Selector<void(id)> reminderTimerFired{"reminderTimerFired:"};
    asSpringBoard(
        [&] { reminderTimerFired(sb::bulletinListController(ui().notificationCenter()), nil); });
  }
  // When the reminder timer will fire, in seconds from now; nothing when none is set.
  std::optional<double> timerIn() {
    id timer = global("_ZN7tarrow813reminderTimerE");
    if (!timer) return std::nullopt;
    return platform::dateSeconds(sel::fireDate(timer)) - phone_->now();
  }
  std::string soundOf(const std::string& id) {
    const auto* d = platform::springboard::DeliveryLog::shared().lastDelivery(id);
    return d ? d->sound : "(never shown)";
  }
};

TEST_F(ReminderFiring, WhatIsDueFiresAndTheTimerWaitsFiveSecondsPastTheNext) {
  remind("past", -60);
  remind("now", 0);
  remind("later", 300, "Chord");
  remind("same", 300);
  remind("undated", std::nullopt);
  fire();
  EXPECT_EQ(store("reminders"), ids({"later", "now", "same", "undated"}))
      << "a date equal to now is not yet due; an entry without a date never fires";
  EXPECT_EQ(soundOf("past"), "tone alert 2") << "published again with the tone alert";
  ASSERT_TRUE(timerIn().has_value());
  EXPECT_DOUBLE_EQ(*timerIn(), 5.0) << "the earliest remaining reminder is the one due now";
  phone_->wait(5.001);  // the timer fires
  EXPECT_EQ(store("reminders"), ids({"later", "same", "undated"}));
  EXPECT_NEAR(*timerIn(), 300 - 5.001 + 5, 1e-6);
  phone_->wait(301);
  EXPECT_EQ(store("reminders"), ids({"undated"})) << "both reminders of one date fire in one pass";
  EXPECT_EQ(soundOf("later"), "Chord") << "a bulletin's own sound is kept";
  EXPECT_FALSE(timerIn().has_value()) << "no timer when nothing dated is left";
}

TEST_F(ReminderFiring, AReminderWhoseArchiveHoldsNoBulletinIsLoggedAndDropped) {
  remind("bad", -1, "", /*corrupt=*/true);
  remind("good", -1);
  fire();
  EXPECT_EQ(store("reminders"), ids({}));
  EXPECT_EQ(soundOf("good"), "tone alert 2");
  EXPECT_TRUE(phone_->springBoardRunning());
  auto lines = logged();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind(
                "[Tarrow8] [Line 935]: SBBulletinViewController reminderTimerFired Exception: ", 0),
            0u)
      << lines[0];
}

TEST_F(ReminderFiring, RemindersStoredBeforeNotificationCenterFirstLoadsAreScheduledWhenItDoes) {
  makePhone();
  boot();
  remind("early", -1);  // Notification Center's list has not loaded: nothing can schedule it yet
  phone_->wait(60);
  EXPECT_EQ(store("reminders"), ids({"early"}));
  phone_->unlock();
  ASSERT_EQ(phone_->showNotificationCenter(), "");
  EXPECT_EQ(store("reminders"), ids({})) << "fired as the list loaded";
  EXPECT_EQ(soundOf("early"), "tone alert 2");
}

// The earliest date wins wherever it stands in the store, and each pass leaves one timer pending:
// the one before is invalidated, not left to fire as well.
TEST_F(ReminderFiring, OneTimerWaitsForTheEarliestWhateverTheStoresOrder) {
  remind("late", 600);
  remind("early", 300);
  remind("middle", 450);
  fire();
  ASSERT_TRUE(timerIn().has_value());
  EXPECT_DOUBLE_EQ(*timerIn(), 305.0);
  std::size_t pending = platform::RunLoop::main().pendingCount();
  fire();
  fire();
  EXPECT_EQ(platform::RunLoop::main().pendingCount(), pending);
}

TEST_F(ReminderFiring, AnEmptyStoreSetsNoTimer) {
  fire();
  EXPECT_FALSE(timerIn().has_value());
}

}  // namespace
}  // namespace sim::testing
