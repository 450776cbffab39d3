#pragma once
// The Settings app's entries for installed panes: every property list in
// /Library/PreferenceLoader/Preferences is one entry, a dictionary whose "entry" names the pane's
// "label" (the row the Settings app lists), its "bundle" (under /Library/PreferenceBundles), its
// "cell" and "isController" (true: the bundle's principal class runs the pane).

#include <string>
#include <vector>

#include "platform/preferences/preference_bundle.h"

namespace platform::preferences {

// The device folder the entries are installed in.
inline constexpr const char* kPreferenceEntriesFolder = "/Library/PreferenceLoader/Preferences";

// One entry that can be listed: its label, the file it came from and its bundle.
struct PreferenceEntry {
  std::string label;
  std::string file;  // "Tarrow8.plist"
  BundleInfo bundle;
};

// The entries that can be listed, by label, and what was wrong with the others (each message
// names its file), in file name order.
struct EntryScan {
  std::vector<PreferenceEntry> entries;
  std::vector<std::string> errors;
};

// Reads every entry installed now. A missing folder gives no entries and no errors.
EntryScan scanPreferenceEntries();

}  // namespace platform::preferences
