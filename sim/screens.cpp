#include "sim/screens.h"

#include "platform/springboard/bulletin.h"
#include "platform/springboard/lock_screen_manager.h"
#include "platform/springboard/springboard_ui.h"

namespace sim {
namespace {

using platform::springboard::SpringBoardUI;

std::vector<ScreenRow> rowsOf(const std::vector<id>& bulletins) {
  std::vector<ScreenRow> rows;
  for (id bulletin : bulletins) {
    auto contents = platform::springboard::bulletinContents(bulletin);
    if (!contents) {
      rows.push_back({});
      continue;
    }
    rows.push_back({contents->bulletinID, contents->sectionID, contents->title, contents->subtitle,
                    contents->message, contents->date});
  }
  return rows;
}

}  // namespace

std::optional<LockScreenShot> lockScreenShot() {
  SpringBoardUI* ui = SpringBoardUI::running();
  if (!ui) return std::nullopt;
  return LockScreenShot{platform::springboard::lockScreenIsUp(), rowsOf(ui->lockScreenBulletins())};
}

std::optional<NotificationCenterShot> notificationCenterShot() {
  SpringBoardUI* ui = SpringBoardUI::running();
  if (!ui) return std::nullopt;
  return NotificationCenterShot{ui->notificationCenterVisible(),
                                rowsOf(ui->notificationCenterBulletins())};
}

std::vector<std::string> rowIDs(const std::vector<ScreenRow>& rows) {
  std::vector<std::string> ids;
  for (const ScreenRow& row : rows) ids.push_back(row.bulletinID);
  return ids;
}

}  // namespace sim
