// UIView's tree, properties and layout, its layer, and UILabel.

#include "platform/foundation/nsarray.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;
using test::probeLog;

Strong view(CGRect frame = CGRectZero) {
  return makeView(UIViewClass(), frame);
}

// A view that logs its layout passes by its tag.
void probeLayout(id self, SEL) {
  probeLog().push_back("layout " + std::to_string(sel::tag(self)));
}
Class layoutProbeClass() {
  static Class cls =
      objc::deviceClass("UIViewTestLayoutProbe", UIViewClass(),
                        [](objc::ClassBuilder& b) { b.method(sel::layoutSubviews, probeLayout); });
  return cls;
}
Strong layoutProbe(long tag) {
  Strong v = makeView(layoutProbeClass(), CGRectZero);
  sel::setTag(v, tag);
  return v;
}

std::vector<id> subviewList(id parent) {
  std::vector<id> list;
  for (const Strong& s : arrayElements(sel::subviews(parent))) list.push_back(s);
  return list;
}

class UIViewTest : public test::UIKitTest {};

TEST_F(UIViewTest, SubviewsStackBackToFrontAndMoveBetweenSuperviews) {
  Strong a = view(), b = view(), first = view(), second = view();
  sel::addSubview(a, first);
  sel::addSubview(a, second);
  EXPECT_EQ(subviewList(a), (std::vector<id>{first, second}));
  EXPECT_EQ(sel::superview(first), a.get());

  sel::bringSubviewToFront(a, first);
  EXPECT_EQ(subviewList(a), (std::vector<id>{second, first}));
  sel::insertSubview_atIndex(a, first, 0);
  EXPECT_EQ(subviewList(a), (std::vector<id>{first, second}));

  sel::addSubview(b, first);  // taken from its old superview
  EXPECT_EQ(subviewList(a), (std::vector<id>{second}));
  EXPECT_EQ(sel::superview(first), b.get());

  sel::removeFromSuperview(second);
  EXPECT_EQ(sel::superview(second), nil);
  EXPECT_TRUE(subviewList(a).empty());
  sel::bringSubviewToFront(a, first);  // not a subview of a: nothing happens
  EXPECT_EQ(sel::superview(first), b.get());
}

TEST_F(UIViewTest, AViewCannotContainItselfOrItsAncestors) {
  Strong parent = view(), child = view();
  sel::addSubview(parent, child);
  EXPECT_THROW(sel::addSubview(child, child), NSException);
  EXPECT_THROW(sel::addSubview(child, parent), NSException);
  EXPECT_EQ(sel::superview(parent), nil);
  EXPECT_EQ(sel::superview(child), parent.get());
}

TEST_F(UIViewTest, SubviewsOutliveTheirSuperviewWithoutPointingAtIt) {
  Strong child = view();
  {
    Strong parent = view();
    sel::addSubview(parent, child);
    EXPECT_EQ(objc::retainCount(child), 2u);
  }
  EXPECT_EQ(sel::superview(child), nil);
  EXPECT_EQ(objc::retainCount(child), 1u);
}

TEST_F(UIViewTest, ViewWithTagFindsTheViewItselfFirstThenTheFirstDescendantDepthFirst) {
  Strong root = view(), a = view(), a1 = view(), b = view();
  sel::setTag(root, 1);
  sel::setTag(a, 2);
  sel::setTag(a1, 3);
  sel::setTag(b, 3);
  sel::addSubview(root, a);
  sel::addSubview(a, a1);
  sel::addSubview(root, b);
  struct Case {
    id in;
    long tag;
    id found;
  } cases[] = {
      {root, 1, root}, {root, 2, a}, {root, 3, a1}, {b, 3, b}, {a, 1, nil}, {root, 99, nil},
  };
  for (const Case& c : cases) EXPECT_EQ(sel::viewWithTag(c.in, c.tag), c.found) << c.tag;
}

TEST_F(UIViewTest, BoundsStartAtTheOriginAndChangeSizeAboutTheCentre) {
  Strong v = view(CGRectMake(10, 20, 100, 50));
  EXPECT_EQ(sel::bounds(v), CGRectMake(0, 0, 100, 50));
  sel::setBounds(v, CGRectMake(0, 0, 100, 286));
  EXPECT_EQ(sel::bounds(v), CGRectMake(0, 0, 100, 286));
  EXPECT_EQ(sel::frame(v), CGRectMake(10, 20 - 118, 100, 286));
  EXPECT_EQ(sel::frame(view()), CGRectZero) << "init is initWithFrame: with the empty rectangle";
}

