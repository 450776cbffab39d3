// The extension's spine on a booted phone: start-up, the settings loader with its fallback and
// migration, the lock-state handler, the grace period and relaunching.

#include <gtest/gtest.h>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsset.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/strong.h"
#include "sim/phone.h"

namespace sim {
namespace {

using platform::plist::Value;

constexpr const char* kPlistHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";

std::string plistXml(const std::string& body) {
  return std::string(kPlistHead) + body + "</plist>\n";
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PhoneOptions options;
    options.extension = TARROW8_EXTENSION;
    phone_ = std::make_unique<Phone>(options);
  }
  void TearDown() override { phone_.reset(); }

  // The value of one flag in the extension's diagnostics snapshot.
  bool flag(const char* name) {
    auto state = phone_->extensionState();
    EXPECT_TRUE(state.has_value()) << "extension not loaded";
    const Value* v = state ? state->find("flags")->find(name) : nullptr;
    EXPECT_NE(v, nullptr) << name;
    return v && v->as<bool>();
  }
  std::size_t storeSize(const char* store) {
    auto state = phone_->extensionState();
    return state ? state->find(store)->as<platform::plist::Array>().size() : 0;
  }
  // The extension's own store global, reached by its symbol.
  platform::objc::Strong& store(const char* mangled) {
    auto* s = static_cast<platform::objc::Strong*>(phone_->extensionSymbol(mangled));
    EXPECT_NE(s, nullptr);
    return *s;
  }
  platform::objc::Strong& keptItems() { return store("_ZN7tarrow89keptItemsE"); }
  platform::objc::Strong& removedIDs() { return store("_ZN7tarrow818removedBulletinIDsE"); }

  std::unique_ptr<Phone> phone_;
};

TEST_F(StartupTest, WithoutAnySettingsFileTheExtensionSwitchesItselfOff) {
  phone_->boot();
  EXPECT_FALSE(flag("enabled"));
  EXPECT_TRUE(flag("saveForUnlock"));
  EXPECT_FALSE(flag("manualRemoval"));
  EXPECT_TRUE(flag("enableAllApps"));
  EXPECT_TRUE(flag("deviceLocked"));
  EXPECT_FALSE(phone_->fileExists(kSettingsFile)) << "nothing is written without a legacy file";
  auto state = phone_->extensionState();
  auto prefs = state->find("preferences");
  ASSERT_NE(prefs, nullptr);
  EXPECT_TRUE(prefs->as<platform::plist::Dictionary>().empty());
}

struct FileCase {
  const char* name;
  std::optional<std::string> current, legacy;
  bool enabled, saveForUnlock, migrated;
};

TEST_F(StartupTest, UnreadableCurrentFilesFallBackToTheLegacyFile) {
  const std::string legacy = plistXml("<dict><key>saveForUnlock</key><false/></dict>");
  const FileCase cases[] = {
      {"only legacy", std::nullopt, legacy, true, false, true},
      {"empty current", "", legacy, true, false, true},
      {"garbage current", "not a property list at all", legacy, true, false, true},
      {"truncated current", plistXml("<dict><key>saveForUnlock</key>").substr(0, 60), legacy, true,
       false, true},
      {"array root", plistXml("<array><false/></array>"), legacy, true, false, true},
      {"binary current",
       std::string(
           "bplist00\x08\x08\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x01"
           "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x09",
           42),
       std::nullopt, false, true, false},
      {"garbage in both", "junk", "junk", false, true, false},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.current) phone_->writeFile(kSettingsFile, *c.current);
    if (c.legacy) phone_->writeFile(kLegacySettingsFile, *c.legacy);
    phone_->boot();
    EXPECT_EQ(flag("enabled"), c.enabled);
    EXPECT_EQ(flag("saveForUnlock"), c.saveForUnlock);
    auto current = phone_->readPropertyList(kSettingsFile);
    EXPECT_EQ(current && current->find("saveForUnlock"), c.migrated);
    if (c.legacy) EXPECT_TRUE(phone_->fileExists(kLegacySettingsFile)) << "the legacy file stays";
  }
}

