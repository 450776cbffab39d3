// UIViewController, UINavigationController and UIBarButtonItem, driven the way a full-screen
// list is opened in its own window, shown, and closed from its bar.

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nslog.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

const objc::Selector<void(id)> closeList{"closeList:"};
const objc::Selector<void(id)> clearList{"clearList:"};

// The window the list lives in: the list's owner holds it, and the list's close lets go of it.
Strong gListWindow;

// A list controller: its loadView builds a table and the bar buttons, as a full-screen list does.
struct ListBody : objc::NativeBody {
  Strong table;
};
long listRows(id, SEL, id, long) {
  return 2;
}
id listCell(id, SEL, id table, id path) {
  Strong identifier = nsstring("Cell");
  id cell = sel::dequeueReusableCellWithIdentifier(table, identifier);
  if (!cell) {
    cell = objc::autorelease(
        sel::initWithStyle_reuseIdentifier(sel::alloc(reinterpret_cast<id>(UITableViewCellClass())),
                                           UITableViewCellStyleSubtitle, identifier));
  }
  sel::setText(sel::textLabel(cell), nsstring("Item " + std::to_string(sel::row(path))));
  return cell;
}
void listLoadView(id self, SEL) {
  probeLog().push_back("loadView");
  Strong table = Strong::adopt(sel::initWithFrame_style(
      sel::alloc(reinterpret_cast<id>(UITableViewClass())), mainScreenBounds(), 0));
  objc::native<ListBody>(self)->table = table;
  sel::setDelegate(table, self);
  sel::setDataSource(table, self);
  Strong view = objc::make(UIViewClass());
  sel::setView(self, view);
  sel::addSubview(view, table);
  id cls = reinterpret_cast<id>(UIBarButtonItemClass());
  Strong done = Strong::adopt(sel::initWithBarButtonSystemItem_target_action(
      sel::alloc(cls), UIBarButtonSystemItemDone, self, closeList.sel()));
  Strong trash = Strong::adopt(sel::initWithBarButtonSystemItem_target_action(
      sel::alloc(cls), UIBarButtonSystemItemTrash, self, clearList.sel()));
  sel::setLeftBarButtonItem(sel::navigationItem(self), done);
  sel::setRightBarButtonItem(sel::navigationItem(self), trash);
  id bar = sel::navigationBar(sel::navigationController(self));
  sel::setTintColor(bar, sel::whiteColor(reinterpret_cast<id>(UIColorClass())));
  sel::setTranslucent(bar, NO);
}
void listViewDidLoad(id, SEL) {
  probeLog().push_back("viewDidLoad");
}
void listClose(id self, SEL cmd, id sender) {
  probeLog().push_back(std::string(sel_getName(cmd)) + " from " + barButtonShownTitle(sender));
  sel::dismissViewControllerAnimated_completion(self, YES, [] {
    probeLog().push_back("closed");
    sel::resignKeyWindow(gListWindow);
    gListWindow.reset();
  });
}
Class listClass() {
  static Class cls =
      objc::deviceClass("ControllerTestList", UIViewControllerClass(), [](objc::ClassBuilder& b) {
        b.body<ListBody>()
            .method(sel::loadView, listLoadView)
            .method(sel::viewDidLoad, listViewDidLoad)
            .method(sel::tableView_numberOfRowsInSection, listRows)
            .method(sel::tableView_cellForRowAtIndexPath, listCell)
            .method(closeList, listClose)
            .method(clearList, listClose);
      });
  return cls;
}

class UIViewControllerTest : public test::UIKitTest {
 protected:
  void TearDown() override {
    gListWindow.reset();
    UIKitTest::TearDown();
  }
  // Opens the list as its owner does: a window just below the status bar with an empty root,
  // presenting the list in a navigation controller. Returns the list.
  id openList(BOOL animated = YES) {
    gListWindow = makeView(UIWindowClass(), mainScreenBounds());
    sel::setWindowLevel(gListWindow, UIWindowLevelStatusBar - 1.0);
    Strong list = objc::make(listClass());
    Strong navigation = Strong::adopt(sel::initWithRootViewController(
        sel::alloc(reinterpret_cast<id>(UINavigationControllerClass())), list));
    sel::setBarStyle(sel::navigationBar(navigation), 1);
    sel::setTitle(list, nsstring("Lists"));
    Strong root = objc::make(UIViewControllerClass());
    sel::setRootViewController(gListWindow, root);
    sel::makeKeyAndVisible(gListWindow);
    sel::presentViewController_animated_completion(root, navigation, animated,
                                                   [] { probeLog().push_back("presented"); });
    return list;
  }
};

