// The application list a pane's link row opens: its sections of installed applications, their
// check marks, and what a check or an uncheck writes, reached through the Settings app as a
// user reaches it.

#include "platform/preferences/applist/application_list.h"

#include "platform/foundation/installed_applications.h"
#include "platform/foundation/read_only_folders.h"
#include "platform/preferences/preferences_test_support.h"

namespace platform::preferences {
namespace {

namespace fs = std::filesystem;
using test::SettingsAppTest;

constexpr const char* kSettings = "/var/mobile/Library/Preferences/com.example.lists.plist";
constexpr const char* kListChanged = "com.example.testpane/changed";

plist::Value section(const char* title, const char* predicate, bool suppressHidden = true) {
  return plist::Dictionary{{"title", title},
                           {"predicate", predicate},
                           {"cell-class-name", "ALCheckCell"},
                           {"icon-size", "29"},
                           {"suppress-hidden-apps", suppressHidden}};
}

class ApplicationListTest : public SettingsAppTest {
 protected:
  // Opens a list described by `sections` from a pane whose only row links to it.
  void openList(plist::Array sections, bool defaultValue = false) {
    plist::Dictionary link{{"cell", "PSLinkCell"},
                           {"label", "Picks"},
                           {"id", "Picks"},
                           {"detail", "ALApplicationListController"},
                           {"ALSectionDescriptors", std::move(sections)},
                           {"ALSettingsPath", kSettings},
                           {"ALSettingsKeyPrefix", "Pick-"},
                           {"ALSettingsDefaultValue", defaultValue},
                           {"ALChangeNotification", kListChanged}};
    installBundle("Test", "Test", plist::Dictionary{{"items", plist::Array{link}}});
    ASSERT_EQ(app().launch(), "");
    ASSERT_EQ(app().openPane("Test"), "");
    ASSERT_EQ(app().openList("Picks"), "");
    runLater();
  }
  // Each section as "title: identifier identifier ...", a check mark after a checked one.
  std::vector<std::string> shown() {
    std::vector<std::string> lines;
    for (const ListSection& s : list().sections) {
      std::string line = s.title + ":";
      for (const ListRow& r : s.rows) line += " " + r.bundleIdentifier + (r.checked ? "*" : "");
      lines.push_back(line);
    }
    return lines;
  }
  // The installed applications a list shows when it leaves out `except` (and hidden ones).
  std::string everyShownApplicationBut(const std::vector<std::string>& except) {
    std::string line;
    for (const InstalledApplication& a : installedApplications()) {
      if (a.hidden || std::find(except.begin(), except.end(), a.bundleIdentifier) != except.end())
        continue;
      line += " " + a.bundleIdentifier;
    }
    return line;
  }
};

TEST_F(ApplicationListTest, SectionsShowInstalledApplicationsByNameAsTheirPredicatesSay) {
  openList(
      {section("Enabled", "bundleIdentifier in {'net.whatsapp.WhatsApp','com.apple.mobilesafari'}"),
       section("Disabled",
               "not bundleIdentifier in {'net.whatsapp.WhatsApp','com.apple.mobilesafari'}")});
  ListShot shot = list();
  EXPECT_EQ(shot.title, "Picks");
  EXPECT_TRUE(shot.problems.empty());
  EXPECT_EQ(shown(), (std::vector<std::string>{
                         "Enabled: com.apple.mobilesafari net.whatsapp.WhatsApp",
                         "Disabled:" + everyShownApplicationBut(
                                           {"com.apple.mobilesafari", "net.whatsapp.WhatsApp"})}));
  const ListRow& safari = shot.sections[0].rows[0];
  EXPECT_EQ(safari.name, "Safari");
  EXPECT_EQ(safari.iconBundleIdentifier, "com.apple.mobilesafari");
  for (const ListRow& r : shot.sections[1].rows)
    EXPECT_FALSE(installedApplication(r.bundleIdentifier)->hidden) << r.bundleIdentifier;
}

TEST_F(ApplicationListTest, HiddenApplicationsShowOnlyWhenTheSectionDoesNotSuppressThem) {
  openList({section("All", "bundleIdentifier in {'com.apple.springboard','com.apple.Maps'}", false),
            section("Visible", "bundleIdentifier in {'com.apple.springboard','com.apple.Maps'}")});
  EXPECT_EQ(shown(), (std::vector<std::string>{"All: com.apple.Maps com.apple.springboard",
                                               "Visible: com.apple.Maps"}));
}

TEST_F(ApplicationListTest, ASectionItCannotReadShowsNothingAndIsReported) {
  plist::Dictionary noIcons{{"title", "Plain"},
                            {"predicate", "bundleIdentifier in {'com.apple.Maps'}"}};
  plist::Dictionary otherCell{{"title", "Other Cell"}, {"cell-class-name", "ALSwitchCell"}};
  openList(
      {section("Broken", "bundleIdentifier in {%@}"), noIcons, otherCell, plist::Value("odd")});
  ListShot shot = list();
  EXPECT_EQ(shown(), (std::vector<std::string>{"Broken:", "Plain: com.apple.Maps", "Other Cell:"}));
  EXPECT_EQ(shot.sections[1].rows[0].iconBundleIdentifier, "") << "no icon size, no icon";
  ASSERT_EQ(shot.problems.size(), 3u);
  EXPECT_NE(shot.problems[0].find("section 0: its predicate cannot be read"), std::string::npos);
  EXPECT_NE(shot.problems[1].find("ALSwitchCell"), std::string::npos);
  EXPECT_NE(shot.problems[2].find("section 3 is described by no dictionary"), std::string::npos);
  EXPECT_TRUE(logged("[AppList] section 0"));
}

TEST_F(ApplicationListTest, CheckMarksComeFromTheSettingsFileWithTheListsDefault) {
  writePlist(kSettings, plist::Dictionary{{"Pick-com.apple.Maps", true},
                                          {"Pick-com.apple.mobilesafari", false},
                                          {"Pick-com.apple.stocks", "YES"},
                                          {"Pick-com.apple.weather", plist::Date{0}}});
  openList({section("Some",
                    "bundleIdentifier in {'com.apple.Maps','com.apple.mobilesafari',"
                    "'com.apple.stocks','com.apple.weather','com.apple.camera'}")},
           true);
  EXPECT_EQ(shown(), (std::vector<std::string>{
                         "Some: com.apple.camera* com.apple.Maps* com.apple.mobilesafari "
                         "com.apple.stocks* com.apple.weather*"}));
}

TEST_F(ApplicationListTest, ACheckWritesThePrefixedKeyKeepsTheOtherKeysAndPosts) {
  writePlist(kSettings, plist::Dictionary{{"enabled", true}, {"when", plist::Date{12}}});
  openList({section("Enabled", "bundleIdentifier in {}"),
            section("Disabled", "not bundleIdentifier in {}")});
  ASSERT_EQ(app().check("com.apple.mobilesafari", true), "");
  EXPECT_EQ(
      *readPlist(kSettings),
      plist::Value(plist::Dictionary{
          {"enabled", true}, {"when", plist::Date{12}}, {"Pick-com.apple.mobilesafari", true}}));
  runLater();
  EXPECT_EQ(test::heard()[kListChanged], 1);
  writePlist(kSettings, plist::Dictionary{{"Pick-com.apple.mobilesafari", true}, {"late", 1}});
  ASSERT_EQ(app().check("com.apple.mobilesafari", false), "");
  EXPECT_EQ(*readPlist(kSettings),
            plist::Value(plist::Dictionary{{"late", 1}, {"Pick-com.apple.mobilesafari", false}}))
      << "the file is read again before each write";
  runLater();
  EXPECT_EQ(test::heard()[kListChanged], 2);
  ASSERT_EQ(app().check("com.apple.Maps", true), "");
  EXPECT_EQ(shown()[0], "Enabled:") << "a check moves no application between sections";
  EXPECT_NE(shown()[1].find("com.apple.Maps*"), std::string::npos);
}

TEST_F(ApplicationListTest, AWriteThatFailsLeavesTheMarkAndPostsNothing) {
  struct Case {
    const char* name;
    std::function<void(const fs::path& file)> breakIt;
  };
  std::vector<Case> cases{
      {"its folder is a file",
       [](const fs::path& file) {
         fs::remove_all(file.parent_path());
         std::ofstream(file.parent_path()) << "not a folder";
       }},
      {"a folder stands at its path",
       [](const fs::path& file) {
         fs::remove(file);
         fs::create_directories(file / "inside");
       }},
  };
  cases.push_back({"its folder refuses writes",
                   [](const fs::path& file) { setFolderReadOnly(file.parent_path(), true); }});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writePlist(kSettings, plist::Dictionary{{"kept", true}});
    openList({section("Everything", "not bundleIdentifier in {}")});
    c.breakIt(*resolveDevicePath(kSettings));
    std::string error = app().check("com.apple.Maps", true);
    EXPECT_NE(error.find("the mark of com.apple.Maps was not saved"), std::string::npos) << error;
    EXPECT_EQ(shown()[0].find("com.apple.Maps*"), std::string::npos) << "the mark stays";
    EXPECT_EQ(list().problems.size(), 1u);
    runLater();
    EXPECT_EQ(test::heard()[kListChanged], 0);
    app().terminate();
    clearReadOnlyFolders();
    std::error_code ec;
    fs::remove_all(*resolveDevicePath("/var"), ec);
  }
}

TEST_F(ApplicationListTest, AFileThatIsNoDictionaryIsNotOverwritten) {
  writeFile(kSettings, "<plist><array/></plist>");
  openList({section("Everything", "not bundleIdentifier in {}")});
  std::string error = app().check("com.apple.Maps", true);
  EXPECT_NE(error.find("cannot be read as a dictionary"), std::string::npos) << error;
  EXPECT_EQ(readPlist(kSettings)->kind(), plist::Kind::Array);
}

TEST_F(ApplicationListTest, ChecksThatCannotBeDoneSayWhy) {
  EXPECT_EQ(app().check("com.apple.Maps", true),
            "the Settings app is not running: launch it first");
  openList({section("Everything", "not bundleIdentifier in {}")});
  EXPECT_EQ(app().check("com.apple.Maps", false), "com.apple.Maps is unchecked already");
  EXPECT_EQ(app().check("com.apple.springboard", true),
            "the open list shows no com.apple.springboard");
  ASSERT_EQ(app().back(), "");
  EXPECT_EQ(app().check("com.apple.Maps", true),
            "no application list is open: open one from the pane first");
  EXPECT_NE(app().list(nullptr), "");
}

}  // namespace
}  // namespace platform::preferences
