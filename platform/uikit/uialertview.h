#pragma once
// UIAlertView: a titled message with buttons, shown above everything at the alert window level,
// optionally with an accessory view (set through key-value coding under "accessoryView") below
// its message. Its buttons, delegate, showing and dismissal are those of
// platform/uikit/alert_presentation.h; the delegate hears alertView:...ButtonIndex: news.

#include "platform/objc/object.h"
#include "platform/uikit/alert_presentation.h"

namespace platform::uikit {

// The class "UIAlertView", created on first use.
Class UIAlertViewClass();

// The view `alert` shows below its message (nil when none or not an alert).
id alertAccessoryView(id alert);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// An alert with `title`, `message` and `delegate` (not retained) whose buttons are the cancel
// button (index 0), then the other button, each only when its title is not nil. The platform's
// form takes a nil-terminated list of other titles; this C++ form takes at most one (pass nil
// for none) and further buttons come from addButtonWithTitle:.
inline const Selector<id(id, id, id, id, id)>
    initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles{
        "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"};
inline const Selector<id()> message{"message"};
inline const Selector<void(id)> setMessage{"setMessage:"};
// Shows the alert above what is shown; one already shown stays as it is.
inline const Selector<void()> show{"show"};
// Key-value coding: "accessoryView" is the accessory view (retained). Any other key reaches the
// object-typed accessor of that name (setKey: / key) when there is one, and raises
// NSUnknownKeyException when there is none.
inline const Selector<void(id, id)> setValue_forKey{"setValue:forKey:"};
inline const Selector<id(id)> valueForKey{"valueForKey:"};
}  // namespace sel
