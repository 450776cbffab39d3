#pragma once
// UIWindow: the root of a view tree on screen. A window starts hidden; shown windows stack by
// their level, then by the order they were shown (the latest on top). Each process has at most
// one key window: the one most recently made key that is still shown. When it is hidden, resigns
// or goes away, the key passes back to the window that was key before it, if that one is still
// shown. UIKit does not retain windows for the application: a window goes away with its last
// reference, and a process that ends takes its windows off the screen.
//
// A window's root view controller's view fills the window while the window is shown.

#include <cstdint>
#include <vector>

#include "platform/foundation/process.h"
#include "platform/objc/object.h"
#include "platform/uikit/uiview.h"

namespace platform::uikit {

// The class "UIWindow", created on first use.
Class UIWindowClass();

// The platform's window levels: normal windows, the status bar's, alerts'.
inline constexpr double UIWindowLevelNormal = 0.0;
inline constexpr double UIWindowLevelStatusBar = 1000.0;
inline constexpr double UIWindowLevelAlert = 2000.0;

// The key window of process `pid`, nil when it has none.
id keyWindowOf(ProcessId pid);
// The windows of process `pid` that are not gone, back to front (by level, then showing).
std::vector<id> windowsOf(ProcessId pid);
// Every shown window of every running process, back to front.
std::vector<id> shownWindows();
// Whether `window` was made secure (`_setSecure:` YES): shown above the lock screen.
bool windowIsSecure(id window);
// The order in which `window` was last shown, comparable with nextStackingOrder() values; 0
// for a window never shown.
std::uint64_t windowShownOrder(id window);

// A new value of the device's stacking counter: what is shown later stacks above what was shown
// earlier at the same level (windows, alerts, sheets, swiped rows).
std::uint64_t nextStackingOrder();

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// The window's level (UIWindowLevel*), and its setter.
inline const Selector<double()> windowLevel{"windowLevel"};
inline const Selector<void(double)> setWindowLevel{"setWindowLevel:"};
// The UIScreen the window is on (the main screen unless set).
inline const Selector<id()> screen{"screen"};
inline const Selector<void(id)> setScreen{"setScreen:"};
// YES shows the window above the lock screen (a private call of the platform).
inline const Selector<void(BOOL)> setSecure{"_setSecure:"};
// Makes the window key, then shows it.
inline const Selector<void()> makeKeyAndVisible{"makeKeyAndVisible"};
// Makes the window its process's key window; the previous one is sent resignKeyWindow.
inline const Selector<void()> makeKeyWindow{"makeKeyWindow"};
// Sent to a window as it becomes key; does nothing itself.
inline const Selector<void()> becomeKeyWindow{"becomeKeyWindow"};
// The window stops being key; the key passes back to the window key before it.
inline const Selector<void()> resignKeyWindow{"resignKeyWindow"};
inline const Selector<BOOL()> isKeyWindow{"isKeyWindow"};
// The root view controller (retained), whose view fills the window while it is shown.
inline const Selector<id()> rootViewController{"rootViewController"};
inline const Selector<void(id)> setRootViewController{"setRootViewController:"};
}  // namespace sel
