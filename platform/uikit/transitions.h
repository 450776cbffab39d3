#pragma once
// How UIKit's transitions end: an animated one later, as a new event on the main run loop at the
// same device time for the process that started it (after the current event has returned); one
// without animation at once.

#include <functional>

namespace platform::uikit {

// Runs `ended` when a transition started now ends: later when `animated`, else at once.
void endTransition(bool animated, std::function<void()> ended);

}  // namespace platform::uikit
