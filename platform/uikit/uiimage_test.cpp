// UIImage: the icons of installed applications, and UIImageView.

#include "platform/foundation/nsnumber.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uikit_test_support.h"

namespace platform::uikit {
namespace {

using objc::Strong;

class UIImageTest : public test::UIKitTest {};

TEST_F(UIImageTest, IconsAreThoseOfInstalledApplicationsOnly) {
  id cls = reinterpret_cast<id>(UIImageClass());
  const auto& icon = sel::applicationIconImageForBundleIdentifier_format_scale;
  id mail = icon(cls, nsstring("com.apple.mobilemail"), 0, 2.0);
  ASSERT_NE(mail, nil);
  EXPECT_EQ(imageBundleIdentifier(mail), "com.apple.mobilemail");
  EXPECT_EQ(sel::scale(mail), 2.0);
  EXPECT_EQ(icon(cls, nsstring("com.example.notinstalled"), 0, 2.0), nil);
  EXPECT_EQ(icon(cls, nil, 0, 2.0), nil);
  EXPECT_EQ(icon(cls, nsnumber(1LL), 0, 2.0), nil);

  Strong imageView = makeView(UIImageViewClass(), CGRectZero);
  sel::setImage(imageView, mail);
  EXPECT_EQ(imageBundleIdentifier(sel::image(imageView)), "com.apple.mobilemail");
}

}  // namespace
}  // namespace platform::uikit
