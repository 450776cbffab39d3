// Notification Center pulled down over the screen: the Today and Notifications tabs, and the
// rows in the order the centre lists them, under a header for each application with its clear
// button.

#include "sim/html_markup.h"
#include "sim/html_screens.h"
#include "sim/text_screens.h"

namespace sim {

void drawNotificationCenter(const NotificationCenterShot& screen,
                            const std::vector<RowExtras>& extras, const DeviceFace&,
                            std::string& html) {
  html +=
      "<div class=\"notification-center\"><div class=\"tabs\"><span>Today</span>"
      "<span class=\"on\">Notifications</span></div><div class=\"nc-list\">";
  if (screen.rows.empty()) html += "<div class=\"nothing\">No Notifications</div>";
  // The centre groups an application's rows together: a header starts each run of them.
  for (std::size_t i = 0; i < screen.rows.size(); ++i) {
    const ScreenRow& row = screen.rows[i];
    if (i == 0 || screen.rows[i - 1].app != row.app) {
      if (i > 0) html += "</div>";
      html += "<div class=\"nc-section\" data-application=\"" + htmlText(row.app) +
              "\"><div class=\"nc-header\">";
      drawApplicationIcon(row.app, 20, html);
      html += "<span class=\"nc-name\">" + htmlText(applicationName(row.app)) +
              "</span><span class=\"nc-clear\" title=\"clear\">&#215;</span></div>";
    }
    drawNotificationRow(row, i < extras.size() ? extras[i] : RowExtras{}, false, html);
  }
  if (!screen.rows.empty()) html += "</div>";
  html += "</div><div class=\"grabber bottom\"></div></div>";
}

}  // namespace sim
