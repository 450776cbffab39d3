// Removal and clearing on a booted phone: the lock-screen removal path, opening a bulletin,
// clearing sections (by the all-sections token, by the other extension's request), withdrawals
// and actions in Notification Center.

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/object.h"
#include "platform/springboard/bulletin.h"
#include "platform/springboard/bulletin_server.h"
#include "platform/springboard/list_item.h"
#include "platform/springboard/lock_screen_list.h"
#include "platform/springboard/notification_center.h"
#include "sim/phone_test_support.h"

namespace sim::testing {
namespace {

namespace sb = platform::springboard;
using platform::objc::Strong;
using LockScreenRemoval = PhoneTest;

// Sends clearTarrowItemsInSection: to the list controller, as action dispatch does.
void clearSection(id controller, id section) {
  static const platform::objc::Selector<void(id)> clear{"clearTarrowItemsInSection:"};
  clear(controller, section);
}

// The contents of a bulletin `id` without an application.
BulletinContents contents(const char* id) {
  BulletinContents c;
  c.bulletinID = id;
  c.title = "t";
  return c;
}

// Puts an entry under `key` whose list item presents `bulletin` (nil: no bulletin).
void keepOddEntry(Strong& store, const char* key, id bulletin) {
  platform::objc::AutoreleasePool pool;
  Strong item = Strong::adopt(sb::sbsel::initWithBulletin_andObserver(
      sel::alloc(reinterpret_cast<id>(sb::SBAwayBulletinListItemClass())), bulletin, nil));
  Strong entry = platform::mutableDictionary();
  platform::setObjectForKey(entry, "bulletin", item);
  platform::setObjectForKey(store, key, entry);
}

TEST_F(LockScreenRemoval, ClearingASectionTakesExactlyItsBulletinsWhateverTheFlags) {
  struct Case {
    const char* name;
    std::optional<std::string> section;  // nullopt: nil
    std::vector<std::string> cleared;
  };
  const Case cases[] = {
      {"nil clears nothing", std::nullopt, {}},
      {"an unknown section clears nothing", "com.example.none", {}},
      {"one application", "com.apple.mobilemail", {"e1", "e2"}},
      {"the empty string only matches an empty section", "", {"blank"}},
      {"the all-sections token clears everything",
       "net.vornel.tarrow8",
       {"blank", "e1", "e2", "m1", "nobulletin", "nosection"}},
  };
  for (const Case& c : cases) {
    for (bool enabled : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (enabled ? "" : ", switched off, unlocked"));
      makePhone();
      boot();
      if (!enabled) {
        settings({{"enabled", Value(false)}});
        phone_->unlock();
      }
      for (auto [key, section] : {std::pair<const char*, const char*>{"m1", "com.apple.MobileSMS"},
                                  {"e1", "com.apple.mobilemail"},
                                  {"e2", "com.apple.mobilemail"},
                                  {"blank", ""},
                                  {"nosection", nullptr}}) {
        platform::objc::AutoreleasePool pool;
        Strong bulletin = sb::makeBulletin(contents(key));
        if (section) sb::sbsel::setSectionID(bulletin, platform::nsstring(section));
        keepOddEntry(keptItems(), key, bulletin);
      }
      keepOddEntry(keptItems(), "nobulletin", nil);
      std::vector<std::string> before = kept();
      asSpringBoard([&] {
        Strong section = c.section ? platform::nsstring(*c.section) : Strong();
        clearSection(ui().listController(), section);
      });
      std::vector<std::string> left;
      std::set_difference(before.begin(), before.end(), c.cleared.begin(), c.cleared.end(),
                          std::back_inserter(left));
      EXPECT_EQ(kept(), left);
      std::vector<std::string> recorded = c.cleared;
      EXPECT_EQ(removed(), recorded);
    }
  }
}

TEST_F(LockScreenRemoval, ClearingTakesTheRowsAndLogsAFailingEntryWithoutStopping) {
  boot();
  publish("m1");
  publish("m2");
  keepOddEntry(keptItems(), "odd", platform::nsstring("not a bulletin"));
  asSpringBoard(
      [&] { clearSection(ui().listController(), platform::nsstring("com.apple.MobileSMS")); });
  EXPECT_TRUE(lockScreen().empty()) << "the rows went through observer:removeBulletin:";
  EXPECT_EQ(kept(), ids({"odd"}));
  EXPECT_EQ(removed(), ids({"m1", "m2"}));
  auto lines = logged();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(
      lines[0].rfind("[Tarrow8] [Line 1191]: clearItems 1 Exception: -[NSString sectionID]", 0), 0u)
      << lines[0];
}

TEST_F(LockScreenRemoval, PullToClearClearsTheNamedSectionOnly) {
  boot();
  publish("m1", "com.apple.MobileSMS");
  publish("e1", "com.apple.mobilemail");
  phone_->pullToClear(std::nullopt);
  EXPECT_EQ(kept(), ids({"e1", "m1"})) << "without a sectionID nothing is cleared";
  phone_->pullToClear("com.apple.MobileSMS");
  EXPECT_EQ(kept(), ids({"e1"}));
  EXPECT_EQ(removed(), ids({"m1"}));
  EXPECT_EQ(lockScreen(), ids({"e1"}));
}

TEST_F(LockScreenRemoval, TheRemovalPathSkipsWhatIsNotAKeptBulletinButAlwaysReachesSpringBoard) {
  boot();
  publish("m1");
  asSpringBoard([&] {
    sb::sbsel::observer_removeBulletin(ui().listController(), nil, platform::nsstring("m1"));
  });
  EXPECT_EQ(kept(), ids({"m1"})) << "a string is not a bulletin";
  settings({{"enabled", Value(false)}});
  asSpringBoard([&] {
    id bulletin = sb::publishedBulletin(ui().bulletinServer(), "m1");
    sb::sbsel::observer_removeBulletin(ui().listController(), nil, bulletin);
  });
  EXPECT_EQ(kept(), ids({"m1"})) << "switched off";
  EXPECT_TRUE(removed().empty());
  EXPECT_TRUE(lockScreen().empty()) << "SpringBoard removed the row";
}

TEST_F(LockScreenRemoval, OpeningAKeptBulletinRemovesItWhereverItIsOpened) {
  boot();
  publish("m1");
  publish("m2");
  publish("m3");
  ASSERT_EQ(phone_->openFromLockScreen("m1"), "");
  EXPECT_EQ(kept(), ids({"m2", "m3"}));
  EXPECT_FALSE(phone_->locked()) << "the application came up";
  EXPECT_EQ(notificationCenter(), ids({"m3", "m2"})) << "handled, it left Notification Center";
  EXPECT_TRUE(removed().empty()) << "and Notification Center's removal cleared its record";

  // Unlocked (the list view still shows the kept rows), an action removes it without a send.
  phone_->wait(1);
  ASSERT_EQ(lockScreen(), ids({"m3", "m2"}));
  asSpringBoard([&] {
    sb::sbsel::handleAction_forBulletin(ui().listView(), nil,
                                        sb::publishedBulletin(ui().bulletinServer(), "m2"));
  });
  EXPECT_EQ(kept(), ids({"m3"}));
  EXPECT_EQ(lockScreen(), ids({"m3", "m2"})) << "no row is removed while unlocked";

  ASSERT_EQ(phone_->showNotificationCenter(), "");
  ASSERT_EQ(phone_->openFromNotificationCenter("m3"), "");
  EXPECT_TRUE(kept().empty()) << "handled in Notification Center under system removal";
}

TEST_F(LockScreenRemoval, TheLockScreenActionHandlerOnItsOwn) {
  struct Case {
    const char* name;
    bool enabled, locked, kept, bulletin;
    std::vector<std::string> keptAfter, removedAfter, rowsAfter;
  };
  const Case cases[] = {
      {"locked: through the removal path", true, true, true, true, {"m2"}, {"m1"}, {"m2"}},
      {"unlocked: the stores only", true, false, true, true, {"m2"}, {"m1"}, {"m2", "m1"}},
      {"not kept", true, true, false, true, {"m2"}, {}, {"m2", "m1"}},
      {"switched off", false, true, true, true, {"m1", "m2"}, {}, {"m2", "m1"}},
      {"not a bulletin", true, true, true, false, {"m1", "m2"}, {}, {"m2", "m1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makePhone();
    boot();
    publish("m1", "com.apple.MobileSMS", 0);
    publish("m2", "com.apple.MobileSMS", 1);
    if (!c.locked) {
      phone_->unlock();
      phone_->wait(1);  // the kept rows are back on the (hidden) list
    }
    if (!c.kept) sel::removeObjectForKey(keptItems(), platform::nsstring("m1"));
    if (!c.enabled) settings({{"enabled", Value(false)}});
    // The action alone: the application it opens comes up only once the run loop turns.
    {
      platform::ProcessScope scope(platform::springboard::SpringBoardHost::shared().pid());
      platform::objc::AutoreleasePool pool;
      id bulletin = sb::publishedBulletin(ui().bulletinServer(), "m1");
      Strong text = platform::nsstring("m1");
      sb::sbsel::handleAction_forBulletin(ui().listView(), nil, c.bulletin ? bulletin : text.get());
    }
    EXPECT_EQ(kept(), c.keptAfter);
    EXPECT_EQ(removed(), c.removedAfter);
    EXPECT_EQ(lockScreen(), c.rowsAfter);
  }
}

TEST_F(LockScreenRemoval, AnActionOnABulletinThatIsNotKeptChangesNothing) {
  boot({{"Blacklist-com.apple.MobileSMS", Value(true)}});
  publish("m1");
  publish("e1", "com.apple.mobilemail");
  ASSERT_EQ(phone_->openFromLockScreen("m1"), "");
  EXPECT_EQ(kept(), ids({"e1"}));
  EXPECT_TRUE(removed().empty());
}

TEST_F(LockScreenRemoval, WithdrawalsFollowTheLockStateAndSystemRemoval) {
  struct Case {
    const char* name;
    bool manualRemoval, mirror, locked;
    std::vector<std::string> kept, removed;
  };
  const Case cases[] = {
      {"manual removal keeps everything", true, false, true, {"m1"}, {"x"}},
      {"locked: the row goes and the ID stays recorded", false, false, true, {}, {"m1"}},
      {"unlocked: the entry goes", false, false, false, {}, {}},
      {"mirroring forces system removal", true, true, true, {}, {"m1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makePhone();
    boot(
        {{"manualRemoval", Value(c.manualRemoval)}, {"mirrorNotificationCenter", Value(c.mirror)}});
    publish("m1");
    publish("x", "com.apple.mobilemail");
    asSpringBoard(
        [&] { sb::sbsel::withdrawBulletinID(ui().bulletinServer(), platform::nsstring("x")); });
    sel::addObject(removedIDs(), platform::nsstring("x"));
    sel::removeObjectForKey(keptItems(), platform::nsstring("x"));
    if (!c.locked) {
      phone_->unlock();
      phone_->wait(0);
    }
    // Withdraw, then look before the server's own deliveries reach the lists.
    {
      platform::ProcessScope scope(platform::springboard::SpringBoardHost::shared().pid());
      platform::objc::AutoreleasePool pool;
      sb::sbsel::withdrawBulletinID(ui().bulletinServer(), platform::nsstring("m1"));
      sb::sbsel::withdrawBulletinID(ui().bulletinServer(), platform::nsstring("x"));
    }
    EXPECT_EQ(kept(), c.kept);
    EXPECT_EQ(removed(), c.removed);
  }
}

TEST_F(LockScreenRemoval, ANotificationCenterActionThatSpringBoardRefusesChangesNothing) {
  boot();
  publish("m1");
  phone_->unlock();
  ASSERT_EQ(phone_->showNotificationCenter(), "");
  sel::addObject(removedIDs(), platform::nsstring("m1"));
  BOOL handled = YES;
  asSpringBoard([&] {
    Strong stranger = sb::makeBulletin(contents("zz"));
    handled = sb::sbsel::handleAction_forBulletin_withCompletion(ui().notificationCenter(), nil,
                                                                 stranger, nullptr);
  });
  EXPECT_EQ(handled, NO) << "the refusal is passed back";
  EXPECT_EQ(kept(), ids({"m1"}));
  ASSERT_EQ(phone_->openFromNotificationCenter("m1"), "");
  EXPECT_TRUE(kept().empty());
  EXPECT_TRUE(removed().empty());
}

}  // namespace
}  // namespace sim::testing
