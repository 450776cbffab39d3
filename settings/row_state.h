#pragma once
// The rows that another setting makes meaningless are greyed out: the four rows mirroring
// overrides, and whichever application list the all-applications switch does not use.

#include <objc/runtime.h>

namespace pane {

// Rows 3 to 6 of section 0: what mirroring Notification Center takes the effect away from.
inline constexpr long kFirstMirroringRow = 3;
inline constexpr long kLastMirroringRow = 6;
// Row 8 opens the white list, row 9 the black list (both in section 0).
inline constexpr long kWhiteListRow = 8;
inline constexpr long kBlackListRow = 9;

// Greys rows 3 to 6 (cell, both labels, switch) while `mirroring` is on; enables them otherwise.
void applyMirroringRule(id controller, bool mirroring);

// Makes the white-list row take touches only while `allApps` is off, the black-list row only
// while it is on; their selection style becomes none.
void applyAllAppsRule(id controller, bool allApps);

}  // namespace pane