struct ValueCase {
  const char* xml;
  std::optional<bool> enabled;  // nullopt: the flag keeps its previous value
};

TEST_F(StartupTest, EveryPropertyListTypeUnderAKeyIsReadSafely) {
  const ValueCase cases[] = {
      {"<true/>", true},
      {"<false/>", false},
      {"<integer>0</integer>", false},
      {"<integer>-3</integer>", true},
      {"<real>0.0</real>", false},
      {"<real>0.5</real>", true},
      {"<string>YES</string>", true},
      {"<string>  1</string>", true},
      {"<string>no</string>", false},
      {"<string>abc</string>", false},
      {"<string></string>", false},
      {"<date>2026-12-09T08:00:00Z</date>", std::nullopt},
      {"<data>AAE=</data>", std::nullopt},
      {"<array><true/></array>", std::nullopt},
      {"<dict><key>x</key><true/></dict>", std::nullopt},
  };
  phone_->boot();
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.xml);
    // Start each case from a known value of the flag: the opposite of what a YES would give.
    for (bool start : {true, false}) {
      phone_->changeSettings({{"enabled", Value(start)}});
      ASSERT_EQ(flag("enabled"), start);
      phone_->writeFile(kSettingsFile, plistXml(std::string("<dict><key>enabled</key>") + c.xml +
                                                "<key>manualRemoval</key>" + c.xml + "</dict>"));
      phone_->postDarwin(kPreferencesNotification);
      EXPECT_EQ(flag("enabled"), c.enabled.value_or(start));
      if (c.enabled)
        EXPECT_EQ(flag("manualRemoval"), *c.enabled) << "manualRemoval is stored negated";
    }
  }
}

TEST_F(StartupTest, ReloadKeepsFlagsWhoseKeysDisappeared) {
  phone_->changeSettings(
      {{"enabled", Value(true)}, {"saveForUnlock", Value(false)}, {"manualRemoval", Value(true)}},
      false);
  phone_->boot();
  EXPECT_FALSE(flag("saveForUnlock"));
  EXPECT_TRUE(flag("manualRemoval"));
  phone_->changeSettings({{"saveForUnlock", std::nullopt}, {"manualRemoval", std::nullopt}});
  EXPECT_FALSE(flag("saveForUnlock")) << "a removed key does not restore its default";
  EXPECT_TRUE(flag("manualRemoval"));
  auto state = phone_->extensionState();
  EXPECT_EQ(state->find("preferences")->find("saveForUnlock"), nullptr);
}

TEST_F(StartupTest, OnlyEnableAllAppsOffTurnsOnWhiteListFiltering) {
  phone_->changeSettings({{"enableAllApps", Value(false)}}, false);
  phone_->boot();
  EXPECT_TRUE(flag("enabled"));
  EXPECT_FALSE(flag("enableAllApps"));
}

TEST_F(StartupTest, LockingWhileDisabledEmptiesTheStoresAndNothingElseDoes) {
  phone_->changeSettings({{"enabled", Value(true)}}, false);
  phone_->boot();
  auto seed = [&] {
    platform::objc::AutoreleasePool pool;
    platform::setObjectForKey(keptItems(), "b-1", platform::mutableDictionary());
    sel::addObject(removedIDs(), platform::nsstring("b-2"));
  };
  seed();
  phone_->unlock();
  phone_->lock();
  EXPECT_EQ(storeSize("keptItems"), 1u) << "locking while enabled keeps";
  phone_->changeSettings({{"enabled", Value(false)}});
  phone_->unlock();
  EXPECT_EQ(storeSize("removedBulletinIDs"), 1u) << "unlocking never empties";
  // SpringBoard's clearing of the list at unlock empties keptItems while disabled; put it back
  // so that the lock below has both stores to empty.
  EXPECT_EQ(storeSize("keptItems"), 0u);
  seed();

  id oldKept = keptItems();
  phone_->lock();
  EXPECT_EQ(storeSize("keptItems"), 0u);
  EXPECT_EQ(storeSize("removedBulletinIDs"), 0u);
  EXPECT_NE(keptItems().get(), oldKept) << "a new container replaces the emptied one";
  EXPECT_TRUE(sel::respondsToSelector(keptItems(), sel::setObject_forKey.sel()));
  EXPECT_TRUE(sel::respondsToSelector(removedIDs(), sel::addObject.sel()));

  id emptyKept = keptItems();
  phone_->unlock();
  phone_->lock();
  EXPECT_EQ(keptItems().get(), emptyKept) << "an empty store is left as it is";
}

