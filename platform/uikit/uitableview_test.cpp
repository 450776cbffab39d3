// UITableView with its cells and row actions, driven as a list's controller and its user do:
// rows from a data source, cells reused after a reload and laid out whenever the table shows
// them, swipes with row actions, and selection.

#include <algorithm>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

// A list's controller: rows per section, cells of identifier "Cell", row actions on row 0,
// none on the others, and no swipe at all on row 2.
struct SourceBody : objc::NativeBody {
  std::vector<long> rows{3};
  int cellsMade = 0;
  bool giveNil = false;
  std::vector<Strong> actions;  // the actions row 0 offers
};
SourceBody& source(id self) {
  return *objc::native<SourceBody>(self);
}

void prepareForReuse(id self, SEL) {
  probeLog().push_back("reuse " + test::str(sel::text(sel::textLabel(self))));
}
// How many more times a cell's layout asks its table to reload (as a cell's owner might).
int gReloadsFromLayout = 0;
// A cell that logs, as it is laid out, the row its table says it shows.
void cellLayout(id self, SEL) {
  id table = sel::superview(self);
  while (table && !objc::isKindOf(table, UITableViewClass())) table = sel::superview(table);
  id path = sel::indexPathForCell(table, self);
  probeLog().push_back("layout " + (path ? std::to_string(sel::row(path)) : "none") + " " +
                       test::str(sel::text(sel::textLabel(self))) + " of " +
                       std::to_string(sel::count(sel::visibleCells(table))));
  if (gReloadsFromLayout > 0) {
    --gReloadsFromLayout;
    sel::reloadData(table);
  }
}
Class cellClass() {
  static Class cls =
      objc::deviceClass("TableTestCell", UITableViewCellClass(), [](objc::ClassBuilder& b) {
        b.method(sel::layoutSubviews, cellLayout).method(sel::prepareForReuse, prepareForReuse);
      });
  return cls;
}

long sections(id self, SEL, id) {
  return static_cast<long>(source(self).rows.size());
}
long rowsIn(id self, SEL, id, long section) {
  return source(self).rows[static_cast<std::size_t>(section)];
}
id cellFor(id self, SEL, id table, id path) {
  if (source(self).giveNil) return nil;
  Strong identifier = nsstring("Cell");
  id cell = sel::dequeueReusableCellWithIdentifier(table, identifier);
  if (!cell) {
    cell = objc::autorelease(sel::initWithStyle_reuseIdentifier(
        sel::alloc(reinterpret_cast<id>(cellClass())), UITableViewCellStyleSubtitle, identifier));
    ++source(self).cellsMade;
  }
  sel::setText(sel::textLabel(cell), nsstring("row " + std::to_string(sel::row(path))));
  return cell;
}
BOOL canEdit(id, SEL, id, id path) {
  return sel::row(path) == 2 ? NO : YES;
}
double heightFor(id, SEL, id, id path) {
  return 60 + 10 * static_cast<double>(sel::row(path));
}
id editActions(id self, SEL, id, id path) {
  if (sel::row(path) != 0) return nil;
  Strong list = mutableArray();
  for (const Strong& a : source(self).actions) sel::addObject(list, a);
  return objc::autorelease(list.leak());
}
void willBegin(id, SEL, id, id path) {
  probeLog().push_back("willBeginEditing " + std::to_string(sel::row(path)));
}
void didEnd(id, SEL, id, id path) {
  probeLog().push_back("didEndEditing " + std::to_string(sel::row(path)));
}
id willSelect(id, SEL, id, id path) {
  return sel::row(path) == 1 ? nil : path;
}
void didSelect(id, SEL, id, id path) {
  probeLog().push_back("didSelect " + std::to_string(sel::row(path)));
}

Class sourceClass() {
  static Class cls =
      objc::deviceClass("TableTestSource", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<SourceBody>()
            .method(sel::numberOfSectionsInTableView, sections)
            .method(sel::tableView_numberOfRowsInSection, rowsIn)
            .method(sel::tableView_cellForRowAtIndexPath, cellFor)
            .method(sel::tableView_canEditRowAtIndexPath, canEdit)
            .method(sel::tableView_heightForRowAtIndexPath, heightFor)
            .method(sel::tableView_editActionsForRowAtIndexPath, editActions)
            .method(sel::tableView_willBeginEditingRowAtIndexPath, willBegin)
            .method(sel::tableView_didEndEditingRowAtIndexPath, didEnd)
            .method(sel::tableView_willSelectRowAtIndexPath, willSelect)
            .method(sel::tableView_didSelectRowAtIndexPath, didSelect);
      });
  return cls;
}

