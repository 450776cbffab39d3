#include "sim/text_screens.h"

#include <ostream>

#include "platform/foundation/device_locale.h"
#include "platform/foundation/installed_applications.h"

namespace sim {
namespace {

using platform::springboard::Delivery;
using platform::springboard::DeliveryLog;

std::string played(const std::string& bulletinID) {
  const Delivery* last = DeliveryLog::shared().lastDelivery(bulletinID);
  if (!last) return "";
  if (!last->played) return "  [silent]";
  return last->sound.empty() ? "  [lights]" : "  [lights, sound \"" + last->sound + "\"]";
}

// The rows, with what each last played when `withDeliveries`.
void renderRows(const std::vector<ScreenRow>& rows, bool withDeliveries, std::ostream& out) {
  if (rows.empty()) {
    out << "      (no notifications)\n";
    return;
  }
  for (const ScreenRow& row : rows)
    out << "      " << describeRow(row) << (withDeliveries ? played(row.bulletinID) : "") << "\n";
}

}  // namespace

std::string applicationName(const std::string& bundleIdentifier) {
  const auto* app = platform::installedApplication(bundleIdentifier);
  return app ? app->displayName : bundleIdentifier.empty() ? "(no application)" : bundleIdentifier;
}

std::string describeRow(const ScreenRow& row) {
  if (row.bulletinID.empty() && row.app.empty()) return "(a row without a bulletin)";
  std::string text = row.bulletinID + "  " + applicationName(row.app);
  std::string heading = row.title;
  if (!row.subtitle.empty()) heading += (heading.empty() ? "" : " - ") + row.subtitle;
  if (!heading.empty()) text += "  " + heading;
  if (!row.message.empty()) text += (heading.empty() ? "  " : ": ") + row.message;
  text +=
      "  " + platform::formatDate(row.date, platform::DateStyle::None, platform::DateStyle::Short);
  return text;
}

std::string describeDelivery(const Delivery& delivery) {
  std::string where = delivery.screen == "banner" ? " as a banner" : " on the " + delivery.screen;
  if (!delivery.played) return delivery.bulletinID + " shown silently" + where;
  return delivery.bulletinID + " played lights" +
         (delivery.sound.empty() ? "" : " and sound \"" + delivery.sound + "\"") + where;
}

void renderLockScreen(const LockScreenShot& screen, std::ostream& out) {
  out << "    lock screen (" << (screen.shown ? "up" : "down: the device is unlocked") << "), "
      << screen.rows.size() << (screen.rows.size() == 1 ? " row" : " rows") << ", top first:\n";
  renderRows(screen.rows, true, out);
}

void renderNotificationCenter(const NotificationCenterShot& screen, std::ostream& out) {
  out << "    Notification Center (" << (screen.shown ? "shown" : "hidden") << "), "
      << screen.rows.size() << (screen.rows.size() == 1 ? " row" : " rows") << ", top first:\n";
  renderRows(screen.rows, false, out);
}

}  // namespace sim
