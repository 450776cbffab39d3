#include "settings/row_state.h"

#include "platform/foundation/nsindexpath.h"
#include "platform/objc/object.h"
#include "settings/pane_settings.h"
#include "settings/preferences_headers.h"

namespace pane {
namespace {

constexpr long kSelectionStyleNone = 0;

// The cell the list shows at (row, section 0), from PSListController's own implementation, so
// that the pane's override (which tints switches) plays no part.
id shownCell(id controller, long row) {
  id table = ps::table(controller);
  id path = sel::indexPathForRow_inSection(paneClass("NSIndexPath"), row, 0);
  IMP inherited =
      class_getMethodImplementation(reinterpret_cast<Class>(paneClass("PSListController")),
                                    ps::tableView_cellForRowAtIndexPath.sel());
  return platform::objc::callSaved(inherited, ps::tableView_cellForRowAtIndexPath, controller,
                                   ps::tableView_cellForRowAtIndexPath.sel(), table, path);
}

void enableCell(id cell, bool enabled) {
  ps::setUserInteractionEnabled(cell, enabled);
  ps::setEnabled(ps::textLabel(cell), enabled);
  ps::setEnabled(ps::detailTextLabel(cell), enabled);
}

}  // namespace

void applyMirroringRule(id controller, bool mirroring) {
  for (long row = kFirstMirroringRow; row <= kLastMirroringRow; ++row) {
    id cell = shownCell(controller, row);
    enableCell(cell, !mirroring);
    id control = sel::respondsToSelector(cell, ps::control.sel()) ? ps::control(cell) : nil;
    if (control && sel::isKindOfClass(control, reinterpret_cast<Class>(paneClass("UISwitch"))))
      ps::setEnabled(control, !mirroring);
  }
}

void applyAllAppsRule(id controller, bool allApps) {
  id whiteList = shownCell(controller, kWhiteListRow);
  ps::setSelectionStyle(whiteList, kSelectionStyleNone);
  enableCell(whiteList, !allApps);
  id blackList = shownCell(controller, kBlackListRow);
  ps::setSelectionStyle(blackList, kSelectionStyleNone);
  enableCell(blackList, allApps);
}

}  // namespace pane
