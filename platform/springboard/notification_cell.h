#pragma once
// SBNotificationCell: the cell both SpringBoard lists show a bulletin in, with its title in the
// `primaryLabel` and its message in the detail label.

#include "platform/objc/object.h"

namespace platform::springboard {

// The class "SBNotificationCell", created on first use.
Class SBNotificationCellClass();

// The reuse identifier SpringBoard's lists give their cells.
inline constexpr const char* kNotificationCellIdentifier = "SBNotificationCell";

// A cell of `table` for `bulletin` (a reused one when the table has one): its primary label
// shows the title (or the application when there is none), its detail label the message.
id notificationCellFor(id table, id bulletin);

}  // namespace platform::springboard

namespace platform::springboard::sbsel {
using objc::Selector;
inline const Selector<id()> primaryLabel{"primaryLabel"};
}  // namespace platform::springboard::sbsel
