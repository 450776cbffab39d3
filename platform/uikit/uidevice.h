#pragma once
// UIDevice and UIScreen: the kind of device the phone is (a setting of the simulated device,
// chosen before it boots) and its one screen, whose size follows that kind.

#include "platform/objc/object.h"
#include "platform/uikit/geometry.h"

namespace platform::uikit {

// The classes "UIDevice" and "UIScreen", created on first use.
Class UIDeviceClass();
Class UIScreenClass();

// The platform's interface idioms, as userInterfaceIdiom answers them.
enum UIUserInterfaceIdiom : long { UIUserInterfaceIdiomPhone = 0, UIUserInterfaceIdiomPad = 1 };

// Makes the device a phone or a pad from now on (a phone until set). Other values are refused
// and leave the setting as it was; returns whether it was taken.
bool setDeviceIdiom(long idiom);
// The device's idiom.
UIUserInterfaceIdiom deviceIdiom();

// The main screen's bounds in points: 320 x 568 on the phone, 768 x 1024 on the pad.
CGRect mainScreenBounds();

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// The one UIDevice (a class method), the same object on every call.
inline const Selector<id()> currentDevice{"currentDevice"};
inline const Selector<long()> userInterfaceIdiom{"userInterfaceIdiom"};
// The one UIScreen (a class method), the same object on every call.
inline const Selector<id()> mainScreen{"mainScreen"};
// Pixels per point: 2 on both kinds of device.
inline const Selector<double()> scale{"scale"};
}  // namespace sel
