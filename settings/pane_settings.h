#pragma once
// The pane's copy of the settings file: one dictionary per Settings process, shared by every
// controller, read again before each write so that keys other writers added are kept.

#include "platform/objc/strong.h"

namespace pane {

// The settings file, as the Settings app reaches it ("/var" is "/private/var" on the phone).
inline constexpr const char* kSettingsPath =
    "/private/var/mobile/Library/Preferences/net.vornel.tarrow8.plist";

// The whole settings file as last read: a mutable dictionary, never nil after the first load.
extern platform::objc::Strong paneSettings;

// Replaces paneSettings with the file read anew; a missing or unreadable file gives an empty
// dictionary.
void loadPaneSettings();

// Writes the whole of paneSettings to the settings file atomically (a reader sees the old file
// or the new one). Returns false when the file could not be written; the old file is then whole.
bool writePaneSettings();

// The class named `name` as a receiver for class methods, looked up on first use.
id paneClass(const char* name);

// The value's boolean reading; nil, and values without one, give `absent`.
bool booleanValue(id value, bool absent);

}  // namespace pane
