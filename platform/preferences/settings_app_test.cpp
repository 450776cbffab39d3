// The Settings app's process: the entries it lists, the order it calls a pane in, what it
// reports about bundles it cannot load, the screen it shows, and how it ends.

#include "platform/preferences/settings_app.h"

#include "platform/objc/class_builder.h"
#include "platform/preferences/preferences_test_support.h"
#include "platform/springboard/springboard_host.h"
#include "platform/uikit/screen_stack.h"

namespace platform::preferences {
namespace {

namespace fs = std::filesystem;
using test::SettingsAppTest;

// The layers the Settings process has on screen, bottom to top.
std::vector<uikit::ScreenLayerKind> settingsLayers() {
  std::vector<uikit::ScreenLayerKind> kinds;
  for (const uikit::ScreenLayer& layer : uikit::screenStack()) {
    if (layer.process == SettingsApp::shared().pid()) kinds.push_back(layer.kind);
  }
  return kinds;
}

TEST_F(SettingsAppTest, TheRootListsTheEntriesByLabelInItsOwnProcess) {
  installBundle("Zeta", "Zeta Pane");
  installBundle("Alpha", "Alpha Pane");
  ASSERT_EQ(app().launch(), "");
  EXPECT_EQ(app().entries(), (std::vector<std::string>{"Alpha Pane", "Zeta Pane"}));
  EXPECT_TRUE(app().errors().empty());
  EXPECT_EQ(processName(app().pid()), "Preferences");
  auto layers = uikit::screenStack();
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_EQ(layers[0].title, "Settings");
  ASSERT_EQ(layers[0].rows.size(), 2u);
  EXPECT_EQ(layers[0].rows[1].text, "Zeta Pane");
  EXPECT_EQ(app().launch(), "the Settings app is running already");
}

TEST_F(SettingsAppTest, OpeningAPaneCallsItAsTheSettingsAppDoesAndAgainOnlyViewWillAppear) {
  installBundle("Test", "Test");
  ASSERT_EQ(app().launch(), "");
  ASSERT_EQ(app().openPane("Test"), "");
  std::string first = events();
  EXPECT_EQ(first.substr(0, first.find("read")),
            "constructor;initForContentSize;specifiers;viewWillAppear;");
  EXPECT_NE(first.find("read master;"), std::string::npos) << first;
  id controller = app().paneController("Test");
  EXPECT_EQ(app().topController(), controller);
  EXPECT_EQ(pane().title, "Test Pane");

  ASSERT_EQ(app().closePane(), "");
  runLater();
  EXPECT_NE(app().topController(), controller);
  EXPECT_NE(app().pane(nullptr), "") << "no pane is open";
  EXPECT_EQ(app().paneController("Test"), controller) << "kept for the rest of the launch";
  clearEvents();
  ASSERT_EQ(app().openPane("Test"), "");
  std::string again = events();
  EXPECT_EQ(again.substr(0, again.find(';') + 1), "viewWillAppear;");
  EXPECT_EQ(again.find("initForContentSize"), std::string::npos);
  EXPECT_EQ(app().paneController("Test"), controller);
  EXPECT_EQ(app().closePane(), "");
  EXPECT_NE(app().closePane(), "") << "nothing left to close";
}

TEST_F(SettingsAppTest, EachLaunchLoadsAFreshCopyOfTheBundle) {
  openTestPane();
  app().terminate();
  EXPECT_FALSE(app().running());
  EXPECT_EQ(events(), "(not loaded)");
  ASSERT_EQ(app().launch(), "");
  EXPECT_EQ(events(), "(not loaded)") << "a bundle loads when its pane is first opened";
  ASSERT_EQ(app().openPane("Test"), "");
  std::string fresh = events();
  EXPECT_EQ(fresh.substr(0, fresh.find(';') + 1), "constructor;") << "its globals start anew";
  EXPECT_EQ(fresh.find("constructor", 1), std::string::npos);
  EXPECT_FALSE(fs::is_empty(*resolveDevicePath("/tmp/preferencebundles")));
  app().terminate();
  EXPECT_TRUE(fs::is_empty(*resolveDevicePath("/tmp/preferencebundles")))
      << "the private copies go with the launch";
}

TEST_F(SettingsAppTest, EntriesThatCannotBeUsedAreReportedAndTheOthersStillLoad) {
  installBundle("Test", "Test");
  writeFile(std::string(kPreferenceEntriesFolder) + "/Broken.plist", "not a property list");
  writePlist(std::string(kPreferenceEntriesFolder) + "/NoEntry.plist",
             plist::Dictionary{{"label", "Flat"}});
  writePlist(
      std::string(kPreferenceEntriesFolder) + "/NoLabel.plist",
      plist::Dictionary{{"entry", plist::Dictionary{{"bundle", "Test"}, {"isController", true}}}});
  writeEntry("Missing.plist", "Missing", "Gone");
  writeEntry("Twice.plist", "Test", "Test");
  installBundle("NoExecutable", "No Executable");
  fs::remove(*resolveDevicePath(std::string(kPreferenceBundlesFolder) +
                                "/NoExecutable.bundle/NoExecutable"));
  installBundle("NoPrincipal", "No Principal");
  writePlist(std::string(kPreferenceBundlesFolder) + "/NoPrincipal.bundle/Info.plist",
             plist::Dictionary{{"CFBundleExecutable", "NoPrincipal"}});
  ASSERT_EQ(app().launch(), "");
  EXPECT_EQ(app().entries(), (std::vector<std::string>{"Test"}));
  struct Case {
    const char* file;
    const char* says;
  };
  for (const Case& c :
       {Case{"Broken.plist", "Broken.plist"},
        Case{"Missing.plist", "PreferenceBundles/Gone.bundle is not installed"},
        Case{"NoEntry.plist", "no \"entry\" dictionary"},
        Case{"NoExecutable.plist", "executable is missing"},
        Case{"NoLabel.plist", "no \"label\" string"}, Case{"NoPrincipal.plist", "NSPrincipalClass"},
        Case{"Twice.plist", "another entry is labelled \"Test\""}}) {
    bool found = false;
    for (const std::string& error : app().errors()) {
      if (error.find(c.file) != std::string::npos && error.find(c.says) != std::string::npos)
        found = true;
    }
    EXPECT_TRUE(found) << c.file << " should be reported saying " << c.says;
  }
  EXPECT_EQ(app().errors().size(), 7u);
  EXPECT_EQ(app().openPane("Test"), "");
  EXPECT_NE(app().openPane("Missing").find("lists no \"Missing\""), std::string::npos);
}

TEST_F(SettingsAppTest, ABundleThatDoesNotLoadOrLacksItsClassIsReportedWhenOpened) {
  installBundle("Text", "Text");
  writeFile(std::string(kPreferenceBundlesFolder) + "/Text.bundle/Text", "not a library");
  installBundle("Classless", "Classless", test::testPaneList(), "NoSuchPane");
  installBundle("NotAPane", "Not A Pane", test::testPaneList(), "NSObject");
  ASSERT_EQ(app().launch(), "");
  EXPECT_NE(app().openPane("Text").find("does not load"), std::string::npos);
  EXPECT_NE(app().openPane("Classless").find("defines no class NoSuchPane"), std::string::npos);
  EXPECT_NE(app().openPane("Not A Pane").find("does not answer initForContentSize:"),
            std::string::npos);
  EXPECT_EQ(app().errors().size(), 3u);
  EXPECT_NE(app().pane(nullptr), "") << "nothing was pushed";
}

TEST_F(SettingsAppTest, TheSettingsAppIsOnScreenOnlyInTheForeground) {
  openTestPane();
  EXPECT_EQ(settingsLayers(),
            (std::vector<uikit::ScreenLayerKind>{uikit::ScreenLayerKind::Window}));
  app().enterBackground();
  EXPECT_FALSE(app().inForeground());
  EXPECT_TRUE(settingsLayers().empty());
  ASSERT_EQ(app().toggle("prompt"), "") << "its objects still work";
  EXPECT_TRUE(settingsLayers().empty()) << "its alert waits off screen too";
  app().enterForeground();
  EXPECT_EQ(settingsLayers(), (std::vector<uikit::ScreenLayerKind>{uikit::ScreenLayerKind::Window,
                                                                   uikit::ScreenLayerKind::Alert}));
}

TEST_F(SettingsAppTest, ThePanesAlertIsOnTopAndATapReachesItsDelegate) {
  openTestPane();
  ASSERT_EQ(app().toggle("prompt"), "");
  auto layers = uikit::screenStack();
  ASSERT_FALSE(layers.empty());
  const uikit::ScreenLayer& top = layers.back();
  ASSERT_EQ(top.kind, uikit::ScreenLayerKind::Alert);
  EXPECT_EQ(top.title, "Test Pane");
  EXPECT_EQ(top.process, app().pid());
  clearEvents();
  {
    ProcessScope elsewhere(kDeviceProcess);  // the simulator relays the touch from outside
    EXPECT_EQ(uikit::tapModalButton(top.object, 1), "");
  }
  runLater();
  EXPECT_EQ(events(), "alert 1;");
  EXPECT_TRUE(settingsLayers().size() == 1);
}

TEST_F(SettingsAppTest, AnExceptionOutOfThePaneIsTheSettingsAppCrashing) {
  openTestPane();
  std::string error = app().toggle("explode");
  EXPECT_EQ(error, "the Settings app crashed: the pane exploded");
  EXPECT_FALSE(app().running());
  EXPECT_TRUE(settingsLayers().empty());
  EXPECT_EQ(app().toggle("master"), "the Settings app is not running: launch it first");
  ASSERT_EQ(app().launch(), "");
  EXPECT_EQ(app().openPane("Test"), "");
}

TEST_F(SettingsAppTest, ACrashInAnEventEndsTheProcessAndTheDeviceCleansUpLater) {
  openTestPane();
  ProcessId pid = app().pid();
  RunLoop::main().postFor(pid, DeviceClock::shared().now(), [] {
    NSException::raise(NSInternalInconsistencyException, "crash in an event");
  });
  RunLoop::main().setCrashHandler([](ProcessId, const NSException&) {});
  runLater();
  EXPECT_FALSE(app().running());
  EXPECT_EQ(app().paneController("Test"), nil) << "its objects were released";
  EXPECT_EQ(app().launch(), "");
}

TEST_F(SettingsAppTest, TheSettingsAppOutlivesASpringBoardRelaunch) {
  auto& springBoard = springboard::SpringBoardHost::shared();
  springBoard.boot();
  openTestPane();
  springBoard.relaunch();
  runLater();
  EXPECT_TRUE(app().running());
  EXPECT_EQ(app().toggle("other"), "");
  EXPECT_TRUE(row(pane(), "other").on);
  springBoard.terminate();
  EXPECT_TRUE(app().running());
}

TEST_F(SettingsAppTest, EndingTheSettingsAppTakesEverythingItRegistered) {
  openTestPane();
  ASSERT_EQ(app().toggle("prompt"), "");  // an alert, and a delivery still on its way
  ASSERT_EQ(app().toggle("other"), "");
  std::size_t queued = RunLoop::main().pendingCount();
  ASSERT_GT(queued, 0u);
  app().terminate();
  EXPECT_TRUE(uikit::screenStack().empty());
  EXPECT_TRUE(uikit::shownModals().empty());
  EXPECT_EQ(app().paneController("Test"), nil);
  EXPECT_EQ(app().pane(nullptr), "the Settings app is not running: launch it first");
  runLater();
  EXPECT_EQ(test::heard()[test::kChanged], 1) << "what was posted before the end arrives";
  app().terminate();  // twice is harmless
}

}  // namespace
}  // namespace platform::preferences
