#pragma once
// The two record kinds the stores hold. A kept-item entry is a mutable dictionary with one key,
// "bulletin", holding the lock-screen list item. A reminder entry is a mutable dictionary with
// "fireDate", "title", "sectionID" and "bulletin" (the archived bulletin).

#include <string>
#include <string_view>

#include "platform/objc/strong.h"

namespace tarrow8 {

inline constexpr const char* kEntryBulletin = "bulletin";
inline constexpr const char* kEntryFireDate = "fireDate";
inline constexpr const char* kEntryTitle = "title";
inline constexpr const char* kEntrySectionID = "sectionID";

// A new kept-item entry holding `listItem` (already a copy, or a newly made item).
platform::objc::Strong makeKeptItemEntry(id listItem);

// A new reminder entry. REQUIRES: every argument is non-nil.
platform::objc::Strong makeReminderEntry(id fireDate, id title, id sectionID, id archivedBulletin);

// The title a reminder shows for a bulletin: its title if not empty, else its subtitle if not
// empty, else the first 59 UTF-16 units of its message (fewer when the message is shorter, and
// never half of a surrogate pair), else "".
std::u16string reminderTitle(std::u16string_view title, std::u16string_view subtitle,
                             std::u16string_view message);

}  // namespace tarrow8
