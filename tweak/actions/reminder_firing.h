#pragma once
// Reminder firing: every reminder whose date has passed is published again with a sound and
// forgotten, and one timer stays set five seconds after the earliest reminder left.

#include <objc/objc.h>

namespace tarrow8 {

// The bulletin a reminder entry's "bulletin" archive holds (autoreleased). Raises NSException
// when the archive does not unarchive, or holds something other than a BBBulletin.
id reminderBulletin(id entry);

// SBBulletinViewController viewDidLoad: remembers Notification Center's list controller and
// schedules the reminders stored before it existed.
void bulletinViewDidLoad(id self, SEL cmd);
// Added to SBBulletinViewController as reminderTimerFired:: fires what is due, then sets the
// timer for the earliest remaining reminder (or none). The argument is not read.
void reminderTimerFired(id self, SEL cmd, id timer);

}  // namespace tarrow8
