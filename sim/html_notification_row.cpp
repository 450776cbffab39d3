// A notification row as both of SpringBoard's lists show it, with the extension's reminder dot
// where the cell carries it and the row actions of a row swiped open.

#include "platform/foundation/device_locale.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"
#include "sim/text_screens.h"

namespace sim {
namespace {

// The width of one row action's button, as UIKit sizes a short title.
constexpr double kActionWidth = 74;

}  // namespace

void drawNotificationRow(const ScreenRow& row, const RowExtras& extras, bool onLockScreen,
                         std::string& html) {
  std::string application = applicationName(row.app);
  if (row.bulletinID.empty() && row.app.empty()) {
    html += "<div class=\"row empty\">(a row without a bulletin)</div>";
    return;
  }
  bool swiped = !extras.actions.empty();
  html += std::string("<div class=\"row") + (swiped ? " swiped" : "") + "\" data-bulletin=\"" +
          htmlText(row.bulletinID) + "\" title=\"" +
          htmlText(row.bulletinID + " · " + application) + "\">";
  if (swiped) {
    html += "<div class=\"row-actions\">";
    for (std::size_t i = 0; i < extras.actions.size(); ++i) {
      html += "<span class=\"row-action\" style=\"width:" + px(kActionWidth) +
              ";background:" + extras.actionColours[i] + "\">" + htmlText(extras.actions[i].title) +
              "</span>";
    }
    html += "</div>";
  }
  html += "<div class=\"row-content\"";
  if (swiped)
    html += " style=\"transform:translateX(-" +
            px(kActionWidth * static_cast<double>(extras.actions.size())) + ")\"";
  html += ">";
  if (onLockScreen) drawApplicationIcon(row.app, 20, html);
  // A bulletin without a title shows its application in the title's place.
  std::string title = row.title.empty() ? application : row.title;
  html += "<div class=\"row-title\"><span class=\"title\">" + htmlText(title) + "</span>";
  if (!row.title.empty())
    html += "<span class=\"application\">" + htmlText(application) + "</span>";
  html += "<span class=\"time\">" +
          htmlText(platform::formatDate(row.date, platform::DateStyle::None,
                                        platform::DateStyle::Short)) +
          "</span></div>";
  if (!row.subtitle.empty())
    html += "<div class=\"row-subtitle\">" + htmlText(row.subtitle) + "</div>";
  if (!row.message.empty())
    html += "<div class=\"row-message\">" + htmlText(row.message) + "</div>";
  for (const ReminderDot& dot : extras.dots) {
    html += "<span class=\"reminder-dot\" title=\"reminder\" style=\"left:" + px(dot.x) +
            ";top:" + px(dot.y) + ";width:" + px(dot.width) + ";height:" + px(dot.height) +
            ";background:" + dot.colour + "\"></span>";
  }
  html += "</div></div>";
}

}  // namespace sim
