// UIDatePicker's limits, the user's turning of its wheels, and the picker as an alert's accessory
// (an editor alert built the way its owner builds it).

#include <cmath>

#include "platform/foundation/nsdate.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

class UIDatePickerTest : public test::UIKitTest {
 protected:
  Strong picker() { return makeView(UIDatePickerClass(), CGRectMake(10, 0, 320, 216)); }
  double seconds(id date) { return dateSeconds(date, NAN); }
};

TEST_F(UIDatePickerTest, ANewPickerShowsNowInDateAndTimeMode) {
  Strong p = picker();
  EXPECT_EQ(seconds(sel::date(p)), nowSeconds());
  EXPECT_EQ(sel::datePickerMode(p), UIDatePickerModeDateAndTime);
  sel::setDatePickerMode(p, UIDatePickerModeDate);
  EXPECT_EQ(sel::datePickerMode(p), UIDatePickerModeDate);
  sel::setDatePickerMode(p, 7);
  EXPECT_EQ(sel::datePickerMode(p), UIDatePickerModeDate) << "not a mode: refused";
  EXPECT_EQ(sel::minimumDate(p), nil);
  EXPECT_EQ(sel::frame(p), CGRectMake(10, 0, 320, 216));
}

TEST_F(UIDatePickerTest, TheDateStaysWithinTheLimits) {
  struct Case {
    const char* name;
    double minimum;  // seconds from now; NAN: no limit
    double maximum;
    double set;
    double shown;
  } cases[] = {
      {"within", -300, NAN, 3600, 3600},         {"below the minimum", -300, NAN, -301, -300},
      {"at the minimum", -300, NAN, -300, -300}, {"above the maximum", NAN, 600, 601, 600},
      {"no limits", NAN, NAN, -1e6, -1e6},
  };
  for (const Case& c : cases) {
    Strong p = picker();
    if (!std::isnan(c.minimum)) sel::setMinimumDate(p, nsdate(nowSeconds() + c.minimum));
    if (!std::isnan(c.maximum)) sel::setMaximumDate(p, nsdate(nowSeconds() + c.maximum));
    sel::setDate(p, nsdate(nowSeconds() + c.set));
    EXPECT_EQ(seconds(sel::date(p)), nowSeconds() + c.shown) << c.name;
  }
}

TEST_F(UIDatePickerTest, NewLimitsMoveTheDateInside) {
  Strong p = picker();
  sel::setDate(p, nsdate(nowSeconds() + 60));
  sel::setMinimumDate(p, nsdate(nowSeconds() + 3600));
  EXPECT_EQ(seconds(sel::date(p)), nowSeconds() + 3600) << "a minimum above the date moves it up";
  sel::setMinimumDate(p, nil);
  EXPECT_EQ(sel::minimumDate(p), nil);
  sel::setMaximumDate(p, nsdate(nowSeconds() + 1800));
  EXPECT_EQ(seconds(sel::date(p)), nowSeconds() + 1800) << "a maximum below it moves it down";
}

TEST_F(UIDatePickerTest, SettingNoDateIsAClearError) {
  Strong p = picker();
  EXPECT_THROW(sel::setDate(p, nil), NSException);
  EXPECT_THROW(sel::setDate(p, nsstring("tomorrow")), NSException);
  EXPECT_EQ(seconds(sel::date(p)), nowSeconds()) << "the date shown is kept";
}

TEST_F(UIDatePickerTest, TurningTheWheelsChangesTheMinuteAndKeepsTheSeconds) {
  Strong p = picker();
  double base = 60 * 1000000.0;  // a whole minute
  sel::setDate(p, nsdate(base + 42.5));
  EXPECT_EQ(pickDate(p, base + 600), "");
  EXPECT_EQ(seconds(sel::date(p)), base + 600 + 42.5);
  EXPECT_EQ(pickDate(p, base + 659.9), "") << "any moment of the minute picks the minute";
  EXPECT_EQ(seconds(sel::date(p)), base + 600 + 42.5);

  sel::setMinimumDate(p, nsdate(base + 300));
  EXPECT_EQ(pickDate(p, base), "");
  EXPECT_EQ(seconds(sel::date(p)), base + 300) << "below the minimum: the minimum";

  EXPECT_EQ(pickDate(p, NAN), "not a date");
  EXPECT_EQ(pickDate(nsstring("picker"), base), "not a date picker");
}

// The editor's owner: logs the picker's date (seconds from the start) as the alert goes.
Strong gPicker;
void editorDismissed(id, SEL, id alert, long index) {
  probeLog().push_back(
      test::str(sel::buttonTitleAtIndex(alert, index)) + " at " +
      std::to_string(static_cast<long>(dateSeconds(sel::date(gPicker)) - test::kStart / 1e9)));
}
Class editorOwnerClass() {
  static Class cls =
      objc::deviceClass("PickerTestEditorOwner", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::alertView_didDismissWithButtonIndex, editorDismissed);
      });
  return cls;
}

TEST_F(UIDatePickerTest, AnAlertWithAPickerMadeRoomForItReadsThePickedDateWhenDismissed) {
  Strong owner = objc::make(editorOwnerClass());
  Strong alert = objc::make(UIAlertViewClass());
  sel::setTag(alert, 7);
  sel::setAccessibilityValue(alert, nsstring("0:0"));
  sel::setTitle(alert, nsstring("Editor"));
  sel::setDelegate(alert, owner);
  for (const char* b : {"Add", "Delete", "Cancel"}) sel::addButtonWithTitle(alert, nsstring(b));
  sel::setCancelButtonIndex(alert, 2);
  CGRect bounds = sel::bounds(alert);
  gPicker = makeView(UIDatePickerClass(), CGRectMake(10, bounds.size.height, 320, 216));
  sel::setDatePickerMode(gPicker, UIDatePickerModeDateAndTime);
  sel::setMinimumDate(gPicker, nsdate(nowSeconds() - 300));
  sel::setDate(gPicker, nsdate(nowSeconds() + 3600));
  sel::setValue_forKey(alert, gPicker, nsstring("accessoryView"));
  sel::setBounds(alert, CGRectMake(0, 0, bounds.size.width, bounds.size.height + 216 + 20));
  sel::show(alert);

  EXPECT_EQ(sel::bounds(alert).size.height, bounds.size.height + 236);
  ASSERT_EQ(shownModals().size(), 1u);
  EXPECT_EQ(alertAccessoryView(shownModals()[0].object), gPicker.get());

  EXPECT_EQ(pickDate(gPicker, nowSeconds() - 3600), "");
  EXPECT_EQ(tapModalButton(alert, 0), "");
  runLater();
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"Add at -300"}))
      << "the picker offered nothing earlier than its minimum";
  gPicker.reset();
}

}  // namespace
}  // namespace platform::uikit
