#pragma once
// The application filter: whether bulletins of an application may be kept, from the white or
// black list that `enableAllApps` selects. Shared by lock-screen capture and by Notification
// Center mirroring.

#include <objc/objc.h>

namespace tarrow8 {

// With `enableAllApps` on, true unless "Blacklist-<sectionID>" holds a true value; with it off,
// true only when "Whitelist-<sectionID>" holds a true value. A nil or non-string sectionID
// counts as the empty identifier; a value without a boolean reading counts as absent.
bool passesCaptureFilter(id sectionID);

}  // namespace tarrow8
