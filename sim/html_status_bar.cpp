// The status bar every screen of the phone shows at its top.

#include "platform/foundation/device_locale.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {

void drawStatusBar(const DeviceFace& face, bool dark, std::string& html) {
  std::string time =
      platform::formatDate(face.now, platform::DateStyle::None, platform::DateStyle::Short);
  html += std::string("<div class=\"status-bar") + (dark ? " dark" : "") +
          "\"><span class=\"signal\">&#9679;&#9679;&#9679;&#9679;&#9675;</span>"
          "<span class=\"clock\">" +
          htmlText(time) +
          "</span><span class=\"battery\">100%<span class=\"level\"></span></span></div>";
}

}  // namespace sim
