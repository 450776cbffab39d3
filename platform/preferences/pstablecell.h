#pragma once
// PSTableCell and PSSwitchTableCell: the cells a Settings pane shows its rows in. A cell knows
// the specifier of its row (retained) and shows the row's label and value; a switch row's cell
// carries a UISwitch as its control.

#include "platform/objc/object.h"

namespace platform::preferences {

// The classes "PSTableCell" (a UITableViewCell) and "PSSwitchTableCell" (a PSTableCell),
// created on first use.
Class PSTableCellClass();
Class PSSwitchTableCellClass();

// A new cell for `specifier` of the class and style its cell type calls for (a switch cell for
// PSSwitchCell, a value cell for PSTitleValueCell, a plain one otherwise), labelled with the
// specifier's name; link rows show the disclosure mark.
objc::Strong makeCellForSpecifier(id specifier);

}  // namespace platform::preferences

namespace sel {
using platform::objc::Selector;
// PSTableCell. The designated initialiser: a cell of `style` (UITableViewCellStyle) for
// `specifier`.
inline const Selector<id(long, id, id)> initWithStyle_reuseIdentifier_specifier{
    "initWithStyle:reuseIdentifier:specifier:"};
inline const Selector<id()> specifier{"specifier"};
inline const Selector<void(id)> setSpecifier{"setSpecifier:"};
// The cell's type (the specifier's PSCellType when it was made).
inline const Selector<long()> type{"type"};
// The control the row is worked with: a switch cell's UISwitch, nil for other cells.
inline const Selector<id()> control{"control"};
// The value the cell shows (retained): a switch cell turns its switch on for a value whose
// boolValue is YES (off for nil or a value without one); a title-value cell shows it as text in
// its detail label.
inline const Selector<id()> value{"value"};
inline const Selector<void(id)> setValue{"setValue:"};
}  // namespace sel
