#pragma once
// PSSpecifier: one row of a Settings pane, or the group that starts a section, as a specifier
// list describes it: its cell type, its label and its properties ("key", "default", "defaults",
// "PostNotification", "id", "detail", "footerText" and any other the list gives).

#include <string_view>

#include "platform/dispatch/notification.h"  // name
#include "platform/objc/object.h"

namespace platform::preferences {

// The class "PSSpecifier", created on first use.
Class PSSpecifierClass();

// The framework's cell types, as specifier lists name them ("PSSwitchCell").
enum PSCellType : long {
  PSGroupCell = 0,
  PSLinkCell = 1,
  PSLinkListCell = 2,
  PSListItemCell = 3,
  PSTitleValueCell = 4,
  PSSliderCell = 5,
  PSSwitchCell = 6,
  PSStaticTextCell = 7,
  PSEditTextCell = 8,
  PSSegmentCell = 9,
  PSGiantIconCell = 10,
  PSGiantCell = 11,
  PSSecureEditTextCell = 12,
  PSButtonCell = 13,
  PSEditTextViewCell = 14,
};

// The cell type a specifier list names `name` by, or -1 for a name the framework does not know.
long cellTypeNamed(std::string_view name);

// A new specifier of `cellType` labelled `label` (an NSString or nil), without properties.
objc::Strong makeSpecifier(id label, long cellType);

}  // namespace platform::preferences

namespace sel {
using platform::objc::Selector;
// The property stored under `key` (an NSString), nil when none; setting nil removes it.
inline const Selector<id(id)> propertyForKey{"propertyForKey:"};
inline const Selector<void(id, id)> setProperty_forKey{"setProperty:forKey:"};
inline const Selector<void(id)> removePropertyForKey{"removePropertyForKey:"};
// A new dictionary of every property.
inline const Selector<id()> properties{"properties"};
// The specifier's identifier: its "id" property when that is a string, else its label.
inline const Selector<id()> identifier{"identifier"};
inline const Selector<void(id)> setIdentifier{"setIdentifier:"};
// The label the row shows (copied in), nil when none: `name` (as a notification's name is
// read) and its setter.
inline const Selector<void(id)> setName{"setName:"};
// The cell type (PSCellType).
inline const Selector<long()> cellType{"cellType"};
inline const Selector<void(long)> setCellType{"setCellType:"};
}  // namespace sel
