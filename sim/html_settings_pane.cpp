// The Settings app's pane of an extension, as its cells show it: grouped rows with their labels,
// switches in the tint they were given (the extension's are red), values, links to lists, rows
// greyed out when they take no touches, and each section's footer.

#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {
namespace {

namespace prefs = platform::preferences;

std::string switchColour(prefs::SwitchTint tint) {
  switch (tint) {
    case prefs::SwitchTint::Red:
      return "#ff3b30";
    case prefs::SwitchTint::Other:
      return "#007aff";
    default:
      return "#4cd964";
  }
}

void drawRow(const prefs::PaneRow& row, std::string& html) {
  html += std::string("<div class=\"cell pane-row") + (row.greyed ? " greyed" : "") +
          "\" data-key=\"" + htmlText(row.key) + "\"><span class=\"pane-label\">" +
          htmlText(row.label) + "</span>";
  switch (row.kind) {
    case prefs::RowKind::Switch:
      html += std::string("<span class=\"switch") + (row.on ? " on" : "") + "\"" +
              (row.on ? " style=\"background:" + switchColour(row.tint) + "\"" : "") + " title=\"" +
              (row.on ? "on" : "off") + "\"><span class=\"knob\"></span></span>";
      break;
    case prefs::RowKind::Link:
      html += "<span class=\"chevron-right\">&#8250;</span>";
      break;
    default:
      if (!row.value.empty())
        html += "<span class=\"pane-value\">" + htmlText(row.value) + "</span>";
  }
  html += "</div>";
}

}  // namespace

void drawSettingsPane(const prefs::PaneShot& pane, const DeviceFace&, std::string& html) {
  html +=
      "<div class=\"controller-screen settings\"><div class=\"navigation-bar\"><span "
      "class=\"bar-button left\">&#8249; Settings</span><span class=\"navigation-title\">" +
      htmlText(pane.title) + "</span></div><div class=\"table grouped\">";
  for (std::size_t i = 0; i < pane.rows.size(); ++i) {
    const prefs::PaneRow& row = pane.rows[i];
    if (i == 0 || pane.rows[i - 1].section != row.section) html += "<div class=\"group\">";
    drawRow(row, html);
    if (i + 1 == pane.rows.size() || pane.rows[i + 1].section != row.section) {
      html += "</div>";
      auto section = static_cast<std::size_t>(row.section);
      if (section < pane.footers.size() && !pane.footers[section].empty())
        html += "<div class=\"footer\">" + htmlText(pane.footers[section]) + "</div>";
    }
  }
  html += "</div></div>";
}

}  // namespace sim