TEST_F(UIViewControllerTest, AViewIsLoadedOnceWhenFirstAskedFor) {
  Strong list = objc::make(listClass());
  EXPECT_FALSE(sel::isViewLoaded(list));
  Strong navigation = Strong::adopt(sel::initWithRootViewController(
      sel::alloc(reinterpret_cast<id>(UINavigationControllerClass())), list));
  id view = sel::view(list);
  EXPECT_EQ(sel::view(list), view);
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"loadView", "viewDidLoad"}));

  Strong plain = objc::make(UIViewControllerClass());
  EXPECT_EQ(sel::frame(sel::view(plain)), mainScreenBounds());
}

TEST_F(UIViewControllerTest, ANavigationControllerHoldsItsRootAndShowsItsTitleAndBar) {
  Strong list = objc::make(listClass());
  Strong navigation = Strong::adopt(sel::initWithRootViewController(
      sel::alloc(reinterpret_cast<id>(UINavigationControllerClass())), list));
  EXPECT_EQ(sel::topViewController(navigation), list.get());
  EXPECT_EQ(sel::count(sel::viewControllers(navigation)), 1u);
  EXPECT_EQ(sel::navigationController(list), navigation.get());
  EXPECT_EQ(sel::parentViewController(list), navigation.get());
  EXPECT_EQ(sel::navigationController(navigation), nil);

  id bar = sel::navigationBar(navigation);
  EXPECT_EQ(sel::navigationBar(navigation), bar);
  EXPECT_EQ(sel::barStyle(bar), 0);
  EXPECT_TRUE(sel::isTranslucent(bar));
  sel::setBarStyle(bar, 1);
  EXPECT_EQ(sel::barStyle(bar), 1);

  sel::setTitle(list, nsstring("Lists"));
  EXPECT_EQ(test::str(sel::title(sel::navigationItem(list))), "Lists");
  sel::setTitle(list, nsstring("Renamed"));
  EXPECT_EQ(test::str(sel::title(sel::navigationItem(list))), "Renamed")
      << "the item follows the controller's title";
}

TEST_F(UIViewControllerTest, ThePresentedListLoadsAsItIsShownAndItsTableAsksForItsRows) {
  id list = openList();
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"loadView", "viewDidLoad"}))
      << "the completion waits for the end of the animation";
  runLater();
  EXPECT_EQ(probeLog().back(), "presented");

  id root = sel::rootViewController(gListWindow);
  id navigation = sel::presentedViewController(root);
  EXPECT_EQ(sel::topViewController(navigation), list);
  EXPECT_EQ(sel::presentingViewController(navigation), root);
  EXPECT_EQ(sel::presentingViewController(list), root) << "asked of the container's child";
  EXPECT_EQ(sel::window(sel::view(list)), gListWindow.get());
  EXPECT_FALSE(sel::isTranslucent(sel::navigationBar(navigation)));
  ColorComponents c;
  ASSERT_TRUE(colorComponents(sel::tintColor(sel::navigationBar(navigation)), &c));
  EXPECT_EQ(c.red, 1.0);

  id table = objc::native<ListBody>(list)->table;
  ASSERT_EQ(shownRows(table).size(), 2u) << "the table showed its rows as the list came up";
  EXPECT_EQ(test::str(sel::text(sel::textLabel(shownRows(table)[1].cell))), "Item 1");
  EXPECT_EQ(controllersShownIn(gListWindow), (std::vector<id>{root, navigation}));
}

