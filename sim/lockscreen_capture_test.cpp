// Keeping and re-presenting on a booted phone: the application filter on both roads into the
// store (lock-screen capture and Notification Center mirroring), the full-screen test, clock
// bulletins, and the kept bulletins coming back after an unlock and after a clearing.

#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/object.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/list_item.h"
#include "platform/springboard/lock_screen_list.h"
#include "sim/phone_test_support.h"

namespace sim::testing {
namespace {

namespace sb = platform::springboard;
using LockScreenCapture = PhoneTest;

struct FilterCase {
  const char* name;
  std::map<std::string, std::optional<Value>> settings;
  bool kept;
};

const FilterCase kFilterCases[] = {
    {"all apps, no key", {}, true},
    {"all apps, black-listed", {{"Blacklist-com.apple.MobileSMS", Value(true)}}, false},
    {"all apps, black list NO", {{"Blacklist-com.apple.MobileSMS", Value(false)}}, true},
    {"all apps, black list \"YES\"", {{"Blacklist-com.apple.MobileSMS", Value("YES")}}, false},
    {"all apps, black list date has no boolean",
     {{"Blacklist-com.apple.MobileSMS", Value(platform::plist::Date{0})}},
     true},
    {"all apps, another app black-listed", {{"Blacklist-com.apple.mobilemail", Value(true)}}, true},
    {"all apps, a white list is not read", {{"Whitelist-com.apple.MobileSMS", Value(false)}}, true},
    {"white list, no key", {{"enableAllApps", Value(false)}}, false},
    {"white list, listed",
     {{"enableAllApps", Value(false)}, {"Whitelist-com.apple.MobileSMS", Value(true)}},
     true},
    {"white list, NO counts as absent",
     {{"enableAllApps", Value(false)}, {"Whitelist-com.apple.MobileSMS", Value(false)}},
     false},
    {"white list, the black list is not read",
     {{"enableAllApps", Value(false)},
      {"Whitelist-com.apple.MobileSMS", Value(true)},
      {"Blacklist-com.apple.MobileSMS", Value(true)}},
     true},
    {"white list, a key without the prefix's dash",
     {{"enableAllApps", Value(false)}, {"Whitelistcom.apple.MobileSMS", Value(true)}},
     false},
};

TEST_F(LockScreenCapture, TheApplicationFilterDecidesOnBothRoadsIntoTheStore) {
  for (const FilterCase& c : kFilterCases) {
    for (bool mirroring : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (mirroring ? ", mirrored" : ", captured"));
      makePhone();
      auto settings = c.settings;
      if (mirroring) settings["mirrorNotificationCenter"] = Value(true);
      boot(settings);
      // Unlocked, a bulletin reaches only Notification Center; locked, the lock screen too.
      if (mirroring) phone_->unlock();
      publish("m1");
      EXPECT_EQ(kept(), c.kept ? ids({"m1"}) : ids({})) << "kept";
      EXPECT_EQ(mirroring ? notificationCenter() : lockScreen(), ids({"m1"}))
          << "the screen shows it whatever the filter decides";
    }
  }
}

TEST_F(LockScreenCapture, SpringBoardBuildsItsListsUnderTheHooksThatRememberThem) {
  boot();
  ASSERT_NE(platform::springboard::SpringBoardUI::running(), nullptr)
      << "SpringBoard's own launch ran under the extension's hook";
  auto state = phone_->extensionState();
  std::vector<std::string> remembered;
  for (const Value& name : state->find("remembered")->as<platform::plist::Array>())
    remembered.push_back(name.as<std::string>());
  EXPECT_EQ(remembered, ids({"listController", "listObserver", "listView", "bulletinServer"}));
  EXPECT_EQ(global("_ZN7tarrow814listControllerE").get(), ui().listController());
  EXPECT_EQ(global("_ZN7tarrow88listViewE").get(), ui().listView());
  EXPECT_EQ(global("_ZN7tarrow814bulletinServerE").get(), ui().bulletinServer());
  EXPECT_EQ(global("_ZN7tarrow812listObserverE").get(),
            platform::objc::objectIvar(ui().listController(), "_observer"));
}

TEST_F(LockScreenCapture, ObjectsOfOtherClassesArePassedOnAndChangeNoStore) {
  boot();
  publish("m1");
  auto before = kept();
  asSpringBoard([&] {
    id controller = ui().listController();
    platform::objc::Strong text = platform::nsstring("not an item");
    platform::objc::Strong empty =
        platform::objc::Strong::adopt(sb::sbsel::initWithBulletin_andObserver(
            sel::alloc(reinterpret_cast<id>(sb::SBAwayBulletinListItemClass())), nil, nil));
    platform::objc::Strong noID =
        platform::objc::Strong::adopt(sb::sbsel::initWithBulletin_andObserver(
            sel::alloc(reinterpret_cast<id>(sb::SBAwayBulletinListItemClass())),
            sb::makeBulletin({"", "com.apple.MobileSMS", "t", "", "", 0, false, ""}), nil));
    for (id odd : {static_cast<id>(nil), text.get(), empty.get(), noID.get()}) {
      sb::sbsel::updateModelAndViewForAdditionOfItem(controller, odd);
      sb::sbsel::updateModelAndViewForRemovalOfItem(controller, odd);
      sb::sbsel::observer_removeBulletin(controller, nil, odd);
      sb::sbsel::observer_addBulletin_forFeed_playLightsAndSirens_withReply(controller, nil, odd, 4,
                                                                            YES, nullptr);
    }
  });
  EXPECT_EQ(kept(), before);
  EXPECT_TRUE(removed().empty());
  auto shown = lockScreen();  // SpringBoard shows the odd items as rows without a bulletin
  EXPECT_EQ(std::count(shown.begin(), shown.end(), "m1"), 1);
  EXPECT_TRUE(phone_->springBoardRunning());
}

TEST_F(LockScreenCapture, WhileDisabledItemsAreShownAndNothingIsStoredOrRemoved) {
  boot({{"enabled", Value(false)}});
  publish("m1");
  EXPECT_EQ(lockScreen(), ids({"m1"}));
  EXPECT_TRUE(kept().empty());
  asSpringBoard(
      [&] { sb::sbsel::withdrawBulletinID(ui().bulletinServer(), platform::nsstring("m1")); });
  EXPECT_TRUE(lockScreen().empty()) << "the withdrawal still reaches SpringBoard";
  EXPECT_TRUE(removed().empty());
}

TEST_F(LockScreenCapture, AFullScreenOrNewlyFilteredBulletinLosesItsEntryWhenAddedAgain) {
  boot();
  publish("a1", "com.apple.mobiletimer", std::nullopt, /*fullscreen=*/true);
  publish("m1");
  EXPECT_EQ(kept(), ids({"m1"})) << "a full-screen bulletin is never kept";
  settings({{"Blacklist-com.apple.MobileSMS", Value(true)}});
  // SpringBoard adds the bulletin's row again: capture alone drops the entry (Notification
  // Center, which would drop it too, is not told).
  asSpringBoard([&] {
    platform::objc::Strong item =
        platform::objc::Strong::adopt(sb::sbsel::initWithBulletin_andObserver(
            sel::alloc(reinterpret_cast<id>(sb::SBAwayBulletinListItemClass())),
            sb::publishedBulletin(ui().bulletinServer(), "m1"), nil));
    sb::sbsel::updateModelAndViewForAdditionOfItem(ui().listController(), item);
  });
  EXPECT_TRUE(kept().empty());
  EXPECT_EQ(lockScreen(), ids({"m1", "a1"}));
}

TEST_F(LockScreenCapture, TheFirstCapturedItemOfABulletinStays) {
  boot();
  publish("m1");
  id entry = sel::objectForKey(keptItems(), platform::nsstring("m1"));
  ASSERT_NE(entry, nil);
  id firstItem = sel::objectForKey(entry, platform::nsstring("bulletin"));
  EXPECT_TRUE(sel::isKindOfClass(firstItem, sb::SBAwayBulletinListItemClass()));
  EXPECT_NE(firstItem, sb::listItems(ui().listController())[0]) << "the entry holds a copy";
  publish("m1");
  id again = sel::objectForKey(sel::objectForKey(keptItems(), platform::nsstring("m1")),
                               platform::nsstring("bulletin"));
  EXPECT_EQ(again, firstItem);
  EXPECT_EQ(lockScreen(), ids({"m1"})) << "one row per bulletin";
}

TEST_F(LockScreenCapture, KeptClockBulletinsComeBackSilentlyAndOthersPlayAsPassed) {
  boot();
  publish("alarm", "com.apple.mobiletimer", 0);
  publish("m1", "com.apple.MobileSMS", 1);
  EXPECT_EQ(played("alarm"), true) << "a clock bulletin not yet kept plays";
  unlockAndLockAgain();
  EXPECT_EQ(lockScreen(), ids({"m1", "alarm"}));
  EXPECT_EQ(played("alarm"), false) << "republished through the server, silenced as kept";
  EXPECT_EQ(played("m1"), false) << "added back without lights and sound";
  publish("other", "com.apple.mobiletimer");
  EXPECT_EQ(played("other"), true);
  settings({{"enabled", Value(false)}});
  asSpringBoard([&] {
    id server = ui().bulletinServer();
    sb::sbsel::publishBulletin_destinations_alwaysToLockScreen(
        server, sb::publishedBulletin(server, "alarm"), sb::kDestinationLockScreen, YES);
  });
  EXPECT_EQ(played("alarm"), true) << "switched off, nothing is silenced";
}

TEST_F(LockScreenCapture, KeptItemsReturnNewestFirstAQuarterSecondAfterTheLockScreenComesUp) {
  boot();
  publish("m1005", "com.apple.MobileSMS", 5);
  publish("m1010", "com.apple.MobileSMS", 10);
  publish("m1000", "com.apple.MobileSMS", 0);
  phone_->unlock();
  EXPECT_TRUE(lockScreen().empty()) << "SpringBoard cleared the list";
  phone_->wait(1);
  phone_->lock();
  auto before = sb::DeliveryLog::shared().deliveryCount();
  phone_->wait(0.249);
  EXPECT_EQ(sb::DeliveryLog::shared().deliveryCount(), before) << "not before a quarter second";
  phone_->wait(0.001);
  EXPECT_EQ(lockScreen(), ids({"m1010", "m1005", "m1000"}));
  auto added = sb::DeliveryLog::shared().deliveriesSince(before);
  ASSERT_EQ(added.size(), 3u);
  EXPECT_EQ(added[0].bulletinID, "m1010") << "added in the order newest first";
  EXPECT_EQ(added[2].bulletinID, "m1000");
}

TEST_F(LockScreenCapture, WakingWhileLockedOrLockingWithoutTheSettingsRepresentsNothing) {
  boot();
  publish("m1");
  phone_->lock();  // the display goes off; the device stays locked
  auto before = sb::DeliveryLog::shared().deliveryCount();
  EXPECT_TRUE(phone_->wake());
  phone_->wait(1);
  EXPECT_EQ(sb::DeliveryLog::shared().deliveryCount(), before) << "waking re-presents nothing";

  settings({{"saveForUnlock", Value(false)}, {"saveForNotificationCenter", Value(false)}});
  phone_->unlock();
  phone_->wait(1);
  EXPECT_TRUE(kept().empty()) << "a clearing without the settings forgets the kept items";
  publish("m2");  // unlocked: Notification Center only
  settings({{"saveForNotificationCenter", Value(true)}});
  phone_->lock();
  publish("m3");
  phone_->unlock();
  phone_->wait(1);
  phone_->lock();
  phone_->wait(1);
  EXPECT_EQ(kept(), ids({"m3"})) << "locking without saveForUnlock leaves the store alone";
  EXPECT_EQ(lockScreen(), ids({"m3"})) << "re-presented only by the clearing at unlock";
}

TEST_F(LockScreenCapture, AClearingWhileDisabledEmptiesTheStore) {
  boot();
  publish("m1");
  settings({{"enabled", Value(false)}});
  phone_->unlock();
  EXPECT_TRUE(kept().empty());
}

TEST_F(LockScreenCapture, AFailingEntryIsLoggedWithItsMomentsLineAndTheOthersStillReturn) {
  boot();
  publish("m1");
  // An entry whose list item presents no bulletin: reading its section raises.
  {
    platform::objc::AutoreleasePool pool;
    platform::objc::Strong odd =
        platform::objc::Strong::adopt(sb::sbsel::initWithBulletin_andObserver(
            sel::alloc(reinterpret_cast<id>(sb::SBAwayBulletinListItemClass())),
            platform::nsstring("not a bulletin"), nil));
    platform::objc::Strong entry = platform::mutableDictionary();
    platform::setObjectForKey(entry, "bulletin", odd);
    platform::setObjectForKey(keptItems(), "odd", entry);
  }
  phone_->unlock();
  phone_->wait(0.25);
  phone_->lock();
  phone_->wait(0.25);
  std::vector<std::string> lines = logged();
  const std::string prefix = "[Tarrow8] [Line ";
  const std::string tail =
      "]: SBLockScreenNotificationListController viewWillAppear Exception: -[NSString sectionID]: "
      "unrecognized selector sent to instance";
  auto count = [&](const char* line) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
      return l.rfind(prefix + line + tail, 0) == 0;
    });
  };
  EXPECT_EQ(count("1311"), 1) << "the clearing at unlock";
  EXPECT_EQ(count("1254"), 1) << "the lock screen coming back";
  EXPECT_EQ(lockScreen(), ids({"m1"}));
}

}  // namespace
}  // namespace sim::testing
