// UITableView: rows and cells from its data source, cell reuse, swipes with row actions, and
// selection.

#include "platform/uikit/uitableview.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>

#include "platform/foundation/nsarray.h"
#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/foundation/process.h"
#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/uikit/uitableviewcell.h"
#include "platform/uikit/uitableviewrowaction.h"
#include "platform/uikit/uiwindow.h"

namespace platform::uikit {
namespace {

using objc::Strong;

constexpr double kDefaultRowHeight = 44;

struct TableBody : ViewBody {
  ~TableBody() override;

  id self = nil;  // the table, once it has been swiped (the body cannot find it as it goes)
  long style = 0;
  id dataSource = nil;  // not retained
  id delegate = nil;    // not retained
  double rowHeight = kDefaultRowHeight;
  Strong wrapper;  // the view that holds the cells
  bool loaded = false;
  bool loading = false;
  bool reloadAgain = false;
  struct Row {
    Strong indexPath;
    Strong cell;
  };
  std::vector<Row> shown;                              // top first
  std::map<std::string, std::deque<Strong>> reusable;  // by reuse identifier, oldest first
  bool editing = false;
  Strong swipedPath;
  std::vector<Strong> swipedActions;
  std::uint64_t swipeOrder = 0;
  Strong selectedPath;
};

// The tables showing row actions, in the order they were swiped (not retained: a table leaves
// the list as it goes away).
std::vector<id>& swiped() {
  static auto* tables = new std::vector<id>();
  return *tables;
}

void forgetSwiped(id table) {
  auto& list = swiped();
  list.erase(std::remove(list.begin(), list.end(), table), list.end());
}

TableBody* tableBody(id object) {
  return objc::native<TableBody>(object);
}
TableBody& body(id self) {
  return *tableBody(self);
}

TableBody::~TableBody() {
  if (self) forgetSwiped(self);
}

std::string describe(id object) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<void*>(object));
  return std::string("<") + objc::className(object) + ": " + address + ">";
}

Class wrapperClass() {
  static Class cls =
      objc::deviceClass("UITableViewWrapperView", UIScrollViewClass(), [](objc::ClassBuilder&) {});
  return cls;
}

id wrapperOf(id self) {
  TableBody& b = body(self);
  if (!b.wrapper) {
    b.wrapper = makeView(wrapperClass(), sel::bounds(self));
    sel::insertSubview_atIndex(self, b.wrapper, 0);
  }
  return b.wrapper;
}

bool sameRow(id a, id b) {
  return a && b && sel::row(a) == sel::row(b) && sel::section(a) == sel::section(b);
}

bool rowExists(id self, id indexPath) {
  if (!indexPath) return false;
  long section = sel::section(indexPath);
  long row = sel::row(indexPath);
  return section >= 0 && section < sel::numberOfSections(self) && row >= 0 &&
         row < sel::numberOfRowsInSection(self, section);
}

// Closes the swiped row, telling the delegate.
void endSwipe(id self) {
  TableBody& b = body(self);
  if (!b.swipedPath) return;
  Strong path = std::move(b.swipedPath);
  b.swipedActions.clear();
  b.editing = false;
  forgetSwiped(self);
  const auto& news = sel::tableView_didEndEditingRowAtIndexPath;
  if (objc::respondsTo(b.delegate, news.sel())) news(b.delegate, self, path);
}

double heightOfRow(id self, id indexPath) {
  TableBody& b = body(self);
  const auto& question = sel::tableView_heightForRowAtIndexPath;
  if (objc::respondsTo(b.delegate, question.sel())) return question(b.delegate, self, indexPath);
  return b.rowHeight;
}

