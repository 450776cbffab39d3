// What is on screen: windows with their controllers, swiped rows, sheets and alerts, in the
// order a person sees them stacked, with what each shows.

#include "platform/uikit/screen_stack.h"

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

// A list that shows one row from Mail and offers one row action.
long oneRow(id, SEL, id, long) {
  return 1;
}
id mailCell(id, SEL, id table, id) {
  Strong identifier = nsstring("Cell");
  id cell = sel::dequeueReusableCellWithIdentifier(table, identifier);
  if (!cell) {
    cell = objc::autorelease(
        sel::initWithStyle_reuseIdentifier(sel::alloc(reinterpret_cast<id>(UITableViewCellClass())),
                                           UITableViewCellStyleSubtitle, identifier));
  }
  sel::setText(sel::textLabel(cell), nsstring("Lunch"));
  sel::setText(sel::detailTextLabel(cell), nsstring("1/2/15, 9:00 AM"));
  sel::setImage(sel::imageView(cell), sel::applicationIconImageForBundleIdentifier_format_scale(
                                          reinterpret_cast<id>(UIImageClass()),
                                          nsstring("com.apple.mobilemail"), 0, 2.0));
  return cell;
}
id oneAction(id, SEL, id, id) {
  id action = sel::rowActionWithStyle_title_handler(
      reinterpret_cast<id>(UITableViewRowActionClass()), UITableViewRowActionStyleDefault,
      nsstring("T"),
      [](id, id path) { probeLog().push_back("T on " + std::to_string(sel::row(path))); });
  return objc::autorelease(nsarray({action}).leak());
}
Class listSourceClass() {
  static Class cls =
      objc::deviceClass("ScreenTestList", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::tableView_numberOfRowsInSection, oneRow)
            .method(sel::tableView_cellForRowAtIndexPath, mailCell)
            .method(sel::tableView_editActionsForRowAtIndexPath, oneAction);
      });
  return cls;
}

class ScreenStackTest : public test::UIKitTest {
 protected:
  void SetUp() override {
    UIKitTest::SetUp();
    source_ = objc::make(listSourceClass());
  }
  void TearDown() override {
    windows_.clear();
    tables_.clear();
    source_.reset();
    UIKitTest::TearDown();
  }
  // A shown window at `level` whose root controller's view holds a table of the list.
  id window(double level, bool key = true) {
    Strong w = makeView(UIWindowClass(), mainScreenBounds());
    sel::setWindowLevel(w, level);
    Strong root = objc::make(UIViewControllerClass());
    sel::addSubview(sel::view(root), table());
    sel::setRootViewController(w, root);
    key ? sel::makeKeyAndVisible(w) : sel::setHidden(w, NO);
    windows_.push_back(w);
    return w;
  }
  id table() {
    Strong t = makeView(UITableViewClass(), mainScreenBounds());
    sel::setDataSource(t, source_);
    sel::setDelegate(t, source_);
    tables_.push_back(t);
    return t;
  }
  Strong sheet(const char* title, std::vector<const char*> buttons) {
    Strong s = objc::make(UIActionSheetClass());
    sel::setTitle(s, nsstring(title));
    for (const char* b : buttons) sel::addButtonWithTitle(s, nsstring(b));
    sel::setCancelButtonIndex(s, static_cast<long>(buttons.size()) - 1);
    return s;
  }
  std::vector<ScreenLayerKind> kinds() {
    std::vector<ScreenLayerKind> list;
    for (const ScreenLayer& l : screenStack()) list.push_back(l.kind);
    return list;
  }
  std::vector<std::string> titles(const ScreenLayer& layer) {
    std::vector<std::string> list;
    for (const ScreenButton& b : layer.buttons) list.push_back(b.title);
    return list;
  }
  Strong source_;
  std::vector<Strong> windows_;
  std::vector<Strong> tables_;
};

using Kind = ScreenLayerKind;

TEST_F(ScreenStackTest, NothingShownIsAnEmptyScreen) {
  EXPECT_TRUE(screenStack().empty());
  Strong hidden = makeView(UIWindowClass(), mainScreenBounds());
  EXPECT_TRUE(screenStack().empty()) << "a window never shown is not on screen";
}

