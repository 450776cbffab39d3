// The extension's spine on a booted phone: start-up, the settings loader with its fallback and
// migration, the lock-state handler, the grace period and relaunching.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>

#include "platform/dispatch/libnotify.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsset.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/process.h"
#include "platform/objc/strong.h"
#include "platform/springboard/springboard_host.h"
#include "sim/phone.h"

namespace sim {
namespace {

namespace fs = std::filesystem;
using platform::plist::Value;
using FlagValues = std::map<std::string, bool>;

// Where the extension keeps a current settings file it could not read before migrating over it.
constexpr const char* kUnreadableFile =
    "/var/mobile/Library/Preferences/net.vornel.tarrow8.plist.unreadable";
constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";

// The eight settings keys, each with its flag's initial value in the sense of the file.
const std::pair<const char*, bool> kSettingsKeys[] = {
    {"enabled", true},
    {"mirrorNotificationCenter", false},
    {"includeNotificationCenter", false},
    {"enableNotificationActions", true},
    {"saveForUnlock", true},
    {"saveForNotificationCenter", true},
    {"manualRemoval", false},
    {"enableAllApps", true},
};

// Every flag as a freshly loaded extension holds it before any settings file is read.
FlagValues initialFlags() {
  FlagValues flags(std::begin(kSettingsKeys), std::end(kSettingsKeys));
  flags["deviceLocked"] = true;
  flags["gracePeriodOver"] = false;
  return flags;
}

constexpr const char* kPlistHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";

std::string plistXml(const std::string& body) {
  return std::string(kPlistHead) + body + "</plist>\n";
}

// A settings file holding `entries` (key, XML value), in order.
std::string settingsXml(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string body = "<dict>";
  for (const auto& [key, value] : entries) body += "<key>" + key + "</key>" + value;
  return plistXml(body + "</dict>");
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
  // Every flag of the extension's diagnostics snapshot.
  FlagValues flags() {
    FlagValues values;
    auto state = phone_->extensionState();
    EXPECT_TRUE(state.has_value()) << "extension not loaded";
    if (!state) return values;
    for (const auto& [name, value] : state->find("flags")->as<platform::plist::Dictionary>())
      values[name] = value.as<bool>();
    return values;
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

  // A new phone in place of the current one.
  void freshPhone() {
    TearDown();
    SetUp();
  }
  fs::path hostPath(const std::string& devicePath) const {
    return phone_->root() / fs::path(devicePath).relative_path();
  }
  // The bytes of the regular file at `devicePath`; nothing when there is none.
  std::optional<std::string> bytesOf(const std::string& devicePath) const {
    if (!fs::is_regular_file(hostPath(devicePath))) return std::nullopt;
    std::ostringstream out;
    out << std::ifstream(hostPath(devicePath), std::ios::binary).rdbuf();
    return out.str();
  }
  // Sets the lock state SpringBoard publishes and posts it, as SpringBoard does; with no state,
  // sets 1 and lets every read of it fail. Runs what falls due.
  void postLockState(std::optional<std::uint64_t> state) {
    using platform::springboard::kLockStateNotification;
    int token = -1;
    {
      platform::ProcessScope device(platform::kDeviceProcess);
      ASSERT_EQ(notify_register_check(kLockStateNotification, &token), NOTIFY_STATUS_OK);
      notify_set_state(token, state.value_or(1));
      platform::dispatch::setStateReadsFail(kLockStateNotification, !state);
      notify_post(kLockStateNotification);
    }
    phone_->wait(0);
    platform::dispatch::setStateReadsFail(kLockStateNotification, false);
    platform::ProcessScope device(platform::kDeviceProcess);
    notify_cancel(token);
  }

  std::unique_ptr<Phone> phone_;
};

TEST_F(StartupTest, WithoutAnySettingsFileTheExtensionSwitchesItselfOff) {
  phone_->boot();
  FlagValues expected = initialFlags();
  expected["enabled"] = false;
  EXPECT_EQ(flags(), expected);
  EXPECT_FALSE(phone_->fileExists(kSettingsFile)) << "nothing is written without a legacy file";
  EXPECT_FALSE(phone_->fileExists(kUnreadableFile));
  auto state = phone_->extensionState();
  auto prefs = state->find("preferences");
  ASSERT_NE(prefs, nullptr);
  EXPECT_TRUE(prefs->as<platform::plist::Dictionary>().empty());
}

TEST_F(StartupTest, TheConstructorCreatesTheThreeStoresEmpty) {
  phone_->boot();
  const std::pair<const char*, Class> stores[] = {
      {"_ZN7tarrow89keptItemsE", platform::NSMutableDictionaryClass()},
      {"_ZN7tarrow818removedBulletinIDsE", platform::NSMutableSetClass()},
      {"_ZN7tarrow89remindersE", platform::NSMutableDictionaryClass()},
  };
  for (const auto& [symbol, kind] : stores) {
    SCOPED_TRACE(symbol);
    id created = store(symbol);
    ASSERT_NE(created, nil);
    EXPECT_TRUE(platform::objc::isKindOf(created, kind));
    EXPECT_EQ(sel::count(created), 0u);
  }
}

TEST_F(StartupTest, DiagnosticsListTheStoresSortedAndTheObjectsHeld) {
  phone_->changeSettings({{"enabled", Value(true)}}, false);
  phone_->boot();
  {
    platform::objc::AutoreleasePool pool;
    for (const char* bulletinID : {"b-2", "b-10", "a-1"}) {
      platform::setObjectForKey(keptItems(), bulletinID, platform::mutableDictionary());
      sel::addObject(removedIDs(), platform::nsstring(bulletinID));
      platform::setObjectForKey(store("_ZN7tarrow89remindersE"), bulletinID,
                                platform::mutableDictionary());
    }
  }
  auto state = phone_->extensionState();
  ASSERT_TRUE(state.has_value());
  const Value sorted(platform::plist::Array{Value("a-1"), Value("b-10"), Value("b-2")});
  for (const char* name : {"keptItems", "removedBulletinIDs", "reminders"}) {
    ASSERT_NE(state->find(name), nullptr) << name;
    EXPECT_EQ(*state->find(name), sorted) << name;
  }
  // "remembered" names exactly the SpringBoard objects the extension holds.
  const std::pair<const char*, const char*> held[] = {
      {"listController", "_ZN7tarrow814listControllerE"},
      {"listObserver", "_ZN7tarrow812listObserverE"},
      {"listView", "_ZN7tarrow88listViewE"},
      {"bulletinServer", "_ZN7tarrow814bulletinServerE"},
      {"bulletinViewController", "_ZN7tarrow822bulletinViewControllerE"},
  };
  platform::plist::Array expected;
  for (const auto& [name, symbol] : held) {
    if (store(symbol)) expected.emplace_back(name);
  }
  ASSERT_NE(state->find("remembered"), nullptr);
  EXPECT_EQ(*state->find("remembered"), Value(expected));
}

struct FileCase {
  const char* name;
  std::optional<std::string> current, legacy;  // nothing: no such file
  std::optional<std::string> olderBackup;      // a copy an earlier migration kept
  bool backupIsFolder;                         // a folder stands where the copy goes
  bool enabled, saveForUnlock;                 // the flags after booting
  bool migrated;  // the current file holds the legacy settings; otherwise it is as it was
  std::optional<std::string> backup;  // the kept copy afterwards; nothing: none
};

TEST_F(StartupTest, UnreadableCurrentFilesFallBackToTheLegacyFileAndAreKept) {
  const std::string legacy = plistXml("<dict><key>saveForUnlock</key><false/></dict>");
  const std::string readable = plistXml("<dict><key>saveForUnlock</key><true/></dict>");
  const std::string truncated = plistXml("<dict><key>saveForUnlock</key>").substr(0, 60);
  const std::string arrayRoot = plistXml("<array><false/></array>");
  const std::string binary(
      "bplist00\x08\x08\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x01"
      "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x09",
      42);
  const std::string garbage = "not a property list at all";
  const FileCase cases[] = {
      {"only legacy", std::nullopt, legacy, std::nullopt, false, true, false, true, std::nullopt},
      {"empty current", "", legacy, std::nullopt, false, true, false, true, ""},
      {"garbage current", garbage, legacy, std::nullopt, false, true, false, true, garbage},
      {"truncated current", truncated, legacy, std::nullopt, false, true, false, true, truncated},
      {"array root", arrayRoot, legacy, std::nullopt, false, true, false, true, arrayRoot},
      {"binary current", binary, std::nullopt, std::nullopt, false, false, true, false,
       std::nullopt},
      {"garbage in both", "junk", "junk", std::nullopt, false, false, true, false, std::nullopt},
      {"both readable: the legacy file is ignored", readable, legacy, "older", false, true, true,
       false, "older"},
      {"an older copy is replaced", garbage, legacy, "older", false, true, false, true, garbage},
      {"no copy can be kept: nothing is written", garbage, legacy, std::nullopt, true, true, false,
       false, std::nullopt},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    freshPhone();
    if (c.current) phone_->writeFile(kSettingsFile, *c.current);
    if (c.legacy) phone_->writeFile(kLegacySettingsFile, *c.legacy);
    if (c.olderBackup) phone_->writeFile(kUnreadableFile, *c.olderBackup);
    if (c.backupIsFolder) fs::create_directories(hostPath(kUnreadableFile) / "inside");
    phone_->boot();
    EXPECT_EQ(flag("enabled"), c.enabled);
    EXPECT_EQ(flag("saveForUnlock"), c.saveForUnlock);
    if (c.migrated) {
      auto current = phone_->readPropertyList(kSettingsFile);
      EXPECT_TRUE(current && current == phone_->readPropertyList(kLegacySettingsFile));
    } else {
      EXPECT_EQ(bytesOf(kSettingsFile), c.current) << "the current file is as it was";
    }
    EXPECT_EQ(bytesOf(kUnreadableFile), c.backup);
    if (c.backupIsFolder) EXPECT_TRUE(fs::is_directory(hostPath(kUnreadableFile) / "inside"));
    EXPECT_EQ(bytesOf(kLegacySettingsFile), c.legacy) << "the legacy file stays";
    for (const auto& entry : fs::directory_iterator(hostPath(kPreferencesFolder))) {
      std::string name = "/var/mobile/Library/Preferences/" + entry.path().filename().string();
      EXPECT_TRUE(name == kSettingsFile || name == kLegacySettingsFile || name == kUnreadableFile)
          << name << " left behind";
    }
  }
}

TEST_F(StartupTest, AMigrationThatCouldNotWriteIsTriedAgainAtTheNextLoad) {
  fs::create_directories(hostPath(kSettingsFile) / "inside");
  phone_->writeFile(kLegacySettingsFile, plistXml("<dict><key>saveForUnlock</key><false/></dict>"));
  phone_->boot();
  EXPECT_TRUE(flag("enabled"));
  EXPECT_FALSE(flag("saveForUnlock")) << "the legacy settings apply even when not written";
  EXPECT_TRUE(fs::is_directory(hostPath(kSettingsFile) / "inside"));
  EXPECT_FALSE(phone_->fileExists(kUnreadableFile));

  fs::remove_all(hostPath(kSettingsFile));
  phone_->writeFile(kLegacySettingsFile, plistXml("<dict><key>enableAllApps</key><false/></dict>"));
  phone_->postDarwin(kPreferencesNotification);
  EXPECT_FALSE(flag("enableAllApps"));
  auto current = phone_->readPropertyList(kSettingsFile);
  ASSERT_TRUE(current.has_value()) << "the next load migrates";
  EXPECT_EQ(current, phone_->readPropertyList(kLegacySettingsFile));
}

TEST_F(StartupTest, LinksAtTheSettingsPathsAreReplacedNeverWrittenThrough) {
  const std::string legacy = plistXml("<dict><key>saveForUnlock</key><false/></dict>");
  const std::string elsewhere = "/var/mobile/Documents/broken.plist";
  // Writing through either link would overwrite the file it points at.
  const std::tuple<const char*, const char*, const char*> links[] = {
      // link, its target, what the kept copy holds afterwards
      {kSettingsFile, elsewhere.c_str(), "not a property list"},
      {kUnreadableFile, kLegacySettingsFile, "garbage"},
  };
  for (const auto& [link, target, kept] : links) {
    SCOPED_TRACE(link);
    freshPhone();
    phone_->writeFile(kLegacySettingsFile, legacy);
    phone_->writeFile(elsewhere, "not a property list");
    if (std::string(link) != kSettingsFile) phone_->writeFile(kSettingsFile, "garbage");
    fs::create_symlink(hostPath(target), hostPath(link));
    phone_->boot();
    EXPECT_FALSE(flag("saveForUnlock"));
    EXPECT_EQ(bytesOf(elsewhere), "not a property list");
    EXPECT_EQ(bytesOf(kLegacySettingsFile), legacy);
    EXPECT_FALSE(fs::is_symlink(hostPath(kSettingsFile)));
    EXPECT_FALSE(fs::is_symlink(hostPath(kUnreadableFile)));
    EXPECT_EQ(bytesOf(kUnreadableFile), kept);
    EXPECT_EQ(phone_->readPropertyList(kSettingsFile),
              phone_->readPropertyList(kLegacySettingsFile));
  }
}

TEST_F(StartupTest, AFileWithOneKeyChangesOnlyThatKeysFlag) {
  for (const auto& [key, initial] : kSettingsKeys) {
    SCOPED_TRACE(key);
    freshPhone();
    phone_->writeFile(kSettingsFile, settingsXml({{key, initial ? "<false/>" : "<true/>"}}));
    phone_->boot();
    FlagValues expected = initialFlags();
    expected[key] = !initial;
    EXPECT_EQ(flags(), expected);
  }
}

struct ValueCase {
  const char* xml;              // nullptr: the key is absent
  std::optional<bool> reading;  // nothing: the flag keeps its previous value
};

TEST_F(StartupTest, EveryPropertyListTypeUnderEveryKeyIsReadSafely) {
  const ValueCase cases[] = {
      {"<true/>", true},
      {"<false/>", false},
      {"<integer>0</integer>", false},
      {"<integer>1</integer>", true},
      {"<integer>-3</integer>", true},
      {"<real>0.0</real>", false},
      {"<real>0.5</real>", true},
      {"<string>YES</string>", true},
      {"<string>no</string>", false},
      {"<string>1</string>", true},
      {"<string>0</string>", false},
      {"<string>  1</string>", true},
      {"<string>abc</string>", false},
      {"<string></string>", false},
      {"<date>2026-12-09T08:00:00Z</date>", std::nullopt},
      {"<data>AAE=</data>", std::nullopt},
      {"<array><true/></array>", std::nullopt},
      {"<dict><key>x</key><true/></dict>", std::nullopt},
      {nullptr, std::nullopt},
  };
  phone_->boot();
  for (const auto& row : kSettingsKeys) {
    const std::string key = row.first;
    for (const ValueCase& c : cases) {
      // Each case starts with every key at `start`, then changes only `key`: its flag takes the
      // value's reading (or keeps `start`), and no other flag moves.
      for (bool start : {true, false}) {
        SCOPED_TRACE(key + " = " + (c.xml ? c.xml : "absent") + " after " +
                     (start ? "true" : "false"));
        std::vector<std::pair<std::string, std::string>> entries;
        for (const auto& [other, unused] : kSettingsKeys)
          entries.emplace_back(other, start ? "<true/>" : "<false/>");
        phone_->writeFile(kSettingsFile, settingsXml(entries));
        phone_->postDarwin(kPreferencesNotification);
        FlagValues expected = initialFlags();
        for (const auto& [other, unused] : kSettingsKeys) expected[other] = start;

        std::erase_if(entries, [&](const auto& entry) { return entry.first == key; });
        if (c.xml) entries.emplace_back(key, c.xml);
        phone_->writeFile(kSettingsFile, settingsXml(entries));
        phone_->postDarwin(kPreferencesNotification);
        expected[key] = c.reading.value_or(start);
        EXPECT_EQ(flags(), expected);
      }
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

struct LockCase {
  const char* name;
  std::optional<std::uint64_t> state;  // nothing: the read fails
  bool enabled;
  bool keptSeeded, removedSeeded;  // the store holds one entry beforehand
  bool locked;                     // deviceLocked afterwards
  bool emptied;                    // the stores that held something are emptied
};

TEST_F(StartupTest, OnlyState1CountsAsLockedAndEmptiesTheStoresWhileDisabled) {
  const LockCase cases[] = {
      {"0, disabled", 0, false, true, true, false, false},
      {"1, enabled", 1, true, true, true, true, false},
      {"1, disabled", 1, false, true, true, true, true},
      {"1, disabled, nothing kept", 1, false, false, true, true, true},
      {"1, disabled, nothing removed", 1, false, true, false, true, true},
      {"2, disabled", 2, false, true, true, false, false},
      {"all ones, disabled", UINT64_MAX, false, true, true, false, false},
      {"failed read of a 1, disabled", std::nullopt, false, true, true, false, false},
  };
  for (const LockCase& c : cases) {
    SCOPED_TRACE(c.name);
    freshPhone();
    phone_->changeSettings({{"enabled", Value(c.enabled)}}, false);
    phone_->boot();
    // Start from the other lock state, so that the flag has to move.
    if (c.locked) postLockState(0);
    ASSERT_EQ(flag("deviceLocked"), !c.locked);
    {
      platform::objc::AutoreleasePool pool;
      if (c.keptSeeded)
        platform::setObjectForKey(keptItems(), "b-1", platform::mutableDictionary());
      if (c.removedSeeded) sel::addObject(removedIDs(), platform::nsstring("b-2"));
    }
    // Held as a walker of the store would hold it.
    platform::objc::Strong keptBefore = keptItems();
    platform::objc::Strong removedBefore = removedIDs();
    postLockState(c.state);
    EXPECT_EQ(flag("deviceLocked"), c.locked);
    const std::tuple<const char*, bool, id, id, Class> stores[] = {
        {"keptItems", c.keptSeeded, keptBefore, keptItems(), platform::NSMutableDictionaryClass()},
        {"removedBulletinIDs", c.removedSeeded, removedBefore, removedIDs(),
         platform::NSMutableSetClass()},
    };
    for (const auto& [name, seeded, before, after, kind] : stores) {
      SCOPED_TRACE(name);
      if (seeded && c.emptied) {
        EXPECT_EQ(storeSize(name), 0u);
        EXPECT_NE(after, before) << "a new container replaces the emptied one";
        EXPECT_TRUE(platform::objc::isKindOf(after, kind));
        EXPECT_EQ(sel::count(before), 0u) << "the old container is emptied for whoever holds it";
      } else {
        EXPECT_EQ(storeSize(name), seeded ? 1u : 0u);
        EXPECT_EQ(after, before) << "the store is left as it is";
      }
    }
  }
}

TEST_F(StartupTest, OtherNotificationNamesChangeNothing) {
  phone_->changeSettings({{"enabled", Value(true)}}, false);
  phone_->boot();
  {
    platform::objc::AutoreleasePool pool;
    platform::setObjectForKey(keptItems(), "b-1", platform::mutableDictionary());
  }
  // What each of the extension's observers would change if it ran: the settings are reloaded
  // (saveForUnlock), the lock state read (0, while the flag still says locked), SpringBoard
  // relaunched.
  phone_->changeSettings({{"saveForUnlock", Value(false)}}, false);
  {
    platform::ProcessScope device(platform::kDeviceProcess);
    int token = -1;
    notify_register_check(platform::springboard::kLockStateNotification, &token);
    notify_set_state(token, 0);
  }
  const char* darwinNames[] = {
      "net.vornel.tarrow8/preference",  "net.vornel.tarrow8/preferences/",
      "NET.VORNEL.TARROW8/PREFERENCES", "net.vornel.tarrow8",
      "net.vornel.tarrow8/respring",    "com.apple.springboard.lockstate.changed",
      "com.apple.springboard.lockstat", "com.brelwick.priorityhub-pulltoclearsection",
  };
  for (const char* name : darwinNames) phone_->postDarwin(name);
  phone_->postDistributed(kPreferencesNotification, {});
  phone_->postDistributed("net.vornel.tarrow8/respring ", {});
  EXPECT_TRUE(flag("saveForUnlock"));
  EXPECT_TRUE(flag("deviceLocked"));
  EXPECT_EQ(phone_->launchCount(), 1);
  EXPECT_EQ(storeSize("keptItems"), 1u);

  phone_->postDarwin(kPreferencesNotification);
  EXPECT_FALSE(flag("saveForUnlock")) << "the change was there to be seen";
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