// A data source that answers the counts only, as a list that draws no cells of its own.
Class countsOnlyClass() {
  static Class cls =
      objc::deviceClass("TableTestCountsOnly", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.body<SourceBody>().method(sel::tableView_numberOfRowsInSection, rowsIn);
      });
  return cls;
}

class UITableViewTest : public test::UIKitTest {
 protected:
  void SetUp() override {
    UIKitTest::SetUp();
    controller_ = objc::make(sourceClass());
    table_ = makeView(UITableViewClass(), CGRectMake(0, 0, 320, 568));
    sel::setDataSource(table_, controller_);
    sel::setDelegate(table_, controller_);
  }
  void TearDown() override {
    table_.reset();
    controller_.reset();
    UIKitTest::TearDown();
  }
  Strong path(long row, long section = 0) { return indexPath(row, section); }
  std::vector<id> cells() {
    std::vector<id> list;
    for (const Strong& c : arrayElements(sel::visibleCells(table_))) list.push_back(c);
    return list;
  }
  Strong action(const char* title, long style = UITableViewRowActionStyleDefault) {
    Strong titled = nsstring(title);
    std::string name = title;
    return Strong(sel::rowActionWithStyle_title_handler(
        reinterpret_cast<id>(UITableViewRowActionClass()), style, titled, [name](id tapped, id at) {
          probeLog().push_back("tapped " + name + " " + test::str(sel::title(tapped)) + " row " +
                               std::to_string(sel::row(at)));
        }));
  }

  Strong controller_;
  Strong table_;
};

TEST_F(UITableViewTest, TheTableAsksForItsCellsWhenFirstLaidOutAndLaysEachOutInPlace) {
  sel::layoutIfNeeded(table_);
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"layout 0 row 0 of 3", "layout 1 row 1 of 3",
                                                  "layout 2 row 2 of 3"}))
      << "every cell is in place (its index path known) before any is laid out";
  std::vector<id> shown = cells();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(sel::row(sel::indexPathForCell(table_, shown[2])), 2);
  EXPECT_EQ(sel::cellForRowAtIndexPath(table_, path(1)), shown[1]);
  EXPECT_EQ(sel::cellForRowAtIndexPath(table_, path(7)), nil);
  EXPECT_EQ(sel::frame(shown[1]), CGRectMake(0, 60, 320, 70)) << "rows stack by their heights";
  EXPECT_NE(sel::superview(shown[0]), table_.get()) << "cells sit in the table's wrapper view";
  EXPECT_EQ(sel::superview(sel::superview(shown[0])), table_.get());
}

TEST_F(UITableViewTest, AReloadHandsTheSameCellsOutAgainAndLaysThemOutEachTime) {
  std::vector<id> before = cells();
  ASSERT_EQ(source(controller_).cellsMade, 3);
  probeLog().clear();
  sel::reloadData(table_);
  EXPECT_EQ(source(controller_).cellsMade, 3) << "no new cell: the three were reused";
  EXPECT_EQ(cells(), before) << "the oldest cell waiting is handed out first";
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"reuse row 0", "reuse row 1", "reuse row 2",
                                                  "layout 0 row 0 of 3", "layout 1 row 1 of 3",
                                                  "layout 2 row 2 of 3"}));

  source(controller_).rows = {4};
  sel::reloadData(table_);
  EXPECT_EQ(source(controller_).cellsMade, 4) << "one more row needs one more cell";
  source(controller_).rows = {1};
  sel::reloadData(table_);
  EXPECT_EQ(cells().size(), 1u);
  EXPECT_EQ(sel::indexPathForCell(table_, before[2]), nil)
      << "a cell waiting for reuse shows no row";
  EXPECT_EQ(sel::superview(before[2]), nil);
}

TEST_F(UITableViewTest, AReloadAskedForWhileCellsAreLaidOutRunsOnceTheyAreDone) {
  gReloadsFromLayout = 5;
  sel::reloadData(table_);
  gReloadsFromLayout = 0;
  long layouts = std::count_if(probeLog().begin(), probeLog().end(), [](const std::string& line) {
    return line.rfind("layout", 0) == 0;
  });
  EXPECT_EQ(layouts, 6) << "the requests of the first pass make one more pass, nothing recursed";
  EXPECT_EQ(cells().size(), 3u);
}

TEST_F(UITableViewTest, RowCountsComeFromTheDataSourceOnEveryQuestion) {
  source(controller_).rows = {2, 5};
  EXPECT_EQ(sel::numberOfSections(table_), 2);
  EXPECT_EQ(sel::numberOfRowsInSection(table_, 1), 5);
  source(controller_).rows = {2, 6};
  EXPECT_EQ(sel::numberOfRowsInSection(table_, 1), 6);
  EXPECT_EQ(sel::numberOfRowsInSection(table_, 2), 0);
  EXPECT_EQ(sel::numberOfRowsInSection(table_, -1), 0);
}

