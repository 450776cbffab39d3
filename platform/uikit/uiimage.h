#pragma once
// UIImage and UIImageView. The device draws no pixels: an image knows what it shows, such as
// the home-screen icon of an installed application, and the scale it was made for.

#include <string>

#include "platform/objc/object.h"

namespace platform::uikit {

// The classes "UIImage" and "UIImageView", created on first use.
Class UIImageClass();
Class UIImageViewClass();

// The bundle identifier of the application whose icon `image` is; "" for any other image and
// anything that is not an image.
std::string imageBundleIdentifier(id image);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// The home-screen icon of the installed application `bundleIdentifier` (a class method, a
// private call of the platform), in icon format `format` at `scale`; nil when no application
// with that identifier is installed.
inline const Selector<id(id, int, double)> applicationIconImageForBundleIdentifier_format_scale{
    "_applicationIconImageForBundleIdentifier:format:scale:"};
// UIImageView: the image it shows (retained), nil for none.
inline const Selector<id(id)> initWithImage{"initWithImage:"};
inline const Selector<id()> image{"image"};
inline const Selector<void(id)> setImage{"setImage:"};
}  // namespace sel
