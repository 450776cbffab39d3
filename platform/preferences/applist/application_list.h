#pragma once
// The application-list library's list: ALApplicationListController (a PSViewController) shows
// the phone's installed applications, each as an ALCheckCell (a UITableViewCell) with its icon
// and a check mark, in the sections its specifier describes. A link row opens it by naming it
// in its "detail"; it reads these properties of the row's specifier:
//   "ALSectionDescriptors"  an array of dictionaries, one per section, in order: "title",
//                           "predicate" (platform/preferences/applist/bundle_predicate.h; absent:
//                           every application), "cell-class-name" ("ALCheckCell"),
//                           "icon-size" (points, a string or a number; absent: no icon) and
//                           "suppress-hidden-apps" (true leaves hidden applications out)
//   "ALSettingsPath"        the device path of the settings file the check marks live in
//   "ALSettingsKeyPrefix"   put before a bundle identifier to make its key ("Whitelist-")
//   "ALSettingsDefaultValue" the mark of an application without a key (false when absent)
//   "ALChangeNotification"  a Darwin notification posted after each change is written
// Applications are sorted by name. A tap on a row turns its mark over: the file is read again,
// the key set to a boolean and the whole file written atomically, then the notification posted.
// What the list cannot do (a predicate it cannot read, a cell class it does not have, a write
// that fails) it logs and keeps as a problem; such a section shows nothing, and a failed write
// leaves the mark as it was and posts nothing.

#include <string>
#include <vector>

#include "platform/objc/object.h"

namespace platform::preferences {

// The classes "ALApplicationListController" and "ALCheckCell", created on first use.
Class ALApplicationListControllerClass();
Class ALCheckCellClass();

// The bundle identifier of the application at `row` of `section` in the list `controller`
// shows; "" when there is none.
std::string applicationListBundleIdentifier(id controller, long section, long row);
// What the list `controller` could not do, oldest first.
std::vector<std::string> applicationListProblems(id controller);

}  // namespace platform::preferences
