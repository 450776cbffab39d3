#pragma once
// Where the device's file system lives on the host. Every device path ("/var/mobile/...")
// resolves under one root folder chosen by the simulator or a test; nothing else on the host is
// ever touched.

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// Makes `hostFolder` the device's root (creating it if needed). REQUIRES: an absolute path.
void setDeviceRoot(const std::filesystem::path& hostFolder);

// The current device root; empty when none is set.
const std::filesystem::path& deviceRoot();

// The host path of the device path `devicePath`. "/private/var/..." and "/var/..." are the same
// folder, as on the phone, and ".." above "/" stays at "/", so no path leaves the root. Returns
// nothing when no root is set or the path is not absolute.
std::optional<std::filesystem::path> resolveDevicePath(std::string_view devicePath);

}  // namespace platform
