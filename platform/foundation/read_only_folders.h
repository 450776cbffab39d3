#pragma once
// Folders of the device that refuse every write, as a folder without write permission does on
// the phone. Tests and scenarios use it to see what the system does when it cannot save; it
// works the same whichever host user runs the device (root ignores real permissions).

#include <filesystem>

namespace platform {

// Makes the host folder `folder` (and everything inside it) refuse writes, or accept them again.
void setFolderReadOnly(const std::filesystem::path& folder, bool readOnly);

// Whether a file in the host folder `folder` may be created or replaced.
bool folderRefusesWrites(const std::filesystem::path& folder);

// Makes every folder writable again, as on a fresh device.
void clearReadOnlyFolders();

}  // namespace platform
