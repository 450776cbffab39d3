// Notification Center mirroring on a booted phone: what Notification Center lists (in its
// all-notifications mode) is kept for the lock screen and forgotten when it goes, with the
// removed record, the grace period and the other mode's infos.

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/notification_center.h"
#include "sim/phone_test_support.h"

namespace sim::testing {
namespace {

namespace sb = platform::springboard;
using platform::objc::Strong;
using Mirroring = PhoneTest;

// Sends one bulletin info to a mode of Notification Center, as SpringBoard does.
void addToMode(id mode, id info) {
  sb::sbsel::addBulletin_toSection_forFeed(mode, info, platform::nsstring("s"), 2);
}
void removeFromMode(id mode, id info) {
  sb::sbsel::removeBulletin_fromSection(mode, info, platform::nsstring("s"));
}

TEST_F(Mirroring, OnlyAllModeInfosAreMirroredWhileRequested) {
  struct Case {
    const char* name;
    std::map<std::string, std::optional<Value>> settings;
    bool kept;
  };
  const Case cases[] = {
      {"mirroring", {{"mirrorNotificationCenter", Value(true)}}, true},
      {"including", {{"includeNotificationCenter", Value(true)}}, true},
      {"neither", {}, false},
      {"switched off",
       {{"mirrorNotificationCenter", Value(true)}, {"enabled", Value(false)}},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makePhone();
    boot(c.settings);
    phone_->unlock();
    publish("n1");
    EXPECT_EQ(kept(), c.kept ? ids({"n1"}) : ids({}));
  }
  // The missed mode's infos (bulletins that arrived while locked) change no store.
  makePhone();
  boot({{"mirrorNotificationCenter", Value(true)}});
  phone_->unlock();
  asSpringBoard([&] {
    Strong bulletin =
        sb::makeBulletin({"n2", "com.apple.MobileSMS", "t", "", "", phone_->now(), false, ""});
    Strong info = sb::makeBulletinInfo(sb::SBNotificationsMissedModeBulletinInfoClass(), bulletin);
    addToMode(sb::missedModeViewController(ui().notificationCenter()), info);
    sel::addObject(removedIDs(), platform::nsstring("n2"));
    removeFromMode(sb::missedModeViewController(ui().notificationCenter()), info);
  });
  EXPECT_TRUE(kept().empty());
  EXPECT_EQ(removed(), ids({"n2"}));
}

TEST_F(Mirroring, ARefusedBulletinLosesItsEntryEvenWhileSwitchedOff) {
  boot();
  publish("m1");  // captured on the lock screen
  settings({{"Blacklist-com.apple.MobileSMS", Value(true)}, {"enabled", Value(false)}});
  asSpringBoard([&] {
    id bulletin = sb::publishedBulletin(ui().bulletinServer(), "m1");
    addToMode(sb::allModeViewController(ui().notificationCenter()),
              sb::makeBulletinInfo(sb::SBNotificationsAllModeBulletinInfoClass(), bulletin));
  });
  EXPECT_TRUE(kept().empty());
}

TEST_F(Mirroring, ABulletinTheUserRemovedIsNeitherMirroredNorRefused) {
  boot({{"mirrorNotificationCenter", Value(true)}});
  publish("m1");
  sel::addObject(removedIDs(), platform::nsstring("m1"));
  settings({{"Blacklist-com.apple.MobileSMS", Value(true)}});
  phone_->unlock();
  publish("m1");
  EXPECT_EQ(kept(), ids({"m1"})) << "its entry stays";
  settings({{"Blacklist-com.apple.MobileSMS", std::nullopt}});
  sel::removeObjectForKey(keptItems(), platform::nsstring("m1"));
  publish("m1");
  EXPECT_TRUE(kept().empty()) << "still recorded as removed: not mirrored back";
}

TEST_F(Mirroring, LockedPastTheGracePeriodNotificationCenterIsNotMirrored) {
  boot({{"mirrorNotificationCenter", Value(true)}});
  // Within the first five seconds of the launch, locked counts as not locked.
  publish("early");
  EXPECT_EQ(kept(), ids({"early"}));
  phone_->wait(5);
  ASSERT_TRUE(flag("gracePeriodOver"));
  asSpringBoard([&] {
    Strong bulletin =
        sb::makeBulletin({"late", "com.apple.MobileSMS", "t", "", "", phone_->now(), false, ""});
    addToMode(sb::allModeViewController(ui().notificationCenter()),
              sb::makeBulletinInfo(sb::SBNotificationsAllModeBulletinInfoClass(), bulletin));
  });
  EXPECT_EQ(kept(), ids({"early"})) << "an addition passing the filter is not mirrored";
  asSpringBoard([&] {
    id mode = sb::allModeViewController(ui().notificationCenter());
    Strong info = sb::listedInfo(mode, "early");  // the caller holds what it passes
    removeFromMode(mode, info);
  });
  EXPECT_EQ(kept(), ids({"early"})) << "nor is a removal";
  phone_->unlock();
  publish("n3");
  EXPECT_EQ(kept(), ids({"early", "n3"})) << "unlocked, additions are mirrored again";
  ASSERT_EQ(phone_->showNotificationCenter(), "");
  std::size_t cleared = 0;
  ASSERT_EQ(phone_->clearNotificationCenterSection("com.apple.MobileSMS", &cleared), "");
  EXPECT_EQ(kept(), ids({"early"})) << "and so are removals";
}

TEST_F(Mirroring, ManualRemovalKeepsTheEntryButForgetsTheRecord) {
  boot({{"includeNotificationCenter", Value(true)}, {"manualRemoval", Value(true)}});
  phone_->unlock();
  publish("n1");
  sel::addObject(removedIDs(), platform::nsstring("n1"));
  ASSERT_EQ(phone_->showNotificationCenter(), "");
  std::size_t cleared = 0;
  ASSERT_EQ(phone_->clearNotificationCenterSection("com.apple.MobileSMS", &cleared), "");
  EXPECT_EQ(kept(), ids({"n1"}));
  EXPECT_TRUE(removed().empty());
}

TEST_F(Mirroring, AddingAKeptBulletinAgainReplacesItsEntryWithAFreshItem) {
  boot({{"mirrorNotificationCenter", Value(true)}});
  phone_->unlock();
  publish("n1");
  auto item = [&] {
    return sel::objectForKey(sel::objectForKey(keptItems(), platform::nsstring("n1")),
                             platform::nsstring("bulletin"));
  };
  id first = item();
  ASSERT_NE(first, nil);
  publish("n1");
  EXPECT_NE(item(), first);
  static const platform::objc::Selector<id()> activeBulletin{"activeBulletin"};
  EXPECT_EQ(activeBulletin(item()), sb::publishedBulletin(ui().bulletinServer(), "n1"));
}

TEST_F(Mirroring, AFailureWhileBuildingTheEntryIsLoggedAndStoresNothing) {
  boot({{"mirrorNotificationCenter", Value(true)}});
  phone_->unlock();
  asSpringBoard([&] {
    Strong noID =
        sb::makeBulletin({"", "com.apple.MobileSMS", "t", "", "", phone_->now(), false, ""});
    addToMode(sb::allModeViewController(ui().notificationCenter()),
              sb::makeBulletinInfo(sb::SBNotificationsAllModeBulletinInfoClass(), noID));
  });
  EXPECT_TRUE(kept().empty());
  auto lines = logged();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("[Tarrow8] [Line 777]: BBServer publishBulletin Exception: ", 0), 0u)
      << lines[0];
}

}  // namespace
}  // namespace sim::testing
