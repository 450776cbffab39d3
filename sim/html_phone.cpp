// The whole screen of the phone after a step: the lock screen or the home screen, Notification
// Center over it, then what UIKit stacks above (windows, controllers, sheets and alerts), each
// drawn by its own screen kind's function.

#include "platform/foundation/nsindexpath.h"
#include "platform/objc/object.h"
#include "platform/preferences/settings_app.h"
#include "platform/springboard/notification_cell.h"
#include "platform/springboard/notification_center.h"
#include "platform/springboard/springboard_host.h"
#include "platform/springboard/springboard_ui.h"
#include "platform/uikit/uicolor.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uiview.h"
#include "platform/uikit/uiviewcontroller.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"
#include "sim/screens.h"

namespace sim {
namespace {

namespace sb = platform::springboard;
namespace uikit = platform::uikit;
using uikit::ScreenLayer;
using uikit::ScreenLayerKind;

// The tables SpringBoard's two lists show their rows in; nil for a list not on screen.
struct ListTables {
  id lockScreen = nil;
  id notificationCenter = nil;
};

ListTables listTables(sb::SpringBoardUI& ui, bool lockScreenShown) {
  ListTables tables;
  if (lockScreenShown && ui.listView())
    tables.lockScreen = platform::objc::objectIvar(ui.listView(), "_tableView");
  // Notification Center's list loads the first time the centre comes down: never load it here.
  id controller = sb::bulletinListController(ui.notificationCenter());
  if (ui.notificationCenterVisible() && controller && sel::isViewLoaded(controller))
    tables.notificationCenter = sel::view(controller);
  return tables;
}

const ScreenLayer* swipedLayerOf(id table, const std::vector<ScreenLayer>& stack) {
  for (const ScreenLayer& layer : stack) {
    if (layer.kind == ScreenLayerKind::SwipedRow && layer.object == table) return &layer;
  }
  return nullptr;
}

std::string colourOf(id color) {
  uikit::ColorComponents c;
  return uikit::colorComponents(color, &c) ? cssColour(c) : "transparent";
}

// The reminder dot `cell` shows, if any: a view tagged in its primary label, shown opaque.
std::vector<ReminderDot> dotOf(id cell) {
  id label = sb::sbsel::primaryLabel(cell);
  id dot = label ? sel::viewWithTag(label, kReminderMarkerTag) : nil;
  if (!dot || dot == label || sel::isHidden(dot) || sel::alpha(dot) <= 0.5) return {};
  CGRect at = sel::frame(label), frame = sel::frame(dot);
  return {{at.origin.x + frame.origin.x, at.origin.y + frame.origin.y, frame.size.width,
           frame.size.height, colourOf(sel::backgroundColor(dot))}};
}

// What each of `rows` rows of `table` shows beyond its bulletin. The table is reloaded first,
// as the display draws it, unless it shows a swiped row, which a reload would close.
std::vector<RowExtras> extrasOf(id table, std::size_t rows, const std::vector<ScreenLayer>& stack) {
  std::vector<RowExtras> extras(rows);
  if (!table) return extras;
  const ScreenLayer* swiped = swipedLayerOf(table, stack);
  if (!swiped) {
    platform::ProcessScope scope(sb::SpringBoardHost::shared().pid());
    platform::objc::AutoreleasePool pool;
    sel::reloadData(table);
  }
  for (const uikit::ShownTableRow& shown : uikit::shownRows(table)) {
    auto row = static_cast<std::size_t>(sel::row(shown.indexPath));
    if (sel::section(shown.indexPath) == 0 && row < rows) extras[row].dots = dotOf(shown.cell);
  }
  if (swiped) {
    auto row = static_cast<std::size_t>(sel::row(swiped->indexPath));
    if (row < rows) {
      extras[row].actions = swiped->buttons;
      for (const auto& action : swiped->buttons)
        extras[row].actionColours.push_back(colourOf(sel::backgroundColor(action.object)));
    }
  }
  return extras;
}

// Draws a window or presented controller: the Settings app's list or pane from what their cells
// show, anything else as a controller's screen.
void drawWindowLayer(const ScreenLayer& layer, const DeviceFace& face, std::string& html) {
  auto& settings = platform::preferences::SettingsApp::shared();
  if (settings.running() && layer.process == settings.pid()) {
    platform::preferences::ListShot list;
    if (settings.list(&list).empty()) {
      drawApplicationList(list, face, html);
      return;
    }
    platform::preferences::PaneShot pane;
    if (settings.pane(&pane).empty() && pane.onTop) {
      drawSettingsPane(pane, face, html);
      return;
    }
  }
  drawControllerScreen(layer, face, html);
}

// Whether a window layer shows anything of its own (SpringBoard's own window and a sheet's
// window on a pad show nothing but what is drawn for them elsewhere).
bool showsSomething(const ScreenLayer& layer) {
  return !layer.title.empty() || !layer.rows.empty() || !layer.buttons.empty();
}

void drawScreen(const Phone& phone, const DeviceFace& face, std::string& html) {
  sb::SpringBoardUI* ui = sb::SpringBoardUI::running();
  if (!phone.springBoardRunning() || !ui) {
    html += "<div class=\"off\">SpringBoard is not running</div>";
    return;
  }
  auto lock = lockScreenShot();
  auto center = notificationCenterShot();
  ListTables tables = listTables(*ui, lock && lock->shown);
  std::vector<ScreenLayer> stack = uikit::screenStack();
  std::vector<RowExtras> lockExtras =
      extrasOf(tables.lockScreen, lock ? lock->rows.size() : 0, stack);
  std::vector<RowExtras> centerExtras =
      extrasOf(tables.notificationCenter, center ? center->rows.size() : 0, stack);
  stack = uikit::screenStack();  // a reload may have changed the cells the layers name

  if (lock && lock->shown) {
    drawLockScreen(*lock, lockExtras, face, html);
  } else {
    drawHomeScreen(face, html);
  }
  if (center && center->shown) drawNotificationCenter(*center, centerExtras, face, html);

  bool statusBarDrawn = false, darkStatusBar = false;
  for (const ScreenLayer& layer : stack) {
    bool modal = layer.kind == ScreenLayerKind::Sheet || layer.kind == ScreenLayerKind::Alert;
    if (modal && !statusBarDrawn) {
      drawStatusBar(face, darkStatusBar, html);
      statusBarDrawn = true;
    }
    switch (layer.kind) {
      case ScreenLayerKind::Window:
      case ScreenLayerKind::PresentedController:
        if (!showsSomething(layer)) break;
        drawWindowLayer(layer, face, html);
        darkStatusBar = true;
        break;
      case ScreenLayerKind::SwipedRow:
        if (layer.object != tables.lockScreen && layer.object != tables.notificationCenter)
          drawSwipedRowActions(layer, html);
        break;
      case ScreenLayerKind::Sheet:
        drawDimming(html);
        drawSheet(layer, face, html);
        break;
      case ScreenLayerKind::Alert:
        drawDimming(html);
        drawAlert(layer, face, html);
        break;
    }
  }
  if (!statusBarDrawn) drawStatusBar(face, darkStatusBar, html);
}

}  // namespace

std::string drawPhone(const Phone& phone) {
  DeviceFace face;
  face.pad = uikit::deviceIdiom() == uikit::UIUserInterfaceIdiomPad;
  CGRect bounds = uikit::mainScreenBounds();
  face.width = bounds.size.width;
  face.height = bounds.size.height;
  face.now = phone.now();
  std::string screen;
  try {
    platform::objc::AutoreleasePool pool;  // what the reading sends hand back autoreleased
    drawScreen(phone, face, screen);
  } catch (const std::exception& e) {
    screen = "<div class=\"off\">The screen could not be read: " + htmlText(e.what()) + "</div>";
  }
  std::string kind = face.pad ? "pad" : "phone";
  return "<div class=\"device " + kind +
         "\"><div class=\"bezel\" style=\"width:" + px(face.width * (face.pad ? 0.6 : 1)) +
         ";height:" + px(face.height * (face.pad ? 0.6 : 1)) +
         "\"><div class=\"screen\" style=\"width:" + px(face.width) + ";height:" + px(face.height) +
         "\">" + screen + "</div></div><div class=\"home-button\"></div></div>";
}

}  // namespace sim
