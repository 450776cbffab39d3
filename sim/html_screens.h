#pragma once
// The phone's screens as HTML for the page of a run: one function per screen kind, beside the
// text renderers and fed by the same view objects (screens.h, the screen stack), each appending
// its markup to `html`. Drawn right after a step ran, while the objects are as it left them.
// Sizes are the device's points, one CSS pixel each; the page's stylesheet (html_page.cpp)
// gives the classes their iOS 8 look. A new screen kind is one more function and one more file,
// called from drawPhone (html_phone.cpp).

#include <string>
#include <vector>

#include "platform/preferences/settings_app.h"
#include "platform/uikit/screen_stack.h"
#include "sim/phone.h"
#include "sim/screens.h"

namespace sim {

// The device as every drawing needs it.
struct DeviceFace {
  bool pad = false;
  double width = 320;  // the main screen in points
  double height = 568;
  double now = 0;  // the device time, seconds since the reference date
};

// The blue reminder dot a row's cell shows, where the cell shows it (points from the cell's
// top left) and in the colour it has.
struct ReminderDot {
  double x = 0, y = 0, width = 0, height = 0;
  std::string colour;  // CSS
};

// What a list's row shows beyond its bulletin, read from its cell and from the screen stack.
struct RowExtras {
  std::vector<ReminderDot> dots;  // none or one
  // The row's actions, left to right, when the row is swiped open; empty otherwise.
  std::vector<platform::uikit::ScreenButton> actions;
  std::vector<std::string> actionColours;  // CSS, one for each action
};

// The status bar: signal, the device time (short, in the device's locale and time zone) and the
// battery; `dark` for dark text over a light screen.
void drawStatusBar(const DeviceFace& face, bool dark, std::string& html);

// The lock screen: wallpaper, the large clock and date, its rows top first (`extras` by row),
// and the slider.
void drawLockScreen(const LockScreenShot& screen, const std::vector<RowExtras>& extras,
                    const DeviceFace& face, std::string& html);

// The home screen, under everything once the device is unlocked: the installed applications'
// icons and the dock.
void drawHomeScreen(const DeviceFace& face, std::string& html);

// Notification Center pulled down over the screen: its rows under their applications' headers.
void drawNotificationCenter(const NotificationCenterShot& screen,
                            const std::vector<RowExtras>& extras, const DeviceFace& face,
                            std::string& html);

// One notification row of either list: icon, title, subtitle, message, time in the device's
// locale, the reminder dot, and its row actions when swiped open. `onLockScreen` picks the
// lock screen's look (white on the wallpaper) over Notification Center's.
void drawNotificationRow(const ScreenRow& row, const RowExtras& extras, bool onLockScreen,
                         std::string& html);

// A dimmed veil over what is below, as UIKit puts under sheets and alerts.
void drawDimming(std::string& html);

// An action sheet: from the bottom on a phone, as a popover-like card on a pad.
void drawSheet(const platform::uikit::ScreenLayer& sheet, const DeviceFace& face,
               std::string& html);

// An alert in the middle of the screen: title, message, its accessory view (the date picker
// with its date) and its buttons, the cancel button in bold.
void drawAlert(const platform::uikit::ScreenLayer& alert, const DeviceFace& face,
               std::string& html);

// A date picker's wheels: the minute before, the date it shows, the minute after, in the
// device's locale. REQUIRES: `picker` is a UIDatePicker.
void drawDatePicker(id picker, std::string& html);

// A window or a presented controller with a navigation bar (title, bar buttons) and the rows
// of its tables: the reminders window and any other controller's screen.
void drawControllerScreen(const platform::uikit::ScreenLayer& layer, const DeviceFace& face,
                          std::string& html);

// The Settings app's pane of an extension: grouped rows with their labels, switches (in their
// tint when on), values and links, greyed rows, and the sections' footers.
void drawSettingsPane(const platform::preferences::PaneShot& pane, const DeviceFace& face,
                      std::string& html);

// An application list of the Settings app: its sections, each application with its icon and
// its check mark, and the problems the list reported.
void drawApplicationList(const platform::preferences::ListShot& list, const DeviceFace& face,
                         std::string& html);

// Row actions shown for a table the drawing has no list for: a bar of its buttons.
void drawSwipedRowActions(const platform::uikit::ScreenLayer& swiped, std::string& html);

// Everything on the phone's screen right now, bottom to top, inside the device's frame.
// Reading a list's cells reloads its table as the display draws it, except a table that shows
// a swiped row. Drawing never fails: a screen that cannot be read is drawn as a note saying why.
std::string drawPhone(const Phone& phone);

}  // namespace sim
