// The loader of extensions: which libraries its filters let into SpringBoard, what it reports
// about filters it cannot use, and that a library installed by copying files (as a package is)
// loads like one installed through installExtension.

#include "platform/springboard/extension_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>

#include "platform/dispatch/reset.h"
#include "platform/foundation/device_root.h"
#include "platform/foundation/foundation_classes.h"
#include "platform/foundation/plist_file.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/springboard_classes.h"
#include "platform/uikit/uikit_classes.h"

namespace platform::springboard {
namespace {

namespace fs = std::filesystem;

class ExtensionLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("tarrow8-loader-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    setDeviceRoot(root_);
    foundation::registerClasses();
    uikit::registerClasses();
    defineSpringBoardClasses();  // the test extension hooks SpringBoard as it loads
    folder_ = *resolveDevicePath(kExtensionsFolder);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    loader_.unloadAll();
    objc::restoreDeviceClasses();
    dispatch::resetForNewDevice();
    fs::remove_all(root_);
  }
  // Installs the test extension as `name` by copying files, with `filter` beside it (none when
  // empty; raw text when a string that is not a property list is wanted).
  void install(const std::string& name, const std::optional<plist::Value>& filter) {
    fs::copy_file(TEST_EXTENSION, folder_ / (name + ".dylib"));
    if (filter) ASSERT_TRUE(plist::writeFileAtomically(folder_ / (name + ".plist"), *filter).ok);
  }
  std::vector<std::string> loadedNames() {
    std::vector<std::string> names;
    for (const LoadedExtension& e : loader_.loaded()) names.push_back(e.name);
    return names;
  }
  fs::path root_;
  fs::path folder_;
  ExtensionLoader loader_;
};

plist::Value filterOf(plist::Dictionary lists) {
  return plist::Dictionary{{"Filter", std::move(lists)}};
}

TEST_F(ExtensionLoaderTest, OnlyLibrariesWhoseFilterNamesSpringBoardLoad) {
  struct Case {
    const char* name;
    std::optional<plist::Value> filter;
    bool loads;
  };
  std::vector<Case> cases{
      {"ByBundle",
       filterOf({{"Bundles", plist::Array{"com.apple.mobilemail", "com.apple.springboard"}}}),
       true},
      {"ElsewhereBundle", filterOf({{"Bundles", plist::Array{"com.apple.mobilesafari"}}}), false},
      {"ByExecutable", filterOf({{"Executables", plist::Array{"SpringBoard"}}}), true},
      {"ElsewhereExecutable", filterOf({{"Executables", plist::Array{"MobileSafari"}}}), false},
      {"ByClass", filterOf({{"Classes", plist::Array{"SBLockScreenManager"}}}), true},
      {"MissingClass", filterOf({{"Classes", plist::Array{"SBNoSuchThing"}}}), false},
      {"AllMustMatch",
       filterOf({{"Bundles", plist::Array{"com.apple.springboard"}},
                 {"Executables", plist::Array{"MobileSafari"}}}),
       false},
      {"AnyMayMatch",
       filterOf({{"Bundles", plist::Array{"com.apple.springboard"}},
                 {"Executables", plist::Array{"MobileSafari"}},
                 {"Mode", "Any"}}),
       true},
      {"NoFilter", std::nullopt, true},
  };
  std::vector<std::string> expected;
  for (const Case& c : cases) {
    install(c.name, c.filter);
    if (c.loads) expected.push_back(c.name);
  }
  std::sort(expected.begin(), expected.end());
  loader_.loadAll();
  EXPECT_EQ(loadedNames(), expected);
  EXPECT_TRUE(loader_.errors().empty()) << loader_.errors().front();
}

TEST_F(ExtensionLoaderTest, FiltersThatCannotBeUsedAreReportedAndLoadNothing) {
  install("NoFilterKey",
          plist::Value(plist::Dictionary{{"Bundles", plist::Array{"com.apple.springboard"}}}));
  install("NotAList", filterOf({{"Bundles", "com.apple.springboard"}}));
  install("Empty", filterOf({}));
  install("Good", filterOf({{"Bundles", plist::Array{"com.apple.springboard"}}}));
  loader_.loadAll();
  EXPECT_EQ(loadedNames(), (std::vector<std::string>{"Good"}));
  EXPECT_EQ(loader_.errors(),
            (std::vector<std::string>{
                "Empty: filter unusable: its Filter names no Bundles, Executables or Classes",
                "NoFilterKey: filter unusable: it has no \"Filter\" dictionary",
                "NotAList: filter unusable: its Bundles is not an array"}));
}

TEST_F(ExtensionLoaderTest, APackageCopiedInLoadsAsAnInstalledExtensionDoes) {
  install("Copied", filterOf({{"Bundles", plist::Array{"com.apple.springboard"}}}));
  loader_.loadAll();
  ASSERT_EQ(loadedNames(), (std::vector<std::string>{"Copied"}));
  auto events =
      reinterpret_cast<const char* (*)()>(loader_.symbol("Copied", "TestExtensionEvents"));
  ASSERT_NE(events, nullptr);
  EXPECT_EQ(std::string(events()), "constructor;");
  ASSERT_EQ(installExtension(TEST_EXTENSION, "Installed"), "");
  auto filter = plist::readFile(folder_ / "Installed.plist");
  ASSERT_TRUE(filter.value);
  EXPECT_EQ(*filter.value, filterOf({{"Bundles", plist::Array{"com.apple.springboard"}}}))
      << "installExtension writes the same filter a package ships";
}

}  // namespace
}  // namespace platform::springboard
