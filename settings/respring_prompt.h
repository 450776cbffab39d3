#pragma once
// The alerts the pane shows: the prompt to relaunch SpringBoard after a change that only takes
// effect then, and the notice that a change could not be saved.

#include <objc/runtime.h>

namespace pane {

inline constexpr long kRespringPromptTag = 4652;
// The notice of a failed write; its dismissal does nothing.
inline constexpr long kWriteFailedTag = 4653;
inline constexpr long kYesButton = 1;
inline constexpr const char* kRespringNotification = "net.vornel.tarrow8/respring";

// Shows "Tarrow 8" asking whether to respring now ("No" cancels, "Yes" is index 1), with
// `delegate` (the controller) told of the answer.
void showRespringPrompt(id delegate);

// Tells the user that the settings file could not be written, so the change was not made.
void showWriteFailedNotice(id delegate);

// The pane's answer to a dismissed alert: "Yes" on the respring prompt posts the respring
// notification on the distributed centre; anything else does nothing.
void respringPromptDismissed(id alert, long buttonIndex);

}  // namespace pane
