// UIColor: named colours, components and equality.

#include <cmath>

#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;

class UIColorTest : public test::UIKitTest {};

TEST_F(UIColorTest, NamedColoursHaveThePlatformsComponents) {
  struct Case {
    const objc::Selector<id()>& named;
    ColorComponents expected;
  } cases[] = {
      {sel::clearColor, {0, 0, 0, 0}},
      {sel::whiteColor, {1, 1, 1, 1}},
      {sel::blackColor, {0, 0, 0, 1}},
      {sel::redColor, {1, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    id color = c.named(reinterpret_cast<id>(UIColorClass()));
    double r = -1, g = -1, b = -1, a = -1;
    ASSERT_TRUE(sel::getRed_green_blue_alpha(color, &r, &g, &b, &a)) << c.named.name();
    EXPECT_EQ(
        (std::vector<double>{r, g, b, a}),
        (std::vector<double>{c.expected.red, c.expected.green, c.expected.blue, c.expected.alpha}))
        << c.named.name();
  }
}

TEST_F(UIColorTest, ColoursAreEqualByTheirComponents) {
  id cls = reinterpret_cast<id>(UIColorClass());
  id marker = sel::colorWithRed_green_blue_alpha(cls, 113 / 255.0, 162 / 255.0, 234 / 255.0, 1);
  id same = sel::colorWithRed_green_blue_alpha(cls, 0.44313725490196076, 0.6352941176470588,
                                               0.9176470588235294, 1.0);
  id other = sel::colorWithRed_green_blue_alpha(cls, 113 / 255.0, 162 / 255.0, 234 / 255.0, 0.5);
  EXPECT_TRUE(sel::isEqual(marker, same));
  EXPECT_EQ(sel::hash(marker), sel::hash(same));
  EXPECT_FALSE(sel::isEqual(marker, other));
  EXPECT_FALSE(sel::isEqual(marker, nsstring("blue")));
  double red = -1;
  EXPECT_TRUE(sel::getRed_green_blue_alpha(marker, &red, nullptr, nullptr, nullptr));
  EXPECT_EQ(red, 113 / 255.0);
  id clamped = sel::colorWithRed_green_blue_alpha(cls, 2, -1, NAN, 1);
  EXPECT_TRUE(sel::isEqual(clamped, sel::redColor(cls)));
}

}  // namespace
}  // namespace platform::uikit
