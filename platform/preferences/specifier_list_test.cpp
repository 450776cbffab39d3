// Reading specifier lists: the rows a list gives, the properties each keeps, and lists or items
// that cannot be read as such.

#include "platform/preferences/specifier_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/foundation/foundation_classes.h"
#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsnumber.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/plist_file.h"
#include "platform/preferences/preferences_classes.h"
#include "platform/preferences/psspecifier.h"

namespace platform::preferences {
namespace {

namespace fs = std::filesystem;

class SpecifierListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    foundation::registerClasses();
    registerClasses();
    file_ = fs::temp_directory_path() / ("tarrow8-list-" + std::to_string(::getpid()) + ".plist");
  }
  void TearDown() override { fs::remove(file_); }
  SpecifierList read(const plist::Value& value) {
    EXPECT_TRUE(plist::writeFileAtomically(file_, value).ok);
    return readSpecifierList(file_);
  }
  fs::path file_;
  objc::AutoreleasePool pool_;
};

TEST_F(SpecifierListTest, ItemsBecomeSpecifiersKeepingEveryEntryAsAProperty) {
  SpecifierList list = read(plist::Dictionary{
      {"title", "Pane"},
      {"items", plist::Array{plist::Dictionary{{"cell", "PSGroupCell"}, {"label", "Group"}},
                             plist::Dictionary{{"cell", "PSSwitchCell"},
                                               {"label", "On"},
                                               {"key", "on"},
                                               {"default", true},
                                               {"PostNotification", "x/changed"},
                                               {"custom", plist::Array{1, 2}}},
                             plist::Dictionary{
                                 {"cell", "PSLinkCell"}, {"label", "More"}, {"id", "More"}}}}});
  EXPECT_TRUE(list.problems.empty());
  EXPECT_EQ(utf8(list.title), "Pane");
  auto rows = arrayElements(list.specifiers);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(sel::cellType(rows[0]), PSGroupCell);
  EXPECT_EQ(sel::cellType(rows[1]), PSSwitchCell);
  EXPECT_EQ(utf8(sel::name(rows[1])), "On");
  EXPECT_EQ(utf8(sel::propertyForKey(rows[1], nsstring("key"))), "on");
  EXPECT_TRUE(sel::boolValue(sel::propertyForKey(rows[1], nsstring("default"))));
  EXPECT_EQ(utf8(sel::propertyForKey(rows[1], nsstring("PostNotification"))), "x/changed");
  EXPECT_EQ(sel::count(sel::propertyForKey(rows[1], nsstring("custom"))), 2u);
  EXPECT_EQ(utf8(sel::propertyForKey(rows[1], nsstring("cell"))), "PSSwitchCell");
  EXPECT_EQ(utf8(sel::identifier(rows[1])), "On") << "no \"id\": the label";
  EXPECT_EQ(utf8(sel::identifier(rows[2])), "More");
  sel::setProperty_forKey(rows[2], nil, nsstring("id"));
  EXPECT_EQ(sel::propertyForKey(rows[2], nsstring("id")), nil) << "setting nil removes";
}

TEST_F(SpecifierListTest, ListsAndItemsThatCannotBeReadAreReported) {
  struct Case {
    const char* name;
    plist::Value value;
    std::size_t rows;
    const char* says;
  };
  std::vector<Case> cases{
      {"root array", plist::Array{}, 0, "its root is a array, not a dictionary"},
      {"no items", plist::Dictionary{{"title", "T"}}, 0, "no \"items\" array"},
      {"items not an array", plist::Dictionary{{"items", "rows"}}, 0, "no \"items\" array"},
      {"an item that is no dictionary",
       plist::Dictionary{{"items", plist::Array{"row", plist::Dictionary{{"cell", "PSLinkCell"}}}}},
       1, "item 0 is a string, not a dictionary: left out"},
      {"an unknown cell",
       plist::Dictionary{{"items", plist::Array{plist::Dictionary{{"cell", "PSFancyCell"}}}}}, 1,
       "item 0 has the cell type \"PSFancyCell\", which the framework does not know"},
      {"no cell", plist::Dictionary{{"items", plist::Array{plist::Dictionary{{"label", "L"}}}}}, 1,
       "item 0 has no \"cell\" string: shown as static text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpecifierList list = read(c.value);
    EXPECT_EQ(arrayElements(list.specifiers).size(), c.rows);
    ASSERT_EQ(list.problems.size(), 1u);
    EXPECT_NE(list.problems[0].find(c.says), std::string::npos) << list.problems[0];
  }
  SpecifierList unknown =
      read(plist::Dictionary{{"items", plist::Array{plist::Dictionary{{"cell", "PSFancyCell"}}}}});
  EXPECT_EQ(sel::cellType(arrayElements(unknown.specifiers)[0]), PSStaticTextCell);
}

TEST_F(SpecifierListTest, AMissingOrMalformedFileGivesNoRowsAndSaysWhy) {
  SpecifierList missing = readSpecifierList(file_);
  EXPECT_EQ(sel::count(missing.specifiers), 0u);
  ASSERT_EQ(missing.problems.size(), 1u);
  std::ofstream(file_) << "<plist><dict><key>items</key>";
  SpecifierList torn = readSpecifierList(file_);
  EXPECT_EQ(sel::count(torn.specifiers), 0u);
  EXPECT_EQ(torn.problems.size(), 1u);
}

}  // namespace
}  // namespace platform::preferences
