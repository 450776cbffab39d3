#pragma once
// The settings file an application list writes its check marks into: a property-list
// dictionary at a device path, shared with other writers. A change re-reads the file, sets one
// key and writes the whole dictionary back atomically, so keys others wrote survive and a
// reader never sees half a file.

#include <string>

namespace platform::preferences {

// Sets the boolean `key` to `value` in the dictionary at `devicePath` (a missing file starts
// empty; its folder is made). Returns "" or why nothing was written: the file is there but is no
// readable dictionary (it is not overwritten), or the write failed (the old file stays whole).
std::string writeListSetting(const std::string& devicePath, const std::string& key, bool value);

}  // namespace platform::preferences
