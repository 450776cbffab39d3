#include "platform/uikit/uiimage.h"

#include "platform/foundation/installed_applications.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {
namespace {

struct ImageBody : objc::NativeBody {
  std::string bundleIdentifier;
  int format = 0;
  double scale = 1.0;
};

id applicationIcon(id cls, SEL, id bundleIdentifier, int format, double scale) {
  if (!isString(bundleIdentifier)) return nil;
  std::string identifier = utf8(bundleIdentifier);
  if (!installedApplication(identifier)) return nil;
  id image = objc::allocInstance(reinterpret_cast<Class>(cls));
  auto* b = objc::native<ImageBody>(image);
  b->bundleIdentifier = identifier;
  b->format = format;
  b->scale = scale > 0 ? scale : 1.0;
  return objc::autorelease(image);
}
double scale(id self, SEL) {
  return objc::native<ImageBody>(self)->scale;
}

struct ImageViewBody : ViewBody {
  objc::Strong image;
};

id initWithImage(id self, SEL, id image) {
  self = sel::initWithFrame(self, CGRectZero);
  if (self) objc::native<ImageViewBody>(self)->image = image;
  return self;
}
id image(id self, SEL) {
  return objc::native<ImageViewBody>(self)->image;
}
void setImage(id self, SEL, id image) {
  objc::native<ImageViewBody>(self)->image = image;
}

}  // namespace

Class UIImageClass() {
  static Class cls = objc::deviceClass("UIImage", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<ImageBody>()
        .classMethod(sel::applicationIconImageForBundleIdentifier_format_scale, applicationIcon)
        .method(sel::scale, scale);
  });
  return cls;
}

Class UIImageViewClass() {
  static Class cls = objc::deviceClass("UIImageView", UIViewClass(), [](objc::ClassBuilder& b) {
    b.body<ImageViewBody>()
        .method(sel::initWithImage, initWithImage)
        .method(sel::image, image)
        .method(sel::setImage, setImage);
  });
  return cls;
}

std::string imageBundleIdentifier(id image) {
  auto* b = objc::native<ImageBody>(image);
  return b ? b->bundleIdentifier : "";
}

}  // namespace platform::uikit