// Asks the data source for every row's cell, places the cells one below the other, then lays
// each out. The cells shown before wait in the reuse pool.
void loadCellsOnce(id self) {
  TableBody& b = body(self);
  std::vector<TableBody::Row> previous = std::move(b.shown);
  b.shown.clear();
  for (const auto& row : previous) {
    sel::removeFromSuperview(row.cell);
    if (id identifier = sel::reuseIdentifier(row.cell))
      b.reusable[utf8(identifier)].push_back(row.cell);
  }
  previous.clear();
  b.loaded = true;
  id source = b.dataSource;
  const auto& cellQuestion = sel::tableView_cellForRowAtIndexPath;
  if (!objc::respondsTo(source, cellQuestion.sel())) return;
  id wrapper = wrapperOf(self);
  double width = b.frame.size.width;
  double y = 0;
  long sections = sel::numberOfSections(self);
  for (long section = 0; section < sections; ++section) {
    long rows = sel::numberOfRowsInSection(self, section);
    for (long row = 0; row < rows; ++row) {
      Strong path = indexPath(row, section);
      Strong cell(cellQuestion(source, self, path));
      if (!objc::isKindOf(cell, UITableViewCellClass())) {
        NSException::raise(NSInternalInconsistencyException,
                           "UITableView (" + describe(self) +
                               ") failed to obtain a cell from its dataSource (" +
                               describe(source) + ")");
      }
      double height = heightOfRow(self, path);
      sel::setFrame(cell, CGRectMake(0, y, width, height));
      y += height;
      sel::addSubview(wrapper, cell);
      b.shown.push_back({path, cell});
    }
  }
  std::vector<TableBody::Row> laidOut = b.shown;  // a layout may reload the table
  for (const auto& row : laidOut) {
    viewBody(row.cell)->needsLayout = false;
    sel::layoutSubviews(row.cell);
  }
}

// Loads the cells, and once more when a reload was asked for meanwhile.
void loadCells(id self) {
  TableBody& b = body(self);
  if (b.loading) {
    b.reloadAgain = true;
    return;
  }
  struct Loading {
    TableBody& b;
    ~Loading() { b.loading = false; }
  } guard{b};
  b.loading = true;
  b.reloadAgain = false;
  loadCellsOnce(self);
  if (b.reloadAgain) {
    b.reloadAgain = false;
    loadCellsOnce(self);
  }
}

void ensureLoaded(id self) {
  if (!body(self).loaded && !body(self).loading) loadCells(self);
}

