#pragma once
// UITableView (a UIScrollView): rows in sections, whose counts and cells it asks its data source
// for, and whose swipes and selections it tells its delegate of. It holds both weakly (not
// retained), as UIKit does.
//
// What the table shows: every row, one below the other, each as the cell the data source's
// tableView:cellForRowAtIndexPath: gave (the device does not scroll, so every row is visible).
// The cells sit in a wrapper view inside the table, so a cell's superview is not the table
// itself. The table asks for its cells the first time it is laid out or asked about them, and
// again on every reloadData; each time it places them and then sends each its layoutSubviews,
// as UIKit lays out the cells it shows. Cells shown before go to the table's reuse pool, from
// which dequeueReusableCellWithIdentifier: hands them out again. Row counts are asked of the
// data source on every question (the device keeps no row cache). A data source without
// tableView:cellForRowAtIndexPath: gives rows without cells.
//
// A swipe shows the row actions the delegate's tableView:editActionsForRowAtIndexPath: gives;
// the table is then editing, and setEditing:animated: NO (or another swipe, a selection or a
// reload) closes the row.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/objc/object.h"
#include "platform/uikit/common_selectors.h"
#include "platform/uikit/geometry.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {

// The classes "UIScrollView" and "UITableView", created on first use.
Class UIScrollViewClass();
Class UITableViewClass();

// One row the table shows: its index path and its cell (both owned by the table).
struct ShownTableRow {
  id indexPath;
  id cell;
};
// The rows `table` shows now, top first, as last loaded (nothing is asked of the data source);
// empty for anything that is not a table.
std::vector<ShownTableRow> shownRows(id table);

// The user swipes the row at `indexPath`: the delegate's row actions for it are shown and the
// table is editing. Returns the actions shown, in order; none when the row does not exist, the
// data source's tableView:canEditRowAtIndexPath: answers NO, or the delegate offers none (the
// table is then left as it was).
std::vector<objc::Strong> swipeRow(id table, id indexPath);
// The row that shows row actions (nil when none) and the actions it shows.
id swipedRowIndexPath(id table);
std::vector<id> swipedRowActions(id table);
// The tables that show row actions now, in the order they were swiped.
std::vector<id> swipedTables();
// The stacking order of the table's swipe (platform/uikit/uiwindow.h's nextStackingOrder).
std::uint64_t swipeStackingOrder(id table);
// The user taps the `index`th row action of the swiped row: its handler runs with the action
// and the row's index path. Returns "" or why nothing ran.
std::string tapRowAction(id table, std::size_t index);

// The user taps the row at `indexPath`: it becomes selected and the delegate's
// tableView:didSelectRowAtIndexPath: runs (tableView:willSelectRowAtIndexPath: may redirect it
// or, answering nil, stop it). On a table that shows row actions the tap only closes the swiped
// row. A row whose cell takes no touches (isUserInteractionEnabled NO) is not selected. Returns
// "" or why nothing happened.
std::string selectRow(id table, id indexPath);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// UITableView. initWithFrame: makes a plain table (style 0; 1 is grouped).
inline const Selector<id(CGRect, long)> initWithFrame_style{"initWithFrame:style:"};
inline const Selector<id()> dataSource{"dataSource"};
inline const Selector<void(id)> setDataSource{"setDataSource:"};
// The height of rows the delegate gives none for (44 until set).
inline const Selector<double()> rowHeight{"rowHeight"};
inline const Selector<void(double)> setRowHeight{"setRowHeight:"};
// The data source's section count (1 when it does not say; 0 without a data source) and a
// section's row count (0 for a section that does not exist).
inline const Selector<long()> numberOfSections{"numberOfSections"};
inline const Selector<long(long)> numberOfRowsInSection{"numberOfRowsInSection:"};
// Asks for every cell again: the shown cells go to the reuse pool first; the selection and a
// swiped row end. Asked for while the cells are being laid out, it runs once they are (once,
// however often it was asked).
inline const Selector<void()> reloadData{"reloadData"};
// The cell shown at the index path, nil when the row shows none.
inline const Selector<id(id)> cellForRowAtIndexPath{"cellForRowAtIndexPath:"};
// A cell shown before with this identifier (sent prepareForReuse), nil when none waits.
inline const Selector<id(id)> dequeueReusableCellWithIdentifier{
    "dequeueReusableCellWithIdentifier:"};
// The index path of a cell the table shows, nil for any other.
inline const Selector<id(id)> indexPathForCell{"indexPathForCell:"};
// New arrays of the cells shown and of their index paths, top first.
inline const Selector<id()> visibleCells{"visibleCells"};
inline const Selector<id()> indexPathsForVisibleRows{"indexPathsForVisibleRows"};
// Editing mode; turning it off closes a swiped row. setEditing: is setEditing:animated: NO.
inline const Selector<void(BOOL, BOOL)> setEditing_animated{"setEditing:animated:"};
inline const Selector<void(BOOL)> setEditing{"setEditing:"};
inline const Selector<BOOL()> isEditing{"isEditing"};
// The selected row (nil when none), and deselecting it.
inline const Selector<id()> indexPathForSelectedRow{"indexPathForSelectedRow"};
inline const Selector<void(id, BOOL)> deselectRowAtIndexPath_animated{
    "deselectRowAtIndexPath:animated:"};

// The data source's questions (the last four optional).
inline const Selector<long(id, long)> tableView_numberOfRowsInSection{
    "tableView:numberOfRowsInSection:"};
inline const Selector<id(id, id)> tableView_cellForRowAtIndexPath{
    "tableView:cellForRowAtIndexPath:"};
inline const Selector<long(id)> numberOfSectionsInTableView{"numberOfSectionsInTableView:"};
inline const Selector<BOOL(id, id)> tableView_canEditRowAtIndexPath{
    "tableView:canEditRowAtIndexPath:"};
// A section's header and footer titles (optional; the device's table shows them through the
// data source, which readers of the screen ask).
inline const Selector<id(id, long)> tableView_titleForHeaderInSection{
    "tableView:titleForHeaderInSection:"};
inline const Selector<id(id, long)> tableView_titleForFooterInSection{
    "tableView:titleForFooterInSection:"};

// The delegate's questions and news (all optional).
inline const Selector<double(id, id)> tableView_heightForRowAtIndexPath{
    "tableView:heightForRowAtIndexPath:"};
inline const Selector<id(id, id)> tableView_editActionsForRowAtIndexPath{
    "tableView:editActionsForRowAtIndexPath:"};
inline const Selector<void(id, id)> tableView_willBeginEditingRowAtIndexPath{
    "tableView:willBeginEditingRowAtIndexPath:"};
inline const Selector<void(id, id)> tableView_didEndEditingRowAtIndexPath{
    "tableView:didEndEditingRowAtIndexPath:"};
inline const Selector<id(id, id)> tableView_willSelectRowAtIndexPath{
    "tableView:willSelectRowAtIndexPath:"};
inline const Selector<void(id, id)> tableView_didSelectRowAtIndexPath{
    "tableView:didSelectRowAtIndexPath:"};
}  // namespace sel