TEST_F(UITableViewTest, ADataSourceWithoutCellsGivesRowsWithoutCells) {
  Strong counts = objc::make(countsOnlyClass());
  source(counts).rows = {4};
  sel::setDataSource(table_, counts);
  sel::reloadData(table_);
  EXPECT_EQ(sel::numberOfSections(table_), 1);
  EXPECT_EQ(sel::numberOfRowsInSection(table_, 0), 4);
  EXPECT_TRUE(cells().empty());
}

TEST_F(UITableViewTest, ADataSourceThatGivesNoCellIsAClearError) {
  source(controller_).giveNil = true;
  try {
    sel::reloadData(table_);
    FAIL() << "no exception";
  } catch (const NSException& e) {
    EXPECT_EQ(e.name(), NSInternalInconsistencyException);
    EXPECT_NE(e.reason().find("failed to obtain a cell from its dataSource"), std::string::npos);
  }
  source(controller_).giveNil = false;
  sel::reloadData(table_);
  EXPECT_EQ(cells().size(), 3u) << "the table recovers at the next reload";
}

TEST_F(UITableViewTest, TheTableHoldsItsDataSourceAndDelegateWeakly) {
  EXPECT_EQ(objc::retainCount(controller_), 1u);
  EXPECT_EQ(sel::dataSource(table_), controller_.get());
  EXPECT_EQ(sel::delegate(table_), controller_.get());
}

TEST_F(UITableViewTest, CellStylesHaveTheirLabelsAndImageView) {
  struct Case {
    long style;
    bool detail;
    bool image;
  } cases[] = {
      {UITableViewCellStyleDefault, false, true},
      {UITableViewCellStyleValue1, true, true},
      {UITableViewCellStyleValue2, true, false},
      {UITableViewCellStyleSubtitle, true, true},
      {42, false, true},
  };
  for (const Case& c : cases) {
    Strong identifier = nsstring("Cell");
    Strong cell = Strong::adopt(sel::initWithStyle_reuseIdentifier(
        sel::alloc(reinterpret_cast<id>(UITableViewCellClass())), c.style, identifier));
    EXPECT_TRUE(objc::isKindOf(sel::textLabel(cell), UILabelClass())) << c.style;
    EXPECT_EQ(sel::detailTextLabel(cell) != nil, c.detail) << c.style;
    EXPECT_EQ(sel::imageView(cell) != nil, c.image) << c.style;
    EXPECT_EQ(sel::superview(sel::textLabel(cell)), sel::contentView(cell)) << c.style;
    EXPECT_EQ(test::str(sel::reuseIdentifier(cell)), "Cell");
  }
  Strong plain = makeView(UITableViewCellClass(), CGRectZero);
  EXPECT_EQ(sel::reuseIdentifier(plain), nil);
  EXPECT_EQ(sel::detailTextLabel(plain), nil);
}

TEST_F(UITableViewTest, ASwipeShowsTheDelegatesActionsAndTheTableIsEditingUntilClosed) {
  source(controller_).actions = {action("T"), action("Clear", UITableViewRowActionStyleNormal)};
  std::vector<Strong> shown = swipeRow(table_, path(0));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(test::str(sel::title(shown[0])), "T");
  EXPECT_TRUE(sel::isEditing(table_));
  EXPECT_EQ(sel::row(swipedRowIndexPath(table_)), 0);
  EXPECT_EQ(swipedTables(), (std::vector<id>{table_}));

  EXPECT_EQ(tapRowAction(table_, 1), "");
  EXPECT_TRUE(sel::isEditing(table_)) << "a tap runs the handler; closing the row is its job";
  sel::setEditing(table_, NO);
  EXPECT_FALSE(sel::isEditing(table_));
  EXPECT_EQ(swipedRowIndexPath(table_), nil);
  EXPECT_TRUE(swipedTables().empty());
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"willBeginEditing 0", "tapped Clear Clear row 0",
                                                  "didEndEditing 0"}));
  EXPECT_NE(tapRowAction(table_, 0), "") << "no row is swiped any more";
}

TEST_F(UITableViewTest, RowsWithoutActionsDoNotSwipe) {
  source(controller_).actions = {action("T")};
  struct Case {
    long row;
    const char* why;
  } cases[] = {{1, "the delegate offers nil"},
               {2, "the data source says it cannot be edited"},
               {9, "there is no such row"}};
  for (const Case& c : cases) {
    EXPECT_TRUE(swipeRow(table_, path(c.row)).empty()) << c.why;
    EXPECT_FALSE(sel::isEditing(table_)) << c.why;
  }
  source(controller_).actions.clear();
  EXPECT_TRUE(swipeRow(table_, path(0)).empty()) << "an empty list of actions";
  EXPECT_TRUE(probeLog().empty());
}