TEST_F(ScreenStackTest, OnThePhoneTheMenuComesUpInTheKeyWindowAboveTheSwipedRow) {
  id main = window(UIWindowLevelNormal);
  id list = tables_.back();
  ASSERT_EQ(swipeRow(list, indexPath(0, 0)).size(), 1u);
  Strong menu = sheet("Actions", {"Keep", "Remind Me", "Cancel"});
  sel::showInView(menu, keyWindowOf(app()));
  Strong editor = objc::make(UIAlertViewClass());
  sel::setTitle(editor, nsstring("Editor"));
  sel::setMessage(editor, nsstring("When?"));
  sel::addButtonWithTitle(editor, nsstring("Add"));
  Strong picker = makeView(UIDatePickerClass(), CGRectMake(10, 0, 320, 216));
  sel::setValue_forKey(editor, picker, nsstring("accessoryView"));
  sel::show(editor);

  std::vector<ScreenLayer> screen = screenStack();
  ASSERT_EQ(kinds(), (std::vector<Kind>{Kind::Window, Kind::SwipedRow, Kind::Sheet, Kind::Alert}));
  EXPECT_EQ(screen[0].object, main);
  EXPECT_TRUE(screen[0].keyWindow);
  ASSERT_EQ(screen[0].rows.size(), 1u);
  EXPECT_EQ(screen[0].rows[0].text, "Lunch");
  EXPECT_EQ(screen[0].rows[0].detail, "1/2/15, 9:00 AM");
  EXPECT_EQ(screen[0].rows[0].iconBundleIdentifier, "com.apple.mobilemail");
  EXPECT_EQ(screen[1].object, list);
  EXPECT_EQ(screen[1].window, main);
  EXPECT_EQ(titles(screen[1]), (std::vector<std::string>{"T"}));
  EXPECT_EQ(screen[2].title, "Actions");
  EXPECT_EQ(titles(screen[2]), (std::vector<std::string>{"Keep", "Remind Me", "Cancel"}));
  EXPECT_EQ(screen[2].cancelButtonIndex, 2);
  EXPECT_EQ(screen[2].window, main);
  EXPECT_EQ(screen[3].title, "Editor");
  EXPECT_EQ(screen[3].message, "When?");
  EXPECT_EQ(screen[3].accessoryView, picker.get());
  EXPECT_EQ(screen[3].level, UIWindowLevelAlert);

  EXPECT_EQ(tapRowAction(screen[1].object, 0), "");
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"T on 0"}));
}

TEST_F(ScreenStackTest, OnThePadTheMenusOwnWindowSitsAboveAlerts) {
  setDeviceIdiom(UIUserInterfaceIdiomPad);
  window(UIWindowLevelNormal);
  Strong alert = objc::make(UIAlertViewClass());
  sel::show(alert);
  id menuWindow = window(UIWindowLevelAlert + 1.0);
  sel::setSecure(menuWindow, YES);
  Strong menu = sheet("Actions", {"Cancel"});
  sel::showInView(menu, menuWindow);
  std::vector<ScreenLayer> screen = screenStack();
  ASSERT_EQ(kinds(), (std::vector<Kind>{Kind::Window, Kind::Alert, Kind::Window, Kind::Sheet}));
  EXPECT_EQ(screen[2].object, menuWindow);
  EXPECT_TRUE(screen[2].secure);
  EXPECT_EQ(screen[3].window, menuWindow);

  EXPECT_EQ(tapModalButton(screen[3].object, 0), "");
  sel::setHidden(menuWindow, YES);
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Window, Kind::Alert}));
}

