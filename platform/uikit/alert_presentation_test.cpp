// UIActionSheet and UIAlertView, driven as a menu's owner and its user do: built with buttons,
// shown, a button tapped, the delegate told; dismissals of what is not shown; stacking; and a
// process that ends.

#include "platform/dispatch/run_loop.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

// A delegate that logs every piece of news, with the title of what it came from.
template <const char* kWhat>
void news(id, SEL, id from, long index) {
  probeLog().push_back(std::string(kWhat) + " " + test::str(sel::title(from)) + " " +
                       std::to_string(index));
}
constexpr char kClicked[] = "clicked";
constexpr char kWillDismiss[] = "willDismiss";
constexpr char kDidDismiss[] = "didDismiss";
void deallocLogged(id self, SEL cmd) {
  probeLog().push_back("delegate gone");
  IMP inherited = class_getMethodImplementation(objc::rootClass(), cmd);
  reinterpret_cast<void (*)(id, SEL)>(inherited)(self, cmd);
}
Class delegateClass() {
  static Class cls =
      objc::deviceClass("AlertTestDelegate", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::actionSheet_clickedButtonAtIndex, news<kClicked>)
            .method(sel::actionSheet_willDismissWithButtonIndex, news<kWillDismiss>)
            .method(sel::actionSheet_didDismissWithButtonIndex, news<kDidDismiss>)
            .method(sel::alertView_clickedButtonAtIndex, news<kClicked>)
            .method(sel::alertView_willDismissWithButtonIndex, news<kWillDismiss>)
            .method(sel::alertView_didDismissWithButtonIndex, news<kDidDismiss>)
            .method(sel::dealloc, deallocLogged);
      });
  return cls;
}
// A delegate that answers only the dismissal, as the menu's owner does.
Class dismissalOnlyClass() {
  static Class cls =
      objc::deviceClass("AlertTestDismissalOnly", objc::rootClass(), [](objc::ClassBuilder& b) {
        b.method(sel::actionSheet_didDismissWithButtonIndex, news<kDidDismiss>);
      });
  return cls;
}

class AlertPresentationTest : public test::UIKitTest {
 protected:
  void SetUp() override {
    UIKitTest::SetUp();
    delegate_ = objc::make(delegateClass());
    window_ = makeView(UIWindowClass(), mainScreenBounds());
    sel::makeKeyAndVisible(window_);
  }
  void TearDown() override {
    window_.reset();
    delegate_.reset();
    probeLog().clear();
    UIKitTest::TearDown();
  }
  // The menu the way its owner builds it: no titles at init, then the buttons, the last one
  // the cancel button.
  Strong menu(const char* title, std::vector<const char*> buttons, id delegate) {
    Strong titled = nsstring(title);
    Strong sheet = Strong::adopt(
        sel::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles(
            sel::alloc(reinterpret_cast<id>(UIActionSheetClass())), titled, delegate, nil, nil,
            nil));
    long last = -1;
    for (const char* b : buttons) last = sel::addButtonWithTitle(sheet, nsstring(b));
    sel::setCancelButtonIndex(sheet, last);
    return sheet;
  }
  Strong alert(const char* title, id delegate) {
    Strong made = objc::make(UIAlertViewClass());
    sel::setTitle(made, nsstring(title));
    sel::setDelegate(made, delegate);
    for (const char* b : {"Add", "Delete", "Cancel"}) sel::addButtonWithTitle(made, nsstring(b));
    sel::setCancelButtonIndex(made, 2);
    return made;
  }
  std::vector<id> shown() {
    std::vector<id> list;
    for (const ShownModal& m : shownModals()) list.push_back(m.object);
    return list;
  }
  Strong delegate_;
  Strong window_;
};

