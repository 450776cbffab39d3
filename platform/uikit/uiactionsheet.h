#pragma once
// UIActionSheet: a titled list of buttons shown over a view, one of which may be the cancel
// button. Its buttons, delegate, showing and dismissal are those of
// platform/uikit/alert_presentation.h; the delegate hears actionSheet:...ButtonIndex: news.

#include "platform/objc/object.h"
#include "platform/uikit/alert_presentation.h"

namespace platform::uikit {

// The class "UIActionSheet", created on first use.
Class UIActionSheetClass();

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// A sheet with `title` and `delegate` (not retained) whose buttons are, in order, the
// destructive button, the other button, then the cancel button, each only when its title is not
// nil. The platform's form takes a nil-terminated list of other titles; this C++ form takes at
// most one (pass nil for none) and further buttons come from addButtonWithTitle:.
inline const Selector<id(id, id, id, id, id)>
    initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles{
        "initWithTitle:delegate:cancelButtonTitle:destructiveButtonTitle:otherButtonTitles:"};
// The destructive button's index, -1 when there is none.
inline const Selector<long()> destructiveButtonIndex{"destructiveButtonIndex"};
// Shows the sheet over `view`, above what is shown there; a sheet already shown stays as it is.
// A nil view raises NSInternalInconsistencyException, as UIKit's assertion does.
inline const Selector<void(id)> showInView{"showInView:"};
}  // namespace sel