TEST_F(ScreenStackTest, AListInItsOwnWindowShowsItsTitleBarButtonsAndRows) {
  id listWindow = window(UIWindowLevelStatusBar - 1.0);
  Strong list = objc::make(UIViewControllerClass());
  sel::setTitle(list, nsstring("Lists"));
  sel::addSubview(sel::view(list), table());
  id cls = reinterpret_cast<id>(UIBarButtonItemClass());
  Strong done = Strong::adopt(sel::initWithBarButtonSystemItem_target_action(
      sel::alloc(cls), UIBarButtonSystemItemDone, nil, nullptr));
  Strong trash = Strong::adopt(sel::initWithBarButtonSystemItem_target_action(
      sel::alloc(cls), UIBarButtonSystemItemTrash, nil, nullptr));
  sel::setLeftBarButtonItem(sel::navigationItem(list), done);
  sel::setRightBarButtonItem(sel::navigationItem(list), trash);
  Strong navigation = Strong::adopt(sel::initWithRootViewController(
      sel::alloc(reinterpret_cast<id>(UINavigationControllerClass())), list));
  sel::presentViewController_animated_completion(sel::rootViewController(listWindow), navigation,
                                                 YES, nullptr);
  std::vector<ScreenLayer> screen = screenStack();
  ASSERT_EQ(kinds(), (std::vector<Kind>{Kind::Window, Kind::PresentedController}));
  const ScreenLayer& shown = screen[1];
  EXPECT_EQ(shown.object, navigation.get());
  EXPECT_EQ(shown.window, listWindow);
  EXPECT_EQ(shown.level, UIWindowLevelStatusBar - 1.0);
  EXPECT_EQ(shown.title, "Lists");
  EXPECT_EQ(titles(shown), (std::vector<std::string>{"Done", "Trash"}));
  EXPECT_EQ(shown.buttons[1].object, trash.get());
  ASSERT_EQ(shown.rows.size(), 1u);
  EXPECT_EQ(shown.rows[0].text, "Lunch");
  EXPECT_EQ(shown.rows[0].table, tables_.back().get());
}

TEST_F(ScreenStackTest, ASheetOrSwipeOutsideAnyWindowStacksAtTheNormalLevel) {
  id statusLevel = window(UIWindowLevelStatusBar - 1.0);
  id loose = table();
  swipeRow(loose, indexPath(0, 0));
  std::vector<ScreenLayer> screen = screenStack();
  ASSERT_EQ(kinds(), (std::vector<Kind>{Kind::SwipedRow, Kind::Window}));
  EXPECT_EQ(screen[0].window, nil);
  EXPECT_EQ(screen[0].level, UIWindowLevelNormal);
  EXPECT_EQ(screen[1].object, statusLevel);
}

TEST_F(ScreenStackTest, WhatAHiddenWindowHoldsIsNotOnScreen) {
  id main = window(UIWindowLevelNormal);
  swipeRow(tables_.back(), indexPath(0, 0));
  Strong menu = sheet("Menu", {"Cancel"});
  sel::showInView(menu, main);
  sel::setHidden(main, YES);
  EXPECT_TRUE(screenStack().empty());
  EXPECT_TRUE(sel::isVisible(menu)) << "still shown, in a window nobody sees";
}

TEST_F(ScreenStackTest, AnApplicationInTheBackgroundShowsNothingUntilItComesBack) {
  id main = window(UIWindowLevelNormal);
  swipeRow(tables_.back(), indexPath(0, 0));
  Strong alert = objc::make(UIAlertViewClass());
  sel::show(alert);
  setApplicationInBackground(app(), true);
  EXPECT_TRUE(screenStack().empty());
  ProcessId other = launchProcess("Other");
  {
    ProcessScope scope(other);
    Strong shown = objc::make(UIAlertViewClass());
    sel::show(shown);
    EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Alert})) << "another application's alert shows";
  }
  terminateProcess(other);
  setApplicationInBackground(app(), false);
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Window, Kind::SwipedRow, Kind::Alert}));
  EXPECT_EQ(screenStack().front().object, main);
}

TEST_F(ScreenStackTest, AProcessThatEndsLeavesNothingOfItsOwnOnScreen) {
  id main = window(UIWindowLevelNormal);
  swipeRow(tables_.back(), indexPath(0, 0));
  Strong menu = sheet("Menu", {"Cancel"});
  sel::showInView(menu, main);
  Strong alert = objc::make(UIAlertViewClass());
  sel::show(alert);
  endApp();
  EXPECT_TRUE(screenStack().empty());
}

}  // namespace
}  // namespace platform::uikit
