#include "tweak/lockscreen/capture.h"

#include "platform/foundation/nsdictionary.h"
#include "platform/foundation/nsstring.h"
#include "tweak/lockscreen/capture_filter.h"
#include "tweak/state/entries.h"
#include "tweak/state/globals.h"
#include "tweak/state/ivars.h"

namespace tarrow8 {

using platform::objc::callSaved;

void listControllerLoadView(id self, SEL cmd) {
  callSaved(saved.listLoadView, sb::loadView, self, cmd);
  // A class without the variable leaves no observer to remember.
  listObserver = ivarValue(self, "_observer");
  listController = self;
}

id listViewInitWithFrame(id self, SEL cmd, CGRect frame) {
  id view = callSaved(saved.listViewInitWithFrame, sb::initWithFrame, self, cmd, frame);
  listView = view;
  return view;
}

id bulletinServerInit(id self, SEL cmd) {
  id server = callSaved(saved.serverInit, sb::init, self, cmd);
  bulletinServer = server;
  return server;
}

void captureAddedItem(id self, SEL cmd, id item) {
  callSaved(saved.updateModelAndViewForAdditionOfItem, sb::updateModelAndViewForAdditionOfItem,
            self, cmd, item);
  if (!flags.enabled) return;
  if (!sel::isKindOfClass(item, cachedClass("SBAwayBulletinListItem"))) return;
  id bulletin = sb::activeBulletin(item);
  if (!bulletin || !sel::isKindOfClass(bulletin, cachedClass("BBBulletin"))) return;
  id bulletinID = sb::bulletinID(bulletin);
  if (!bulletinID) return;
  bool kept =
      !sb::wantsFullscreenPresentation(bulletin) && passesCaptureFilter(sb::sectionID(bulletin));
  if (!kept) {
    sel::removeObjectForKey(keptItems, bulletinID);
    return;
  }
  if (sel::objectForKey(keptItems, bulletinID)) return;  // the first captured item stays
  Strong copy = Strong::adopt(sel::copy(item));
  sel::setObject_forKey(keptItems, makeKeptItemEntry(copy), bulletinID);
}

void deliverBulletin(id self, SEL cmd, id observer, id bulletin, unsigned long feed, BOOL play,
                     sb::ReplyBlock reply) {
  bool silence = false;
  if (flags.enabled && sel::isKindOfClass(bulletin, cachedClass("BBBulletin"))) {
    id bulletinID = sb::bulletinID(bulletin);
    silence = bulletinID && sel::objectForKey(keptItems, bulletinID) &&
              sel::isEqual(sb::sectionID(bulletin), CFSTR("com.apple.mobiletimer"));
  }
  callSaved(saved.observerAddBulletin,
            sb::observer_addBulletin_forFeed_playLightsAndSirens_withReply, self, cmd, observer,
            bulletin, feed, silence ? NO : play, std::move(reply));
}

}  // namespace tarrow8
