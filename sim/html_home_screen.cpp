// The home screen, what is under everything once the device is unlocked: the icons of the
// applications the phone lists, four to a row, and the dock.

#include <algorithm>
#include <array>

#include "platform/foundation/installed_applications.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {
namespace {

// A page of the home screen holds five rows of four icons.
constexpr std::size_t kIconsPerPage = 20;
// The dock's applications, as a new phone has them.
constexpr std::array<const char*, 4> kDock = {"com.apple.mobilephone", "com.apple.mobilemail",
                                              "com.apple.mobilesafari", "com.apple.Music"};

void drawIcon(const platform::InstalledApplication& app, std::string& html) {
  html += "<div class=\"home-icon\">";
  drawApplicationIcon(app.bundleIdentifier, 60, html);
  html += "<span class=\"home-name\">" + htmlText(app.displayName) + "</span></div>";
}

bool inDock(const std::string& bundleIdentifier) {
  return std::find(kDock.begin(), kDock.end(), bundleIdentifier) != kDock.end();
}

}  // namespace

void drawHomeScreen(const DeviceFace&, std::string& html) {
  html += "<div class=\"home-screen wallpaper\"><div class=\"home-grid\">";
  std::size_t drawn = 0;
  for (const auto& app : platform::installedApplications()) {
    if (app.hidden || inDock(app.bundleIdentifier) || drawn == kIconsPerPage) continue;
    drawIcon(app, html);
    ++drawn;
  }
  html += "</div><div class=\"dock\">";
  for (const char* bundleIdentifier : kDock) {
    if (const auto* app = platform::installedApplication(bundleIdentifier)) drawIcon(*app, html);
  }
  html += "</div></div>";
}

}  // namespace sim
