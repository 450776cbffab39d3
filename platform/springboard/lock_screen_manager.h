#pragma once
// SBLockScreenManager: knows whether the lock screen's user interface is up. SpringBoard raises
// it as the device locks (before the lock state is posted) and lowers it on unlock.

#include "platform/objc/object.h"

namespace platform::springboard {

// The class "SBLockScreenManager", created on first use.
Class SBLockScreenManagerClass();

// Sets what `isUILocked` answers. The shared instance is made on first use.
void setLockScreenUp(bool up);
// What `isUILocked` answers now.
bool lockScreenIsUp();
// Forgets the shared instance, as when SpringBoard's process ends.
void resetLockScreenManager();

}  // namespace platform::springboard

namespace platform::springboard::sbsel {
using objc::Selector;
inline const Selector<id()> sharedInstance{"sharedInstance"};
inline const Selector<BOOL()> isUILocked{"isUILocked"};
}  // namespace platform::springboard::sbsel
