// An alert in the middle of the screen: its title and message, its accessory view below them
// (the reminder editor's date picker), and its buttons, side by side when there are two,
// stacked otherwise, the cancel button in bold.

#include "platform/objc/object.h"
#include "platform/uikit/uidatepicker.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {

void drawAlert(const platform::uikit::ScreenLayer& alert, const DeviceFace&, std::string& html) {
  html += "<div class=\"alert\"><div class=\"alert-body\">";
  if (!alert.title.empty())
    html += "<div class=\"alert-title\">" + htmlText(alert.title) + "</div>";
  if (!alert.message.empty())
    html += "<div class=\"alert-message\">" + htmlText(alert.message) + "</div>";
  if (alert.accessoryView &&
      sel::isKindOfClass(alert.accessoryView, platform::uikit::UIDatePickerClass()))
    drawDatePicker(alert.accessoryView, html);
  html += std::string("</div><div class=\"alert-buttons") +
          (alert.buttons.size() == 2 ? " side-by-side" : "") + "\">";
  for (std::size_t i = 0; i < alert.buttons.size(); ++i) {
    bool cancel = static_cast<long>(i) == alert.cancelButtonIndex;
    html += std::string("<div class=\"alert-button") + (cancel ? " cancel" : "") +
            "\" data-index=\"" + std::to_string(i) + "\">" + htmlText(alert.buttons[i].title) +
            "</div>";
  }
  html += "</div></div>";
}

}  // namespace sim