TEST_F(AlertPresentationTest, AMenuShownInTheKeyWindowTellsItsDelegateTheButtonTapped) {
  Strong sheet =
      menu("Actions", {"Keep", "Remind Me", "Clear Section", "Clear All", "Cancel"}, delegate_);
  sel::setTag(sheet, 3);
  sel::setAccessibilityValue(sheet, nsstring("3:1"));
  EXPECT_EQ(sel::numberOfButtons(sheet), 5);
  EXPECT_EQ(sel::cancelButtonIndex(sheet), 4);
  EXPECT_EQ(test::str(sel::buttonTitleAtIndex(sheet, 2)), "Clear Section");
  EXPECT_EQ(sel::buttonTitleAtIndex(sheet, 5), nil);
  EXPECT_EQ(sel::delegate(sheet), delegate_.get());
  EXPECT_FALSE(sel::isVisible(sheet));

  Strong application = objc::make(UIApplicationClass());
  setSharedApplication(application);
  id keyWindow = sel::keyWindow(sel::sharedApplication(reinterpret_cast<id>(UIApplicationClass())));
  setSharedApplication(nil);
  ASSERT_EQ(keyWindow, window_.get());
  sel::showInView(sheet, keyWindow);
  EXPECT_TRUE(sel::isVisible(sheet));
  EXPECT_EQ(shown(), (std::vector<id>{sheet}));

  EXPECT_EQ(tapModalButton(sheet, 2), "");
  EXPECT_FALSE(sel::isVisible(sheet));
  EXPECT_TRUE(shown().empty());
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"clicked Actions 2", "willDismiss Actions 2"}))
      << "the dismissal animates: its end comes later";
  runLater();
  EXPECT_EQ(probeLog().back(), "didDismiss Actions 2");
  EXPECT_EQ(test::str(sel::accessibilityValue(sheet)), "3:1");
  EXPECT_EQ(sel::tag(sheet), 3);
}

TEST_F(AlertPresentationTest, ADismissalWithoutAnimationEndsAtOnce) {
  Strong sheet = menu("Menu", {"Cancel"}, delegate_);
  sel::showInView(sheet, window_);
  sel::dismissWithClickedButtonIndex_animated(sheet, 0, NO);
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"willDismiss Menu 0", "didDismiss Menu 0"}));
}

TEST_F(AlertPresentationTest, DismissingWhatIsNotShownDoesNothingAndTellsNoOne) {
  struct Case {
    const char* name;
    bool show;
    bool dismissFirst;
  } cases[] = {{"never shown", false, false}, {"dismissed already", true, true}};
  for (const Case& c : cases) {
    for (bool isAlert : {false, true}) {
      Strong modal = isAlert ? alert("Editor", delegate_) : menu("Menu", {"Cancel"}, delegate_);
      if (c.show) isAlert ? sel::show(modal) : sel::showInView(modal, window_);
      if (c.dismissFirst) sel::dismissWithClickedButtonIndex_animated(modal, 0, NO);
      probeLog().clear();
      sel::dismissWithClickedButtonIndex_animated(modal, sel::cancelButtonIndex(modal), YES);
      runLater();
      EXPECT_TRUE(probeLog().empty()) << c.name << (isAlert ? " alert" : " sheet");
      EXPECT_EQ(tapModalButton(modal, 0), "it is not shown") << c.name;
    }
  }
}

TEST_F(AlertPresentationTest, ADelegateAnsweringOnlyTheDismissalHearsOnlyThat) {
  Strong owner = objc::make(dismissalOnlyClass());
  Strong sheet = menu("Menu", {"Remind Me", "Cancel"}, owner);
  sel::showInView(sheet, window_);
  EXPECT_EQ(tapModalButton(sheet, 0), "");
  runLater();
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"didDismiss Menu 0"}));
}

TEST_F(AlertPresentationTest, AShownMenuKeepsItsDelegateUntilItHasHeardOfTheDismissal) {
  Strong sheet = menu("Menu", {"Cancel"}, delegate_);
  sel::showInView(sheet, window_);
  delegate_.reset();
  EXPECT_TRUE(probeLog().empty()) << "still alive while its menu is shown";
  sel::dismissWithClickedButtonIndex_animated(sheet, 0, YES);
  runLater();
  EXPECT_EQ(probeLog(),
            (std::vector<std::string>{"willDismiss Menu 0", "didDismiss Menu 0", "delegate gone"}));
}

TEST_F(AlertPresentationTest, ALaterMenuCoversAnEarlierOneWhichStaysShown) {
  Strong first = menu("First", {"Cancel"}, delegate_);
  Strong second = menu("Second", {"Cancel"}, delegate_);
  sel::showInView(first, window_);
  sel::showInView(second, window_);
  sel::showInView(first, window_);  // already shown: stays where it is
  EXPECT_EQ(shown(), (std::vector<id>{first, second}));
  EXPECT_EQ(tapModalButton(second, 0), "");
  EXPECT_EQ(shown(), (std::vector<id>{first}));
  EXPECT_TRUE(sel::isVisible(first));
}

TEST_F(AlertPresentationTest, ShowingASheetInNoViewIsAnError) {
  Strong sheet = menu("Menu", {"Cancel"}, delegate_);
  EXPECT_THROW(sel::showInView(sheet, nil), NSException);
  EXPECT_FALSE(sel::isVisible(sheet));
}

