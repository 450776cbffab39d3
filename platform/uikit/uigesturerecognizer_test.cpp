// Long presses on the run loop's virtual clock: when a recognizer begins and ends, what its
// target hears, and which of several recognizers on one view recognizes.

#include <cmath>

#include "platform/dispatch/run_loop.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

const objc::Selector<void(id)> pressed{"pressed:"};
const objc::Selector<void(id)> pressedAgain{"pressedAgain:"};

// A target that logs the state of the recognizer that sent it its action, the recognizer's tag
// (its delegate's tag, as recognizers have none) and the time since the test started.
std::string stateName(long state) {
  switch (state) {
    case UIGestureRecognizerStatePossible:
      return "possible";
    case UIGestureRecognizerStateBegan:
      return "began";
    case UIGestureRecognizerStateEnded:
      return "ended";
    case UIGestureRecognizerStateFailed:
      return "failed";
    default:
      return std::to_string(state);
  }
}
void logPress(id, SEL cmd, id recognizer) {
  double at = DeviceClock::shared().nowSeconds() - static_cast<double>(test::kStart) / 1e9;
  char when[16];
  std::snprintf(when, sizeof when, "%.1f", at);
  probeLog().push_back(std::string(sel_getName(cmd)) + " " + stateName(sel::state(recognizer)) +
                       " at " + when + (sel::view(recognizer) ? "" : " without a view"));
}
BOOL together(id, SEL, id, id) {
  return YES;
}
Class targetClass() {
  static Class cls = objc::deviceClass(
      "PressTestTarget", objc::rootClass(),
      [](objc::ClassBuilder& b) { b.method(pressed, logPress).method(pressedAgain, logPress); });
  return cls;
}
Class friendlyDelegateClass() {
  static Class cls =
      objc::deviceClass("PressTestFriendlyDelegate", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer,
                 together);
      });
  return cls;
}

class LongPressTest : public test::UIKitTest {
 protected:
  void SetUp() override {
    UIKitTest::SetUp();
    target_ = objc::make(targetClass());
    cell_ = makeView(UIViewClass(), CGRectMake(0, 0, 320, 80));
  }
  void TearDown() override {
    cell_.reset();
    target_.reset();
    UIKitTest::TearDown();
  }
  // Adds a long-press recognizer sending `action` after `minimum` seconds.
  Strong addPress(const objc::Selector<void(id)>& action, double minimum = 0.5) {
    Strong r = Strong::adopt(sel::initWithTarget_action(
        sel::alloc(reinterpret_cast<id>(UILongPressGestureRecognizerClass())), target_,
        action.sel()));
    sel::setMinimumPressDuration(r, minimum);
    sel::addGestureRecognizer(cell_, r);
    return r;
  }
  Strong target_;
  Strong cell_;
};

TEST_F(LongPressTest, APressBeginsAtTheMinimumDurationAndEndsWhenTheFingerLifts) {
  struct Case {
    double hold;
    std::size_t began;
    std::vector<std::string> heard;
  } cases[] = {
      {0.3, 0, {}},
      {0.5, 1, {"pressed: began at 0.5", "pressed: ended at 0.5"}},
      {2.0, 1, {"pressed: began at 0.5", "pressed: ended at 2.0"}},
  };
  Strong r = addPress(pressed);
  EXPECT_EQ(sel::minimumPressDuration(r), 0.5);
  for (const Case& c : cases) {
    DeviceClock::shared().setVirtual(test::kStart);
    probeLog().clear();
    EXPECT_EQ(pressView(cell_, c.hold), c.began) << c.hold;
    EXPECT_EQ(probeLog(), c.heard) << c.hold;
    EXPECT_EQ(nowSeconds(), 1000 + c.hold) << "the press moved the clock on by its length";
    EXPECT_EQ(sel::state(r), UIGestureRecognizerStatePossible) << "ready for the next press";
  }
}

