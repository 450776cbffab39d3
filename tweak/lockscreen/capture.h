#pragma once
// Lock-screen capture: keeps every bulletin SpringBoard adds to the lock-screen list (subject to
// the application filter), remembers the SpringBoard objects the other features reach it
// through, and silences kept clock bulletins when they are delivered again.

#include <objc/objc.h>

#include "platform/uikit/geometry.h"
#include "tweak/state/springboard_headers.h"

namespace tarrow8 {

// SBLockScreenNotificationListController loadView: remembers the controller and its observer.
void listControllerLoadView(id self, SEL cmd);
// SBLockScreenNotificationListView initWithFrame:: remembers the list view.
id listViewInitWithFrame(id self, SEL cmd, CGRect frame);
// BBServer init: remembers the bulletin server.
id bulletinServerInit(id self, SEL cmd);
// _updateModelAndViewForAdditionOfItem:: after SpringBoard adds the item, keeps its bulletin
// (first capture wins) or drops a kept one that the filter or full-screen test now rejects.
void captureAddedItem(id self, SEL cmd, id item);
// observer:addBulletin:forFeed:playLightsAndSirens:withReply:: a kept clock bulletin arrives
// without lights and sound; every other delivery passes unchanged.
void deliverBulletin(id self, SEL cmd, id observer, id bulletin, unsigned long feed, BOOL play,
                     sb::ReplyBlock reply);

}  // namespace tarrow8
