#pragma once
// The UIKit classes the device builds SpringBoard on: responders, views, view controllers and
// the application object. They grow as SpringBoard's screens do.

#include "platform/objc/object.h"

namespace platform::uikit {

// The classes "UIResponder", "UIView", "UIViewController", "UITableViewCell" and
// "UIApplication", created on first use.
Class UIResponderClass();
Class UIViewClass();
Class UIViewControllerClass();
Class UITableViewCellClass();
Class UIApplicationClass();

// Makes `application` the object `+[UIApplication sharedApplication]` answers (nil: none).
void setSharedApplication(id application);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
inline const Selector<id()> sharedApplication{"sharedApplication"};
}  // namespace sel