id initWithFrameStyle(id self, SEL, CGRect frame, long style) {
  TableBody& b = body(self);
  b.frame = frame;
  b.style = style;
  wrapperOf(self);
  return self;
}
id initWithFrame(id self, SEL, CGRect frame) {
  return sel::initWithFrame_style(self, frame, 0);
}
long style(id self, SEL) {
  return body(self).style;
}
id dataSource(id self, SEL) {
  return body(self).dataSource;
}
void setDataSource(id self, SEL, id source) {
  body(self).dataSource = source;
  body(self).loaded = false;
}
id delegate(id self, SEL) {
  return body(self).delegate;
}
void setDelegate(id self, SEL, id delegate) {
  body(self).delegate = delegate;
  body(self).loaded = false;
}
double rowHeight(id self, SEL) {
  return body(self).rowHeight;
}
void setRowHeight(id self, SEL, double height) {
  body(self).rowHeight = height;
}
long numberOfSections(id self, SEL) {
  id source = body(self).dataSource;
  if (!source) return 0;
  if (objc::respondsTo(source, sel::numberOfSectionsInTableView.sel()))
    return sel::numberOfSectionsInTableView(source, self);
  return 1;
}
long numberOfRowsInSection(id self, SEL, long section) {
  id source = body(self).dataSource;
  if (!source || section < 0 || section >= sel::numberOfSections(self)) return 0;
  return sel::tableView_numberOfRowsInSection(source, self, section);
}
void reloadData(id self, SEL) {
  endSwipe(self);
  body(self).selectedPath.reset();
  loadCells(self);
}
void layoutSubviews(id self, SEL) {
  if (body(self).wrapper) sel::setFrame(body(self).wrapper, sel::bounds(self));
  ensureLoaded(self);
}
id cellForRowAtIndexPath(id self, SEL, id indexPath) {
  ensureLoaded(self);
  for (const auto& row : body(self).shown) {
    if (sameRow(row.indexPath, indexPath)) return row.cell;
  }
  return nil;
}
id dequeueReusableCell(id self, SEL, id identifier) {
  if (!isString(identifier)) return nil;
  auto it = body(self).reusable.find(utf8(identifier));
  if (it == body(self).reusable.end() || it->second.empty()) return nil;
  Strong cell = std::move(it->second.front());
  it->second.pop_front();
  sel::prepareForReuse(cell);
  return objc::autorelease(cell.leak());
}
id indexPathForCell(id self, SEL, id cell) {
  ensureLoaded(self);
  for (const auto& row : body(self).shown) {
    if (row.cell.get() == cell) return row.indexPath;
  }
  return nil;
}
id visibleCells(id self, SEL) {
  ensureLoaded(self);
  Strong list = mutableArray();
  for (const auto& row : body(self).shown) sel::addObject(list, row.cell);
  return objc::autorelease(list.leak());
}
id indexPathsForVisibleRows(id self, SEL) {
  ensureLoaded(self);
  Strong list = mutableArray();
  for (const auto& row : body(self).shown) sel::addObject(list, row.indexPath);
  return objc::autorelease(list.leak());
}
void setEditingAnimated(id self, SEL, BOOL editing, BOOL) {
  endSwipe(self);
  body(self).editing = editing != NO;
}
void setEditing(id self, SEL, BOOL editing) {
  sel::setEditing_animated(self, editing, NO);
}
BOOL isEditing(id self, SEL) {
  return body(self).editing ? YES : NO;
}
id indexPathForSelectedRow(id self, SEL) {
  return body(self).selectedPath;
}
void deselectRow(id self, SEL, id indexPath, BOOL animated) {
  TableBody& b = body(self);
  if (!sameRow(b.selectedPath, indexPath)) return;
  b.selectedPath.reset();
  for (const auto& row : b.shown) {
    if (sameRow(row.indexPath, indexPath)) sel::setSelected_animated(row.cell, NO, animated);
  }
}

// A process that ends takes its swiped rows' actions with it (and their handlers' references).
void dropSwipesOf(ProcessId pid) {
  std::vector<id> tables = swiped();
  for (id table : tables) {
    TableBody& b = body(table);
    if (b.process != pid) continue;
    b.swipedPath.reset();
    b.swipedActions.clear();
    b.editing = false;
    forgetSwiped(table);
  }
}

}  // namespace

Class UIScrollViewClass() {
  static Class cls = objc::deviceClass("UIScrollView", UIViewClass(), [](objc::ClassBuilder&) {});
  return cls;
}

Class UITableViewClass() {
  static Class cls =
      objc::deviceClass("UITableView", UIScrollViewClass(), [](objc::ClassBuilder& b) {
        static int exitToken = onProcessExit(dropSwipesOf);
        (void)exitToken;
        b.body<TableBody>()
            .method(sel::initWithFrame, initWithFrame)
            .method(sel::initWithFrame_style, initWithFrameStyle)
            .method(sel::style, style)
            .method(sel::dataSource, dataSource)
            .method(sel::setDataSource, setDataSource)
            .method(sel::delegate, delegate)
            .method(sel::setDelegate, setDelegate)
            .method(sel::rowHeight, rowHeight)
            .method(sel::setRowHeight, setRowHeight)
            .method(sel::numberOfSections, numberOfSections)
            .method(sel::numberOfRowsInSection, numberOfRowsInSection)
            .method(sel::reloadData, reloadData)
            .method(sel::layoutSubviews, layoutSubviews)
            .method(sel::cellForRowAtIndexPath, cellForRowAtIndexPath)
            .method(sel::dequeueReusableCellWithIdentifier, dequeueReusableCell)
            .method(sel::indexPathForCell, indexPathForCell)
            .method(sel::visibleCells, visibleCells)
            .method(sel::indexPathsForVisibleRows, indexPathsForVisibleRows)
            .method(sel::setEditing_animated, setEditingAnimated)
            .method(sel::setEditing, setEditing)
            .method(sel::isEditing, isEditing)
            .method(sel::indexPathForSelectedRow, indexPathForSelectedRow)
            .method(sel::deselectRowAtIndexPath_animated, deselectRow);
      });
  return cls;
}

