#pragma once
// What the phone's screens show right now, read from SpringBoard's own view objects (the
// lock-screen list's table and Notification Center's list), for the renderers to draw.

#include <optional>
#include <string>
#include <vector>

namespace sim {

// The tag of the view the extension puts on a notification cell's label to mark a reminder (the
// blue dot); the screens find the dot by it.
inline constexpr long kReminderMarkerTag = 26425;

// One notification row as a person sees it.
struct ScreenRow {
  std::string bulletinID;  // "" for a row whose item has no bulletin
  std::string app;         // the bundle identifier
  std::string title;
  std::string subtitle;
  std::string message;
  double date = 0;  // seconds since the reference date
};

struct LockScreenShot {
  bool shown = false;           // the lock screen is up
  std::vector<ScreenRow> rows;  // top first
};

struct NotificationCenterShot {
  bool shown = false;
  std::vector<ScreenRow> rows;  // top first: applications by newest bulletin, newest first within
};

// The screens of the running SpringBoard; nothing when SpringBoard is not running.
std::optional<LockScreenShot> lockScreenShot();
std::optional<NotificationCenterShot> notificationCenterShot();

// The bulletinIDs of `rows`, top first.
std::vector<std::string> rowIDs(const std::vector<ScreenRow>& rows);

}  // namespace sim
