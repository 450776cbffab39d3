#pragma once
// UIResponder and UIApplication: the root of UIKit's responders and the application object,
// which answers its process's windows and the key window among them.

#include "platform/objc/object.h"

namespace platform::uikit {

// The classes "UIResponder" and "UIApplication", created on first use. Defining UIApplication
// defines every UIKit class, as the framework comes with the application, so that code looking
// UIKit's classes up by name finds them from the application's first moment.
Class UIResponderClass();
Class UIApplicationClass();

// Makes `application` the object `+[UIApplication sharedApplication]` answers (nil: none).
void setSharedApplication(id application);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// The running application object (a class method); nil before one is set.
inline const Selector<id()> sharedApplication{"sharedApplication"};
// The current process's key window, nil when it has none.
inline const Selector<id()> keyWindow{"keyWindow"};
// A new array of the current process's windows, back to front.
inline const Selector<id()> windows{"windows"};
}  // namespace sel
