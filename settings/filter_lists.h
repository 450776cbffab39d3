#pragma once
// The white-list and black-list rows of the pane open lists of the installed applications; each
// list is described by two sections, the applications marked in the settings and the others.

#include <string>

#include "platform/objc/strong.h"

namespace pane {

// Both prefixes are ten characters long: the bundle identifier starts at character 10.
inline constexpr const char* kWhiteListPrefix = "Whitelist-";
inline constexpr const char* kBlackListPrefix = "Blacklist-";
inline constexpr const char* kWhiteListRowID = "NSAppWhiteList";
inline constexpr const char* kBlackListRowID = "NSAppBlackList";

// The bundle identifiers marked under `prefix` in paneSettings, each in single quotes and
// separated by commas ('a','b'), in the dictionary's order; "" when none is marked. Keys whose
// value has no true boolean reading are left out, and so are identifiers holding a quote or a
// backslash, which no bundle identifier has and which would break the list's predicate.
platform::objc::Strong markedIdentifierSet(const char* prefix);

// The two section descriptors of a list, marked applications first.
platform::objc::Strong sectionDescriptors(const char* prefix, const char* markedTitle,
                                          const char* unmarkedTitle);

// Gives the white-list and black-list rows of `controller`'s specifiers their section
// descriptors; a row that is missing is skipped.
void describeApplicationLists(id controller);

}  // namespace pane
