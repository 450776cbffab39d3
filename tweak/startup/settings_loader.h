#pragma once
// Loading the settings file into the extension's flags and settings dictionary, with the
// fallback to the file's earlier name and its migration.

namespace tarrow8 {

// The settings file, and the file of the earlier name read only when it cannot be read.
inline constexpr const char* kSettingsPath =
    "/var/mobile/Library/Preferences/net.vornel.tarrow8.plist";
inline constexpr const char* kLegacySettingsPath =
    "/var/mobile/Library/Preferences/net.vornel.tarrow.plist";
// Where a current file that could not be read is kept before the migration writes over it.
inline constexpr const char* kUnreadableSettingsPath =
    "/var/mobile/Library/Preferences/net.vornel.tarrow8.plist.unreadable";

// Replaces `preferences` with the settings file's contents (migrating the legacy file when only
// it can be read) and sets each flag whose key is present to that value's boolValue
// (`manualRemoval` negated). The migration first keeps an unreadable current file at
// kUnreadableSettingsPath and writes nothing when it cannot. With neither file readable,
// switches the extension off and leaves every other flag alone. A value without a boolean
// reading (a date, data, an array or a dictionary) leaves its flag alone, like an absent key.
void loadSettings();

}  // namespace tarrow8
