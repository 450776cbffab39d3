// The lock screen: the wallpaper, the large clock and the date in the device's locale and time
// zone, the kept and delivered notification rows, newest first, and the slider.

#include "platform/foundation/device_locale.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {
namespace {

// The short time pattern without its AM/PM marker: the lock screen's clock shows "8:05".
std::string clockPattern() {
  std::string pattern = platform::datePattern(platform::DateStyle::None, platform::DateStyle::Short,
                                              platform::deviceRegion());
  std::string kept;
  bool quoted = false;
  for (char c : pattern) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && c == 'a') continue;
    kept += c;
  }
  // Trim the spaces the marker leaves: plain, no-break and narrow no-break ones.
  auto trimmed = [&](bool front) {
    for (const char* space : {" ", "\u00a0", "\u202f"}) {
      std::string s(space);
      if (kept.size() >= s.size() &&
          kept.compare(front ? 0 : kept.size() - s.size(), s.size(), s) == 0) {
        kept.erase(front ? 0 : kept.size() - s.size(), s.size());
        return true;
      }
    }
    return false;
  };
  while (trimmed(true)) {
  }
  while (trimmed(false)) {
  }
  return kept.empty() ? pattern : kept;
}

}  // namespace

void drawLockScreen(const LockScreenShot& screen, const std::vector<RowExtras>& extras,
                    const DeviceFace& face, std::string& html) {
  html += "<div class=\"lock-screen wallpaper\"><div class=\"grabber top\"></div>";
  html += "<div class=\"lock-clock\">" +
          htmlText(platform::formatDatePattern(face.now, clockPattern())) + "</div>";
  html += "<div class=\"lock-date\">" +
          htmlText(platform::formatDate(face.now, platform::DateStyle::Full,
                                        platform::DateStyle::None)) +
          "</div><div class=\"lock-list\">";
  for (std::size_t i = 0; i < screen.rows.size(); ++i)
    drawNotificationRow(screen.rows[i], i < extras.size() ? extras[i] : RowExtras{}, true, html);
  html +=
      "</div><div class=\"slide\"><span class=\"chevron\">&#8250;</span> slide to unlock</div>"
      "<div class=\"camera\"></div></div>";
}

}  // namespace sim