std::vector<ShownTableRow> shownRows(id table) {
  std::vector<ShownTableRow> rows;
  if (TableBody* b = tableBody(table)) {
    for (const auto& row : b->shown) rows.push_back({row.indexPath, row.cell});
  }
  return rows;
}

std::vector<Strong> swipeRow(id table, id path) {
  TableBody* b = tableBody(table);
  if (!b || !rowExists(table, path)) return {};
  const auto& canEdit = sel::tableView_canEditRowAtIndexPath;
  if (objc::respondsTo(b->dataSource, canEdit.sel()) && !canEdit(b->dataSource, table, path))
    return {};
  Strong keep(table);
  Strong row(path);
  std::vector<Strong> actions;
  const auto& question = sel::tableView_editActionsForRowAtIndexPath;
  if (objc::respondsTo(b->delegate, question.sel())) {
    for (const Strong& a : arrayElements(question(b->delegate, table, row))) {
      if (objc::isKindOf(a, UITableViewRowActionClass())) actions.push_back(a);
    }
  }
  if (actions.empty()) return {};
  endSwipe(table);
  const auto& news = sel::tableView_willBeginEditingRowAtIndexPath;
  if (objc::respondsTo(b->delegate, news.sel())) news(b->delegate, table, row);
  b->self = table;
  b->editing = true;
  b->swipedPath = row;
  b->swipedActions = actions;
  b->swipeOrder = nextStackingOrder();
  swiped().push_back(table);
  return actions;
}

id swipedRowIndexPath(id table) {
  TableBody* b = tableBody(table);
  return b ? b->swipedPath.get() : nil;
}

std::vector<id> swipedRowActions(id table) {
  std::vector<id> actions;
  if (TableBody* b = tableBody(table)) {
    for (const Strong& a : b->swipedActions) actions.push_back(a);
  }
  return actions;
}

std::vector<id> swipedTables() {
  return swiped();
}

std::uint64_t swipeStackingOrder(id table) {
  TableBody* b = tableBody(table);
  return b ? b->swipeOrder : 0;
}

std::string tapRowAction(id table, std::size_t index) {
  TableBody* b = tableBody(table);
  if (!b) return "not a table view";
  if (!b->swipedPath) return "no row of the table is swiped";
  if (index >= b->swipedActions.size()) {
    std::size_t count = b->swipedActions.size();
    return "the swiped row shows " + std::to_string(count) +
           (count == 1 ? " row action, not " : " row actions, not ") + std::to_string(index + 1);
  }
  Strong keep(table);
  Strong action = b->swipedActions[index];
  Strong path = b->swipedPath;
  runRowActionHandler(action, path);
  return "";
}

std::string selectRow(id table, id path) {
  TableBody* b = tableBody(table);
  if (!b) return "not a table view";
  Strong keep(table);
  if (b->swipedPath) {
    sel::setEditing_animated(table, NO, YES);
    return "";
  }
  if (!rowExists(table, path)) return "the table has no such row";
  id touched = sel::cellForRowAtIndexPath(table, path);
  if (objc::respondsTo(touched, sel::isUserInteractionEnabled.sel()) &&
      !sel::isUserInteractionEnabled(touched))
    return "the row takes no touches";
  Strong chosen(path);
  const auto& redirect = sel::tableView_willSelectRowAtIndexPath;
  if (objc::respondsTo(b->delegate, redirect.sel())) {
    chosen = redirect(b->delegate, table, chosen);
    if (!chosen) return "";
  }
  b->selectedPath = chosen;
  if (id cell = sel::cellForRowAtIndexPath(table, chosen)) sel::setSelected_animated(cell, YES, NO);
  const auto& news = sel::tableView_didSelectRowAtIndexPath;
  if (objc::respondsTo(b->delegate, news.sel())) news(b->delegate, table, chosen);
  return "";
}

}  // namespace platform::uikit
