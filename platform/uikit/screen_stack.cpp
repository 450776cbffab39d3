#include "platform/uikit/screen_stack.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "platform/foundation/nsindexpath.h"
#include "platform/foundation/nsstring.h"
#include "platform/uikit/uialertview.h"
#include "platform/uikit/uiapplication.h"
#include "platform/uikit/uiimage.h"
#include "platform/uikit/uilabel.h"
#include "platform/uikit/uinavigationcontroller.h"
#include "platform/uikit/uitableviewcell.h"
#include "platform/uikit/uitableviewrowaction.h"
#include "platform/uikit/uiviewcontroller.h"
#include "platform/uikit/uiwindow.h"

namespace platform::uikit {
namespace {

// Where a layer stacks: its level, its group (the window it is in, or its own showing), and its
// place within the group.
using StackKey = std::tuple<double, std::uint64_t, std::uint64_t>;

struct Placed {
  StackKey key;
  ScreenLayer layer;
};

std::string text(id label) {
  return utf8(sel::text(label));
}

// The controller a person sees for `controller`: a navigation controller's top one.
id shownController(id controller) {
  if (objc::isKindOf(controller, UINavigationControllerClass())) {
    if (id top = sel::topViewController(controller)) return top;
  }
  return controller;
}

void describeController(id controller, ScreenLayer& layer) {
  layer.controller = controller;
  id shown = shownController(controller);
  id navigationTitle = sel::title(sel::navigationItem(shown));
  layer.title = utf8(navigationTitle ? navigationTitle : sel::title(shown));
  if (shown != controller) {
    id item = sel::navigationItem(shown);
    for (id button : {sel::leftBarButtonItem(item), sel::rightBarButtonItem(item)}) {
      if (button) layer.buttons.push_back({barButtonShownTitle(button), button});
    }
  }
  if (!sel::isViewLoaded(controller)) return;
  forEachViewInTree(sel::view(controller), [&](id view) {
    if (!objc::isKindOf(view, UITableViewClass())) return;
    for (const ShownTableRow& row : shownRows(view)) {
      ScreenTableRow shownRow{
          sel::section(row.indexPath), sel::row(row.indexPath), "", "", "", row.cell, view};
      shownRow.text = text(sel::textLabel(row.cell));
      shownRow.detail = text(sel::detailTextLabel(row.cell));
      shownRow.iconBundleIdentifier = imageBundleIdentifier(sel::image(sel::imageView(row.cell)));
      layer.rows.push_back(std::move(shownRow));
    }
  });
}

// The key of what sits in `view`'s window, shown at `order`; false when that window is hidden.
bool keyInWindowOf(id view, std::uint64_t order, StackKey* key, id* window) {
  *window = sel::window(view);
  if (!*window) {
    *key = {UIWindowLevelNormal, order, 0};
    return true;
  }
  if (sel::isHidden(*window)) return false;
  *key = {sel::windowLevel(*window), windowShownOrder(*window), order};
  return true;
}

void addWindows(std::vector<Placed>& placed) {
  for (id window : shownWindows()) {
    double level = sel::windowLevel(window);
    std::uint64_t order = windowShownOrder(window);
    ProcessId process = viewBody(window)->process;
    std::vector<id> controllers = controllersShownIn(window);
    ScreenLayer base;
    base.kind = ScreenLayerKind::Window;
    base.object = window;
    base.window = window;
    base.process = process;
    base.level = level;
    base.secure = windowIsSecure(window);
    base.keyWindow = keyWindowOf(process) == window;
    if (!controllers.empty()) describeController(controllers.front(), base);
    placed.push_back({{level, order, 0}, std::move(base)});
    for (std::size_t i = 1; i < controllers.size(); ++i) {
      ScreenLayer layer;
      layer.kind = ScreenLayerKind::PresentedController;
      layer.object = controllers[i];
      layer.window = window;
      layer.process = process;
      layer.level = level;
      describeController(controllers[i], layer);
      placed.push_back({{level, order, presentationStackingOrder(controllers[i])}, layer});
    }
  }
}

void addSwipedRows(std::vector<Placed>& placed) {
  for (id table : swipedTables()) {
    ScreenLayer layer;
    StackKey key;
    if (!keyInWindowOf(table, swipeStackingOrder(table), &key, &layer.window)) continue;
    layer.kind = ScreenLayerKind::SwipedRow;
    layer.object = table;
    layer.process = viewBody(table)->process;
    layer.level = std::get<0>(key);
    layer.indexPath = swipedRowIndexPath(table);
    for (id action : swipedRowActions(table))
      layer.buttons.push_back({utf8(sel::title(action)), action});
    placed.push_back({key, std::move(layer)});
  }
}

void addModals(std::vector<Placed>& placed) {
  for (const ShownModal& shown : shownModals()) {
    ModalBody* b = modalBody(shown.object);
    ScreenLayer layer;
    StackKey key{UIWindowLevelAlert, shown.stackingOrder, 0};
    if (b->kind == ModalKind::Sheet) {
      if (!keyInWindowOf(shown.hostView, shown.stackingOrder, &key, &layer.window)) continue;
      layer.kind = ScreenLayerKind::Sheet;
    } else {
      layer.kind = ScreenLayerKind::Alert;
      layer.message = utf8(sel::message(shown.object));
      layer.accessoryView = alertAccessoryView(shown.object);
    }
    layer.object = shown.object;
    layer.process = shown.process;
    layer.level = std::get<0>(key);
    layer.title = utf8(b->title);
    for (const objc::Strong& title : b->buttonTitles) layer.buttons.push_back({utf8(title), nil});
    layer.cancelButtonIndex = b->cancelButtonIndex;
    placed.push_back({key, std::move(layer)});
  }
}

}  // namespace

std::vector<ScreenLayer> screenStack() {
  std::vector<Placed> placed;
  addWindows(placed);
  addSwipedRows(placed);
  addModals(placed);
  std::erase_if(placed, [](const Placed& p) { return applicationInBackground(p.layer.process); });
  std::stable_sort(placed.begin(), placed.end(),
                   [](const Placed& a, const Placed& b) { return a.key < b.key; });
  std::vector<ScreenLayer> layers;
  for (Placed& p : placed) layers.push_back(std::move(p.layer));
  return layers;
}

}  // namespace platform::uikit
