#pragma once
// UIResponder and UIApplication: the root of UIKit's responders and the application object,
// which answers its process's windows and the key window among them.

#include "platform/foundation/process.h"
#include "platform/objc/object.h"

namespace platform::uikit {

// The classes "UIResponder" and "UIApplication", created on first use. Defining UIApplication
// defines every UIKit class, as the framework comes with the application, so that code looking
// UIKit's classes up by name finds them from the application's first moment.
Class UIResponderClass();
Class UIApplicationClass();

// Makes `application` the object `+[UIApplication sharedApplication]` answers (nil: none).
void setSharedApplication(id application);

// Moves process `pid`'s application to the background (off the screen: none of its windows,
// alerts, sheets or swiped rows is shown) or back to the foreground. Applications start in the
// foreground; one that ends is forgotten.
void setApplicationInBackground(ProcessId pid, bool background);
// Whether process `pid`'s application is in the background.
bool applicationInBackground(ProcessId pid);

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