TEST_F(UITableViewTest, TappingARowActionThatIsNotThereSaysWhy) {
  EXPECT_EQ(tapRowAction(table_, 0), "no row of the table is swiped");
  source(controller_).actions = {action("T")};
  swipeRow(table_, path(0));
  EXPECT_EQ(tapRowAction(table_, 1), "the swiped row shows 1 row action, not 2");
  EXPECT_EQ(tapRowAction(controller_, 0), "not a table view");
}

TEST_F(UITableViewTest, RowActionsKeepTheirStyleTitleColourAndHandler) {
  Strong captured = objc::make(objc::rootClass());
  unsigned long before = objc::retainCount(captured);
  {
    Strong keep = captured;
    Strong titled = nsstring("T");
    Strong made(sel::rowActionWithStyle_title_handler(
        reinterpret_cast<id>(UITableViewRowActionClass()), UITableViewRowActionStyleDefault, titled,
        [keep](id, id) {}));
    keep.reset();
    EXPECT_EQ(objc::retainCount(captured), before + 1) << "the handler holds what it captured";
    EXPECT_EQ(sel::style(made), UITableViewRowActionStyleDefault);
    ColorComponents c;
    ASSERT_TRUE(colorComponents(sel::backgroundColor(made), &c));
    EXPECT_EQ(c.red, 1.0) << "the default style is red";
    Strong blue = uicolor(113 / 255.0, 162 / 255.0, 234 / 255.0, 1);
    sel::setBackgroundColor(made, blue);
    EXPECT_EQ(sel::backgroundColor(made), blue.get());
  }
  objc::AutoreleasePool::drainInnermost();
  EXPECT_EQ(objc::retainCount(captured), before) << "an action that goes lets go of its handler";
}

TEST_F(UITableViewTest, SelectingARowTellsTheDelegateUnlessItDeclines) {
  EXPECT_EQ(selectRow(table_, path(2)), "");
  EXPECT_EQ(sel::row(sel::indexPathForSelectedRow(table_)), 2);
  EXPECT_TRUE(sel::isSelected(sel::cellForRowAtIndexPath(table_, path(2))));
  sel::deselectRowAtIndexPath_animated(table_, path(2), YES);
  EXPECT_EQ(sel::indexPathForSelectedRow(table_), nil);
  EXPECT_FALSE(sel::isSelected(sel::cellForRowAtIndexPath(table_, path(2))));

  EXPECT_EQ(selectRow(table_, path(1)), "") << "willSelect answers nil for row 1";
  EXPECT_EQ(sel::indexPathForSelectedRow(table_), nil);
  EXPECT_EQ(selectRow(table_, path(5)), "the table has no such row");
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"layout 0 row 0 of 3", "layout 1 row 1 of 3",
                                                  "layout 2 row 2 of 3", "didSelect 2"}));
}

TEST_F(UITableViewTest, ARowWhoseCellTakesNoTouchesIsNotSelected) {
  id cell = sel::cellForRowAtIndexPath(table_, path(2));
  sel::setUserInteractionEnabled(cell, NO);
  probeLog().clear();
  EXPECT_EQ(selectRow(table_, path(2)), "the row takes no touches");
  EXPECT_EQ(sel::indexPathForSelectedRow(table_), nil);
  sel::setUserInteractionEnabled(cell, YES);
  EXPECT_EQ(selectRow(table_, path(2)), "");
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"didSelect 2"}));
}

TEST_F(UITableViewTest, ATapOnASwipedTableOnlyClosesTheRow) {
  source(controller_).actions = {action("T")};
  swipeRow(table_, path(0));
  probeLog().clear();
  EXPECT_EQ(selectRow(table_, path(1)), "");
  EXPECT_FALSE(sel::isEditing(table_));
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"didEndEditing 0"}));
}

TEST_F(UITableViewTest, AProcessThatEndsTakesItsSwipedRowsWithIt) {
  source(controller_).actions = {action("T")};
  swipeRow(table_, path(0));
  endApp();
  EXPECT_TRUE(swipedTables().empty());
  EXPECT_FALSE(sel::isEditing(table_));
  EXPECT_TRUE(swipedRowActions(table_).empty());
}

TEST_F(UITableViewTest, ATableThatGoesAwayLeavesTheSwipedList) {
  source(controller_).actions = {action("T")};
  swipeRow(table_, path(0));
  table_.reset();
  EXPECT_TRUE(swipedTables().empty());
}

}  // namespace
}  // namespace platform::uikit
