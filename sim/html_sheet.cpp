// An action sheet: on a phone its buttons rise from the bottom in one group with its title, the
// cancel button apart below them; on a pad it is a card of its own, its cancel button last.
// The veil under it is drawn here too, as UIKit dims what a sheet or an alert covers.

#include "platform/uikit/uiactionsheet.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {
namespace {

void drawButton(const platform::uikit::ScreenButton& button, const char* kind, long index,
                std::string& html) {
  html += std::string("<div class=\"sheet-button") + kind + "\" data-index=\"" +
          std::to_string(index) + "\">" + htmlText(button.title) + "</div>";
}

}  // namespace

void drawDimming(std::string& html) {
  html += "<div class=\"dimming\"></div>";
}

void drawSheet(const platform::uikit::ScreenLayer& sheet, const DeviceFace& face,
               std::string& html) {
  long destructive = sel::destructiveButtonIndex(sheet.object);
  html += std::string("<div class=\"sheet") + (face.pad ? " popover" : "") + "\">";
  html += "<div class=\"sheet-group\">";
  if (!sheet.title.empty())
    html += "<div class=\"sheet-title\">" + htmlText(sheet.title) + "</div>";
  for (std::size_t i = 0; i < sheet.buttons.size(); ++i) {
    auto index = static_cast<long>(i);
    if (index == sheet.cancelButtonIndex) continue;
    drawButton(sheet.buttons[i], index == destructive ? " destructive" : "", index, html);
  }
  html += "</div>";
  if (sheet.cancelButtonIndex >= 0 &&
      sheet.cancelButtonIndex < static_cast<long>(sheet.buttons.size())) {
    html += "<div class=\"sheet-group\">";
    drawButton(sheet.buttons[static_cast<std::size_t>(sheet.cancelButtonIndex)], " cancel",
               sheet.cancelButtonIndex, html);
    html += "</div>";
  }
  html += "</div>";
}

}  // namespace sim