TEST_F(LongPressTest, TheMinimumDurationDefaultsToHalfASecond) {
  Strong r = Strong::adopt(sel::initWithTarget_action(
      sel::alloc(reinterpret_cast<id>(UILongPressGestureRecognizerClass())), target_,
      pressed.sel()));
  EXPECT_EQ(sel::minimumPressDuration(r), 0.5);
  EXPECT_EQ(sel::state(r), UIGestureRecognizerStatePossible);
  EXPECT_EQ(objc::retainCount(target_), 1u) << "the target is not retained";
}

TEST_F(LongPressTest, OtherEventsDueDuringThePressRunInTheirPlace) {
  addPress(pressed);
  RunLoop::main().post(test::kStart + kNanosPerSecond,
                       [] { probeLog().push_back("timer at 1.0"); });
  pressView(cell_, 2.0);
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"pressed: began at 0.5", "timer at 1.0",
                                                  "pressed: ended at 2.0"}));
}

TEST_F(LongPressTest, OfSeveralRecognizersOnAViewOnlyTheFirstToReachItsDurationRecognizes) {
  addPress(pressed);
  addPress(pressed);
  Strong quick = addPress(pressedAgain, 0.2);
  EXPECT_EQ(pressView(cell_, 1.0), 1u);
  EXPECT_EQ(probeLog(),
            (std::vector<std::string>{"pressedAgain: began at 0.2", "pressedAgain: ended at 1.0"}))
      << "the shortest duration wins, whatever the order they were added in";

  sel::removeGestureRecognizer(cell_, quick);
  probeLog().clear();
  DeviceClock::shared().setVirtual(test::kStart);
  EXPECT_EQ(pressView(cell_, 1.0), 1u);
  EXPECT_EQ(probeLog(),
            (std::vector<std::string>{"pressed: began at 0.5", "pressed: ended at 1.0"}))
      << "of equal durations, the one added first";
}

TEST_F(LongPressTest, ADelegateCanLetRecognizersRecognizeTogether) {
  Strong friendly = objc::make(friendlyDelegateClass());
  sel::setDelegate(addPress(pressed), friendly);
  addPress(pressedAgain);
  EXPECT_EQ(pressView(cell_, 0.5), 2u);
  EXPECT_EQ(probeLog(),
            (std::vector<std::string>{"pressed: began at 0.5", "pressedAgain: began at 0.5",
                                      "pressed: ended at 0.5", "pressedAgain: ended at 0.5"}));
}

TEST_F(LongPressTest, DisabledAndRemovedRecognizersStayQuiet) {
  Strong disabled = addPress(pressed);
  sel::setEnabled(disabled, NO);
  EXPECT_EQ(pressView(cell_, 1.0), 0u);
  Strong removed = addPress(pressed);
  sel::removeGestureRecognizer(cell_, removed);
  EXPECT_EQ(sel::view(removed), nil);
  EXPECT_EQ(pressView(cell_, 1.0), 0u);
  EXPECT_TRUE(probeLog().empty());
  EXPECT_EQ(pressView(target_, 1.0), 0u) << "not a view";
  EXPECT_EQ(pressView(cell_, NAN), 0u);
}

TEST_F(LongPressTest, APressOnAViewOfAProcessThatEndedFiresNothing) {
  addPress(pressed);
  endApp();
  EXPECT_EQ(pressView(cell_, 1.0), 0u);
  EXPECT_TRUE(probeLog().empty());
}

TEST_F(LongPressTest, AnExceptionInTheActionIsItsProcessCrashing) {
  Strong r = Strong::adopt(sel::initWithTarget_action(
      sel::alloc(reinterpret_cast<id>(UILongPressGestureRecognizerClass())), target_,
      sel_registerName("noSuchAction:")));
  sel::addGestureRecognizer(cell_, r);
  pressView(cell_, 1.0);
  ASSERT_EQ(crashes_.size(), 1u);
  EXPECT_NE(crashes_[0].find("unrecognized selector"), std::string::npos);
}

}  // namespace
}  // namespace platform::uikit