TEST_F(UIViewTest, PropertiesKeepWhatIsSet) {
  Strong v = view();
  EXPECT_EQ(sel::alpha(v), 1.0);
  sel::setAlpha(v, 0.0);
  EXPECT_EQ(sel::alpha(v), 0.0);
  sel::setAlpha(v, 3.0);
  EXPECT_EQ(sel::alpha(v), 1.0) << "alpha is clamped to 0...1";
  EXPECT_FALSE(sel::isHidden(v));
  sel::setHidden(v, YES);
  EXPECT_TRUE(sel::isHidden(v));

  Strong blue = uicolor(113 / 255.0, 162 / 255.0, 234 / 255.0, 1);
  sel::setBackgroundColor(v, blue);
  EXPECT_EQ(sel::backgroundColor(v), blue.get());

  id layer = sel::layer(v);
  ASSERT_TRUE(objc::isKindOf(layer, CALayerClass()));
  EXPECT_EQ(sel::layer(v), layer) << "the same layer on every call";
  sel::setCornerRadius(layer, 2.5);
  EXPECT_EQ(sel::cornerRadius(sel::layer(v)), 2.5);
  EXPECT_FALSE(sel::clipsToBounds(v));
  sel::setClipsToBounds(v, YES);
  EXPECT_TRUE(sel::masksToBounds(layer)) << "clipping is the layer's masking";
  sel::setClipsToBounds(v, NO);
  EXPECT_FALSE(sel::masksToBounds(layer));

  Strong value = nsstring("3:1");
  sel::setAccessibilityValue(v, value);
  EXPECT_EQ(test::str(sel::accessibilityValue(v)), "3:1");
}

TEST_F(UIViewTest, TintComesFromTheNearestViewThatHasOne) {
  Strong outer = view(), inner = view();
  sel::addSubview(outer, inner);
  ColorComponents c;
  ASSERT_TRUE(colorComponents(sel::tintColor(inner), &c));
  EXPECT_EQ(c.blue, 1.0) << "the system blue by default";
  Strong white = uicolor(1, 1, 1, 1);
  sel::setTintColor(outer, white);
  EXPECT_TRUE(sel::isEqual(sel::tintColor(inner), white));
}

TEST_F(UIViewTest, LayoutIfNeededLaysOutMarkedViewsParentsFirstAndOnlyOnce) {
  Strong root = layoutProbe(1), child = layoutProbe(2), grandchild = layoutProbe(3);
  sel::addSubview(root, child);
  sel::addSubview(child, grandchild);
  sel::layoutIfNeeded(root);
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"layout 1", "layout 2", "layout 3"}));

  probeLog().clear();
  sel::layoutIfNeeded(root);
  EXPECT_TRUE(probeLog().empty()) << "nothing is marked any more";

  sel::setNeedsLayout(grandchild);
  sel::layoutIfNeeded(root);
  EXPECT_EQ(probeLog(), (std::vector<std::string>{"layout 3"}));
}

TEST_F(UIViewTest, ARecognizerBelongsToOneViewAtATime) {
  Strong first = view(), second = view();
  Strong recognizer = Strong::adopt(sel::initWithTarget_action(
      sel::alloc(reinterpret_cast<id>(UILongPressGestureRecognizerClass())), nil, nullptr));
  EXPECT_EQ(sel::gestureRecognizers(first), nil);
  sel::addGestureRecognizer(first, recognizer);
  EXPECT_EQ(sel::view(recognizer), first.get());
  sel::addGestureRecognizer(second, recognizer);
  EXPECT_EQ(sel::view(recognizer), second.get());
  EXPECT_EQ(sel::gestureRecognizers(first), nil);
  EXPECT_EQ(sel::count(sel::gestureRecognizers(second)), 1u);
  second.reset();
  EXPECT_EQ(sel::view(recognizer), nil) << "a view that goes away lets go of its recognizers";
}

TEST_F(UIViewTest, LabelsCopyTheirTextAndAreBlackUntilColoured) {
  Strong label = makeView(UILabelClass(), CGRectZero);
  EXPECT_EQ(sel::text(label), nil);
  Strong text = nsstring("Lunch");
  sel::setText(label, text);
  EXPECT_EQ(test::str(sel::text(label)), "Lunch");
  ColorComponents c;
  ASSERT_TRUE(colorComponents(sel::textColor(label), &c));
  EXPECT_EQ((std::vector<double>{c.red, c.green, c.blue, c.alpha}),
            (std::vector<double>{0, 0, 0, 1}));
}

}  // namespace
}  // namespace platform::uikit
