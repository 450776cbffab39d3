#pragma once
// The reminder marker: a blue dot left of a notification cell's title while its bulletin has a
// reminder.

#include <objc/objc.h>

namespace tarrow8 {

inline constexpr long kMarkerTag = 26425;

// SBNotificationCell layoutSubviews: shows or hides the cell's marker, making it the first time.
void notificationCellLayoutSubviews(id self, SEL cmd);

}  // namespace tarrow8
