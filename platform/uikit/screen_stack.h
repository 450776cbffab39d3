#pragma once
// What a person sees, as UIKit puts it on the screen: the shown windows with the controllers in
// them, the rows swiped open, the action sheets and the alerts, bottom to top, each with the
// titles and buttons it shows. The simulator reads what is on top from here and acts on it
// through the device calls of each family, gathered below.
//
// Stacking: by window level first (alerts sit at the alert level), then by the order things
// were shown. Within a window, its root controller comes first, then each controller presented
// over it, the rows swiped open in it and the sheets shown in it, in the order they came up.
// A sheet or swiped row outside any window stacks at the normal level; one in a hidden window is
// not on screen. Nothing of an application in the background is on screen
// (platform/uikit/uiapplication.h).

#include <string>
#include <vector>

#include "platform/foundation/process.h"
#include "platform/objc/object.h"
#include "platform/uikit/alert_presentation.h"   // tapModalButton
#include "platform/uikit/uibarbuttonitem.h"      // tapBarButton
#include "platform/uikit/uidatepicker.h"         // pickDate
#include "platform/uikit/uigesturerecognizer.h"  // pressView
#include "platform/uikit/uitableview.h"          // swipeRow, tapRowAction, selectRow

namespace platform::uikit {

enum class ScreenLayerKind {
  Window,               // a shown window with its root controller
  PresentedController,  // a controller presented over a window
  SwipedRow,            // a table row swiped open to its row actions
  Sheet,                // a UIActionSheet
  Alert,                // a UIAlertView
};

// A button as shown: its title, and the object a tap goes to (the bar button item or row action;
// nil for a sheet's or an alert's button, which is tapped by its index).
struct ScreenButton {
  std::string title;
  id object = nil;
};

// A table row as shown by its cell.
struct ScreenTableRow {
  long section = 0;
  long row = 0;
  std::string text;                  // the cell's text label
  std::string detail;                // its detail label
  std::string iconBundleIdentifier;  // the application whose icon its image view shows
  id cell = nil;
  id table = nil;
};

// One layer of the screen. Objects are not retained: read them before the screen changes.
struct ScreenLayer {
  ScreenLayerKind kind = ScreenLayerKind::Window;
  // The window, the presented controller, the swiped table, the sheet or the alert.
  id object = nil;
  id window = nil;  // the window it is in; nil for alerts and for what is in no window
  ProcessId process = kDeviceProcess;
  double level = 0;        // the window level it stacks at
  bool secure = false;     // Window: shown above the lock screen
  bool keyWindow = false;  // Window: its process's key window
  // Sheet and alert: title. Window and controller: the navigation title of the controller
  // shown (the top one of a navigation controller), else the controller's title.
  std::string title;
  std::string message;  // Alert
  // Sheet and alert: the buttons by index. Window and controller: a navigation controller's
  // bar buttons, left then right. Swiped row: its row actions in order.
  std::vector<ScreenButton> buttons;
  long cancelButtonIndex = -1;  // Sheet and alert
  id accessoryView = nil;       // Alert
  id controller = nil;          // Window and controller: the controller shown
  id indexPath = nil;           // Swiped row
  // Window and controller: the rows of the tables in the controller's view, top first.
  std::vector<ScreenTableRow> rows;
};

// Everything on screen now, bottom to top.
std::vector<ScreenLayer> screenStack();

}  // namespace platform::uikit
