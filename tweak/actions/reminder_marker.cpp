#include "tweak/actions/reminder_marker.h"

#include "platform/foundation/nsdictionary.h"
#include "tweak/actions/actions_menu.h"
#include "tweak/state/globals.h"
#include "tweak/state/springboard_headers.h"
#include "tweak/state/uikit_headers.h"

namespace tarrow8 {
namespace {

using platform::objc::callSaved;

void hide(id marker) {
  if (marker) ui::setAlpha(marker, 0.0);
}

// The bulletin the cell shows, looked up where the lock state says the user is looking.
id bulletinOfCell(id cell) {
  id table = enclosingTable(cell);
  id indexPath = table ? ui::indexPathForCell(table, cell) : nil;
  return flags.deviceLocked ? sb::activeBulletinForIndexPath(listView, indexPath)
                            : sb::representedBulletinAtIndexPath(bulletinViewController, indexPath);
}

id makeMarker(id label) {
  double h = ui::frame(label).size.height;
  double y = (flags.deviceLocked ? 1.25 : 0.25) * h;
  Strong marker = Strong::adopt(ui::initWithFrame(sel::alloc(classObject("UIView")),
                                                  CGRectMake(-1.375 * h, y, 0.5 * h, 0.5 * h)));
  ui::setCornerRadius(ui::layer(marker), 0.25 * h);
  ui::setBackgroundColor(marker, markerColor());
  ui::setTag(marker, kMarkerTag);
  ui::addSubview(label, marker);
  return marker;  // the label holds it
}

}  // namespace

void notificationCellLayoutSubviews(id self, SEL cmd) {
  callSaved(saved.notificationCellLayoutSubviews, sb::layoutSubviews, self, cmd);
  if (!flags.enabled) return;
  id label = sb::primaryLabel(self);
  id marker = ui::viewWithTag(label, kMarkerTag);
  if (!reminders) {
    hide(marker);
    return;
  }
  id bulletin = bulletinOfCell(self);
  if (!bulletin || !sel::objectForKey(reminders, sb::bulletinID(bulletin))) {
    hide(marker);
    return;
  }
  if (!marker) marker = makeMarker(label);
  ui::setAlpha(marker, 1.0);
  ui::setClipsToBounds(label, NO);
  ui::bringSubviewToFront(label, marker);
}

}  // namespace tarrow8
