// PSListController as a bundle's pane uses it: its rows from a specifier list, one cell per
// row that the pane can change, values read and written through the pane's overrides, switch
// flips, greyed rows and link rows.

#include "platform/preferences/pslistcontroller.h"

#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsnumber.h"
#include "platform/preferences/applist/application_list.h"
#include "platform/preferences/preferences_test_support.h"
#include "platform/preferences/psspecifier.h"
#include "platform/uikit/uiswitch.h"

namespace platform::preferences {
namespace {

using objc::Strong;
using test::kDomainFile;
namespace fs = std::filesystem;
using test::SettingsAppTest;

class ListControllerTest : public SettingsAppTest {
 protected:
  id controller() { return app().paneController("Test"); }
  // The cell PSListController hands out for (row, section), asked through the pane (the cell
  // is the controller's; what the pane autoreleases on the way goes at once).
  id cellAt(long row, long section = 0) {
    objc::AutoreleasePool pool;
    Strong path = indexPath(row, section);
    return sel::tableView_cellForRowAtIndexPath(controller(), sel::table(controller()), path);
  }
  id shownCellAt(long row, long section = 0) {
    Strong path = indexPath(row, section);
    return sel::cellForRowAtIndexPath(sel::table(controller()), path);
  }
  std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
};

TEST_F(ListControllerTest, RowsComeInSectionsWithTheirLabelsKeysAndProperties) {
  openTestPane();
  PaneShot shot = pane();
  EXPECT_EQ(shot.title, "Test Pane");
  EXPECT_TRUE(shot.onTop);
  std::vector<std::string> labels;
  for (const PaneRow& r : shot.rows)
    labels.push_back(std::to_string(r.section) + "." + std::to_string(r.row) + " " + r.label);
  EXPECT_EQ(labels, (std::vector<std::string>{"0.0 Master", "0.1 Child A", "0.2 Child B",
                                              "0.3 Version", "0.4 Applications", "0.5 Nowhere",
                                              "0.6 Prompt", "0.7 Explode", "1.0 Other"}));
  EXPECT_EQ(shot.footers, (std::vector<std::string>{"First", ""}));
  EXPECT_EQ(row(shot, "master").kind, RowKind::Switch);
  EXPECT_EQ(row(shot, "version").kind, RowKind::TitleValue);
  EXPECT_EQ(shot.rows[4].kind, RowKind::Link);
  EXPECT_EQ(shot.rows[4].identifier, "AppList");
  EXPECT_EQ(row(shot, "version").identifier, "Version") << "no \"id\": the label";

  id version = specifierAtRow(controller(), 0, 3);
  EXPECT_EQ(sel::integerValue(sel::propertyForKey(version, nsstring("extra"))), 7);
  EXPECT_EQ(sel::specifierForID(controller(), nsstring("AppList")),
            specifierAtRow(controller(), 0, 4));
  EXPECT_EQ(sel::specifierForID(controller(), nsstring("Missing")), nil);
  EXPECT_EQ(specifierAtRow(controller(), 2, 0), nil);
}

TEST_F(ListControllerTest, ValuesComeFromTheDomainFileElseTheRowsDefault) {
  writePlist(kDomainFile, plist::Dictionary{{"master", false}, {"version", "2.5"}, {"other", 1}});
  openTestPane();
  PaneShot shot = pane();
  EXPECT_FALSE(row(shot, "master").on);
  EXPECT_EQ(row(shot, "version").value, "2.5");
  EXPECT_TRUE(row(shot, "other").on) << "a number reads as a boolean";
  EXPECT_FALSE(row(shot, "childA").on) << "its default";
  EXPECT_FALSE(row(shot, "childB").on) << "no entry and no default";
  EXPECT_EQ(row(shot, "master").value, "") << "a switch shows no text";
}

TEST_F(ListControllerTest, EachRowHasOneCellEvenWhenAReadAsksForOtherRows) {
  writePlist(kDomainFile, plist::Dictionary{{"master", false}});
  openTestPane();
  EXPECT_EQ(count(events(), "read master;"), 1u);
  for (long r = 0; r < 8; ++r) {
    id cell = cellAt(r);
    EXPECT_EQ(cellAt(r), cell) << "row " << r;
    EXPECT_EQ(shownCellAt(r), cell) << "row " << r << ": the screen shows the same cell";
  }
  // Reading row 0 greyed rows 1 and 2 through the cells the screen shows.
  PaneShot shot = pane();
  EXPECT_TRUE(row(shot, "childA").greyed);
  EXPECT_TRUE(row(shot, "childB").greyed);
  EXPECT_FALSE(row(shot, "master").greyed);
  EXPECT_FALSE(sel::isUserInteractionEnabled(shownCellAt(1)));
}

TEST_F(ListControllerTest, AReloadReadsThroughThePaneAndKeepsWhatThePaneChanged) {
  writePlist(kDomainFile, plist::Dictionary{{"master", false}});
  openTestPane();
  sel::setUserInteractionEnabled(shownCellAt(0, 1), NO);  // as a pane's rule would
  writePlist(kDomainFile, plist::Dictionary{{"master", false}, {"version", "3.0"}});
  ASSERT_EQ(app().closePane(), "");
  clearEvents();
  ASSERT_EQ(app().openPane("Test"), "");
  std::string again = events();
  for (const char* key : {"master", "childA", "childB", "version", "prompt", "explode", "other"})
    EXPECT_NE(again.find(std::string("read ") + key + ";"), std::string::npos) << key;
  PaneShot shot = pane();
  EXPECT_EQ(row(shot, "version").value, "3.0");
  EXPECT_TRUE(row(shot, "childA").greyed);
  EXPECT_TRUE(row(shot, "other").greyed) << "the reload left the cell as the pane set it";
}

TEST_F(ListControllerTest, AFlipWritesABooleanThroughThePaneAndPostsTheRowsNotification) {
  writePlist(kDomainFile, plist::Dictionary{{"foreign", "kept"}});
  openTestPane();
  clearEvents();
  ASSERT_EQ(app().toggle("master"), "");
  EXPECT_EQ(events(), "write master off;");
  auto file = readPlist(kDomainFile);
  ASSERT_TRUE(file);
  EXPECT_EQ(*file, plist::Value(plist::Dictionary{{"foreign", "kept"}, {"master", false}}));
  EXPECT_EQ(test::heard()[test::kChanged], 0) << "delivered later";
  runLater();
  EXPECT_EQ(test::heard()[test::kChanged], 1);
  PaneShot shot = pane();
  EXPECT_FALSE(row(shot, "master").on);
  EXPECT_TRUE(row(shot, "childA").greyed);
  ASSERT_EQ(app().toggle("master"), "");
  EXPECT_FALSE(row(pane(), "childA").greyed);
  EXPECT_EQ(*readPlist(kDomainFile),
            plist::Value(plist::Dictionary{{"foreign", "kept"}, {"master", true}}));
}

TEST_F(ListControllerTest, GreyedRowsRefuseTouches) {
  writePlist(kDomainFile, plist::Dictionary{{"master", false}});
  openTestPane();
  clearEvents();
  EXPECT_EQ(app().toggle("childA"), "the row \"Child A\" (childA) is greyed: it takes no touches");
  EXPECT_NE(uikit::flipSwitch(sel::control(shownCellAt(1))), "") << "the device refuses too";
  sel::setEnabled(sel::control(shownCellAt(0, 1)), NO);
  EXPECT_TRUE(row(pane(), "other").greyed) << "a disabled switch greys its row";
  EXPECT_NE(app().toggle("other"), "");
  EXPECT_EQ(events(), "");
  EXPECT_EQ(*readPlist(kDomainFile), plist::Value(plist::Dictionary{{"master", false}}));
}

TEST_F(ListControllerTest, TouchesOnRowsThatAreNotThereOrNotSwitchesSayWhy) {
  openTestPane();
  EXPECT_EQ(app().toggle("nothing").find("the pane shows no row that edits \"nothing\""), 0u);
  EXPECT_EQ(app().toggle("version"), "the row \"Version\" (version) is not a switch");
  EXPECT_EQ(app().openList("Master"), "the row \"Master\" (Master) is not a link");
  EXPECT_EQ(app().openList("Nowhere"),
            "tapping \"Nowhere\" opened nothing (the Settings app's log says why)");
  EXPECT_TRUE(logged("NoSuchController"));
}

TEST_F(ListControllerTest, ThePanesFirstRowSwitchesAreRedAndTheOthersKeepTheDefault) {
  openTestPane();
  PaneShot shot = pane();
  EXPECT_EQ(row(shot, "master").tint, SwitchTint::Red);
  EXPECT_EQ(row(shot, "other").tint, SwitchTint::Red);
  EXPECT_EQ(row(shot, "childA").tint, SwitchTint::Default);
}

TEST_F(ListControllerTest, ALinkRowOpensTheControllerItNamesWithItsSpecifier) {
  openTestPane();
  clearEvents();
  ASSERT_EQ(app().openList("AppList"), "");
  id top = app().topController();
  ASSERT_TRUE(objc::isKindOf(top, ALApplicationListControllerClass()));
  EXPECT_EQ(sel::specifier(top), sel::specifierForID(controller(), nsstring("AppList")));
  EXPECT_FALSE(pane().onTop);
  EXPECT_NE(app().toggle("master"), "") << "the pane is covered";
  ASSERT_EQ(app().back(), "");
  EXPECT_EQ(app().topController(), controller());
  EXPECT_EQ(events().substr(0, 15), "viewWillAppear;");
}

TEST_F(ListControllerTest, ALinkRowThatTakesNoTouchesOpensNothing) {
  openTestPane();
  sel::setUserInteractionEnabled(shownCellAt(4), NO);
  EXPECT_EQ(app().openList("AppList"),
            "the row \"Applications\" (AppList) is greyed: it takes no touches");
  Strong path = indexPath(4, 0);
  EXPECT_EQ(uikit::selectRow(sel::table(controller()), path), "the row takes no touches");
  EXPECT_EQ(app().topController(), controller());
}

TEST_F(ListControllerTest, TheInheritedWriteLeavesAFileItCannotReadAlone) {
  writeFile(kDomainFile, "not a property list");
  openTestPane();
  ASSERT_EQ(app().toggle("other"), "");
  runLater();
  EXPECT_EQ(test::heard()[test::kChanged], 0) << "nothing was written, nothing is posted";
  EXPECT_TRUE(logged("cannot be read as a dictionary"));
  std::ifstream kept(*resolveDevicePath(kDomainFile));
  std::string text((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "not a property list");
}

TEST_F(ListControllerTest, TheInheritedWriteThatFailsPostsNothing) {
  // The domain's folder is a file: nothing can be written beneath it (whoever runs the test).
  writeFile("/var/mobile/Library/Preferences", "a file");
  openTestPane();
  ASSERT_EQ(app().toggle("other"), "");
  runLater();
  EXPECT_EQ(test::heard()[test::kChanged], 0);
  EXPECT_TRUE(logged("cannot be written"));
}

}  // namespace
}  // namespace platform::preferences
