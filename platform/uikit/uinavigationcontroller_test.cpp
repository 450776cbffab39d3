// Navigation stacks: pushing and popping controllers in a shown window, what each controller
// hears and which view the container shows.

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

// A controller that logs what it hears, with its title.
template <const char* kWhat>
void heard(id self, SEL, BOOL animated) {
  probeLog().push_back(test::str(sel::title(self)) + " " + kWhat + (animated ? " animated" : ""));
}
void loaded(id self, SEL) {
  probeLog().push_back(test::str(sel::title(self)) + " viewDidLoad");
}
constexpr char kWillAppear[] = "willAppear";
constexpr char kDidAppear[] = "didAppear";
constexpr char kWillDisappear[] = "willDisappear";
constexpr char kDidDisappear[] = "didDisappear";

Class pageClass() {
  static Class cls =
      objc::deviceClass("NavigationTestPage", UIViewControllerClass(), [](objc::ClassBuilder& b) {
        b.method(sel::viewDidLoad, loaded)
            .method(sel::viewWillAppear, heard<kWillAppear>)
            .method(sel::viewDidAppear, heard<kDidAppear>)
            .method(sel::viewWillDisappear, heard<kWillDisappear>)
            .method(sel::viewDidDisappear, heard<kDidDisappear>);
      });
  return cls;
}

class NavigationTest : public test::UIKitTest {
 protected:
  void SetUp() override {
    UIKitTest::SetUp();
    root_ = page("Root");
    navigation_ = Strong::adopt(sel::initWithRootViewController(
        sel::alloc(reinterpret_cast<id>(UINavigationControllerClass())), root_));
    window_ = makeView(UIWindowClass(), mainScreenBounds());
    sel::setRootViewController(window_, navigation_);
    sel::makeKeyAndVisible(window_);
    runLater();
    probeLog().clear();
  }
  void TearDown() override {
    window_.reset();
    navigation_.reset();
    root_.reset();
    UIKitTest::TearDown();
  }
  Strong page(const char* title) {
    Strong made = objc::make(pageClass());
    sel::setTitle(made, nsstring(title));
    return made;
  }
  // The controllers whose views the container shows, by title.
  std::vector<std::string> shownTitles() {
    std::vector<std::string> titles;
    for (const Strong& v : subviewsOf(sel::view(navigation_))) {
      for (const Strong& c : arrayElements(sel::viewControllers(navigation_))) {
        if (sel::isViewLoaded(c) && sel::view(c) == v) titles.push_back(test::str(sel::title(c)));
      }
    }
    return titles;
  }
  Strong root_;
  Strong navigation_;
  Strong window_;
};

TEST_F(NavigationTest, APushedControllerLoadsThenAppearsInPlaceOfTheTop) {
  Strong detail = page("Detail");
  sel::pushViewController_animated(navigation_, detail, YES);
  EXPECT_EQ(sel::topViewController(navigation_), detail.get());
  EXPECT_EQ(sel::navigationController(detail), navigation_.get());
  EXPECT_EQ(shownTitles(), (std::vector<std::string>{"Detail"}));
  EXPECT_EQ(probeLog(),
            (std::vector<std::string>{"Detail viewDidLoad", "Root willDisappear animated",
                                      "Detail willAppear animated"}));
  runLater();
  EXPECT_EQ(probeLog().back(), "Detail didAppear animated");
  EXPECT_EQ(probeLog()[3], "Root didDisappear animated");
}

TEST_F(NavigationTest, PoppingShowsTheControllerBelowAndLetsThePoppedOneGo) {
  Strong detail = page("Detail");
  sel::pushViewController_animated(navigation_, detail, NO);
  probeLog().clear();
  EXPECT_EQ(sel::popViewControllerAnimated(navigation_, NO), detail.get());
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"Detail willDisappear", "Root willAppear",
                                                  "Detail didDisappear", "Root didAppear"}));
  EXPECT_EQ(shownTitles(), (std::vector<std::string>{"Root"}));
  EXPECT_EQ(sel::navigationController(detail), nil);
  EXPECT_EQ(sel::popViewControllerAnimated(navigation_, NO), nil) << "the root stays";
  sel::pushViewController_animated(navigation_, detail, NO);  // a popped one can come back
  EXPECT_EQ(sel::topViewController(navigation_), detail.get());
}

TEST_F(NavigationTest, PoppingToTheRootTellsOnlyTheTopAndAnswersEveryPoppedOne) {
  Strong middle = page("Middle");
  Strong top = page("Top");
  sel::pushViewController_animated(navigation_, middle, NO);
  sel::pushViewController_animated(navigation_, top, NO);
  probeLog().clear();
  id popped = sel::popToRootViewControllerAnimated(navigation_, NO);
  ASSERT_EQ(sel::count(popped), 2u);
  EXPECT_EQ(sel::objectAtIndex(popped, 0), middle.get());
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"Top willDisappear", "Root willAppear",
                                                  "Top didDisappear", "Root didAppear"}));
  EXPECT_EQ(shownTitles(), (std::vector<std::string>{"Root"}));
  EXPECT_EQ(sel::count(sel::popToRootViewControllerAnimated(navigation_, NO)), 0u);
}

TEST_F(NavigationTest, PushingNothingOrTheSameControllerTwiceIsAnError) {
  EXPECT_THROW(sel::pushViewController_animated(navigation_, nil, NO), NSException);
  EXPECT_THROW(sel::pushViewController_animated(navigation_, root_, NO), NSException);
  Strong other = Strong::adopt(sel::initWithRootViewController(
      sel::alloc(reinterpret_cast<id>(UINavigationControllerClass())), page("Held").get()));
  EXPECT_THROW(sel::pushViewController_animated(navigation_, sel::topViewController(other), NO),
               NSException);
}

TEST_F(NavigationTest, OffScreenTheStackChangesSilently) {
  sel::setHidden(window_, YES);
  Strong detail = page("Detail");
  sel::pushViewController_animated(navigation_, detail, NO);
  sel::popViewControllerAnimated(navigation_, NO);
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"Detail viewDidLoad"}));
  EXPECT_EQ(shownTitles(), (std::vector<std::string>{"Root"}));
}

}  // namespace
}  // namespace platform::uikit
