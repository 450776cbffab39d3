// An application list the Settings pane opens: its sections with their titles, each
// application with its icon, its name and a check mark when it is chosen, and what the list
// reported (predicates it could not read, settings it could not write) below.

#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {

void drawApplicationList(const platform::preferences::ListShot& list, const DeviceFace&,
                         std::string& html) {
  html +=
      "<div class=\"controller-screen settings\"><div class=\"navigation-bar\"><span "
      "class=\"bar-button left\">&#8249; Back</span><span class=\"navigation-title\">" +
      htmlText(list.title) + "</span></div><div class=\"table grouped\">";
  for (const auto& section : list.sections) {
    html += "<div class=\"header\">" + htmlText(section.title) + "</div><div class=\"group\">";
    for (const auto& row : section.rows) {
      html += std::string("<div class=\"cell list-row") + (row.checked ? " checked" : "") +
              "\" data-application=\"" + htmlText(row.bundleIdentifier) + "\">";
      if (!row.iconBundleIdentifier.empty())
        drawApplicationIcon(row.iconBundleIdentifier, 29, html);
      html += "<span class=\"pane-label\">" + htmlText(row.name) + "</span>";
      if (row.checked) html += "<span class=\"check-mark\" title=\"checked\">&#10003;</span>";
      html += "</div>";
    }
    html += "</div>";
  }
  for (const auto& problem : list.problems)
    html += "<div class=\"footer problem\">" + htmlText(problem) + "</div>";
  html += "</div></div>";
}

}  // namespace sim
