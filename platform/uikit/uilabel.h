#pragma once
// UILabel: a view that shows one text in one colour, dimmed while not enabled.

#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"

namespace platform::uikit {

// The class "UILabel", created on first use.
Class UILabelClass();

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// The text shown (an NSString copied in; nil for none).
inline const Selector<id()> text{"text"};
inline const Selector<void(id)> setText{"setText:"};
// The text's colour: black until set; setting nil restores black.
inline const Selector<id()> textColor{"textColor"};
inline const Selector<void(id)> setTextColor{"setTextColor:"};
// Whether the label is drawn enabled (YES until set): isEnabled and setEnabled: of
// platform/uikit/common_selectors.h.
}  // namespace sel
