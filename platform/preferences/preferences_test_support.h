#pragma once
// The fixture the Settings app's tests start from: a fresh device root and virtual clock, the
// test bundle (platform/preferences/test_bundle.cpp) installed as a preference bundle with a
// specifier list of the test's choosing, the Darwin notifications posted, and readers of what
// the Settings app shows.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/dispatch/darwin_notify_center.h"
#include "platform/dispatch/reset.h"
#include "platform/dispatch/run_loop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/device_root.h"
#include "platform/foundation/foundation_classes.h"
#include "platform/foundation/nslog.h"
#include "platform/foundation/plist_file.h"
#include "platform/foundation/process.h"
#include "platform/foundation/read_only_folders.h"
#include "platform/objc/object.h"
#include "platform/preferences/settings_app.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::preferences::test {

namespace fs = std::filesystem;

// The settings domain the test pane's rows keep their values in, and its file.
inline constexpr const char* kDomain = "com.example.testpane";
inline constexpr const char* kDomainFile =
    "/var/mobile/Library/Preferences/com.example.testpane.plist";
inline constexpr const char* kChanged = "com.example.testpane/changed";

// A switch row of the test pane.
inline plist::Value switchRow(const char* label, const char* key, std::optional<bool> fallback) {
  plist::Dictionary row{{"cell", "PSSwitchCell"},
                        {"label", label},
                        {"key", key},
                        {"defaults", kDomain},
                        {"PostNotification", kChanged}};
  if (fallback) row["default"] = *fallback;
  return row;
}

// The test pane's rows: a group with a footer; "master", whose being off greys the two rows
// after it; a value row; a link to the application list and one to a class that does not
// exist; rows that prompt and that raise; a second group whose first row is a switch.
inline plist::Value testPaneList() {
  plist::Dictionary appList{{"cell", "PSLinkCell"},
                            {"label", "Applications"},
                            {"id", "AppList"},
                            {"detail", "ALApplicationListController"},
                            {"ALSettingsPath", kDomainFile},
                            {"ALSettingsKeyPrefix", "Pick-"},
                            {"ALChangeNotification", kChanged},
                            {"ALSectionDescriptors",
                             plist::Array{plist::Dictionary{{"title", "Picked"},
                                                            {"predicate", "bundleIdentifier in {}"},
                                                            {"cell-class-name", "ALCheckCell"},
                                                            {"icon-size", "29"},
                                                            {"suppress-hidden-apps", true}}}}};
  return plist::Dictionary{
      {"title", "Test Pane"},
      {"items",
       plist::Array{
           plist::Dictionary{{"cell", "PSGroupCell"}, {"label", "Main"}, {"footerText", "First"}},
           switchRow("Master", "master", true),
           switchRow("Child A", "childA", false),
           switchRow("Child B", "childB", std::nullopt),
           plist::Dictionary{{"cell", "PSTitleValueCell"},
                             {"label", "Version"},
                             {"key", "version"},
                             {"defaults", kDomain},
                             {"default", "1.0"},
                             {"extra", 7}},
           appList,
           plist::Dictionary{{"cell", "PSLinkCell"},
                             {"label", "Nowhere"},
                             {"id", "Nowhere"},
                             {"detail", "NoSuchController"}},
           switchRow("Prompt", "prompt", false),
           switchRow("Explode", "explode", false),
           plist::Dictionary{{"cell", "PSGroupCell"}, {"label", "Second"}},
           switchRow("Other", "other", false),
       }}};
}

// Darwin notifications heard since the test began, by name.
inline std::map<std::string, int>& heard() {
  static auto* names = new std::map<std::string, int>();
  return *names;
}
inline void hear(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef) {
  ++heard()[utf8(name)];
}

class SettingsAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("tarrow8-preferences-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    setDeviceRoot(root_);
    foundation::registerClasses();
    uikit::registerClasses();
    dispatch::resetForNewDevice();
    DeviceClock::shared().setVirtual(1000 * kNanosPerSecond);
    uikit::setDeviceIdiom(uikit::UIUserInterfaceIdiomPhone);
    clearLog();
    heard().clear();
    listener_ = launchProcess("Listener");
    ProcessScope scope(listener_);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, hear,
                                    CFSTR(kChanged), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
  }
  void TearDown() override {
    app().terminate();
    terminateProcess(listener_);
    dispatch::resetForNewDevice();
    clearReadOnlyFolders();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  SettingsApp& app() { return SettingsApp::shared(); }
  void runLater() { RunLoop::main().runDue(); }

  // Writes `value` as the property list at `devicePath`, making its folder.
  void writePlist(const std::string& devicePath, const plist::Value& value) {
    fs::path path = *resolveDevicePath(devicePath);
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(plist::writeFileAtomically(path, value).ok) << devicePath;
  }
  void writeFile(const std::string& devicePath, const std::string& text) {
    fs::path path = *resolveDevicePath(devicePath);
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  std::optional<plist::Value> readPlist(const std::string& devicePath) {
    return plist::readFile(*resolveDevicePath(devicePath)).value;
  }

  // Installs the test bundle as `name` (Info.plist, executable, specifier list "TestPane") with
  // an entry labelled `label`.
  void installBundle(const std::string& name, const std::string& label,
                     const plist::Value& list = testPaneList(),
                     const std::string& principal = "TestPaneController") {
    std::string folder = std::string(kPreferenceBundlesFolder) + "/" + name + ".bundle";
    writePlist(folder + "/Info.plist",
               plist::Dictionary{{"CFBundleExecutable", name},
                                 {"CFBundleIdentifier", "com.example." + name},
                                 {"NSPrincipalClass", principal}});
    fs::copy_file(TEST_BUNDLE, *resolveDevicePath(folder + "/" + name),
                  fs::copy_options::overwrite_existing);
    writePlist(folder + "/TestPane.plist", list);
    writeEntry(name + ".plist", label, name);
  }
  void writeEntry(const std::string& file, const std::string& label, const std::string& bundle) {
    writePlist(std::string(kPreferenceEntriesFolder) + "/" + file,
               plist::Dictionary{{"entry", plist::Dictionary{{"bundle", bundle},
                                                             {"cell", "PSLinkCell"},
                                                             {"isController", true},
                                                             {"label", label}}}});
  }

  // Launches the Settings app with the test pane installed as "Test" and opens it.
  void openTestPane() {
    installBundle("Test", "Test");
    ASSERT_EQ(app().launch(), "");
    ASSERT_EQ(app().openPane("Test"), "");
    runLater();
  }

  // What the test bundle was asked, in order, since it was loaded or last cleared.
  std::string events(const std::string& bundle = "Test") {
    auto fn = reinterpret_cast<const char* (*)()>(app().bundleSymbol(bundle, "TestBundleEvents"));
    return fn ? fn() : "(not loaded)";
  }
  void clearEvents(const std::string& bundle = "Test") {
    auto fn = reinterpret_cast<void (*)()>(app().bundleSymbol(bundle, "TestBundleClearEvents"));
    if (fn) fn();
  }

  PaneShot pane() {
    PaneShot shot;
    EXPECT_EQ(app().pane(&shot), "");
    return shot;
  }
  // The row of `key` in `shot` (a failed expectation and an empty row when none).
  PaneRow row(const PaneShot& shot, const std::string& key) {
    for (const PaneRow& r : shot.rows) {
      if (r.key == key) return r;
    }
    ADD_FAILURE() << "no row " << key;
    return {};
  }
  ListShot list() {
    ListShot shot;
    EXPECT_EQ(app().list(&shot), "");
    return shot;
  }
  bool logged(const std::string& part) {
    for (const LogEntry& line : loggedLines()) {
      if (line.message.find(part) != std::string::npos) return true;
    }
    return false;
  }

  fs::path root_;
  ProcessId listener_ = 0;
};

}  // namespace platform::preferences::test