TEST_F(StartupTest, DeviceLockedFollowsTheLockStateAndStartsTrue) {
  phone_->boot();
  EXPECT_TRUE(flag("deviceLocked")) << "before any lock-state change";
  phone_->unlock();
  EXPECT_FALSE(flag("deviceLocked"));
  phone_->lock();
  EXPECT_TRUE(flag("deviceLocked"));
}

TEST_F(StartupTest, GracePeriodEndsFiveSecondsAfterLaunch) {
  phone_->boot();
  phone_->wait(4.999999999);
  EXPECT_FALSE(flag("gracePeriodOver"));
  phone_->wait(0.000000001);
  EXPECT_TRUE(flag("gracePeriodOver"));
}

TEST_F(StartupTest, PullToClearBeforeTheListExistsDoesNothing) {
  phone_->changeSettings({{"enabled", Value(true)}}, false);
  phone_->boot();
  {
    platform::objc::AutoreleasePool pool;
    platform::setObjectForKey(keptItems(), "b-1", platform::mutableDictionary());
  }
  phone_->postDistributed("com.brelwick.priorityhub-pulltoclearsection",
                          {{"sectionID", "com.app"}});
  phone_->postDistributed("com.brelwick.priorityhub-pulltoclearsection", {});
  EXPECT_TRUE(phone_->springBoardRunning());
  EXPECT_EQ(phone_->launchCount(), 1);
  EXPECT_EQ(storeSize("keptItems"), 1u);
}

TEST_F(StartupTest, RespringRequestRelaunchesWithMemoryGoneAndFilesKept) {
  phone_->changeSettings({{"enabled", Value(true)}, {"saveForUnlock", Value(false)}}, false);
  phone_->boot();
  {
    platform::objc::AutoreleasePool pool;
    platform::setObjectForKey(keptItems(), "b-1", platform::mutableDictionary());
  }
  phone_->unlock();
  phone_->wait(6);
  ASSERT_TRUE(flag("gracePeriodOver"));

  phone_->postDistributed("net.vornel.tarrow8/respring", {});
  EXPECT_EQ(phone_->launchCount(), 2);
  EXPECT_EQ(storeSize("keptItems"), 0u);
  EXPECT_FALSE(flag("gracePeriodOver"));
  EXPECT_TRUE(flag("deviceLocked")) << "a fresh extension starts locked";
  EXPECT_FALSE(flag("saveForUnlock")) << "settings come back from the file";
  // The relaunched extension hooks the device's method, not its predecessor's hook: one timer.
  phone_->wait(5);
  EXPECT_TRUE(flag("gracePeriodOver"));
  // And it observes again, exactly once.
  phone_->postDistributed("net.vornel.tarrow8/respring", {});
  EXPECT_EQ(phone_->launchCount(), 3);
}

TEST_F(StartupTest, SettingsNotificationsReachOnlyTheRunningSpringBoard) {
  phone_->boot();
  phone_->respring();
  phone_->changeSettings({{"enabled", Value(true)}, {"enableAllApps", Value(false)}});
  EXPECT_TRUE(flag("enabled"));
  EXPECT_FALSE(flag("enableAllApps"));
  EXPECT_EQ(phone_->launchCount(), 2);
}

}  // namespace
}  // namespace sim
