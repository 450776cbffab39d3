// A controller's screen in a window or presented over one: its navigation bar with the title
// and the bar buttons, then the rows of its tables with their icons, text and detail. The
// reminders window is one; so is any other controller a scenario brings up.

#include "platform/objc/object.h"
#include "platform/uikit/uinavigationcontroller.h"
#include "platform/uikit/uiviewcontroller.h"
#include "sim/html_markup.h"
#include "sim/html_screens.h"

namespace sim {
namespace {

namespace uikit = platform::uikit;

// The bar button item the navigation bar shows on its left, or nil.
id leftBarButton(id controller) {
  id shown = controller;
  if (platform::objc::isKindOf(controller, uikit::UINavigationControllerClass()))
    shown = sel::topViewController(controller);
  return shown ? sel::leftBarButtonItem(sel::navigationItem(shown)) : nil;
}

void drawBarButton(const uikit::ScreenButton& button, const char* side, std::string& html) {
  html +=
      std::string("<span class=\"bar-button ") + side + "\">" + htmlText(button.title) + "</span>";
}

}  // namespace

void drawControllerScreen(const uikit::ScreenLayer& layer, const DeviceFace&, std::string& html) {
  html += "<div class=\"controller-screen\"><div class=\"navigation-bar\">";
  id left = leftBarButton(layer.controller);
  for (const auto& button : layer.buttons) {
    if (left && button.object == left) drawBarButton(button, "left", html);
  }
  html += "<span class=\"navigation-title\">" + htmlText(layer.title) + "</span>";
  for (const auto& button : layer.buttons) {
    if (!left || button.object != left) drawBarButton(button, "right", html);
  }
  html += "</div><div class=\"table\">";
  for (std::size_t i = 0; i < layer.rows.size(); ++i) {
    const auto& row = layer.rows[i];
    html += "<div class=\"cell\" data-row=\"" + std::to_string(i) + "\">";
    if (!row.iconBundleIdentifier.empty()) drawApplicationIcon(row.iconBundleIdentifier, 29, html);
    html += "<div class=\"cell-labels\"><div class=\"cell-text\">" + htmlText(row.text) + "</div>";
    if (!row.detail.empty())
      html += "<div class=\"cell-detail\">" + htmlText(row.detail) + "</div>";
    html += "</div></div>";
  }
  html += "</div></div>";
}

void drawSwipedRowActions(const uikit::ScreenLayer& swiped, std::string& html) {
  html += "<div class=\"loose-row-actions\">";
  for (const auto& action : swiped.buttons)
    html += "<span class=\"row-action\">" + htmlText(action.title) + "</span>";
  html += "</div>";
}

}  // namespace sim