TEST_F(UIViewControllerTest, TheDoneButtonClosesTheListAndTheCompletionLetsTheWindowGo) {
  id list = openList(NO);
  EXPECT_EQ(probeLog().back(), "presented") << "without animation the completion runs at once";
  id done = sel::leftBarButtonItem(sel::navigationItem(list));
  EXPECT_EQ(barButtonShownTitle(done), "Done");
  EXPECT_EQ(sel::title(done), nil) << "a system item has no title of its own";
  EXPECT_EQ(barButtonShownTitle(sel::rightBarButtonItem(sel::navigationItem(list))), "Trash");
  EXPECT_EQ(sel::target(done), list);
  EXPECT_EQ(sel::action(done), closeList.sel());

  probeLog().clear();
  EXPECT_EQ(tapBarButton(done), "");
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"closeList: from Done"}));
  runLater();
  EXPECT_EQ(probeLog().back(), "closed");
  EXPECT_EQ(gListWindow.get(), nil);
  EXPECT_TRUE(shownWindows().empty()) << "the window went with its last reference";
}

TEST_F(UIViewControllerTest, PresentingWhatCannotBeShownDoesNothing) {
  int warnings = 0;
  int sink = addLogSink([&](const LogEntry& e) {
    if (e.message.rfind("Warning: Attempt to present", 0) == 0) ++warnings;
  });
  Strong offscreen = objc::make(UIViewControllerClass());
  Strong other = objc::make(UIViewControllerClass());
  sel::presentViewController_animated_completion(offscreen, other, NO,
                                                 [] { probeLog().push_back("completion"); });
  EXPECT_EQ(sel::presentedViewController(offscreen), nil) << "its view is in no window";

  openList(NO);
  id root = sel::rootViewController(gListWindow);
  sel::presentViewController_animated_completion(root, other, NO,
                                                 [] { probeLog().push_back("completion"); });
  EXPECT_NE(sel::presentedViewController(root), other.get()) << "it presents one already";
  EXPECT_EQ(warnings, 2);
  EXPECT_EQ(std::count(probeLog().begin(), probeLog().end(), "completion"), 0);
  removeLogSink(sink);

  EXPECT_THROW(sel::presentViewController_animated_completion(root, nil, NO, nullptr), NSException);
  EXPECT_THROW(sel::presentViewController_animated_completion(
                   offscreen, sel::presentedViewController(root), NO, nullptr),
               NSException)
      << "a controller already presented";
}

TEST_F(UIViewControllerTest, DismissingWithNothingPresentedRunsNoCompletion) {
  Strong alone = objc::make(UIViewControllerClass());
  sel::dismissViewControllerAnimated_completion(alone, NO,
                                                [] { probeLog().push_back("completion"); });
  runLater();
  EXPECT_TRUE(probeLog().empty());
}

TEST_F(UIViewControllerTest, DismissingFromThePresenterTakesAwayEverythingAboveIt) {
  openList(NO);
  id root = sel::rootViewController(gListWindow);
  Strong navigation(sel::presentedViewController(root));
  Strong list(sel::topViewController(navigation));
  sel::dismissViewControllerAnimated_completion(root, NO, nullptr);
  EXPECT_EQ(sel::presentedViewController(root), nil);
  EXPECT_EQ(sel::presentingViewController(navigation), nil);
  EXPECT_EQ(sel::window(sel::view(list)), nil);
  EXPECT_EQ(controllersShownIn(gListWindow), (std::vector<id>{root}));
}

TEST_F(UIViewControllerTest, BarButtonsSendTheirActionOnlyWhenTheyCan) {
  id cls = reinterpret_cast<id>(UIBarButtonItemClass());
  EXPECT_THROW(sel::initWithBarButtonSystemItem_target_action(sel::alloc(cls), 24, nil, nullptr),
               NSException);
  Strong titled = Strong::adopt(sel::initWithTitle_style_target_action(
      sel::alloc(cls), nsstring("Edit All"), 1, nil, closeList.sel()));
  EXPECT_EQ(barButtonShownTitle(titled), "Edit All");
  EXPECT_EQ(tapBarButton(titled), "the bar button has no target");
  Strong list = objc::make(listClass());
  Strong done = Strong::adopt(sel::initWithBarButtonSystemItem_target_action(
      sel::alloc(cls), UIBarButtonSystemItemDone, list, closeList.sel()));
  sel::setEnabled(done, NO);
  EXPECT_EQ(tapBarButton(done), "the bar button is disabled");
  EXPECT_EQ(tapBarButton(list), "not a bar button item");
  EXPECT_TRUE(probeLog().empty());
}

}  // namespace
}  // namespace platform::uikit
