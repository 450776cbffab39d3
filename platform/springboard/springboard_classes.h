#pragma once
// SpringBoard's and BulletinBoard's classes, by the names extensions hook. Each exists as a real
// runtime class with its superclass and the instance variables extensions read by name.

#include "platform/objc/object.h"

namespace platform::springboard {

class SpringBoardUI;

// Defines every SpringBoard and BulletinBoard class (idempotent) and returns the SpringBoard
// application class.
Class defineSpringBoardClasses();

// The class "SpringBoard", SpringBoard's UIApplication subclass. Its launch
// (applicationDidFinishLaunching:) builds the server, the lock screen and Notification Center.
Class SpringBoardClass();

// The screens of the SpringBoard application object `application`; null for nil, for another
// object, or before it finished launching.
SpringBoardUI* springBoardUI(id application);

// Called when SpringBoard asks to be relaunched (`_relaunchSpringBoardNow`); set by the host.
void setRelaunchHandler(void (*handler)());

}  // namespace platform::springboard

namespace platform::springboard::sbsel {
using objc::Selector;
inline const Selector<void(id)> applicationDidFinishLaunching{"applicationDidFinishLaunching:"};
inline const Selector<void()> relaunchSpringBoardNow{"_relaunchSpringBoardNow"};
}  // namespace platform::springboard::sbsel