TEST_F(AlertPresentationTest, TheInitialisersOrderTheirButtonsAsThePlatformDoes) {
  Strong sheet = Strong::adopt(
      sel::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles(
          sel::alloc(reinterpret_cast<id>(UIActionSheetClass())), nsstring("Sheet"), nil,
          nsstring("Cancel"), nsstring("Delete"), nsstring("Other")));
  EXPECT_EQ(test::str(sel::buttonTitleAtIndex(sheet, 0)), "Delete");
  EXPECT_EQ(test::str(sel::buttonTitleAtIndex(sheet, 1)), "Other");
  EXPECT_EQ(sel::cancelButtonIndex(sheet), 2);
  EXPECT_EQ(sel::destructiveButtonIndex(sheet), 0);

  Strong alertView =
      Strong::adopt(sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles(
          sel::alloc(reinterpret_cast<id>(UIAlertViewClass())), nsstring("Respring?"),
          nsstring("Now?"), nil, nsstring("No"), nsstring("Yes")));
  EXPECT_EQ(sel::cancelButtonIndex(alertView), 0);
  EXPECT_EQ(test::str(sel::buttonTitleAtIndex(alertView, 1)), "Yes");
  EXPECT_EQ(test::str(sel::message(alertView)), "Now?");

  Strong plain = objc::make(UIAlertViewClass());
  EXPECT_EQ(sel::numberOfButtons(plain), 0);
  EXPECT_EQ(sel::cancelButtonIndex(plain), -1);
  EXPECT_EQ(sel::addButtonWithTitle(plain, nil), -1);
  EXPECT_EQ(sel::numberOfButtons(plain), 0);
}

TEST_F(AlertPresentationTest, AnAlertKeepsItsAccessoryViewUnderKeyValueCoding) {
  Strong editor = alert("Editor", delegate_);
  Strong picker = makeView(UIDatePickerClass(), CGRectMake(10, 0, 320, 216));
  Strong key = nsstring("accessoryView");
  sel::setValue_forKey(editor, picker, key);
  EXPECT_EQ(sel::valueForKey(editor, key), picker.get());
  EXPECT_EQ(alertAccessoryView(editor), picker.get());

  sel::setValue_forKey(editor, nsstring("Hello"), nsstring("message"));
  EXPECT_EQ(test::str(sel::valueForKey(editor, nsstring("message"))), "Hello")
      << "other keys reach the accessors of their name";
  try {
    sel::setValue_forKey(editor, picker, nsstring("datePicker"));
    FAIL() << "no exception";
  } catch (const NSException& e) {
    EXPECT_EQ(e.name(), "NSUnknownKeyException");
    EXPECT_NE(e.reason().find("not key value coding-compliant for the key datePicker"),
              std::string::npos);
  }
  EXPECT_THROW(sel::valueForKey(editor, nsstring("tag")), NSException)
      << "tag is not an object-typed accessor";
}

TEST_F(AlertPresentationTest, TappingAButtonThatIsNotThereSaysWhy) {
  Strong editor = alert("Editor", delegate_);
  sel::show(editor);
  EXPECT_EQ(tapModalButton(editor, 3), "it has 3 buttons, no button 3");
  EXPECT_EQ(tapModalButton(editor, -1), "it has 3 buttons, no button -1");
  EXPECT_EQ(tapModalButton(window_, 0), "not an alert or an action sheet");
  EXPECT_TRUE(sel::isVisible(editor));
  EXPECT_TRUE(probeLog().empty());
}

TEST_F(AlertPresentationTest, ATapRunsAsTheProcessThatShowsTheAlert) {
  Strong editor = alert("Editor", delegate_);
  sel::show(editor);
  ProcessId other = launchProcess("Other");
  {
    ProcessScope scope(other);
    EXPECT_EQ(tapModalButton(editor, 1), "");
  }
  terminateProcess(other);  // whoever relayed the touch ends before the transition does
  RunLoop::main().runDue();
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"clicked Editor 1", "willDismiss Editor 1",
                                                  "didDismiss Editor 1"}));
}

TEST_F(AlertPresentationTest, AProcessThatEndsTakesItsAlertsAndSheetsAwaySilently) {
  Strong editor = alert("Editor", delegate_);
  sel::show(editor);
  Strong sheet = menu("Menu", {"Cancel"}, delegate_);
  sel::showInView(sheet, window_);
  sel::dismissWithClickedButtonIndex_animated(sheet, 0, YES);  // its end is still to come
  probeLog().clear();
  endApp();
  EXPECT_TRUE(shown().empty());
  EXPECT_FALSE(sel::isVisible(editor));
  RunLoop::main().runDue();
  EXPECT_TRUE(probeLog().empty()) << "no delegate hears anything from a process that ended";
}

}  // namespace
}  // namespace platform::uikit
