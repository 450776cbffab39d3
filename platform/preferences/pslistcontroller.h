#pragma once
// PSListController (a PSViewController): a Settings pane whose rows are its specifiers, shown
// in a grouped table it is the data source and delegate of. Subclasses (a bundle's pane) give
// the specifiers, usually from a specifier list of their bundle, and may override how values
// are read and written; every read and write goes through a send, so overrides apply.
//
// Rows: a PSGroupCell specifier starts a section (its label is the section's header, its
// "footerText" the footer) and is no row; rows before the first group form a section of their
// own. The controller hands out ONE cell per specifier, the same object each time: made on the
// first ask (the cache entry exists before its value is read, so a read may ask for other rows'
// cells, or its own, again), then, for a row with a "key", its value read with
// readPreferenceValue: and shown. The cache lives as long as the specifiers do; what a pane
// changes on a cell (touches, enabled labels, its switch) stays until the pane changes it back.
//
// A user's flip of a switch row sends setPreferenceValue:specifier: to the controller with an
// NSNumber boolean. A tap on a link row whose "detail" names a controller class makes one
// (initForContentSize:, or init for a class without it), gives it the row's specifier with
// setSpecifier: and pushes it on the navigation controller the pane is in.

#include "platform/objc/object.h"
#include "platform/preferences/psviewcontroller.h"

namespace platform::preferences {

// The class "PSListController", created on first use.
Class PSListControllerClass();

// The specifier of row `row` in section `section` of `controller`'s rows (nil when there is no
// such row).
id specifierAtRow(id controller, long section, long row);

}  // namespace platform::preferences

namespace sel {
using platform::objc::Selector;
// The specifiers, the `_specifiers` instance variable (nil until a subclass or
// setSpecifiers: fills it). setSpecifiers: also forgets every cached cell and reloads the table.
inline const Selector<id()> specifiers{"specifiers"};
inline const Selector<void(id)> setSpecifiers{"setSpecifiers:"};
// A new array of the specifiers in the list `name` (an NSString, without ".plist") of the bundle
// the receiver's class was loaded from; its "title" becomes the controller's title. An empty
// array when the class comes from no bundle or the list cannot be read (the log says why).
// `target` is the object the rows belong to; the device reads and writes through the receiver.
inline const Selector<id(id, id)> loadSpecifiersFromPlistName_target{
    "loadSpecifiersFromPlistName:target:"};
// The first specifier whose identifier equals `identifier`, nil when none.
inline const Selector<id(id)> specifierForID{"specifierForID:"};
// The table the rows are shown in (made with the view), nil before the view loads.
inline const Selector<id()> table{"table"};
// Reads every keyed row's value again through readPreferenceValue: (making the cells not made
// yet) and shows it in the row's cell, then reloads the table. Nothing else on a cell changes.
inline const Selector<void()> reload{"reload"};
// The value row `specifier` shows: the entry under its "key" in the property-list file of its
// "defaults" domain (/var/mobile/Library/Preferences/DOMAIN.plist), else its "default"; nil for
// a row without a key.
inline const Selector<id(id)> readPreferenceValue{"readPreferenceValue:"};
// Stores `value` under the row's "key" in its "defaults" domain's file (re-read first, written
// whole and atomically; nil removes the key), then posts the row's "PostNotification" (a Darwin
// notification), if any. A row without a key changes nothing; a file that cannot be written is
// logged and nothing is posted.
inline const Selector<void(id, id)> setPreferenceValue_specifier{"setPreferenceValue:specifier:"};
}  // namespace sel
