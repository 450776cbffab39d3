// Switches: what a user's flip changes and whom it tells, what code changes silently, and when a
// flip does not reach the switch.

#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

const objc::Selector<void(id)> switched{"switched:"};
const objc::Selector<void(id)> switchedToo{"switchedToo:"};

void logSwitch(id, SEL cmd, id control) {
  probeLog().push_back(std::string(sel_getName(cmd)) + (sel::isOn(control) ? " on" : " off"));
}
Class targetClass() {
  static Class cls = objc::deviceClass(
      "SwitchTestTarget", objc::rootClass(),
      [](objc::ClassBuilder& b) { b.method(switched, logSwitch).method(switchedToo, logSwitch); });
  return cls;
}

class SwitchTest : public test::UIKitTest {
 protected:
  void SetUp() override {
    UIKitTest::SetUp();
    target_ = objc::make(targetClass());
    control_ = makeView(UISwitchClass(), CGRectZero);
  }
  void TearDown() override {
    control_.reset();
    target_.reset();
    UIKitTest::TearDown();
  }
  void listen(const objc::Selector<void(id)>& action,
              unsigned long events = UIControlEventValueChanged) {
    sel::addTarget_action_forControlEvents(control_, target_, action.sel(), events);
  }
  Strong target_;
  Strong control_;
};

TEST_F(SwitchTest, AFlipTurnsItOverAndTellsEachTargetInOrder) {
  listen(switched);
  listen(switchedToo);
  listen(switched);  // registered once
  EXPECT_EQ(flipSwitch(control_), "");
  EXPECT_TRUE(sel::isOn(control_));
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"switched: on", "switchedToo: on"}));
  EXPECT_EQ(flipSwitch(control_), "");
  EXPECT_FALSE(sel::isOn(control_));
  EXPECT_EQ(probeLog().back(), "switchedToo: off");
}

TEST_F(SwitchTest, CodeSetsTheValueWithoutTellingAnyone) {
  listen(switched);
  sel::setOn(control_, YES);
  sel::setOn_animated(control_, NO, YES);
  sel::setOn_animated(control_, YES, NO);
  EXPECT_TRUE(sel::isOn(control_));
  EXPECT_TRUE(probeLog().empty());
}

TEST_F(SwitchTest, OnlyValueChangeTargetsHearAndRemovedOnesHearNothing) {
  listen(switched, 1UL << 6);  // touch up inside: never sent by a flip
  listen(switchedToo);
  sel::removeTarget_action_forControlEvents(control_, target_, switchedToo.sel(),
                                            UIControlEventValueChanged);
  EXPECT_EQ(flipSwitch(control_), "");
  EXPECT_TRUE(sel::isOn(control_));
  EXPECT_TRUE(probeLog().empty());
}

TEST_F(SwitchTest, ADisabledSwitchOrOneInACellThatTakesNoTouchesIsNotFlipped) {
  listen(switched);
  sel::setEnabled(control_, NO);
  EXPECT_EQ(flipSwitch(control_), "the switch is disabled");
  sel::setEnabled(control_, YES);

  Strong cell = Strong::adopt(sel::initWithStyle_reuseIdentifier(
      sel::alloc(reinterpret_cast<id>(UITableViewCellClass())), UITableViewCellStyleDefault, nil));
  sel::addSubview(sel::contentView(cell), control_);
  sel::setUserInteractionEnabled(cell, NO);
  EXPECT_NE(flipSwitch(control_), "");
  EXPECT_FALSE(takesTouches(control_));
  sel::setUserInteractionEnabled(cell, YES);
  EXPECT_EQ(flipSwitch(control_), "");
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"switched: on"}));
  EXPECT_EQ(flipSwitch(cell), "not a switch");
}

TEST_F(SwitchTest, TheOnTintIsTheDefaultGreenUntilSet) {
  EXPECT_EQ(sel::onTintColor(control_), nil);
  sel::setOnTintColor(control_, sel::redColor(reinterpret_cast<id>(UIColorClass())));
  ColorComponents c;
  ASSERT_TRUE(colorComponents(sel::onTintColor(control_), &c));
  EXPECT_EQ(c.red, 1);
  EXPECT_EQ(c.green, 0);
  sel::setOnTintColor(control_, nil);
  EXPECT_EQ(sel::onTintColor(control_), nil);
}

}  // namespace
}  // namespace platform::uikit
